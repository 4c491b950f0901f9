#pragma once

#include <QAbstractButton>

// The text of a quiz choice beside its mark: a flat button whose title wraps onto as many lines
// as the width it is given needs, so a long choice is shown whole. The whole text area takes
// clicks.
class QuizChoiceTextButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit QuizChoiceTextButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The rectangle the wrapped title takes when it may use textWidth pixels across.
    QRect textBounds(int textWidth) const;
};
