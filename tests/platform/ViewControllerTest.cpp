#include "EventLoopWait.h"
#include "RecordingScreen.h"

#include "platform/NotificationCenter.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {
class ViewControllerTest : public ::testing::Test {
protected:
    QStringList events;

    // A shown top-level screen with some content of its own.
    std::unique_ptr<RecordingScreen> shownWindow() {
        auto window = std::make_unique<RecordingScreen>(QStringLiteral("window"), &events);
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(new QLabel(QStringLiteral("welcome pane")));
        window->resize(400, 300);
        window->show();
        return window;
    }
};
} // namespace

TEST_F(ViewControllerTest, ViewDidLoadRunsOnceAndAppearanceHooksOnEveryShow) {
    RecordingScreen screen(QStringLiteral("s"), &events);
    EXPECT_TRUE(events.isEmpty());

    screen.show();
    EXPECT_EQ(events, (QStringList{QStringLiteral("s:didLoad"), QStringLiteral("s:willAppear")}));
    ASSERT_TRUE(waitUntil([&] { return screen.count(QStringLiteral("didAppear")) == 1; }));

    screen.hide();
    screen.loadViewIfNeeded();
    screen.show();
    ASSERT_TRUE(waitUntil([&] { return screen.count(QStringLiteral("didAppear")) == 2; }));
    EXPECT_EQ(screen.count(QStringLiteral("didLoad")), 1);
    EXPECT_EQ(screen.count(QStringLiteral("willAppear")), 2);
    EXPECT_TRUE(screen.isViewLoaded());

    // Loading explicitly before showing does not load again on show.
    RecordingScreen early(QStringLiteral("e"), &events);
    early.loadViewIfNeeded();
    early.show();
    EXPECT_EQ(early.count(QStringLiteral("didLoad")), 1);
}

TEST_F(ViewControllerTest, DidAppearIsSkippedWhenTheViewIsHiddenFirst) {
    RecordingScreen screen(QStringLiteral("s"), &events);
    screen.show();
    screen.hide();
    spinEventLoop();
    EXPECT_EQ(screen.count(QStringLiteral("didAppear")), 0);

    // Shown twice before the queue runs: one appearance, one didAppear.
    screen.show();
    screen.hide();
    screen.show();
    spinEventLoop();
    EXPECT_EQ(screen.count(QStringLiteral("didAppear")), 1);
}

TEST_F(ViewControllerTest, AnEmbeddedChildIsLoadedAtOncePinnedToAllEdgesAndOnTop) {
    auto window = shownWindow();
    auto* child = new RecordingScreen(QStringLiteral("child"), &events);
    window->addChild(child);

    // Loaded inside the embedding, before anything that follows it.
    EXPECT_EQ(child->count(QStringLiteral("didLoad")), 1);
    EXPECT_EQ(child->count(QStringLiteral("willAppear")), 1);
    EXPECT_EQ(child->parentViewController(), window.get());
    EXPECT_EQ(window->childViewControllers(), QList<ViewController*>{child});
    EXPECT_EQ(child->viewWindow(), window.get());

    EXPECT_EQ(child->geometry(), window->rect());
    window->resize(520, 410);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 520, 410));
    // It covers the welcome pane that was there before.
    QWidget* atCentre = window->childAt(window->rect().center());
    EXPECT_TRUE(atCentre == child || child->isAncestorOf(atCentre));
}

TEST_F(ViewControllerTest, AChildEmbeddedInAHiddenScreenAppearsWithIt) {
    RecordingScreen parent(QStringLiteral("parent"), &events);
    auto* child = new RecordingScreen(QStringLiteral("child"), &events);
    parent.addChild(child);
    EXPECT_EQ(child->count(QStringLiteral("didLoad")), 1);
    EXPECT_EQ(child->count(QStringLiteral("willAppear")), 0);
    EXPECT_EQ(child->viewWindow(), nullptr);

    parent.show();
    EXPECT_EQ(child->count(QStringLiteral("willAppear")), 1);
    EXPECT_EQ(child->count(QStringLiteral("didLoad")), 1);
}

