#pragma once

#include "cloud/APIResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The quiz's own cloud requests (answer tracker and submission): a POST of a body the quiz
// builds itself, always with "Authorization: Bearer " + the signed-in user's access token
// (also when it is empty). The transport is the cloud client's (GlobalManager::sendOnce): sent
// at most once, with its time-out and its mapping of replies to APIError. The completion runs on
// the main thread: from the event loop with the answer, or at once with invalidURL when the address
// is not one.
namespace QuizCloudRequest {

void post(const QString& urlString, const QString& contentType, const QByteArray& body,
          APICompletion completion);

// The body the quiz reads from an answer: the data of a success, or the body of an error
// status (the quiz cloud may answer with a status error and still send its rows or verdict).
// None for every other failure.
std::optional<QByteArray> answerBody(const APIResult& result);

} // namespace QuizCloudRequest
