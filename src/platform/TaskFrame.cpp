#include "platform/TaskFrame.h"

#include <QDebug>

#include <utility>

TaskFrame::TaskFrame(QObject* owner, std::coroutine_handle<> frame)
    : QObject(owner), frame_(frame) {}

TaskFrame::~TaskFrame() {
    if (!frame_)
        return;
    // Destroying the frame runs the promise's destructor, which reports back here.
    destroying_ = true;
    std::exchange(frame_, {}).destroy();
}

void TaskFrame::frameDestroyed() {
    if (destroying_)
        return;
    frame_ = {};
    deleteLater();
}

void TaskFrame::reportError(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qWarning().noquote() << "Task ended with an error:" << e.what();
    } catch (...) {
        qWarning() << "Task ended with an unknown error";
    }
}
