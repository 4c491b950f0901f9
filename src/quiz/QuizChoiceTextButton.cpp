#include "quiz/QuizChoiceTextButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace {

// Space around the title inside the button.
constexpr int kMargin = 4;
// How wide the button asks to be before it prefers wrapping, in average characters; the
// layout may still give it less, down to one word.
constexpr int kPreferredColumns = 80;

constexpr int textFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

} // namespace

QuizChoiceTextButton::QuizChoiceTextButton(const QString& text, QWidget* parent)
    : QAbstractButton(parent) {
    setText(text);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QRect QuizChoiceTextButton::textBounds(int textWidth) const {
    return fontMetrics().boundingRect(QRect(0, 0, std::max(1, textWidth), QWIDGETSIZE_MAX),
                                      textFlags, text());
}

QSize QuizChoiceTextButton::sizeHint() const {
    const int oneLine = textBounds(QWIDGETSIZE_MAX).width();
    const int width =
        std::min(oneLine, fontMetrics().averageCharWidth() * kPreferredColumns) + 2 * kMargin;
    return {width, heightForWidth(width)};
}

QSize QuizChoiceTextButton::minimumSizeHint() const {
    // As narrow as its longest word, one line high.
    const int narrowest = textBounds(1).width() + 2 * kMargin;
    return {narrowest, fontMetrics().height() + 2 * kMargin};
}

bool QuizChoiceTextButton::hasHeightForWidth() const {
    return true;
}

int QuizChoiceTextButton::heightForWidth(int width) const {
    const int lines = std::max(textBounds(width - 2 * kMargin).height(), fontMetrics().height());
    return lines + 2 * kMargin;
}

void QuizChoiceTextButton::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    // The style sheet's box, when the button has one.
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), textFlags, text());
}
