#pragma once

#include "shell/ChildViewControllerDelegate.h"

#include <QObject>
#include <QPointer>

// A screen that another screen embeds. Its delegate, the embedding screen, is held weakly:
// once that screen is gone, delegate() is null.
class ChildViewController {
public:
    virtual ~ChildViewController() = default;

    ChildViewControllerDelegate* delegate() const { return delegateObject_ ? delegate_ : nullptr; }
    // The delegate must be a QObject (a screen); anything else is refused.
    void setDelegate(ChildViewControllerDelegate* delegate) {
        delegateObject_ = dynamic_cast<QObject*>(delegate);
        delegate_ = delegateObject_ ? delegate : nullptr;
    }

private:
    QPointer<QObject> delegateObject_;
    ChildViewControllerDelegate* delegate_ = nullptr;
};
