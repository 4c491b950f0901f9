#include "EventLoopWait.h"

#include "platform/NotificationCenter.h"
#include "platform/ViewController.h"

#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
// A screen that records its lifecycle hooks as "name:hook" into a shared list.
class RecordingScreen : public ViewController {
public:
    RecordingScreen(QString name, QStringList* events) : name_(std::move(name)), events_(events) {}

    int count(const QString& hook) const { return events_->count(name_ + u':' + hook); }

protected:
    void viewDidLoad() override { events_->append(name_ + QStringLiteral(":didLoad")); }
    void viewWillAppear() override { events_->append(name_ + QStringLiteral(":willAppear")); }
    void viewDidAppear() override { events_->append(name_ + QStringLiteral(":didAppear")); }

private:
    QString name_;
    QStringList* events_;
};

class ViewControllerTest : public ::testing::Test {
protected:
    QStringList events;

    // A shown top-level screen with a welcome pane of its own.
    std::unique_ptr<RecordingScreen> shownWindow() {
        auto window = std::make_unique<RecordingScreen>(u"window"_s, &events);
        (new QVBoxLayout(window.get()))->addWidget(new QLabel(u"welcome pane"_s));
        window->resize(400, 300);
        window->show();
        return window;
    }
};
} // namespace

TEST_F(ViewControllerTest, ViewDidLoadRunsOnceAndAppearanceHooksOnEveryShow) {
    RecordingScreen screen(u"s"_s, &events);
    screen.show();
    EXPECT_EQ(events, (QStringList{u"s:didLoad"_s, u"s:willAppear"_s}));
    ASSERT_TRUE(waitUntil([&] { return screen.count(u"didAppear"_s) == 1; }));

    screen.hide();
    screen.loadViewIfNeeded();
    screen.show();
    screen.hide(); // hidden before the main queue runs: no didAppear for this one
    spinEventLoop();
    screen.show();
    ASSERT_TRUE(waitUntil([&] { return screen.count(u"didAppear"_s) == 2; }));
    EXPECT_EQ(screen.count(u"didLoad"_s), 1);
    EXPECT_EQ(screen.count(u"willAppear"_s), 3);
}

TEST_F(ViewControllerTest, AnEmbeddedChildIsLoadedAtOncePinnedToAllEdgesAndOnTop) {
    auto window = shownWindow();
    auto* child = new RecordingScreen(u"child"_s, &events);
    window->addChild(child);
    // Loaded inside the embedding, before whatever the embedding screen does next.
    EXPECT_EQ(child->count(u"didLoad"_s), 1);
    EXPECT_EQ(child->count(u"willAppear"_s), 1);
    EXPECT_EQ(window->childViewControllers(), QList<ViewController*>{child});
    EXPECT_EQ(child->viewWindow(), window.get());

    EXPECT_EQ(child->geometry(), window->rect());
    window->resize(520, 410);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 520, 410));
    QWidget* atCentre = window->childAt(window->rect().center());
    EXPECT_TRUE(atCentre == child || child->isAncestorOf(atCentre)); // covers the welcome pane
    // ...and hides it: nothing of the pane's text shows through the child.
    const QImage picture = window->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    EXPECT_EQ(colours.size(), 1);

    // Moved to another screen, it follows only the new one.
    auto other = shownWindow();
    other->resize(200, 100);
    other->addChild(child);
    EXPECT_TRUE(window->childViewControllers().isEmpty());
    window->resize(640, 480);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 200, 100));
    EXPECT_EQ(child->count(u"didLoad"_s), 1);
}

TEST_F(ViewControllerTest, ARemovedChildLeavesItsParentAndIsDeletedAfterItsHandlerReturns) {
    auto window = shownWindow();
    QPointer<RecordingScreen> child = new RecordingScreen(u"child"_s, &events);
    window->addChild(child);
    child->removeFromParent();
    EXPECT_TRUE(window->childViewControllers().isEmpty());
    ASSERT_FALSE(child.isNull());
    EXPECT_EQ(child->viewWindow(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return child.isNull(); }));
    window->resize(300, 200);

    window->removeFromParent(); // no parent screen: stays
    spinEventLoop();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ViewControllerTest, ASheetIsWindowModalOverTheScreensWindowAndNeedsOne) {
    RecordingScreen hidden(u"hidden"_s, &events);
    QPointer<RecordingScreen> refused = new RecordingScreen(u"refused"_s, &events);
    EXPECT_FALSE(hidden.presentAsSheet(refused));
    EXPECT_TRUE(waitUntil([&] { return refused.isNull(); }));

    auto window = shownWindow();
    auto* child = new RecordingScreen(u"child"_s, &events);
    window->addChild(child);
    auto* sheet = new RecordingScreen(u"sheet"_s, &events);
    ASSERT_TRUE(child->presentAsSheet(sheet));
    QDialog* shown = child->attachedSheet();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(window->attachedSheet(), shown);
    EXPECT_EQ(shown->parentWidget(), window.get());
    EXPECT_EQ(shown->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(sheet->isPresentedAsSheet());
    EXPECT_EQ(sheet->count(u"willAppear"_s), 1);
}

TEST_F(ViewControllerTest, ASheetClosesOnlyThroughDismiss) {
    auto window = shownWindow();
    QPointer<RecordingScreen> sheet = new RecordingScreen(u"sheet"_s, &events);
    auto* close = new QPushButton(u" Close "_s, sheet);
    QObject::connect(close, &QPushButton::clicked, sheet, [&] { sheet->dismiss(); });
    ASSERT_TRUE(window->presentAsSheet(sheet));
    QPointer<QDialog> dialog = window->attachedSheet();

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &escape);
    dialog->close();
    spinEventLoop();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_EQ(window->attachedSheet(), dialog.data());

    close->click(); // dismissing from the sheet's own handler is safe
    EXPECT_EQ(window->attachedSheet(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return dialog.isNull() && sheet.isNull(); }));
}

TEST_F(ViewControllerTest, ADestroyedScreenHearsNothingPostedWhileItsChildrenGo) {
    const QString name = u"EnableDisableMenuButtonsForSuportUpload"_s;
    struct PostingOnDestruction : ViewController {
        ~PostingOnDestruction() override {
            NotificationCenter::defaultCenter().post(u"EnableDisableMenuButtonsForSuportUpload"_s);
        }
    };
    int heardByParent = 0;
    auto parent = std::make_unique<RecordingScreen>(u"parent"_s, &events);
    NotificationCenter::defaultCenter().addObserver(parent.get(), name,
                                                    [&](const QVariant&) { ++heardByParent; });
    parent->addChild(new PostingOnDestruction);
    parent.reset();
    EXPECT_EQ(heardByParent, 0);
}
