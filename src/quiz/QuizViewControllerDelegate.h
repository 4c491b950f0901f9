#pragma once

// Implemented by the quiz screen: the quiz alert sheet hands the user's choice to save the quiz
// and continue later to it.
class QuizViewControllerDelegate {
public:
    virtual ~QuizViewControllerDelegate() = default;
    virtual void saveAndContinueLater() = 0;
};
