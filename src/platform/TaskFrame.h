#pragma once

#include <QObject>

#include <coroutine>
#include <exception>

// Holds the frame of a task that was started rather than awaited. It is a child of the task's
// owner, so the owner's destruction destroys a frame that is still suspended. When the task
// ends by itself its frame is already gone and the holder removes itself.
class TaskFrame final : public QObject {
    Q_OBJECT
public:
    TaskFrame(QObject* owner, std::coroutine_handle<> frame);
    ~TaskFrame() override;

    // Called by the frame's promise as the frame goes away.
    void frameDestroyed();

    bool isRunning() const { return static_cast<bool>(frame_); }

    // Logs the error a started task ended with: nobody awaits it to see it.
    static void reportError(const std::exception_ptr& error);

private:
    std::coroutine_handle<> frame_;
    bool destroying_ = false;
};
