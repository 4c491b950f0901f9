// The main window: its close button, the sidebar's rows and the notifications that lock and
// unlock them.
#include "ShellTestWindow.h"

#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/NotificationCenter.h"
#include "platform/Storyboard.h"
#include "shell/OstrivaneAlerts.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "transmitter/TxInfo.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

using namespace Qt::StringLiterals;
namespace Names = AppConstants::Notifications;

namespace {
class HelpStandIn : public ViewController {};
} // namespace

class SidebarTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Storyboard::main().registerScene<HelpStandIn>(AppConstants::Scenes::helpViewController);
    }
    OstrivaneListViewController* sidebar() const {
        return window->splitViewController()->listViewController();
    }
    void post(const QString& name, const QVariant& object) {
        NotificationCenter::defaultCenter().post(name, object);
    }
    // A click on a row, as the mouse makes it.
    void click(int row) {
        QListWidget* rows = sidebar()->listView();
        const QPoint at = rows->visualItemRect(rows->item(row)).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, rows->viewport()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(rows->viewport(), &event);
        }
    }
};

TEST_F(ShellTest, WindowRefusesToCloseWhileItsCloseButtonIsDisabled) {
    // The sheet over the window stays up while the close button changes.
    addAlertView(detail(), u"Header"_s, std::nullopt, u"Message"_s, true);
    ASSERT_NE(shownAlert(), nullptr);
    // A part of the window: under its title, with no button of its own to minimise, maximise or
    // close it.
    const Qt::WindowFlags sheet = shownAlert()->window()->windowFlags();
    EXPECT_EQ(shownAlert()->window()->windowTitle(), window->windowTitle());
    EXPECT_TRUE(sheet.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(sheet & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint));

    window->setCloseButtonEnabled(false);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_NE(shownAlert(), nullptr);
    EXPECT_FALSE(window->windowHandle()->flags().testFlag(Qt::WindowCloseButtonHint));

    window->setCloseButtonEnabled(true);
    EXPECT_TRUE(window->isVisible());
    EXPECT_NE(shownAlert(), nullptr);
    EXPECT_TRUE(window->windowHandle()->flags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SidebarTest, HelpIsRefusedOfflineAndMadeAnewEachTimeOnline) {
    ViewController* welcome = detail();
    NetworkManager::shared().setConnected(false);
    click(OstrivaneListViewController::help);
    ASSERT_NE(waitForAlert(), nullptr);
    EXPECT_EQ(detail(), welcome);
    EXPECT_EQ(sidebar()->listView()->currentRow(), int(OstrivaneListViewController::home));
    // The row whose screen shows is the one highlighted.
    EXPECT_EQ(sidebar()->listView()->selectedItems(),
              QList<QListWidgetItem*>{sidebar()->listView()->item(0)});
    shownAlert()->buttonClose()->click();
    ASSERT_TRUE(waitFor([&] { return shownAlert() == nullptr; }));

    NetworkManager::shared().setConnected(true);
    sidebar()->selectRow(OstrivaneListViewController::help);
    auto* firstHelp = dynamic_cast<HelpStandIn*>(detail());
    ASSERT_NE(firstHelp, nullptr);
    const QPointer<ViewController> first(firstHelp);

    sidebar()->selectRow(OstrivaneListViewController::home);
    EXPECT_NE(qobject_cast<OstrivaneWelcomeScreen*>(detail()), nullptr);
    sidebar()->selectRow(OstrivaneListViewController::help);
    ASSERT_NE(dynamic_cast<HelpStandIn*>(detail()), nullptr);
    EXPECT_TRUE(waitFor([&] { return first.isNull(); })) << "the old help screen is released";
}

TEST_F(SidebarTest, NotificationsLockAndUnlockTheRowsAndTheLogOutButton) {
    QListWidget* rows = sidebar()->listView();
    QLabel* upgrading = sidebar()->labelUpgrading();

    post(Names::enableDisableMenuButtonsForSuportUpload, false);
    post(Names::enableDisableLogoutButtons, false);
    ASSERT_TRUE(
        waitFor([&] { return !rows->isEnabled() && !window->logoutButton()->isEnabled(); }));
    EXPECT_TRUE(upgrading->isHidden()) << "a support upload shows no upgrading text";

    post(Names::enableDisableMenuButtonsForSuportUpload, true);
    ASSERT_TRUE(waitFor([&] { return rows->isEnabled(); }));

    post(Names::enableDisableMenuButtons, false);
    ASSERT_TRUE(waitFor([&] { return !rows->isEnabled(); }));
    EXPECT_FALSE(upgrading->isHidden());
    EXPECT_EQ(upgrading->text(), u"upgrading..."_s);

    // Objects that are not Boolean change nothing.
    post(Names::enableDisableMenuButtons, QVariant());
    post(Names::enableDisableLogoutButtons, QVariant());
    spinFor(30);
    EXPECT_FALSE(rows->isEnabled());
    EXPECT_FALSE(window->logoutButton()->isEnabled());

    post(Names::enableDisableMenuButtons, true);
    post(Names::enableDisableLogoutButtons, true);
    ASSERT_TRUE(waitFor([&] { return rows->isEnabled() && window->logoutButton()->isEnabled(); }));
    EXPECT_TRUE(upgrading->isHidden());
}

TEST_F(SidebarTest, ShowWelcomeScreenAndLogOutReturnToANewWelcomeScreen) {
    sidebar()->selectRow(OstrivaneListViewController::help);
    ASSERT_NE(dynamic_cast<HelpStandIn*>(detail()), nullptr);

    post(Names::showWelcomeScreen, QVariant());
    ASSERT_TRUE(
        waitFor([&] { return qobject_cast<OstrivaneWelcomeScreen*>(detail()) != nullptr; }));
    EXPECT_EQ(sidebar()->listView()->currentRow(), int(OstrivaneListViewController::home));

    const ViewController* before = detail();
    AppState::g_quizFailAttempts = 2;
    AppState::g_fullVersionFromTxForAudit = u"1.2.3"_s;
    window->logoutButton()->click();
    EXPECT_EQ(AppState::g_quizFailAttempts, 0);
    EXPECT_EQ(AppState::g_fullVersionFromTxForAudit, QString());
    EXPECT_NE(detail(), before);
    EXPECT_NE(qobject_cast<OstrivaneWelcomeScreen*>(detail()), nullptr);
    EXPECT_FALSE(AppState::EuaMessage.isEmpty()) << "the catalogue survives a log-out";
}

TEST_F(SidebarTest, ClickingHomeWhileOnHomeBringsBackTheWelcomePane) {
    // The upgrade screen that a passed quiz leads to tells the user to choose Home to leave it.
    auto* welcome = qobject_cast<OstrivaneWelcomeScreen*>(detail());
    ASSERT_NE(welcome, nullptr);
    auto upgrade =
        Storyboard::main().instantiate(AppConstants::Scenes::checkForUpgradesViewController);
    ASSERT_NE(upgrade, nullptr);
    welcome->addChild(upgrade.release());

    click(OstrivaneListViewController::home);
    auto* fresh = qobject_cast<OstrivaneWelcomeScreen*>(detail());
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, welcome);
    EXPECT_TRUE(fresh->childViewControllers().isEmpty());

    // Coming from Help, one click makes one welcome screen.
    click(OstrivaneListViewController::help);
    ASSERT_NE(dynamic_cast<HelpStandIn*>(detail()), nullptr);
    int homeSelections = 0;
    {
        QObject counter;
        QObject::connect(
            sidebar(), &OstrivaneListViewController::rowSelected, &counter,
            [&](int row) { homeSelections += row == OstrivaneListViewController::home; });
        click(OstrivaneListViewController::home);
    }
    EXPECT_EQ(homeSelections, 1);
    EXPECT_NE(qobject_cast<OstrivaneWelcomeScreen*>(detail()), nullptr);

    // Help chosen again while shown keeps the request being typed.
    click(OstrivaneListViewController::help);
    ViewController* help = detail();
    click(OstrivaneListViewController::help);
    EXPECT_EQ(detail(), help);
}

