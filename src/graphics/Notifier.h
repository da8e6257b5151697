#pragma once
// Change notices: listeners subscribe and get a token; the listener is
// called until the token goes (or is reset), whether the notifier or the
// token goes first.

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace tsl {

template <typename Event>
class Notifier {
    struct Slots {
        std::map<int, std::function<void(const Event&)>> listeners;
        int next = 0;
    };

public:
    using Listener = std::function<void(const Event&)>;

    // Ends its subscription when it goes.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept : slots_(std::move(other.slots_)), id_(other.id_) {}
        Subscription& operator=(Subscription&& other) noexcept
        {
            if (this != &other) {
                Reset();
                slots_ = std::move(other.slots_);
                id_ = other.id_;
            }
            return *this;
        }
        ~Subscription() { Reset(); }
        void Reset()
        {
            if (auto slots = slots_.lock())
                slots->listeners.erase(id_);
            slots_.reset();
        }

    private:
        friend class Notifier;
        Subscription(std::weak_ptr<Slots> slots, int id) : slots_(std::move(slots)), id_(id) {}
        std::weak_ptr<Slots> slots_;
        int id_ = 0;
    };

    [[nodiscard]] Subscription Subscribe(Listener listener)
    {
        const int id = slots_->next++;
        slots_->listeners.emplace(id, std::move(listener));
        return Subscription(slots_, id);
    }

    // Listeners may subscribe or end their subscriptions while they are told.
    void Notify(const Event& event) const
    {
        std::vector<int> ids;
        for (const auto& [id, listener] : slots_->listeners)
            ids.push_back(id);
        for (const int id : ids)
            if (auto found = slots_->listeners.find(id); found != slots_->listeners.end()) {
                const Listener listener = found->second; // it may end its own subscription
                listener(event);
            }
    }

private:
    std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
};

} // namespace tsl
