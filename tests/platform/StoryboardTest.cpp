#include "platform/Storyboard.h"

#include <gtest/gtest.h>

namespace {
class WelcomeScreen : public ViewController {
    Q_OBJECT
};
class OtherScreen : public ViewController {
    Q_OBJECT
};
const QString kScene = QStringLiteral("OstrivaneWelcomeScreen");
} // namespace

TEST(Storyboard, MakesANewScreenPerCallAndNothingForUnknownScenes) {
    Storyboard& storyboard = Storyboard::main();
    EXPECT_EQ(storyboard.instantiate(QStringLiteral("NoSuchScene")), nullptr);

    storyboard.registerScene<WelcomeScreen>(kScene);
    auto first = storyboard.instantiate(kScene);
    auto second = storyboard.instantiate(kScene);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(qobject_cast<WelcomeScreen*>(first.get()), nullptr);
    EXPECT_EQ(qobject_cast<OtherScreen*>(first.get()), nullptr);
    EXPECT_FALSE(first->isViewLoaded()); // loading waits until the screen is used

    storyboard.registerScene<OtherScreen>(kScene);
    EXPECT_NE(qobject_cast<OtherScreen*>(storyboard.instantiate(kScene).get()), nullptr);
    storyboard.unregisterScene(kScene);
    EXPECT_EQ(storyboard.instantiate(kScene), nullptr);
}

#include "StoryboardTest.moc"
