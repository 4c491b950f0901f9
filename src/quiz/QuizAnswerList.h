#pragma once

#include "models/Quiz.h"
#include "models/QuizAnswers.h"

#include <QList>
#include <QString>

// The quiz's answer list (AppState::QuizChoices) and the text in which the cloud's answer
// tracker holds it. Widget-free; the quiz screen calls these.
namespace QuizAnswerList {

// Records one answer. For a multiple-checkbox question (byChoice) the entries of the same
// choice are replaced; for any other kind the entries of the same question. With remove, the
// choice's entries are taken out and nothing is added. A recorded answer goes to the end.
void record(QList<StructQuizChoicesSubmit>& list, const StructQuizChoicesSubmit& answer,
            bool byChoice, bool remove);

// Moves the question's entries (its id, or one of its choices) to the end of the list, in
// their order, so that they stand together: the submission gives one answer per run of
// entries of one question.
void keepTogether(QList<StructQuizChoicesSubmit>& list, const QuizQuestion& question);

// "[" + one {"ChoiceID":<id>} per entry, in order, joined by "," + "]"; "[]" when empty.
QString choiceSelectionJSON(const QList<StructQuizChoicesSubmit>& list);

// The choice ids of a tracker text. A JSON array of objects gives each object's integer
// "ChoiceID", in order. Anything else is read leniently: the outer brackets dropped, the rest
// split at "{", "}" and ":", and every piece that is a whole decimal integer (blanks and tabs
// around it allowed) taken. Texts shorter than two characters hold no ids.
QList<int> convertStringToArrayOfDictionaries(const QString& text);

// Whether some entry's choice is one of the question's choices (the entry's question id does
// not matter). A question without choices has nothing to choose and counts as answered.
bool isAnswered(const QuizQuestion& question, const QList<StructQuizChoicesSubmit>& list);

// The choices of the question that the list holds.
QList<int> chosenChoices(const QuizQuestion& question, const QList<StructQuizChoicesSubmit>& list);

} // namespace QuizAnswerList
