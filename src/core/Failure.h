#pragma once
// Errors come back from the core as values: a message in the system's own
// words and the caption of the box the UI shows it in.

#include <optional>
#include <string>
#include <utility>

namespace tsl {

enum class MessageIcon { Information, Warning, Error, Question };

struct Failure {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Warning;
};

// A value or the failure that prevented it.
template <typename T>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}             // NOLINT: implicit by design
    Outcome(Failure failure) : failure_(std::move(failure)) {} // NOLINT

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const Failure& failure() const { return failure_; }

private:
    std::optional<T> value_;
    Failure failure_;
};

} // namespace tsl
