#include "platform/Transitions.h"

#include "platform/TimeScale.h"

#include <QPropertyAnimation>
#include <QVariantAnimation>
#include <QWidget>

namespace {
const char* const kPushName = "pushTransition";
const char* const kColorName = "backgroundColorChange";

// The running animation of this kind on the view, if any.
template <class Animation> Animation* runningAnimation(QWidget* view, const char* name) {
    return view->findChild<Animation*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

QPoint startOffset(const QWidget* view, TransitionDirection direction) {
    switch (direction) {
    case TransitionDirection::fromLeft:
        return {-view->width(), 0};
    case TransitionDirection::fromRight:
        return {view->width(), 0};
    case TransitionDirection::fromTop:
        return {0, -view->height()};
    case TransitionDirection::fromBottom:
        return {0, view->height()};
    }
    return {};
}
} // namespace

QPropertyAnimation* Transitions::push(QWidget* view, TransitionDirection direction) {
    if (!view || view->isWindow())
        return nullptr;
    if (auto* running = runningAnimation<QPropertyAnimation>(view, kPushName)) {
        const QPoint home = running->endValue().toPoint();
        running->stop();
        delete running;
        view->move(home);
    }
    const QPoint home = view->pos();
    auto* animation = new QPropertyAnimation(view, QByteArrayLiteral("pos"), view);
    animation->setObjectName(QLatin1String(kPushName));
    animation->setDuration(TimeScale::milliseconds(pushSeconds));
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(home + startOffset(view, direction));
    animation->setEndValue(home);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

void Transitions::setBackgroundColor(QWidget* view, const QColor& color) {
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, color);
    view->setPalette(palette);
    view->setAutoFillBackground(true);
}

QVariantAnimation* Transitions::animateBackgroundColor(QWidget* view, const QColor& from,
                                                       const QColor& to, const ColorSetter& apply) {
    if (!view || !apply)
        return nullptr;
    if (auto* running = runningAnimation<QVariantAnimation>(view, kColorName)) {
        running->stop();
        delete running;
    }
    auto* animation = new QVariantAnimation(view);
    animation->setObjectName(QLatin1String(kColorName));
    animation->setDuration(TimeScale::milliseconds(colorSeconds));
    animation->setStartValue(from);
    animation->setEndValue(to);
    QObject::connect(animation, &QVariantAnimation::valueChanged, view,
                     [view, apply](const QVariant& value) { apply(view, value.value<QColor>()); });
    QObject::connect(animation, &QVariantAnimation::finished, view,
                     [view, apply, to] { apply(view, to); });
    apply(view, from);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}
