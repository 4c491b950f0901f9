#pragma once

#include "models/Quiz.h"
#include "models/StructQuizResult.h"

#include <QString>

#include <optional>

// How far the user got in a quiz, and what a failed attempt leaves to answer again.
// Widget-free.
namespace QuizProgress {

// "<device id>-<firmware version>-<quiz id>"; an absent id or version counts as empty text.
QString progressKey(const std::optional<QString>& deviceID,
                    const std::optional<QString>& firmwareVersion, int quizID);

// The question to reopen at, from the value stored under the progress key: its index when
// it is a decimal index of the quiz, the last question when it lies beyond the quiz (which a
// retry can shorten), and the first question for anything else (nothing stored, not a
// number, negative).
int resumeIndex(const QString& storedValue, qsizetype questionCount);

// The questions of the whole quiz that a failed attempt leaves to answer again: those the
// verdict names among its wrong or missing choices, in their order. A verdict that names no
// wrong choice, or names nothing the quiz holds, leaves the whole quiz: what keeps it from
// passing cannot be told apart then, and every question stays within reach. (A verdict
// without its list of wrong choices starts no new attempt: the quiz screen stays as it is.)
QList<QuizQuestion> questionsToRetake(const Quiz& whole, const StructQuizResult& verdict);

} // namespace QuizProgress
