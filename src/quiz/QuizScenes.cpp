#include "quiz/QuizScenes.h"

#include "core/AppConstants.h"
#include "platform/Storyboard.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/OstrivaneQuizViewController.h"

void registerQuizScenes() {
    Storyboard& storyboard = Storyboard::main();
    storyboard.registerScene<OstrivaneQuizViewController>(AppConstants::Scenes::quizViewController);
    storyboard.registerScene<OstrivaneQuizAlertView>(AppConstants::Scenes::quizAlertView);
}
