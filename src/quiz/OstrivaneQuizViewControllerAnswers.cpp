#include "quiz/OstrivaneQuizViewController.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Console.h"
#include "core/Logger.h"
#include "models/JsonDecoder.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizCloudRequest.h"
#include "quiz/QuizRequestBodies.h"

namespace Http = AppConstants::Http;

void OstrivaneQuizViewController::saveSelectedQuizChoice(int quizQuestionID, int selectedQuizChoice,
                                                         int questionTypeID, bool shouldCallSetApi,
                                                         bool shouldRemoveSelectedChoice) {
    // A change the user makes is never undone by the tracker's reply.
    if (shouldCallSetApi)
        if (const QuizQuestion* shown = currentQuestion())
            questionsChangedHere_.insert(shown->QuestionID);
    // The kind of the question on screen decides the rule, not the given type.
    QuizAnswerList::record(AppState::QuizChoices,
                           {quizQuestionID, selectedQuizChoice, questionTypeID},
                           getQuizType() == QuizType::multiCheckbox, shouldRemoveSelectedChoice);
    const QString text = QuizAnswerList::choiceSelectionJSON(AppState::QuizChoices);
    const Quiz* quiz = currentQuiz();
    if (!shouldCallSetApi || !quiz)
        return;
    CallApiSetUserQuizTracker(quiz->QuizID,
                              AppState::g_fullVersionFromTxForAudit.value_or(QString()),
                              AppState::g_deviceID.value_or(QString()), text, [](bool) {});
}

bool OstrivaneQuizViewController::trackerMayAnswer(const QuizQuestion& question) const {
    return !questionsChangedHere_.contains(question.QuestionID) &&
           !QuizAnswerList::isAnswered(question, AppState::QuizChoices);
}

void OstrivaneQuizViewController::CallApiSetUserQuizTracker(int quizid,
                                                            const QString& firmwareversion,
                                                            const QString& transmitterid,
                                                            const QString& choiceselectionjson,
                                                            std::function<void(bool)> completion) {
    QuizCloudRequest::post(AppConstants::API::Host::setUserQuizTracker(), Http::formUrlEncoded,
                           QuizRequestBodies::trackerSetBody(quizid, firmwareversion, transmitterid,
                                                             choiceselectionjson),
                           [completion = std::move(completion)](const APIResult& result) {
                               // Any answer of the tracker counts; only a lost request is a
                               // failure, and the next change sends the whole list again.
                               const bool answered = result.ok() ||
                                                     result.error().is(APIError::Kind::httpError) ||
                                                     result.error().is(APIError::Kind::noData);
                               if (!answered)
                                   Console::print(result.error().localizedDescription());
                               if (completion)
                                   completion(answered);
                           });
}

void OstrivaneQuizViewController::callApiGetUserQuizTrackerNew(
    int quizid, const QString& firmwareversion, const QString& transmitterid,
    std::function<void(const QList<StructGetUserQuizTracker>&)> completion) {
    QuizCloudRequest::post(
        AppConstants::API::Host::getUserQuizTracker(), Http::formUrlEncoded,
        QuizRequestBodies::trackerGetBody(quizid, firmwareversion, transmitterid),
        [completion = std::move(completion)](const APIResult& result) {
            // An error status whose body holds tracker rows still counts as an answer.
            const std::optional<QByteArray> body = QuizCloudRequest::answerBody(result);
            if (!body) {
                Console::print(result.error().localizedDescription());
            } else {
                DecodeResult<QList<StructGetUserQuizTracker>> rows =
                    JsonDecoder::decodeArray<StructGetUserQuizTracker>(*body);
                if (rows)
                    AppState::GetUserQuizTracker = std::move(rows).value();
                else
                    Logger::log(
                        SCREEN_LOG_PREFIX_FN("callApiGetUserQuizTrackerNew(quizid:firmwareversion:"
                                             "transmitterid:completion:)") +
                        AppConstants::DebugLog::errorLabel + rows.error());
            }
            // Without a usable answer the question is still shown, with the answers of the
            // last reply that could be read.
            if (completion)
                completion(AppState::GetUserQuizTracker);
        });
}
