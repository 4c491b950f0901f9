#include "QuizScreenFixture.h"

#include "app/SceneRegistration.h"
#include "cloud/Authentication.h"
#include "cloud/NetworkManager.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/WaitFor.h"
#include "platform/BundleInfo.h"
#include "platform/NamedColors.h"
#include "platform/TimeScale.h"
#include "quiz/OstrivaneQuizAlertView.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "shell/OstrivaneCustomAlertView.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

const QString QuizScreenTest::q1 = u"What should you do before the upgrade starts?"_s;
const QString QuizScreenTest::q2 =
    u"Which of these are true during an upgrade? Select all that apply."_s;
const QString QuizScreenTest::q3 = u"You may unplug the cradle while the progress bar is moving."_s;
const QString QuizScreenTest::q4 = u"Who should you contact if the upgrade fails?"_s;

namespace {

StructEuaMessage entry(const QString& code, const QString& text) {
    StructEuaMessage message;
    message.messageCode = code;
    message.messageDescription = u"description of "_s + code;
    message.messagerDescriptionUserFriendly = text;
    return message;
}

} // namespace

void QuizScreenTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    TimeScale::setFactor(0.01);
    cloud = std::make_unique<LoopbackCloud>();
    ASSERT_TRUE(cloud->isListening());
    quizCloud = std::make_unique<QuizCloudDouble>(*cloud);
    quizCloud->setCorrectChoices(QuizCloudDouble::sampleCorrectChoices());
    cloud->route(u"POST"_s, AppConstants::API::Host::path::setZubAuditHistory,
                 LoopbackCloud::Reply::json(QJsonObject{}));

    const QString infoPath = folder.filePath(u"Info.json"_s);
    QFile info(infoPath);
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write(
        QJsonDocument(QJsonObject{{AppConstants::Configurations::hostAPIURL, cloud->baseUrl()}})
            .toJson());
    info.close();
    BundleInfo::setFilePath(infoPath);

    AppState::resetForSignOut();
    AppState::g_appUserDefaultUrl = folder.filePath(AppConstants::AppUserDefaultFile::fileName);
    AppState::AppUserDefault.clear();
    AppState::standardDefaults().setValue(AppConstants::userdefaultKeys::quiz,
                                          QuizCloudDouble::sampleQuizJson());
    AppState::EuaMessage = {
        entry(AppConstants::Codes::quizQuestionNotAnswered, u"Please answer the question."_s),
        entry(AppConstants::Codes::noInternetConnection, u"No internet connection."_s),
        entry(AppConstants::Codes::quizFailedNote, u"Review the questions and try again."_s),
        entry(AppConstants::Codes::quizRetryLimitReached, u"Please contact Customer Support."_s),
        entry(AppConstants::Codes::quizCompleted, u"Quiz completed."_s),
        entry(AppConstants::Codes::quizFailed, u"Quiz failed."_s),
        entry(AppConstants::Codes::quizSavedLaterOrContinue, u"Quiz saved."_s),
        entry(AppConstants::Codes::missingMessage, u"Something went wrong."_s)};
    Authentication::shared().accessToken = u"token-1"_s;
    NetworkManager::shared().setConnected(true);

    registerScenes();
    welcome = std::make_unique<OstrivaneWelcomeScreen>();
    welcome->resize(900, 700);
    welcome->show();
    ASSERT_TRUE(waitFor([&] { return welcome->isVisible(); }));
}

void QuizScreenTest::TearDown() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(top))
            dialog->hide();
    welcome.reset();
    spinFor(20);
    AppState::resetForSignOut();
    AppState::EuaMessage.clear();
    AppState::g_appUserDefaultUrl.reset();
    AppState::standardDefaults().removeObject(AppConstants::userdefaultKeys::quiz);
    Authentication::shared().clear();
    NetworkManager::shared().setConnected(true);
    BundleInfo::setFilePath({});
    NamedColors::restoreDefaults();
    TimeScale::setFactor(1.0);
}

OstrivaneQuizViewController* QuizScreenTest::startQuiz() {
    welcome->pushToQuizViewController();
    quiz = qobject_cast<OstrivaneQuizViewController*>(welcome->quizChildViewController());
    return quiz;
}

