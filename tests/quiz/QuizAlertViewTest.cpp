// The quiz alert sheet on its own: what it shows, and what its buttons do.
#include "core/AppConstants.h"
#include "doubles/WaitFor.h"
#include "platform/NotificationCenter.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/QuizViewControllerDelegate.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class Host : public ViewController, public QuizViewControllerDelegate {
public:
    void saveAndContinueLater() override { ++saves; }
    int saves = 0;
};

class QuizAlertViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(600, 400);
        host.show();
        ASSERT_TRUE(waitFor([&] { return host.isVisible(); }));
        NotificationCenter::defaultCenter().addObserver(&retries,
                                                        AppConstants::Notifications::quizRetry,
                                                        [this](const QVariant&) { ++retryCount; });
    }

    // Presents a sheet the way the quiz screen does and waits until it has filled itself.
    OstrivaneQuizAlertView* present(std::optional<QuizAlertInfo> info) {
        auto* sheet = new OstrivaneQuizAlertView;
        sheet->setDelegate(&host);
        sheet->dataInfo = std::move(info);
        EXPECT_TRUE(host.presentAsSheet(sheet));
        EXPECT_TRUE(waitFor([&] { return sheet->buttonResumeQuiz()->styleSheet().size() > 0; }));
        return sheet;
    }

    Host host;
    QObject retries;
    int retryCount = 0;
};

TEST_F(QuizAlertViewTest, ShowsWhatItIsGiven) {
    OstrivaneQuizAlertView* sheet = present(QuizAlertInfo{u"Head"_s, u"Second"_s, u"Message"_s,
                                                          u"Note"_s, std::nullopt, Qt::AlignLeft});
    EXPECT_EQ(sheet->labelHeaderPrimary()->text(), u"Head"_s);
    EXPECT_EQ(sheet->labelHeaderSecondary()->text(), u"Second"_s);
    EXPECT_EQ(sheet->labelAlertText()->text(), u"Message"_s);
    EXPECT_EQ(sheet->labelNoteText()->text(), u"Note"_s);
    EXPECT_FALSE(sheet->labelSubHeading()->isVisible());
    EXPECT_TRUE(sheet->labelAlertText()->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(sheet->labelNoteText()->alignment() & Qt::AlignLeft);

    // Filled again from what it holds: an empty sub-heading shows an empty line, and the
    // default alignment centres.
    sheet->updateViewAndPresent(QuizAlertInfo{u"H"_s, {}, u"M"_s, u"N"_s, QString(), {}});
    EXPECT_TRUE(sheet->labelSubHeading()->isVisible());
    EXPECT_TRUE(sheet->labelSubHeading()->text().isEmpty());
    EXPECT_TRUE(sheet->labelAlertText()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(sheet->labelNoteText()->alignment() & Qt::AlignHCenter);

    sheet->updateViewAndPresent(std::nullopt);
    for (QLabel* label : {sheet->labelHeaderPrimary(), sheet->labelHeaderSecondary(),
                          sheet->labelAlertText(), sheet->labelNoteText()})
        EXPECT_TRUE(label->text().isEmpty());
    EXPECT_FALSE(sheet->labelSubHeading()->isVisible());
}

TEST_F(QuizAlertViewTest, SaveHandsOverAndCloses) {
    QPointer<OstrivaneQuizAlertView> sheet = present(QuizAlertInfo{});
    sheet->buttonSaveAndContinue()->click();
    EXPECT_EQ(host.saves, 1);
    EXPECT_TRUE(waitFor([&] { return sheet.isNull(); }));
    EXPECT_EQ(retryCount, 0);

    // Without a delegate it only closes.
    QPointer<OstrivaneQuizAlertView> orphan = present(QuizAlertInfo{});
    orphan->setDelegate(nullptr);
    orphan->buttonSaveAndContinue()->click();
    EXPECT_TRUE(waitFor([&] { return orphan.isNull(); }));
    EXPECT_EQ(host.saves, 1);
}

TEST_F(QuizAlertViewTest, ResumeStartsANewAttemptOnlyOnAFailureNotice) {
    QPointer<OstrivaneQuizAlertView> sheet = present(QuizAlertInfo{});
    sheet->buttonResumeQuiz()->click();
    EXPECT_EQ(retryCount, 1);
    EXPECT_TRUE(waitFor([&] { return sheet.isNull(); }));

    sheet = present(QuizAlertInfo{});
    sheet->setResumeStartsNewAttempt(false);
    sheet->buttonResumeQuiz()->click();
    EXPECT_TRUE(waitFor([&] { return sheet.isNull(); }));
    EXPECT_EQ(retryCount, 1);
}

} // namespace
