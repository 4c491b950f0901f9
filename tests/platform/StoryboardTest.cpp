#include "RecordingScreen.h"

#include "platform/Storyboard.h"

#include <gtest/gtest.h>

namespace {
class OtherScreen : public ViewController {
    Q_OBJECT
};

QStringList g_events;
class SceneScreen : public RecordingScreen {
    Q_OBJECT
public:
    SceneScreen() : RecordingScreen(QStringLiteral("scene"), &g_events) {}
};

const QString kScene = QStringLiteral("OstrivaneWelcomeScreen");
} // namespace

TEST(Storyboard, InstantiatesANewScreenPerCallAndNothingForUnknownScenes) {
    Storyboard& storyboard = Storyboard::main();
    EXPECT_EQ(storyboard.instantiate(QStringLiteral("NoSuchScene")), nullptr);

    storyboard.registerScene<SceneScreen>(kScene);
    auto first = storyboard.instantiate(kScene);
    auto second = storyboard.instantiate(kScene);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(qobject_cast<SceneScreen*>(first.get()), nullptr);
    EXPECT_EQ(qobject_cast<OtherScreen*>(first.get()), nullptr);
    EXPECT_FALSE(first->isViewLoaded()); // loading waits until the screen is used

    // A scene registered again is replaced; an empty factory removes it.
    storyboard.registerScene<OtherScreen>(kScene);
    EXPECT_NE(qobject_cast<OtherScreen*>(storyboard.instantiate(kScene).get()), nullptr);
    storyboard.registerScene(kScene, nullptr);
    EXPECT_EQ(storyboard.instantiate(kScene), nullptr);
    storyboard.registerScene<SceneScreen>(kScene);
    storyboard.unregisterScene(kScene);
    EXPECT_EQ(storyboard.instantiate(kScene), nullptr);
}

#include "StoryboardTest.moc"
