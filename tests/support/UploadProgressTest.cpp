#include "support/UploadProgress.h"
#include "support/LogSequence.h"

#include <gtest/gtest.h>

namespace {

// Adds the header stage's increments in the order the run adds them; returns the progress
// after steps 3, 5 and 8 and at the end of the stage.
struct HeaderMarks {
    double afterStep3, afterStep5, afterStep8, atEnd;
};
HeaderMarks addHeaderStage(UploadProgress& progress, int usage, int tagClass) {
    HeaderMarks marks{};
    for (int step = 1; step <= 3; ++step)
        progress.add(UploadProgress::headerStep);
    marks.afterStep3 = progress.value();
    progress.add(UploadProgress::headerStep); // log-usage list fetched
    for (int i = 0; i < usage; ++i)
        progress.add(UploadProgress::listCommandShare(usage));
    marks.afterStep5 = progress.value();
    for (int step = 6; step <= 8; ++step)
        progress.add(UploadProgress::headerStep);
    marks.afterStep8 = progress.value();
    for (int i = 0; i < tagClass; ++i)
        progress.add(UploadProgress::listCommandShare(tagClass));
    progress.add(UploadProgress::headerListsDone);
    marks.atEnd = progress.value();
    return marks;
}

void addRest(UploadProgress& progress, int logs) {
    for (int i = 0; i < logs; ++i)
        progress.add(UploadProgress::logShare(logs));
    progress.add(UploadProgress::fileWritten);
    progress.add(UploadProgress::uploadStarting);
    progress.add(UploadProgress::uploadAccepted);
    progress.add(UploadProgress::fileDeleted);
}

TEST(UploadProgress, WholeRunsEndWhereTheIncrementsLead) {
    UploadProgress full;
    addHeaderStage(full, 3, 4);
    addRest(full, 5);
    EXPECT_DOUBLE_EQ(full.value(), 100.0);
    EXPECT_EQ(full.percentageLine(), QStringLiteral("100% of upload completed. Please wait..."));

    UploadProgress noUsage;
    addHeaderStage(noUsage, 0, 4);
    addRest(noUsage, 5);
    EXPECT_DOUBLE_EQ(noUsage.value(), 90.0);

    // Floating-point shares that fall just short: the line must not round up.
    UploadProgress shy;
    addHeaderStage(shy, 6, 7);
    addRest(shy, 13);
    EXPECT_EQ(shy.value(), 99.99999999999996);
    EXPECT_EQ(shy.wholePercent(), 99);
    EXPECT_EQ(shy.percentageLine(), QStringLiteral("99% of upload completed. Please wait..."));
}

TEST(UploadProgress, HeaderStageMarksAndTruncatedLine) {
    UploadProgress progress;
    progress.add(UploadProgress::headerStep);
    EXPECT_EQ(progress.percentageLine(), QStringLiteral("2% of upload completed. Please wait..."));

    UploadProgress stage;
    const HeaderMarks marks = addHeaderStage(stage, 2, 4);
    EXPECT_DOUBLE_EQ(marks.afterStep3, 6.0);
    EXPECT_DOUBLE_EQ(marks.afterStep5, 18.0);
    EXPECT_DOUBLE_EQ(marks.afterStep8, 24.0);
    EXPECT_DOUBLE_EQ(marks.atEnd, 35.0);

    UploadProgress odd;
    odd.add(37.8);
    odd.add(-5.0); // never subtracted
    EXPECT_DOUBLE_EQ(odd.value(), 37.8);
    EXPECT_EQ(odd.percentageLine(), QStringLiteral("37% of upload completed. Please wait..."));
}

TEST(LogSequence, HeaderStageWalk) {
    // Counter at 1, a log-usage list of 2 and a tag-class list of 3.
    qint64 counter = 1;
    std::vector<qint64> sent;
    for (int step = 1; step <= 4; ++step)
        sent.push_back(counter = LogSequence::beforeCommand(counter));
    counter = LogSequence::afterListAnswer(counter, 2);
    for (int i = 0; i < 2; ++i)
        counter = LogSequence::beforeCommand(counter);
    EXPECT_EQ(counter, 8);
    for (int step = 6; step <= 8; ++step)
        sent.push_back(counter = LogSequence::beforeCommand(counter));
    counter = LogSequence::afterListAnswer(counter, 3);
    for (int i = 0; i < 3; ++i)
        counter = LogSequence::beforeCommand(counter);
    EXPECT_EQ(sent, (std::vector<qint64>{2, 3, 4, 5, 9, 10, 11}));
    EXPECT_EQ(counter, 16);

    // An empty list takes the request's own step back.
    EXPECT_EQ(LogSequence::afterListAnswer(LogSequence::beforeCommand(40), 0), 40);
    EXPECT_EQ(LogSequence::afterListAnswer(LogSequence::beforeCommand(40), 3), 43);
}

} // namespace
