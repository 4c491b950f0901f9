#include "quiz/OstrivaneQuizAlertView.h"

#include "core/AppConstants.h"
#include "core/Extensions.h"
#include "platform/NamedColors.h"
#include "platform/NotificationCenter.h"
#include "quiz/QuizColors.h"
#include "quiz/QuizLabels.h"
#include "quiz/QuizViewControllerDelegate.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace Texts = AppConstants::QuizScreen;

OstrivaneQuizAlertView::OstrivaneQuizAlertView(QWidget* parent) : ViewController(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 16);
    viewTopHeader_ = new QWidget(this);
    auto* header = new QVBoxLayout(viewTopHeader_);
    labelHeaderPrimary_ = makeQuizLabel(viewTopHeader_, 20, true);
    labelHeaderSecondary_ = makeQuizLabel(viewTopHeader_, 15, false);
    header->addWidget(labelHeaderPrimary_);
    header->addWidget(labelHeaderSecondary_);
    Extensions::setBackgroundColor(viewTopHeader_, NamedColors::color(NamedColors::lightgrey));
    layout->addWidget(viewTopHeader_);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(24, 8, 24, 8);
    labelSubHeading_ = makeQuizLabel(this, 15, true);
    labelAlertText_ = makeQuizLabel(this, 15, false);
    labelNoteText_ = makeQuizLabel(this, 13, false);
    body->addWidget(labelSubHeading_);
    body->addWidget(labelAlertText_);
    body->addWidget(labelNoteText_);
    layout->addLayout(body);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(24, 0, 24, 0);
    buttonSaveAndContinue_ = new QPushButton(Texts::saveAndContinueTitle, this);
    buttonResumeQuiz_ = new QPushButton(Texts::resumeQuizTitle, this);
    for (QPushButton* button : {buttonSaveAndContinue_, buttonResumeQuiz_})
        button->setMinimumSize(180, 36);
    // Enter, and the first key, keep the user in the quiz; leaving takes a deliberate choice.
    buttonSaveAndContinue_->setAutoDefault(false);
    buttonResumeQuiz_->setDefault(true);
    setTabOrder(buttonResumeQuiz_, buttonSaveAndContinue_);
    setFocusProxy(buttonResumeQuiz_);
    buttons->addWidget(buttonSaveAndContinue_);
    buttons->addStretch(1);
    buttons->addWidget(buttonResumeQuiz_);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(buttonSaveAndContinue_, &QPushButton::clicked, this,
            &OstrivaneQuizAlertView::saveAndContinueLaterClicked);
    connect(buttonResumeQuiz_, &QPushButton::clicked, this,
            &OstrivaneQuizAlertView::resumeQuizClicked);
}

void OstrivaneQuizAlertView::setDelegate(QuizViewControllerDelegate* delegate) {
    delegateObject_ = dynamic_cast<QObject*>(delegate);
    delegate_ = delegateObject_ ? delegate : nullptr;
}

QuizViewControllerDelegate* OstrivaneQuizAlertView::delegate() const {
    return delegateObject_ ? delegate_ : nullptr;
}

void OstrivaneQuizAlertView::viewDidAppear() {
    updateViewAndPresent(dataInfo);
}

void OstrivaneQuizAlertView::cancelOperation() {
    if (!resumeStartsNewAttempt_)
        resumeQuizClicked();
}

void OstrivaneQuizAlertView::updateViewAndPresent(const std::optional<QuizAlertInfo>& updateInfo) {
    const QuizAlertInfo info = updateInfo.value_or(QuizAlertInfo{});
    labelHeaderPrimary_->setText(info.headerPrimaryText.value_or(QString()));
    labelHeaderSecondary_->setText(info.headerSecondaryText.value_or(QString()));
    labelSubHeading_->setText(info.subHeading.value_or(QString()));
    labelAlertText_->setText(info.message.value_or(QString()));
    labelNoteText_->setText(info.note.value_or(QString()));
    const Qt::Alignment alignment = info.textAlignment.value_or(Qt::AlignHCenter);
    labelAlertText_->setAlignment(alignment | Qt::AlignVCenter);
    labelNoteText_->setAlignment(alignment | Qt::AlignVCenter);
    Extensions::setButton(buttonResumeQuiz_, QuizColors::color(NamedColors::blue));
    Extensions::set(buttonResumeQuiz_, QColor(Qt::white));
    Extensions::setButton(buttonSaveAndContinue_, QuizColors::color(NamedColors::appColor), true,
                          QuizColors::color(NamedColors::blue));
    labelSubHeading_->setVisible(info.subHeading.has_value());
}

void OstrivaneQuizAlertView::saveAndContinueLaterClicked() {
    if (QuizViewControllerDelegate* target = delegate())
        target->saveAndContinueLater();
    dismiss();
}

void OstrivaneQuizAlertView::resumeQuizClicked() {
    dismiss();
    // The save prompt interrupts no attempt: resuming there only closes it.
    if (!resumeStartsNewAttempt_)
        return;
    NotificationCenter::defaultCenter().post(AppConstants::Notifications::quizRetry);
}
