#pragma once

#include "models/Quiz.h"
#include "models/QuizAnswers.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The bodies of the quiz's own cloud requests. Widget-free.
namespace QuizRequestBodies {

// The answer tracker's form: "QuizID=<id>&FirmwareVersion=<v>&TransmitterID=<t>", and for a
// store "&ChoiceSelectionJSON=<text>" after it. Values go out as they are, except the few
// characters that would break the form ("%", "&", "+", "=", blanks, control and non-ASCII
// characters), which are percent-encoded.
QByteArray trackerGetBody(int quizID, const QString& firmwareVersion, const QString& transmitterID);
QByteArray trackerSetBody(int quizID, const QString& firmwareVersion, const QString& transmitterID,
                          const QString& choiceSelectionJSON);

// The answer list grouped for submission: each run of consecutive entries of one question
// becomes one element, in list order. The last group is always closed, so an empty list gives
// one element with question 0, type 0 and no choices.
QList<QuizQuestion1> groupQuizChoices(int quizID, const QList<StructQuizChoicesSubmit>& list);

// {"QuizQuestions":<the groups as a compact JSON array>}. Each of the quiz's questions that
// has no choices (answered, with nothing to choose) follows the groups with an empty choice
// list.
QByteArray submissionBody(int quizID, const QList<StructQuizChoicesSubmit>& list,
                          const QList<QuizQuestion>& quizQuestions = {});

} // namespace QuizRequestBodies
