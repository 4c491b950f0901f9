#pragma once

#include "platform/MainQueue.h"

#include <coroutine>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <variant>

// A one-shot wait that a coroutine awaits and some callback ends: with a value, or with an
// error that the awaiting coroutine sees as an exception. Copies share the same wait, so a
// screen can keep one in a member while a request's completion holds another:
//
//   Continuation<void> wait = Continuation<void>::make();
//   continuation_ = wait;                   // the receive path resumes it
//   sendRequest([wait](auto error) { wait.resume(std::make_exception_ptr(error)); });
//   co_await wait;
//
// - Only the first resume counts; later ones are ignored and return false. So a time-out may
//   race a reply: whichever comes first wins.
// - Resuming never runs the awaiting coroutine inside the call: the resumption is posted to
//   the main queue, behind whatever is already queued there, and the awaiting coroutine runs
//   on the main thread. resume() may be called from any thread.
// - A wait resumed before anyone awaits it is ready: co_await then continues at once.
// - When the awaiting frame is destroyed first (its owner went away), a later resume does
//   nothing.
// - One coroutine at a time may await it; awaiting it again after it ended yields the same
//   result again.
template <class T = void> class Continuation {
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

    struct State {
        std::mutex mutex;
        bool resumed = false;
        std::optional<Value> value;
        std::exception_ptr error;
        std::coroutine_handle<> waiter;
    };

public:
    // An empty handle: no wait. Resuming it does nothing; awaiting it throws.
    Continuation() = default;

    static Continuation make() { return Continuation(std::make_shared<State>()); }

    bool isValid() const { return static_cast<bool>(state_); }

    bool isResumed() const {
        if (!state_)
            return false;
        std::lock_guard lock(state_->mutex);
        return state_->resumed;
    }

    bool resume() const requires std::is_void_v<T> { return finish(Value{}, nullptr); }
    bool resume(Value value) const requires(!std::is_void_v<T>) {
        return finish(std::move(value), nullptr);
    }
    bool resume(std::exception_ptr error) const {
        if (!error)
            error = std::make_exception_ptr(std::invalid_argument("resumed with an empty error"));
        return finish(std::nullopt, std::move(error));
    }

    auto operator co_await() const { return Awaiter{state_}; }

private:
    explicit Continuation(std::shared_ptr<State> state) : state_(std::move(state)) {}

    bool finish(std::optional<Value> value, std::exception_ptr error) const {
        if (!state_)
            return false;
        {
            std::lock_guard lock(state_->mutex);
            if (state_->resumed)
                return false;
            state_->resumed = true;
            state_->value = std::move(value);
            state_->error = std::move(error);
        }
        MainQueue::async([state = state_] {
            std::coroutine_handle<> waiter;
            {
                std::lock_guard lock(state->mutex);
                waiter = std::exchange(state->waiter, {});
            }
            if (waiter)
                waiter.resume();
        });
        return true;
    }

    struct Awaiter {
        std::shared_ptr<State> state;
        std::coroutine_handle<> suspended;

        Awaiter(std::shared_ptr<State> s) : state(std::move(s)) {}
        Awaiter(const Awaiter&) = delete;
        Awaiter& operator=(const Awaiter&) = delete;
        // A frame destroyed while it waits here must not be resumed later.
        ~Awaiter() {
            if (!state || !suspended)
                return;
            std::lock_guard lock(state->mutex);
            if (state->waiter == suspended)
                state->waiter = {};
        }

        bool await_ready() const {
            if (!state)
                return true; // await_resume reports the empty handle
            std::lock_guard lock(state->mutex);
            return state->resumed;
        }
        bool await_suspend(std::coroutine_handle<> awaiting) {
            std::lock_guard lock(state->mutex);
            if (state->resumed)
                return false;
            if (state->waiter)
                throw std::logic_error("continuation is already awaited");
            state->waiter = awaiting;
            suspended = awaiting;
            return true;
        }
        T await_resume() const {
            if (!state)
                throw std::logic_error("awaited an empty continuation");
            std::lock_guard lock(state->mutex);
            if (state->error)
                std::rethrow_exception(state->error);
            if constexpr (!std::is_void_v<T>)
                return *state->value;
        }
    };

    std::shared_ptr<State> state_;
};
