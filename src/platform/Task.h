#pragma once

#include "platform/TaskFrame.h"

#include <coroutine>
#include <exception>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>

class QObject;

// A lazily started coroutine that produces a T (or nothing, for Task<void>). Errors travel as
// exceptions: whatever the body throws is rethrown where the task is awaited.
//
//   Task<QStringList> fetch();
//   Task<void> run() { const QStringList list = co_await fetch(); ... }
//
// A task runs when it is awaited, or when it is started with start(owner). A started task
// belongs to its owner: when the owner is destroyed while the task is suspended, the suspended
// frame (and every task it awaits) is destroyed and never resumed. Tasks run on the main
// thread. A coroutine's parameters live in its frame, but a lambda's captures do not: write
// coroutines as functions or member functions, not as capturing lambdas.
template <class T = void> class Task;

namespace task_detail {

class PromiseBase {
public:
    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        PromiseBase& promise;
        // A started task that nobody awaits does not stop at its end: its frame goes away at
        // once, and the frame's holder learns that from the promise's destructor.
        bool await_ready() noexcept {
            if (promise.continuation_ || !promise.frame_)
                return false;
            if (promise.error_)
                TaskFrame::reportError(promise.error_);
            return true;
        }
        std::coroutine_handle<> await_suspend(std::coroutine_handle<>) noexcept {
            if (!promise.continuation_)
                return std::noop_coroutine();
            // Ending while the awaiting coroutine is still starting it: hand back to that start
            // (which continues without suspending) instead of resuming the awaiting coroutine
            // on top of the stack. A loop over steps that end at once thus runs in constant
            // stack, whatever the optimiser does with tail calls.
            if (promise.starting_) {
                promise.endedWhileStarting_ = true;
                return std::noop_coroutine();
            }
            return promise.continuation_;
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return FinalAwaiter{*this}; }

    void unhandled_exception() noexcept { error_ = std::current_exception(); }

    void setFrame(TaskFrame* frame) { frame_ = frame; }

    // Runs the task for the coroutine that awaits it, up to its first suspension. Returns
    // true when the task has ended by then.
    bool startFor(std::coroutine_handle<> awaiting, std::coroutine_handle<> self) {
        continuation_ = awaiting;
        starting_ = true;
        self.resume();
        starting_ = false;
        return endedWhileStarting_;
    }

protected:
    PromiseBase() = default;
    ~PromiseBase() {
        if (frame_)
            frame_->frameDestroyed();
    }
    void rethrowIfFailed() const {
        if (error_)
            std::rethrow_exception(error_);
    }

private:
    std::coroutine_handle<> continuation_;
    TaskFrame* frame_ = nullptr;
    std::exception_ptr error_;
    bool starting_ = false;
    bool endedWhileStarting_ = false;
};

template <class T> class Promise : public PromiseBase {
public:
    Task<T> get_return_object() noexcept;
    template <class U>
    requires std::is_convertible_v<U&&, T>
    void return_value(U&& value) { value_.emplace(std::forward<U>(value)); }
    T takeResult() {
        rethrowIfFailed();
        if (!value_)
            throw std::logic_error("task result taken twice");
        T result = std::move(*value_);
        value_.reset();
        return result;
    }

private:
    std::optional<T> value_;
};

template <> class Promise<void> : public PromiseBase {
public:
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
    void takeResult() { rethrowIfFailed(); }
};

} // namespace task_detail

template <class T> class [[nodiscard]] Task {
public:
    using promise_type = task_detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle handle) : handle_(handle) {}
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            destroy();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { destroy(); }

    bool isValid() const { return static_cast<bool>(handle_); }

    // Runs the task without awaiting it. The owner holds its frame: destroying the owner
    // destroys a suspended frame. An error the task ends with is logged, as nobody awaits it.
    // With no owner the frame lives until the task ends.
    void start(QObject* owner) && {
        if (!handle_)
            return;
        const Handle handle = std::exchange(handle_, {});
        handle.promise().setFrame(new TaskFrame(owner, handle));
        handle.resume();
    }

    // Awaiting runs the task and resumes the awaiting coroutine with its result (or its error)
    // when it ends. A task is awaited once.
    auto operator co_await() && noexcept { return Awaiter{handle_}; }
    auto operator co_await() & noexcept { return Awaiter{handle_}; }

private:
    struct Awaiter {
        Handle handle;
        bool await_ready() const noexcept { return !handle || handle.done(); }
        bool await_suspend(std::coroutine_handle<> awaiting) {
            return !handle.promise().startFor(awaiting, handle);
        }
        T await_resume() {
            if (!handle)
                throw std::logic_error("awaited an empty task");
            return handle.promise().takeResult();
        }
    };

    void destroy() {
        if (handle_)
            std::exchange(handle_, {}).destroy();
    }

    Handle handle_;
};

namespace task_detail {
template <class T> Task<T> Promise<T>::get_return_object() noexcept {
    return Task<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}
inline Task<void> Promise<void>::get_return_object() noexcept {
    return Task<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}
} // namespace task_detail
