// The simulator's help routes, driven by a real help screen and by hand-made requests.
#include "HelpScreenFixture.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "doubles/HelpSimRoutes.h"
#include "doubles/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
QString fileText(const QDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Posts a body to the simulator; whether it was accepted.
bool accepted(const QString& url, const QVariantMap& body) {
    std::optional<bool> ok;
    GlobalManager::shared().callAPI(url, HTTPMethod::POST, body,
                                    [&](const APIResult& result) { ok = result.ok(); });
    waitFor([&] { return ok.has_value(); });
    return ok.value_or(false);
}
} // namespace

class HelpSimRoutesTest : public HelpScreenTest {
protected:
    void SetUp() override {
        HelpScreenTest::SetUp();
        ASSERT_TRUE(outDir.isValid());
        HelpSimRoutes::install(cloud, QDir(outDir.path()));
    }
    QDir out() const { return QDir(outDir.path()); }
    QTemporaryDir outDir;
};

TEST_F(HelpSimRoutesTest, KeepsEachEmailTheScreenSends) {
    openScreen();
    EXPECT_EQ(screen->supportEmail, HelpSimRoutes::supportEmail);
    EXPECT_EQ(screen->userGuideLink, HelpSimRoutes::userGuideLink);

    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, QStringLiteral("It \"beeps\"\nat night"));
    pressSend();
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\n") + AppConstants::Alerts::descriptions::help);
    closeAlerts();
    const QString first = fileText(out(), QStringLiteral("email-001.txt"));
    EXPECT_TRUE(first.startsWith(QStringLiteral("To: support@ostrivane.example\nSubject: "
                                                "Ostrivane Pellory App- Ostrivane Pellory App "
                                                "Troubleshooting Message\n\nAn Ostrivane user")));
    EXPECT_TRUE(first.contains(QStringLiteral("Message\n=======\nIt \"beeps\"\nat night")));
    const QStringList csv = fileText(out(), QStringLiteral("email-001-ActivityHistoryLog.csv"))
                                .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(csv.size(), 4);
    EXPECT_EQ(csv.first(), QStringLiteral("Date, TransmitterID, FirmwareID, Code, Description"));
    EXPECT_TRUE(csv.last().endsWith(QStringLiteral("123456, 3,5000051,Training quiz passed")));

    choose(HelpMenuType::RequestCopy);
    fillAddress();
    pressSend();
    EXPECT_EQ(waitForAlert(),
              QStringLiteral("Notification\n") + AppConstants::Alerts::descriptions::userGuide);
    EXPECT_TRUE(fileText(out(), QStringLiteral("email-002.txt"))
                    .contains(QStringLiteral("Ship to:\n======\nAda Byron\n1 Main St\n")));
    EXPECT_EQ(out().entryList(QDir::Files).size(), 3);
}

TEST_F(HelpSimRoutesTest, RefusesMalformedEmailsAndKeepsFilesInItsFolder) {
    const QString url = cloud.url(AppConstants::API::Host::path::sendZubEmail);
    EXPECT_FALSE(accepted(url, {{QStringLiteral("subject"), QStringLiteral("no body")}}));
    EXPECT_FALSE(accepted(url, {{QStringLiteral("toAddress"), QStringLiteral("a@b.test")},
                                {QStringLiteral("subject"), QStringLiteral("s")},
                                {QStringLiteral("body"), QStringLiteral("b")},
                                {QStringLiteral("FileName"), QStringLiteral("x.csv")},
                                {QStringLiteral("FileStream"), QStringLiteral("not base64!")}}));
    EXPECT_TRUE(out().entryList(QDir::Files).isEmpty());

    EXPECT_TRUE(accepted(url, {{QStringLiteral("toAddress"), QStringLiteral("a@b.test")},
                               {QStringLiteral("subject"), QStringLiteral("s")},
                               {QStringLiteral("body"), QStringLiteral("b")},
                               {QStringLiteral("FileName"), QStringLiteral("../../escape.csv")},
                               {QStringLiteral("FileStream"), QStringLiteral("QUJD")}}));
    EXPECT_EQ(out().entryList(QDir::Files),
              (QStringList{QStringLiteral("email-001-.._.._escape.csv"),
                           QStringLiteral("email-001.txt")}));
    EXPECT_EQ(fileText(out(), QStringLiteral("email-001-.._.._escape.csv")), QStringLiteral("ABC"));
}
