#pragma once
// A list of listeners to one kind of notice, without a toolkit: Listen hands
// back a token, and the listener stays on the list exactly as long as the
// token lives. A token may outlive its notifier (it then does nothing), and a
// listener may drop its own token, or another one, while a notice is being
// sent: a listener dropped then hears nothing more, not even the rest of that
// notice.
//
// The editor's windows bridge these to their own signals where they need to;
// the core and its tests use them as they are.

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tsl {

template <typename Notice>
class Notifier {
    struct Entry {
        std::size_t id = 0;
        std::function<void(const Notice&)> listener;
    };
    struct State {
        std::vector<Entry> entries;
        std::size_t next = 1;
    };

public:
    // Unsubscribes when it goes (or when Reset).
    class Token {
    public:
        Token() = default;
        Token(Token&& other) noexcept : state_(std::move(other.state_)), id_(std::exchange(other.id_, 0)) {}
        Token& operator=(Token&& other) noexcept
        {
            if (this != &other) {
                Reset();
                state_ = std::move(other.state_);
                id_ = std::exchange(other.id_, 0);
            }
            return *this;
        }
        Token(const Token&) = delete;
        Token& operator=(const Token&) = delete;
        ~Token() { Reset(); }

        void Reset()
        {
            if (auto state = state_.lock())
                std::erase_if(state->entries, [this](const Entry& e) { return e.id == id_; });
            state_.reset();
            id_ = 0;
        }
        bool Listening() const { return id_ != 0 && !state_.expired(); }

    private:
        friend class Notifier;
        Token(std::weak_ptr<State> state, std::size_t id) : state_(std::move(state)), id_(id) {}
        std::weak_ptr<State> state_;
        std::size_t id_ = 0;
    };

    [[nodiscard]] Token Listen(std::function<void(const Notice&)> listener)
    {
        const std::size_t id = state_->next++;
        state_->entries.push_back({id, std::move(listener)});
        return Token(state_, id);
    }

    // Tells every listener on the list when the notice is sent, in the order
    // they began listening.
    void Notify(const Notice& notice) const
    {
        // Ids, not entries: a listener may change the list under the loop.
        std::vector<std::size_t> ids;
        ids.reserve(state_->entries.size());
        for (const Entry& entry : state_->entries)
            ids.push_back(entry.id);
        for (std::size_t id : ids) {
            // Copied: the listener may drop its own entry while it runs.
            std::function<void(const Notice&)> listener;
            for (const Entry& entry : state_->entries)
                if (entry.id == id)
                    listener = entry.listener;
            if (listener)
                listener(notice);
        }
    }

    std::size_t Listeners() const { return state_->entries.size(); }

private:
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace tsl
