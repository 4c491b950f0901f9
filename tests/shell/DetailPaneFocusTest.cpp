// The keyboard focus when the detail pane changes screens: it stays in the sidebar when the
// user moves through the sidebar, and moves into the new screen when the old one had it.
#include "ShellTestWindow.h"

#include "core/AppConstants.h"
#include "doubles/WaitFor.h"
#include "shell/OstrivaneAlerts.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "support/OstivaneHelpViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QDialog>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

struct PaneCase {
    const char* name;
    bool fromSidebar; // Down in the sidebar; otherwise Escape on an error alert over the pane
};

void PrintTo(const PaneCase& c, std::ostream* os) {
    *os << c.name;
}

class DetailPaneFocusTest : public ShellTest, public ::testing::WithParamInterface<PaneCase> {};

} // namespace

TEST_P(DetailPaneFocusTest, TheFocusStaysWhereTheUserIsOrMovesIntoTheNewScreen) {
    const PaneCase& c = GetParam();
    const QPointer<ViewController> old = detail();
    auto* welcome = qobject_cast<OstrivaneWelcomeScreen*>(old.data());
    ASSERT_NE(welcome, nullptr);
    QListWidget* list = window->splitViewController()->listViewController()->listView();
    QWidget* start = c.fromSidebar ? static_cast<QWidget*>(list) : welcome->buttonStartQuiz();
    start->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([&] { return window->focusWidget() == start; }));

    if (c.fromSidebar) {
        QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    } else {
        showUpgradeOrSupportUploadErrorAlert(welcome, QStringLiteral("8000008"));
        ASSERT_NE(waitForAlert(), nullptr);
        QTest::keyClick(shownAlert()->window()->windowHandle(), Qt::Key_Escape);
    }
    ASSERT_TRUE(waitFor([&] { return detail() && detail() != old.data() && !shownAlert(); }));
    EXPECT_EQ(qobject_cast<OstivaneHelpViewController*>(detail()) != nullptr, c.fromSidebar);
    QWidget* focus = window->focusWidget();
    if (c.fromSidebar)
        EXPECT_EQ(focus, list);
    else
        EXPECT_TRUE(focus && detail()->isAncestorOf(focus)) << focus;
}

INSTANTIATE_TEST_SUITE_P(Panes, DetailPaneFocusTest,
                         ::testing::Values(PaneCase{"SidebarDown", true},
                                           PaneCase{"AlertBringsNewWelcome", false}),
                         [](const auto& row) { return std::string(row.param.name); });