TEST_F(ViewControllerTest, ARemovedChildLeavesItsParentAndIsDeleted) {
    auto window = shownWindow();
    QPointer<RecordingScreen> child = new RecordingScreen(QStringLiteral("child"), &events);
    window->addChild(child);

    child->removeFromParent();
    EXPECT_TRUE(window->childViewControllers().isEmpty());
    ASSERT_FALSE(child.isNull()); // still there for the handler that removed it...
    EXPECT_EQ(child->viewWindow(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return child.isNull(); })); // ...and gone after
    window->resize(300, 200);

    // A screen without a parent screen is not removed or deleted.
    window->removeFromParent();
    spinEventLoop();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ViewControllerTest, AChildMovedToAnotherParentFollowsOnlyTheNewOne) {
    auto first = shownWindow();
    auto second = shownWindow();
    second->resize(200, 100);
    auto* child = new RecordingScreen(QStringLiteral("child"), &events);
    first->addChild(child);
    second->addChild(child);

    EXPECT_TRUE(first->childViewControllers().isEmpty());
    EXPECT_EQ(child->geometry(), QRect(0, 0, 200, 100));
    first->resize(640, 480);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 200, 100));
    second->resize(250, 150);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 250, 150));
    EXPECT_EQ(child->count(QStringLiteral("didLoad")), 1);
}

TEST_F(ViewControllerTest, ASheetNeedsAWindowAndIsWindowModalOverIt) {
    RecordingScreen hidden(QStringLiteral("hidden"), &events);
    QPointer<RecordingScreen> refused = new RecordingScreen(QStringLiteral("refused"), &events);
    EXPECT_FALSE(hidden.presentAsSheet(refused));
    EXPECT_EQ(hidden.attachedSheet(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return refused.isNull(); }));
    EXPECT_FALSE(events.contains(QStringLiteral("refused:didLoad")));

    auto window = shownWindow();
    auto* child = new RecordingScreen(QStringLiteral("child"), &events);
    window->addChild(child);
    auto* sheet = new RecordingScreen(QStringLiteral("sheet"), &events);
    ASSERT_TRUE(child->presentAsSheet(sheet));

    QDialog* shown = child->attachedSheet();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(window->attachedSheet(), shown);
    EXPECT_EQ(shown->parentWidget(), window.get());
    EXPECT_EQ(shown->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(shown->isAncestorOf(sheet));
    EXPECT_TRUE(sheet->isPresentedAsSheet());
    EXPECT_FALSE(child->isPresentedAsSheet());
    EXPECT_EQ(sheet->count(QStringLiteral("didLoad")), 1);
    EXPECT_EQ(sheet->count(QStringLiteral("willAppear")), 1);
}

TEST_F(ViewControllerTest, ASheetClosesOnlyThroughDismiss) {
    auto window = shownWindow();
    QPointer<RecordingScreen> sheet = new RecordingScreen(QStringLiteral("sheet"), &events);
    auto* close = new QPushButton(QStringLiteral(" Close "), sheet);
    QObject::connect(close, &QPushButton::clicked, sheet, [&] { sheet->dismiss(); });
    ASSERT_TRUE(window->presentAsSheet(sheet));
    QPointer<QDialog> dialog = window->attachedSheet();
    ASSERT_FALSE(dialog.isNull());

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &escape);
    dialog->close();
    spinEventLoop();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(window->attachedSheet(), dialog.data());

    close->click(); // dismissing from the sheet's own handler is safe
    EXPECT_EQ(window->attachedSheet(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return dialog.isNull() && sheet.isNull(); }));
    window->dismiss(); // not a sheet: nothing happens
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ViewControllerTest, ADestroyedScreenHearsNoNotificationWhileItsChildrenGo) {
    const QString name = QStringLiteral("EnableDisableMenuButtonsForSuportUpload");
    class PostingOnDestruction : public ViewController {
    public:
        explicit PostingOnDestruction(QString n) : name_(std::move(n)) {}
        ~PostingOnDestruction() override {
            NotificationCenter::defaultCenter().post(name_, QVariant(true));
        }
        QString name_;
    };
    int heardByParent = 0;
    auto parent = std::make_unique<RecordingScreen>(QStringLiteral("parent"), &events);
    NotificationCenter::defaultCenter().addObserver(parent.get(), name,
                                                    [&](const QVariant&) { ++heardByParent; });
    parent->addChild(new PostingOnDestruction(name));

    parent.reset(); // the child posts while the parent's widget part is being torn down
    EXPECT_EQ(heardByParent, 0);
    EXPECT_EQ(NotificationCenter::defaultCenter().observerCount(name), 0);
}