QList<QAbstractButton*> QuizScreenTest::marks() const {
    QList<QAbstractButton*> found;
    if (!quiz)
        return found;
    for (QWidget* stack : {quiz->viewMultipleCheckboxStack(), quiz->viewRadioButtonStack()}) {
        if (!stack->parentWidget()->isVisible())
            continue;
        for (int i = 0; i < stack->layout()->count(); ++i)
            if (QWidget* row = stack->layout()->itemAt(i)->widget())
                for (QAbstractButton* button : row->findChildren<QAbstractButton*>())
                    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
                        found.append(button);
    }
    return found;
}

QAbstractButton* QuizScreenTest::mark(int choiceID) const {
    for (QAbstractButton* button : marks())
        if (button->property("tag").toInt() == choiceID)
            return button;
    return nullptr;
}

bool QuizScreenTest::waitForQuestion(const QString& description) {
    return waitFor([&] {
        if (!quiz)
            return false;
        QLabel* title = quiz->viewMultipleCheckboxQuestion()->isVisible()
                            ? quiz->viewMultipleCheckboxTitleLabel()
                            : quiz->viewRadioTitleLabel();
        return title->isVisible() && title->text() == description && !marks().isEmpty();
    });
}

void QuizScreenTest::choose(std::initializer_list<int> choiceIDs) {
    for (int id : choiceIDs) {
        QAbstractButton* button = mark(id);
        ASSERT_NE(button, nullptr) << id;
        const qsizetype before =
            cloud->requestsTo(AppConstants::API::Host::path::setUserQuizTracker).size();
        button->click();
        ASSERT_TRUE(waitFor([&] {
            return cloud->requestsTo(AppConstants::API::Host::path::setUserQuizTracker).size() >
                   before;
        }));
    }
}

void QuizScreenTest::next(const QString& description) {
    quiz->buttonNext()->click();
    ASSERT_TRUE(waitForQuestion(description)) << description.toStdString();
}

void QuizScreenTest::answerAll(const QList<QList<int>>& choicesPerQuestion) {
    const QList<QString> questions{q1, q2, q3, q4};
    ASSERT_TRUE(waitForQuestion(q1));
    for (qsizetype i = 0; i < questions.size() && i < choicesPerQuestion.size(); ++i) {
        if (i > 0)
            next(questions[i]);
        for (int choice : choicesPerQuestion[i])
            choose({choice});
    }
}

void QuizScreenTest::answerAllCorrectly() {
    answerAll({{1012}, {1021, 1022}, {1032}, {1041}});
}

QString QuizScreenTest::shownAlertText() const {
    for (QDialog* dialog : welcome->window()->findChildren<QDialog*>())
        if (dialog->isVisible())
            if (auto* alert = dialog->findChild<OstrivaneCustomAlertView*>())
                return alert->labelMessage()->text();
    return {};
}

OstrivaneQuizAlertView* QuizScreenTest::shownQuizSheet() const {
    for (QDialog* dialog : welcome->window()->findChildren<QDialog*>())
        if (dialog->isVisible())
            if (auto* sheet = dialog->findChild<OstrivaneQuizAlertView*>())
                return sheet;
    return nullptr;
}

int QuizScreenTest::usableButtons() const {
    return quiz->buttonPrevious()->isEnabled() + quiz->buttonSaveAndContinue()->isEnabled() +
           quiz->buttonNext()->isEnabled();
}

bool QuizScreenTest::closeAlert() {
    for (QDialog* dialog : welcome->window()->findChildren<QDialog*>())
        if (dialog->isVisible())
            if (auto* alert = dialog->findChild<OstrivaneCustomAlertView*>()) {
                alert->buttonClose()->click();
                return waitFor([&] { return shownAlertText().isEmpty(); });
            }
    return false;
}

QList<QByteArray> QuizScreenTest::bodiesTo(const QString& path) const {
    QList<QByteArray> bodies;
    for (const LoopbackCloud::Request& request : cloud->requestsTo(path))
        bodies.append(request.body);
    return bodies;
}
