#include "support/UploadProgress.h"
#include "support/LogSequence.h"

#include <gtest/gtest.h>

namespace {

// Adds a whole run's increments in the order the run adds them; marks holds the sum after
// header steps 3, 5 and 8 and at the end of the header stage.
UploadProgress run(int usage, int tagClass, int logs, std::vector<double>* marks = nullptr) {
    UploadProgress p;
    const auto mark = [&] {
        if (marks)
            marks->push_back(p.value());
    };
    const auto list = [&](int size) {
        for (int i = 0; i < size; ++i)
            p.add(UploadProgress::listCommandShare(size));
    };
    for (int step = 1; step <= 3; ++step)
        p.add(UploadProgress::headerStep);
    mark();
    p.add(UploadProgress::headerStep);
    list(usage);
    mark();
    for (int step = 6; step <= 8; ++step)
        p.add(UploadProgress::headerStep);
    mark();
    list(tagClass);
    p.add(UploadProgress::headerListsDone);
    mark();
    for (int i = 0; i < logs; ++i)
        p.add(UploadProgress::logShare(logs));
    for (double step : {UploadProgress::fileWritten, UploadProgress::uploadStarting,
                        UploadProgress::uploadAccepted, UploadProgress::fileDeleted})
        p.add(step);
    return p;
}

TEST(UploadProgress, WholeRunsEndWhereTheIncrementsLead) {
    EXPECT_DOUBLE_EQ(run(3, 4, 5).value(), 100.0);
    EXPECT_EQ(run(3, 4, 5).percentageLine(),
              QStringLiteral("100% of upload completed. Please wait..."));
    EXPECT_DOUBLE_EQ(run(0, 4, 5).value(), 90.0);

    // Shares that fall just short: the line must not round up.
    const UploadProgress shy = run(6, 7, 13);
    EXPECT_EQ(shy.value(), 99.99999999999996);
    EXPECT_EQ(shy.percentageLine(), QStringLiteral("99% of upload completed. Please wait..."));

    std::vector<double> marks;
    run(2, 4, 0, &marks);
    EXPECT_EQ(marks, (std::vector<double>{6.0, 18.0, 24.0, 35.0}));
}

TEST(UploadProgress, LineTruncatesAndNothingIsSubtracted) {
    UploadProgress p;
    p.add(UploadProgress::headerStep);
    EXPECT_EQ(p.percentageLine(), QStringLiteral("2% of upload completed. Please wait..."));
    p.add(35.8);
    p.add(-5.0);
    EXPECT_DOUBLE_EQ(p.value(), 37.8);
    EXPECT_EQ(p.wholePercent(), 37);
}

TEST(LogSequence, HeaderStageWalk) {
    // Counter at 1, a log-usage list of 2 and a tag-class list of 3.
    qint64 counter = 1;
    std::vector<qint64> sent;
    const auto request = [&] { sent.push_back(counter = LogSequence::beforeCommand(counter)); };
    const auto listed = [&](int n) {
        counter = LogSequence::afterListAnswer(counter, n);
        for (int i = 0; i < n; ++i)
            counter = LogSequence::beforeCommand(counter);
    };
    for (int step = 1; step <= 4; ++step)
        request();
    listed(2);
    EXPECT_EQ(counter, 8);
    for (int step = 6; step <= 8; ++step)
        request();
    listed(3);
    EXPECT_EQ(sent, (std::vector<qint64>{2, 3, 4, 5, 9, 10, 11}));
    EXPECT_EQ(counter, 16);

    // An empty list takes the request's own step back.
    EXPECT_EQ(LogSequence::afterListAnswer(LogSequence::beforeCommand(40), 0), 40);
}

} // namespace
