#include "quiz/OstrivaneQuizViewController.h"
#include "quiz/QuizLabels.h"

#include "core/AppConstants.h"
#include "core/Extensions.h"
#include "platform/BusyIndicator.h"

#include <QBoxLayout>
#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

namespace Texts = AppConstants::QuizScreen;

QWidget* OstrivaneQuizViewController::buildQuestionContainer(QLabel*& title, QWidget*& stack) {
    auto* container = new QWidget(this);
    auto* outer = new QVBoxLayout(container);
    outer->setContentsMargins(0, 0, 0, 0);
    // A long question or long choices scroll within the screen instead of being cut off.
    auto* scroll = new QScrollArea(container);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The keyboard scrolls a long question from here.
    scroll->setAccessibleName(tr("Question"));
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    Extensions::setScrollBarStyle(scroll);
    auto* content = new QWidget(scroll->viewport());
    content->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(content);
    title = makeQuizLabel(content, 17);
    stack = new QWidget(content);
    auto* stackLayout = new QVBoxLayout(stack);
    stackLayout->setContentsMargins(0, 0, 0, 0);
    stackLayout->setSpacing(8);
    layout->addWidget(title);
    layout->addWidget(stack);
    layout->addStretch(1);
    scroll->setWidget(content);
    outer->addWidget(scroll);
    return container;
}

void OstrivaneQuizViewController::setupUi() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(16);

    labelQuestionsTitle_ = makeQuizLabel(this, 22, true);
    layout->addWidget(labelQuestionsTitle_);

    questionProgressViewStack_ = new QWidget(this);
    auto* dots = new QHBoxLayout(questionProgressViewStack_);
    dots->setContentsMargins(0, 0, 0, 0);
    dots->setSpacing(6);
    layout->addWidget(questionProgressViewStack_);

    viewMultipleCheckboxQuestion_ =
        buildQuestionContainer(viewMultipleCheckboxTitleLabel_, viewMultipleCheckboxStack_);
    viewRadioButtonQuestion_ = buildQuestionContainer(viewRadioTitleLabel_, viewRadioButtonStack_);
    // Questions are shown as text only: the image and the web content stay hidden.
    viewRadioImageView_ = new QLabel(viewRadioButtonQuestion_);
    viewRadioWebView_ = new QWidget(viewRadioButtonQuestion_);
    viewRadioButtonQuestion_->layout()->addWidget(viewRadioImageView_);
    viewRadioButtonQuestion_->layout()->addWidget(viewRadioWebView_);

    viewQuestionTwo_ = new QWidget(this);
    auto* freeText = new QVBoxLayout(viewQuestionTwo_);
    textViewQuestionTwo_ = new QPlainTextEdit(viewQuestionTwo_);
    textfieldPlaceholder_ = new QLabel(Texts::freeTextPlaceholder, viewQuestionTwo_);
    freeText->addWidget(textfieldPlaceholder_);
    freeText->addWidget(textViewQuestionTwo_);
    connect(textViewQuestionTwo_, &QPlainTextEdit::textChanged, this,
            &OstrivaneQuizViewController::updatePlaceholderVisibility);
    viewQuestionThree_ = new QWidget(this);
    viewQuestionTwo_->hide();
    viewQuestionThree_->hide();

    quizCompleteView_ = new QWidget(this);
    auto* complete = new QVBoxLayout(quizCompleteView_);
    labelQuizComplete_ = makeQuizLabel(quizCompleteView_, 17);
    buttonStartTransmitterUpgrade_ =
        new QPushButton(Texts::startTransmitterUpgrade, quizCompleteView_);
    Extensions::setActionButton(buttonStartTransmitterUpgrade_);
    complete->addWidget(labelQuizComplete_);
    complete->addWidget(buttonStartTransmitterUpgrade_, 0, Qt::AlignLeft);
    complete->addStretch(1);
    quizCompleteView_->hide();
    connect(buttonStartTransmitterUpgrade_, &QPushButton::clicked, this,
            &OstrivaneQuizViewController::startTransmitterUpgradeButtonClicked);

    for (QWidget* view : {viewMultipleCheckboxQuestion_, viewQuestionTwo_, viewQuestionThree_,
                          viewRadioButtonQuestion_, quizCompleteView_})
        layout->addWidget(view, 1);

    auto* buttons = new QHBoxLayout;
    buttonPrevious_ = new QPushButton(Texts::previousTitle, this);
    buttonSaveAndContinue_ = new QPushButton(Texts::saveAndContinueTitle, this);
    buttonNext_ = new QPushButton(Texts::nextTitle, this);
    for (QPushButton* button : {buttonPrevious_, buttonSaveAndContinue_, buttonNext_})
        button->setMinimumSize(180, 36);
    // Beside the buttons that it keeps locked while the screen waits for the cloud.
    busyIndicator_ = new BusyIndicator(this);
    busyIndicator_->setAccessibleName(tr("Waiting for the cloud"));
    busyIndicator_->hide();
    busyIndicator_->startAnimation();
    buttons->addWidget(buttonPrevious_);
    buttons->addStretch(1);
    buttons->addWidget(busyIndicator_);
    buttons->addWidget(buttonSaveAndContinue_);
    buttons->addWidget(buttonNext_);
    layout->addLayout(buttons);

    connect(buttonPrevious_, &QPushButton::clicked, this,
            &OstrivaneQuizViewController::previousQuestionButtonClicked);
    connect(buttonNext_, &QPushButton::clicked, this,
            &OstrivaneQuizViewController::nextQuestionButtonClicked);
    connect(buttonSaveAndContinue_, &QPushButton::clicked, this,
            &OstrivaneQuizViewController::saveAndContinueButtonClicked);
}
