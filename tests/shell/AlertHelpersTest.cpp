// The alert helpers every screen uses, on a real main window over a loopback cloud.
#include "ShellTestWindow.h"

#include "app/AppDelegate.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "shell/OstrivaneAlerts.h"
#include "transmitter/ORSSerialPortHandler.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QDialog>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
namespace Names = AppConstants::Notifications;

namespace {
const QStringList kReenabling{Names::setTransmitterSWandAppVersions,
                              Names::enableDisableMenuButtons, Names::enableDisableLogoutButtons};
} // namespace

TEST_F(ShellTest, ErrorAlertShowsTheCodeThenUnlocksTheInterfaceThenAudits) {
    ORSSerialPortHandler::shared().isUpgradeDone = true;
    showWindowCloseRedCircleBasedOnUpgradeProgressStatus(detail(), false);
    ASSERT_TRUE(waitFor([&] { return !window->isCloseButtonEnabled(); }));

    // What the observers see when each notification arrives: is the sheet already up, and is
    // the close button still disabled?
    NotificationRecorder recorder(kReenabling, [&] {
        return QVariantList{shownAlert() != nullptr, window->isCloseButtonEnabled()};
    });
    showUpgradeOrSupportUploadErrorAlert(detail(), u"8000008"_s);
    EXPECT_TRUE(recorder.names.isEmpty()) << "the helper must run from the main queue";

    ASSERT_TRUE(env.cloud.waitForRequests(1));
    EXPECT_EQ(env.auditCodes(), QStringList{u"8000008"_s});
    EXPECT_EQ(recorder.names, kReenabling);
    EXPECT_EQ(recorder.objects.at(1), QVariant(true));
    EXPECT_EQ(recorder.objects.at(2), QVariant(true));
    for (const QVariant& seen : recorder.probed)
        EXPECT_EQ(seen, (QVariantList{true, false})) << "sheet first, close button last";
    EXPECT_TRUE(window->isCloseButtonEnabled());
    EXPECT_FALSE(ORSSerialPortHandler::shared().isUpgradeDone);

    OstrivaneCustomAlertView* alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->labelHeaderPrimary()->text(), u"Notification"_s);
    EXPECT_EQ(alert->labelMessage()->text(), CloudEnvironment::userText(u"8000008"_s));
    EXPECT_TRUE(alert->labelHeaderSecondary()->isHidden());
    EXPECT_EQ(alert->buttonClose()->text(), u" Close "_s);
}

TEST_F(ShellTest, ErrorAlertForACodeTheCatalogueLacksShowsTheLocalRecordAndSendsNoAudit) {
    showWindowCloseRedCircleBasedOnUpgradeProgressStatus(detail(), false);
    ASSERT_TRUE(waitFor([&] { return !window->isCloseButtonEnabled(); }));
    NotificationRecorder recorder(kReenabling);

    showUpgradeOrSupportUploadErrorAlert(detail(), u"8000019"_s);

    OstrivaneCustomAlertView* alert = waitForAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->labelMessage()->text(),
              CloudEnvironment::userText(AppConstants::Codes::missingMessage));
    EXPECT_EQ(recorder.names, kReenabling);
    EXPECT_TRUE(window->isCloseButtonEnabled());
    spinFor(200);
    EXPECT_EQ(env.cloud.requestCount(), 0);
}

TEST_F(ShellTest, ErrorAlertUnlocksTheInterfaceEvenWithoutACatalogueOrAScreen) {
    AppState::EuaMessage.clear();
    window->setCloseButtonEnabled(false);
    NotificationRecorder recorder(kReenabling);

    // The failing screen is gone before the queued alert runs.
    auto* doomed = new ViewController(detail());
    showUpgradeOrSupportUploadErrorAlert(doomed, u"8000008"_s);
    delete doomed;

    ASSERT_TRUE(waitFor([&] { return recorder.names.size() == kReenabling.size(); }));
    EXPECT_TRUE(window->isCloseButtonEnabled());
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(ShellTest, ClosingTheErrorAlertBringsBackANewWelcomeScreen) {
    ViewController* before = detail();
    showUpgradeOrSupportUploadErrorAlert(before, u"8000008"_s);
    OstrivaneCustomAlertView* alert = waitForAlert();
    ASSERT_NE(alert, nullptr);

    alert->buttonClose()->click();

    ASSERT_TRUE(waitFor([&] { return detail() != before && shownAlert() == nullptr; }));
    EXPECT_NE(qobject_cast<OstrivaneWelcomeScreen*>(detail()), nullptr);
}

TEST_F(ShellTest, NoInternetAlertShowsOnceAndFallsBackToTheLocalRecord) {
    showNoInternetAlert(detail());
    showNoInternetAlert(detail()); // the window already shows a sheet: nothing more
    OstrivaneCustomAlertView* alert = waitForAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->labelMessage()->text(), CloudEnvironment::userText(u"5000025"_s));
    spinFor(50);
    int visibleSheets = 0;
    for (QDialog* dialog : window->findChildren<QDialog*>())
        visibleSheets += dialog->isVisible() ? 1 : 0;
    EXPECT_EQ(visibleSheets, 1);

    // Without the cloud's catalogue (offline at start-up) the local record speaks.
    alert->buttonClose()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlert() == nullptr; }));
    AppState::EuaMessage = {CloudEnvironment::entry(AppConstants::Codes::missingMessage)};
    showNoInternetAlert(detail());
    alert = waitForAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->labelMessage()->text(),
              CloudEnvironment::userText(AppConstants::Codes::missingMessage));
}

TEST_F(ShellTest, CatalogueAlertShowsKnownCodesOnlyAndAddAlertViewShowsTheSecondaryHeader) {
    showAlert(detail(), u"7000008"_s);
    spinFor(50);
    EXPECT_EQ(shownAlert(), nullptr);

    // The same text twice while it is open shows one alert; another text shows its own.
    for (const QString& text : {u"Body"_s, u"Body"_s, u"Other"_s})
        addAlertView(detail(), u"Primary"_s, u"Secondary"_s, text, false);
    EXPECT_EQ(window->findChildren<OstrivaneCustomAlertView*>().size(), 2);
    OstrivaneCustomAlertView* alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->labelHeaderSecondary()->text(), u"Secondary"_s);
    EXPECT_FALSE(alert->labelHeaderSecondary()->isHidden());
    alert->buttonClose()->click();
    shownAlert()->buttonClose()->click(); // the other
    ASSERT_TRUE(waitFor([&] { return shownAlert() == nullptr; }));
    EXPECT_EQ(qobject_cast<OstrivaneWelcomeScreen*>(detail()) != nullptr, true);
}

TEST_F(ShellTest, AnUnreadableInformationFileIsNamedWithTheParsersReason) {
    AppDelegate::reportUnreadableInformationFile(*window); // the test's own file reads
    EXPECT_EQ(shownAlert(), nullptr);

    QTemporaryDir folder;
    const QString path = folder.filePath(u"Info.json"_s);
    const QByteArray trailingComma = R"({"HOSTAPIURL": "http:#()cloud",})";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(trailingComma) > 0);
    file.close();
    BundleInfo::setFilePath(path);
    AppDelegate::reportUnreadableInformationFile(*window);
    ASSERT_NE(shownAlert(), nullptr);
    QJsonParseError error{};
    QJsonDocument::fromJson(trailingComma, &error);
    const QString message = shownAlert()->labelMessage()->text();
    EXPECT_TRUE(message.contains(path) && message.contains(error.errorString()))
        << message.toStdString();
}
