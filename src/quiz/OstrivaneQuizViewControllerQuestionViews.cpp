#include "quiz/OstrivaneQuizViewController.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Console.h"
#include "core/Extensions.h"
#include "core/FocusRing.h"
#include "platform/NamedColors.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizChoiceTextButton.h"
#include "quiz/QuizColors.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace Texts = AppConstants::QuizScreen;

namespace {

// The choice id a mark button stands for.
const char* const kTag = "tag";

constexpr int kChoiceTextSize = 17;

int tagOf(const QAbstractButton* button) {
    return button->property(kTag).toInt();
}

} // namespace

QWidget* OstrivaneQuizViewController::buildChoiceRow(const QuizChoice& choice, bool isRadio,
                                                     bool isOn) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    QAbstractButton* mark = nullptr;
    if (isRadio) {
        auto* radio = new QRadioButton(row);
        // This screen keeps one choice on; Qt's own grouping would fight it across rows.
        radio->setAutoExclusive(false);
        mark = radio;
    } else {
        mark = new QCheckBox(row);
    }
    mark->setFont(Extensions::textFont(kChoiceTextSize));
    QuizColors::setContentTint(mark, NamedColors::color(NamedColors::blue));
    mark->setProperty(kTag, choice.ChoiceID);
    // The mark has no title of its own: it is announced as the choice it stands for.
    mark->setAccessibleName(choice.ChoiceText.value_or(QString()));
    mark->setChecked(isOn);
    connect(mark, &QAbstractButton::clicked, this, [this, mark, isRadio] {
        if (isRadio)
            radioButtonClicked(mark);
        else
            checkboxClicked(mark);
    });

    auto* text = new QuizChoiceTextButton(choice.ChoiceText.value_or(QString()), row);
    text->setFont(Extensions::textFont(kChoiceTextSize));
    text->setCursor(Qt::PointingHandCursor);
    Extensions::setBackgroundColor(text, NamedColors::color(NamedColors::appColor));
    Extensions::set(text, QColor(Qt::black));
    connect(text, &QAbstractButton::clicked, this, [this, text] { squareButtonClicked(text); });
    // The mark and its text are one stop for the keyboard, ringed together: the focus that the
    // text would take goes to the mark, so Space toggles the choice wherever the focus is.
    text->setFocusProxy(mark);
    FocusRing::setOutline(mark, row);

    // The mark stands beside the first line of a choice that wraps, centred on it.
    mark->setMinimumHeight(text->minimumSizeHint().height());
    layout->addWidget(mark, 0, Qt::AlignTop);
    layout->addWidget(text, 1, Qt::AlignLeft);
    if (isRadio)
        radioButtons_.append(mark);
    return row;
}

void OstrivaneQuizViewController::fillChoiceStack(QWidget* stackView,
                                                  const QList<int>& selectedChoices, bool isRadio) {
    removeStackSubviews(stackView);
    const QuizQuestion shown = *currentQuestion();
    // Restored answers are recorded without telling the tracker, which sent them. The
    // question's entries then move to the end of the list, so that its answer is submitted in
    // one piece however it was given.
    if (trackerMayAnswer(shown))
        for (const QuizChoice& choice : shown.QuizChoices)
            if (selectedChoices.contains(choice.ChoiceID))
                saveSelectedQuizChoice(choice.QuestionID, choice.ChoiceID, shown.QuestionTypeId,
                                       false, false);
    QuizAnswerList::keepTogether(AppState::QuizChoices, shown);
    // The marks show what will be submitted: the restored answers and those given before.
    const QList<int> chosen = QuizAnswerList::chosenChoices(shown, AppState::QuizChoices);
    for (const QuizChoice& choice : shown.QuizChoices)
        stackView->layout()->addWidget(
            buildChoiceRow(choice, isRadio, chosen.contains(choice.ChoiceID)));
    choicesBuilt_ = true;
    updateControls();
}

void OstrivaneQuizViewController::showMultipleCheckBoxQuizQuestion(
    const QList<int>& selectedChoices) {
    const QuizQuestion* question = currentQuestion();
    if (!question)
        return;
    showSelectedView(viewMultipleCheckboxQuestion_);
    viewMultipleCheckboxTitleLabel_->setText(question->QuestionDescription.value_or(QString()));
    fillChoiceStack(viewMultipleCheckboxStack_, selectedChoices, false);
}

void OstrivaneQuizViewController::showRadioButtonQuizQuestion(const QList<int>& selectedChoices) {
    const QuizQuestion* question = currentQuestion();
    if (!question)
        return;
    showSelectedView(viewRadioButtonQuestion_);
    viewRadioTitleLabel_->setText(question->QuestionDescription.value_or(QString()));
    viewRadioWebView_->hide();
    viewRadioImageView_->hide();
    fillChoiceStack(viewRadioButtonStack_, selectedChoices, true);
}

void OstrivaneQuizViewController::showSelectedView(QWidget* selectedView) {
    for (QWidget* view : questionViews_)
        view->setVisible(view == selectedView);
}

void OstrivaneQuizViewController::removeStackSubviews(QWidget* stackView) {
    QLayout* layout = stackView->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* row = item->widget()) {
            row->hide();
            row->deleteLater();
        }
        delete item;
    }
    radioButtons_.clear();
}

void OstrivaneQuizViewController::radioButtonClicked(QAbstractButton* sender) {
    const QuizQuestion* question = currentQuestion();
    if (!question)
        return;
    for (QAbstractButton* button : radioButtons_)
        if (button != sender)
            button->setChecked(false);
    // A radio choice stays chosen when it is clicked again.
    sender->setChecked(true);
    saveSelectedQuizChoice(question->QuestionID, tagOf(sender), question->QuestionTypeId);
}

void OstrivaneQuizViewController::checkboxClicked(QAbstractButton* sender) {
    const QuizQuestion* question = currentQuestion();
    if (!question)
        return;
    const bool on = sender->isChecked();
    Console::print(Texts::checkboxState + (on ? Texts::stateOn : Texts::stateOff));
    saveSelectedQuizChoice(question->QuestionID, tagOf(sender), question->QuestionTypeId, true,
                           !on);
}

void OstrivaneQuizViewController::squareButtonClicked(QAbstractButton* sender) {
    Q_UNUSED(sender);
    Console::print(Texts::squareButtonClicked);
}

void OstrivaneQuizViewController::animateBackgroundColorChange(const QColor& from, const QColor& to,
                                                               TransitionDirection direction) {
    Q_UNUSED(direction);
    // The dots are built for the quiz on screen; without a dot here nothing changes.
    if (currentQuestionIndex_ < 0 || currentQuestionIndex_ >= progressViews_.size())
        return;
    Transitions::animateBackgroundColor(
        progressViews_.at(currentQuestionIndex_), from, to,
        [](QWidget* view, const QColor& color) { Extensions::setBackgroundColor(view, color); });
}

void OstrivaneQuizViewController::updatePlaceholderVisibility() {
    textfieldPlaceholder_->setVisible(textViewQuestionTwo_->toPlainText().isEmpty());
}
