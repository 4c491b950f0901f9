#include "quiz/QuizAnswerList.h"

#include <gtest/gtest.h>

using namespace QuizAnswerList;
using namespace Qt::StringLiterals;

namespace {

using Answers = QList<StructQuizChoicesSubmit>;

TEST(QuizAnswerListRecording, CheckboxesAreKeptPerChoiceRadiosPerQuestion) {
    Answers list{{101, 1, 2}, {102, 5, 1}, {103, 9, 2}};

    record(list, {102, 6, 1}, /*byChoice=*/true, /*remove=*/false);
    EXPECT_EQ(list, (Answers{{101, 1, 2}, {102, 5, 1}, {103, 9, 2}, {102, 6, 1}}));

    // Restoring a box the list already holds moves it to the end, once.
    record(list, {102, 5, 1}, true, false);
    EXPECT_EQ(list, (Answers{{101, 1, 2}, {103, 9, 2}, {102, 6, 1}, {102, 5, 1}}));

    // A changed radio answer replaces the question's old one at the end.
    record(list, {101, 2, 2}, false, false);
    EXPECT_EQ(list, (Answers{{103, 9, 2}, {102, 6, 1}, {102, 5, 1}, {101, 2, 2}}));

    record(list, {102, 6, 1}, true, /*remove=*/true);
    EXPECT_EQ(list, (Answers{{103, 9, 2}, {102, 5, 1}, {101, 2, 2}}));

    // Turning off a box that was never recorded changes nothing.
    record(list, {102, 7, 1}, true, true);
    EXPECT_EQ(list, (Answers{{103, 9, 2}, {102, 5, 1}, {101, 2, 2}}));
}

TEST(QuizAnswerListTrackerText, BuildsTheTrackersForm) {
    EXPECT_EQ(choiceSelectionJSON({}), u"[]"_s);
    EXPECT_EQ(choiceSelectionJSON({{101, 12, 2}, {102, 13, 1}}),
              uR"([{"ChoiceID":12},{"ChoiceID":13}])"_s);
}

TEST(QuizAnswerListTrackerText, ParsesWhatItBuildsAndToleratesOtherForms) {
    const Answers list{{1, 12, 2}, {2, -3, 1}, {3, 2147483647, 1}};
    EXPECT_EQ(convertStringToArrayOfDictionaries(choiceSelectionJSON(list)),
              (QList<int>{12, -3, 2147483647}));

    EXPECT_EQ(convertStringToArrayOfDictionaries(u"[]"_s), QList<int>{});
    EXPECT_EQ(convertStringToArrayOfDictionaries(QString()), QList<int>{});
    EXPECT_EQ(convertStringToArrayOfDictionaries(u"["_s), QList<int>{});
    // Well-formed JSON with other keys: only the ChoiceID counts.
    EXPECT_EQ(convertStringToArrayOfDictionaries(uR"([{"ChoiceID":12,"X":5}])"_s), QList<int>{12});
    // Spaces around numbers, and texts that are not quite JSON.
    EXPECT_EQ(convertStringToArrayOfDictionaries(uR"([{"ChoiceID": 12 },{"ChoiceID":	13}])"_s),
              (QList<int>{12, 13}));
    EXPECT_EQ(
        convertStringToArrayOfDictionaries(uR"([{"ChoiceID":12},{"ChoiceID":1x},{ChoiceID:7}])"_s),
        (QList<int>{12, 7}));
    // Out of range or fractional numbers are no ids.
    EXPECT_EQ(convertStringToArrayOfDictionaries(uR"([{"ChoiceID":99999999999}])"_s), QList<int>{});
    EXPECT_EQ(convertStringToArrayOfDictionaries(uR"([{"ChoiceID":1.5}])"_s), QList<int>{});
}

TEST(QuizAnswerListAnsweredTest, LooksAtChoiceIdsOnly) {
    QuizQuestion question;
    question.QuestionID = 101;
    for (int id : {1001, 1002}) {
        QuizChoice choice;
        choice.ChoiceID = id;
        choice.QuestionID = 101;
        question.QuizChoices.append(choice);
    }

    EXPECT_FALSE(isAnswered(question, {}));
    EXPECT_FALSE(isAnswered(question, {{101, 2001, 2}}));
    // An entry naming another question still answers this one by its choice.
    EXPECT_TRUE(isAnswered(question, {{555, 1002, 2}}));
    EXPECT_EQ(chosenChoices(question, {{101, 1002, 1}, {9, 7, 1}, {101, 1001, 1}}),
              (QList<int>{1001, 1002}));
}

} // namespace
