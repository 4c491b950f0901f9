#pragma once

#include "platform/ViewController.h"
#include "quiz/QuizAlertInfo.h"

#include <QPointer>

#include <optional>

class QLabel;
class QPushButton;
class QuizViewControllerDelegate;

// The sheet the quiz screen lays over itself: the save-and-continue-later prompt, and the
// notice of a failed submission. Save hands the decision to the delegate; resume, on a failure
// notice, posts "QuizRetry", upon which the quiz screen starts a new attempt.
class OstrivaneQuizAlertView : public ViewController {
    Q_OBJECT
public:
    explicit OstrivaneQuizAlertView(QWidget* parent = nullptr);

    std::optional<QuizAlertInfo> dataInfo;

    // Held weakly: a delegate that is gone is not called.
    void setDelegate(QuizViewControllerDelegate* delegate);
    QuizViewControllerDelegate* delegate() const;
    // Whether resume starts a new attempt (a failure notice) or only closes the sheet (the
    // save prompt, shown while the user is still answering). A new attempt by default.
    void setResumeStartsNewAttempt(bool startsNewAttempt) {
        resumeStartsNewAttempt_ = startsNewAttempt;
    }

    void updateViewAndPresent(const std::optional<QuizAlertInfo>& updateInfo);
    void saveAndContinueLaterClicked();
    void resumeQuizClicked();

    QPushButton* buttonSaveAndContinue() const { return buttonSaveAndContinue_; }
    QPushButton* buttonResumeQuiz() const { return buttonResumeQuiz_; }
    QLabel* labelHeaderPrimary() const { return labelHeaderPrimary_; }
    QLabel* labelHeaderSecondary() const { return labelHeaderSecondary_; }
    QLabel* labelSubHeading() const { return labelSubHeading_; }
    QLabel* labelAlertText() const { return labelAlertText_; }
    QLabel* labelNoteText() const { return labelNoteText_; }
    QWidget* viewTopHeader() const { return viewTopHeader_; }

protected:
    void viewDidAppear() override;
    // Escape on the save prompt keeps the user in the quiz; a failure notice waits for a choice.
    void cancelOperation() override;

private:
    QPushButton* buttonSaveAndContinue_;
    QPushButton* buttonResumeQuiz_;
    QLabel* labelHeaderSecondary_;
    QLabel* labelHeaderPrimary_;
    QLabel* labelSubHeading_;
    QLabel* labelAlertText_;
    QWidget* viewTopHeader_;
    QLabel* labelNoteText_;

    QPointer<QObject> delegateObject_;
    QuizViewControllerDelegate* delegate_ = nullptr;
    bool resumeStartsNewAttempt_ = true;
};
