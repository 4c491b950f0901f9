#include "ScreensFixture.h"

#include "cloud/Authentication.h"
#include "cloud/NetworkManager.h"
#include "core/AppState.h"
#include "models/JsonDecoder.h"

#include <QDialog>

void ScreensTest::SetUp() {
    LogsScreenTest::SetUp();
    options.silentTags = {SupportUploadScenario::versionInfo};
    scenario = std::make_unique<SupportUploadScenario>(env->cloud, *transmitter, options);
    scenario->install();
    quizCloud = std::make_unique<QuizCloudDouble>(env->cloud);
    AppState::Quizzes = JsonDecoder::decodeArray<Quiz>(QuizCloudDouble::sampleQuizJson()).value();
    Authentication::shared().accessToken = QStringLiteral("token-1");
}

void ScreensTest::TearDown() {
    NetworkManager::shared().setConnected(true);
    AppState::resetForSignOut();
    Authentication::shared().clear();
    LogsScreenTest::TearDown();
    quizCloud.reset();
}

QDialog* ScreensTest::shownSheet() const {
    for (QDialog* dialog : window->findChildren<QDialog*>())
        if (dialog->isVisible())
            return dialog;
    return nullptr;
}