TEST_F(SidebarTest, VersionsFollowTheTransmitterNotification) {
    EXPECT_TRUE(sidebar()->labelTransmitter()->isHidden());
    TxInfo::shared().serialNum = u"SN0042"_s;
    TxInfo::shared().firmwareVersion = u"7.1"_s;
    post(Names::setTransmitterSWandAppVersions, QVariant());
    ASSERT_TRUE(waitFor([&] { return !sidebar()->labelTransmitter()->isHidden(); }));
    EXPECT_TRUE(sidebar()->labelTransmitter()->text().contains(u"SN0042"_s));
    EXPECT_TRUE(sidebar()->labelTransmitter()->text().contains(u"7.1"_s));
    TxInfo::shared().serialNum.clear();
    TxInfo::shared().firmwareVersion.clear();
}

// Run by an entry of its own on a screen of the minimum size without window frames (see
// CMakeLists.txt): there the whole window is in view.
TEST_F(ShellTest, OpensWhollyInsideAScreenOfTheMinimumSize) {
    const QRect screen = window->screen()->availableGeometry();
    if (screen.size() != MainWindow::minimumWindowSize)
        GTEST_SKIP() << "runs on a screen of the minimum size only";
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << QDebug::toString(window->frameGeometry()).toStdString();
}
