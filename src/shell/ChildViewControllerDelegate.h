#pragma once

// Implemented by a screen that embeds another: the embedded screen calls this to ask to be
// taken away again.
class ChildViewControllerDelegate {
public:
    virtual ~ChildViewControllerDelegate() = default;
    virtual void removeChildViewController() = 0;
};
