#pragma once

#include "doubles/LoopbackCloud.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// The cloud's side of the training quiz, played on a loopback cloud: the answer tracker keeps
// the last answer text stored for each quiz and gives it back, and the submission is graded
// against the correct choices. Used by the quiz tests and by the simulator.
class QuizCloudDouble {
public:
    // Routes the tracker and submission paths of the cloud to this double.
    explicit QuizCloudDouble(LoopbackCloud& cloud);

    // Correct choices by question id; a question with more than one is a multiple-checkbox one.
    void setCorrectChoices(QHash<int, QSet<int>> correct) { correct_ = std::move(correct); }
    // The answer text the tracker holds for a quiz (nothing: the tracker has no row for it).
    void setTrackerText(int quizID, std::optional<QString> text);
    std::optional<QString> trackerText(int quizID) const { return tracker_.value(quizID); }
    // Answers every submission with this instead of grading it; nothing goes back to grading.
    void setSubmissionReply(std::optional<LoopbackCloud::Reply> reply) {
        submissionReply_ = std::move(reply);
    }

    // The verdict on a submission body, as the cloud sends it: a JSON array of one verdict.
    QByteArray grade(const QByteArray& submissionBody) const;

    // A small quiz of four questions covering the three kinds (and one kind the cloud may add
    // later), as a JSON array of quiz records, with its correct choices.
    static QByteArray sampleQuizJson();
    static QHash<int, QSet<int>> sampleCorrectChoices();
    static constexpr int sampleQuizID = 12;

private:
    LoopbackCloud::Reply trackerGet(const LoopbackCloud::Request& request) const;
    LoopbackCloud::Reply trackerSet(const LoopbackCloud::Request& request);

    QHash<int, std::optional<QString>> tracker_;
    QHash<int, QSet<int>> correct_;
    std::optional<LoopbackCloud::Reply> submissionReply_;
};
