// The simulator's help routes, driven by a real help screen and by hand-made requests.
#include "HelpScreenFixture.h"
#include "cloud/GlobalUserManager.h"

#include "cloud/GlobalManager.h"
#include "core/AppConstants.h"
#include "doubles/HelpSimRoutes.h"
#include "doubles/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

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
    // The attachment is made from the history the screen fetched when it loaded.
    ASSERT_TRUE(waitFor([] { return GlobalUserManager::shared().auditHistory.has_value(); }));
    EXPECT_EQ(screen->supportEmail, HelpSimRoutes::supportEmail);
    EXPECT_EQ(screen->userGuideLink, HelpSimRoutes::userGuideLink);

    choose(HelpMenuType::TroubleShooting);
    type(screen->troubleshootingTextView, u"It \"beeps\"\nat night"_s);
    pressSend();
    EXPECT_EQ(waitForAlert(), u"Notification\n"_s + AppConstants::Alerts::descriptions::help);
    closeAlerts();
    const QString first = fileText(out(), u"email-001.txt"_s);
    EXPECT_TRUE(first.startsWith(QStringLiteral("To: support@ostrivane.example\nSubject: "
                                                "Ostrivane Pellory App- Ostrivane Pellory App "
                                                "Troubleshooting Message\n\nAn Ostrivane user")));
    EXPECT_TRUE(first.contains(u"Message\n=======\nIt \"beeps\"\nat night"_s));
    const QStringList csv =
        fileText(out(), u"email-001-ActivityHistoryLog.csv"_s).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(csv.size(), 4);
    EXPECT_EQ(csv.first(), u"Date, TransmitterID, FirmwareID, Code, Description"_s);
    EXPECT_TRUE(csv.last().endsWith(u"123456, 3,5000051,Training quiz passed"_s));

    choose(HelpMenuType::RequestCopy);
    fillAddress();
    pressSend();
    EXPECT_EQ(waitForAlert(), u"Notification\n"_s + AppConstants::Alerts::descriptions::userGuide);
    EXPECT_TRUE(fileText(out(), u"email-002.txt"_s)
                    .contains(u"Ship to:\n======\nWenna Trovalle\n1 Main St\n"_s));
    EXPECT_EQ(out().entryList(QDir::Files).size(), 3);
}

TEST_F(HelpSimRoutesTest, RefusesMalformedEmailsAndKeepsFilesInItsFolder) {
    const QString url = cloud.url(AppConstants::API::Host::path::sendZubEmail);
    EXPECT_FALSE(accepted(url, {{u"subject"_s, u"no body"_s}}));
    EXPECT_FALSE(accepted(url, {{u"toAddress"_s, u"a@b.test"_s},
                                {u"subject"_s, u"s"_s},
                                {u"body"_s, u"b"_s},
                                {u"FileName"_s, u"x.csv"_s},
                                {u"FileStream"_s, u"not base64!"_s}}));
    EXPECT_TRUE(out().entryList(QDir::Files).isEmpty());

    EXPECT_TRUE(accepted(url, {{u"toAddress"_s, u"a@b.test"_s},
                               {u"subject"_s, u"s"_s},
                               {u"body"_s, u"b"_s},
                               {u"FileName"_s, u"../../escape.csv"_s},
                               {u"FileStream"_s, u"QUJD"_s}}));
    EXPECT_EQ(out().entryList(QDir::Files),
              (QStringList{u"email-001-.._.._escape.csv"_s, u"email-001.txt"_s}));
    EXPECT_EQ(fileText(out(), u"email-001-.._.._escape.csv"_s), u"ABC"_s);
}
