// Every screen and sheet at the main window's smallest size: each label shows its whole text,
// no two buttons overlap, nothing runs past the edge, and every control has an accessible name.
// Each is pictured for the README.
#include "ScreensFixture.h"

#include "app/SceneRegistration.h"
#include "core/AppConstants.h"
#include "core/AppState.h"
#include "doubles/PicturePath.h"
#include "doubles/WaitFor.h"
#include "platform/BusyIndicator.h"
#include "platform/Storyboard.h"
#include "platform/TimeScale.h"
#include "quiz/OstrivaneQuizViewController.h"
#include "shell/OstrivaneAlerts.h"
#include "shell/OstrivaneListViewController.h"
#include "shell/OstrivaneSplitViewController.h"
#include "support/OstivaneHelpViewController.h"
#include "upgrade/OstrivaneWelcomeScreen.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextEdit>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The rectangle of a widget in its window's coordinates, and whether it is cut off by one of
// its parents on the way there. Inside a scroll area only the scrolled content counts: the rest
// is reached by scrolling.
struct Placement {
    QRect rect;
    bool cut = false;
};

Placement place(const QWidget* widget) {
    Placement placement{widget->rect(), false};
    for (const QWidget* w = widget; !w->isWindow(); w = w->parentWidget()) {
        const QWidget* parent = w->parentWidget();
        placement.rect.translate(w->pos());
        const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
        if (area && parent == area->viewport())
            return placement;
        if (!parent->rect().contains(placement.rect))
            placement.cut = true;
    }
    return placement;
}

QString describe(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return u"label \""_s + label->text().left(40) + u'"';
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return u"button \""_s + button->text().left(40) + u'"';
    return QString::fromLatin1(widget->metaObject()->className());
}

// A scroll bar's thumb is where its value says, and it is what stands out: darker than the
// track on both sides of it.
QStringList thumbFaults(QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    option.upsideDown = bar->invertedAppearance();
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, bar);
    // Seen as the window shows it: the track may be see-through.
    const QImage picture = bar->window()->grab().toImage();
    const auto grayAt = [&](int y) {
        return qGray(picture.pixel(bar->mapTo(bar->window(), QPoint(bar->width() / 2, y))));
    };
    const int thumbGray = grayAt(thumb.center().y());
    // The track: the middle of the longer stretch beside the thumb.
    const int trackY = thumb.top() > bar->height() - thumb.bottom()
                           ? thumb.top() / 2
                           : (thumb.bottom() + bar->height()) / 2;
    const int trackGray = grayAt(trackY);
    if (thumbGray + 40 > trackGray)
        return {u"scroll bar thumb (gray "_s + QString::number(thumbGray) +
                u") does not stand out from its track (gray "_s + QString::number(trackGray) +
                u')'};
    return {};
}

// What a user would see wrong in the window: texts cut, buttons on top of each other.
QStringList layoutFaults(QWidget* top) {
    QStringList faults;
    QList<const QAbstractButton*> buttons;
    QList<const QWidget*> checked;
    for (const QWidget* widget : top->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const auto* label = qobject_cast<const QLabel*>(widget);
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        if ((!label || label->text().isEmpty()) && !button)
            continue;
        if (place(widget).cut)
            faults << describe(widget) + u" is cut off"_s;
        const QSize needed =
            widget->hasHeightForWidth()
                ? QSize(widget->minimumSizeHint().width(), widget->heightForWidth(widget->width()))
                : widget->minimumSizeHint();
        if (widget->width() < needed.width() || widget->height() < needed.height())
            faults << describe(widget) + u" needs "_s + QString::number(needed.width()) + u'x' +
                          QString::number(needed.height()) + u", has "_s +
                          QString::number(widget->width()) + u'x' +
                          QString::number(widget->height());
        if (button)
            buttons.append(button);
    }
    for (QScrollBar* bar : top->findChildren<QScrollBar*>()) {
        if (bar->isVisible() && bar->maximum() > bar->minimum())
            faults << thumbFaults(bar);
    }
    for (qsizetype i = 0; i < buttons.size(); ++i)
        for (qsizetype j = i + 1; j < buttons.size(); ++j)
            if (place(buttons[i]).rect.intersects(place(buttons[j]).rect))
                faults << describe(buttons[i]) + u" overlaps "_s + describe(buttons[j]);
    return faults;
}

// Controls that assistive tools would announce without a name: everything a user can press,
// type into or watch progress on must say what it is.
QStringList unnamedControls(QWidget* top) {
    QStringList faults;
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
            qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget) ||
            qobject_cast<QComboBox*>(widget) || qobject_cast<QProgressBar*>(widget) ||
            qobject_cast<BusyIndicator*>(widget);
        if (!control || !widget->isVisible())
            continue;
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(widget);
        if (!seen || seen->text(QAccessible::Name).trimmed().isEmpty())
            faults << QString::fromLatin1(widget->metaObject()->className()) + u" \""_s +
                          widget->objectName() + u"\" in "_s +
                          QString::fromLatin1(widget->parentWidget()->metaObject()->className()) +
                          u" has no accessible name"_s;
    }
    return faults;
}

class ScreensAtMinimumSizeTest;

struct ScreenCase {
    const char* name;
    // Brings the screen about; returns the window to look at (the main window or a sheet).
    std::function<QWidget*(ScreensAtMinimumSizeTest&)> reach;
};

void PrintTo(const ScreenCase& c, std::ostream* os) {
    *os << c.name;
}

class ScreensAtMinimumSizeTest : public ScreensTest,
                                 public ::testing::WithParamInterface<ScreenCase> {
public:
    QWidget* sheet() {
        QDialog* shown = waitForSheet();
        spinFor(50); // filled in once it has appeared
        return shown;
    }
};

const QString longText =
    u"Before you start the upgrade, make sure that the transmitter sits firmly in its cradle, "
    "that the cradle is connected to this computer, that the computer is plugged in and will "
    "not go to sleep, and that you have at least thirty minutes in which the transmitter can "
    "stay in the cradle. "_s;

} // namespace

TEST_P(ScreensAtMinimumSizeTest, EveryTextFitsNoButtonsOverlapAndEveryControlIsNamed) {
    window->resize(window->minimumSize());
    ASSERT_TRUE(waitFor([&] { return window->size() == window->minimumSize(); }));
    QWidget* top = GetParam().reach(*this);
    ASSERT_NE(top, nullptr);
    spinFor(TimeScale::milliseconds(1.0) + 100); // transitions end, layouts settle
    EXPECT_EQ(window->size(), window->minimumSize())
        << "the window took " << window->width() << 'x' << window->height();

    // The sidebar keeps one width from screen to screen, and as the window grows; the screen
    // begins where it ends.
    const OstrivaneSplitViewController* split = window->splitViewController();
    const auto expectOneSidebarWidth = [&] {
        EXPECT_EQ(split->listViewController()->width(), OstrivaneListViewController::sidebarWidth);
        EXPECT_EQ(split->detailViewController()->mapTo(split, QPoint()).x(),
                  OstrivaneListViewController::sidebarWidth);
    };
    expectOneSidebarWidth();

    const QStringList faults = layoutFaults(top);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    const QStringList unnamed = unnamedControls(top);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();

    const QString path =
        picturePath(u"screen-"_s + QString::fromLatin1(GetParam().name) + u".png"_s);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(top->grab().save(path));

    window->resize(1400, 900);
    ASSERT_TRUE(waitFor([&] { return window->width() == 1400; }));
    expectOneSidebarWidth();
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreensAtMinimumSizeTest,
    ::testing::Values(
        ScreenCase{"welcome", [](ScreensAtMinimumSizeTest& app) { return app.mainWindow(); }},
        ScreenCase{"support-upload",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.welcomeScreen()->buttonSupportUpload()->click();
                       return app.mainWindow();
                   }},
        ScreenCase{"support-upload-completed",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.welcomeScreen()->buttonSupportUpload()->click();
                       qobject_cast<OstrivaneLogsViewController*>(
                           app.welcomeScreen()->logsChildViewController())
                           ->showUploadCompletedView();
                       return app.mainWindow();
                   }},
        ScreenCase{"quiz-question",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.startQuiz();
                       return app.mainWindow();
                   }},
        ScreenCase{"quiz-long-question",
                   [](ScreensAtMinimumSizeTest& app) {
                       QuizQuestion& question = AppState::Quizzes.first().QuizQuestions.first();
                       question.QuestionDescription = longText.repeated(2);
                       for (QuizChoice& choice : question.QuizChoices)
                           choice.ChoiceText = longText;
                       app.startQuiz();
                       return app.mainWindow();
                   }},
        ScreenCase{"quiz-pane",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.welcomeScreen()->buttonStartQuiz()->click();
                       app.welcomeScreen()->removeChildViewController();
                       return app.mainWindow();
                   }},
        ScreenCase{"quiz-save-sheet",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.startQuiz()->buttonSaveAndContinue()->click();
                       return app.sheet();
                   }},
        ScreenCase{"quiz-failure-sheet",
                   [](ScreensAtMinimumSizeTest& app) {
                       namespace Descriptions = AppConstants::Alerts::descriptions;
                       app.startQuiz()->addQuizAlertView(
                           AppConstants::Alerts::titles::notification,
                           Descriptions::quizFailedHeader,
                           u"2 of 4"_s + Descriptions::questionsAnsweredIncorrectly, longText,
                           QString(), Qt::AlignLeft);
                       return app.sheet();
                   }},
        ScreenCase{"quiz-passed",
                   [](ScreensAtMinimumSizeTest& app) {
                       // The tracker holds every right answer: Next through to the verdict.
                       app.quizSide().setTrackerText(
                           QuizCloudDouble::sampleQuizID,
                           u"[{\"ChoiceID\":1012},{\"ChoiceID\":1021},{\"ChoiceID\":1022},"
                           "{\"ChoiceID\":1032},{\"ChoiceID\":1041}]"_s);
                       OstrivaneQuizViewController* quiz = app.startQuiz();
                       for (int question = 1; question <= 4; ++question) {
                           spinFor(100); // the question's answers restored
                           quiz->buttonNext()->click();
                       }
                       EXPECT_TRUE(waitFor(
                           [&] { return quiz->buttonStartTransmitterUpgrade()->isVisible(); }));
                       return app.mainWindow();
                   }},
        ScreenCase{"firmware-upgrade",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.startQuiz()->startTransmitterUpgradeButtonClicked();
                       return app.mainWindow();
                   }},
        ScreenCase{"help",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.showHelp()->TroubleShootingItemClicked(nullptr);
                       return app.mainWindow();
                   }},
        ScreenCase{"help-long-message",
                   [](ScreensAtMinimumSizeTest& app) {
                       OstivaneHelpViewController* help = app.showHelp();
                       help->TroubleShootingItemClicked(nullptr);
                       QString lines;
                       for (int line = 1; line <= 30; ++line)
                           lines += u"Line "_s + QString::number(line) + u" of the message.\n"_s;
                       help->troubleshootingTextView->insertPlainText(lines);
                       return app.mainWindow();
                   }},
        ScreenCase{"help-paper-copy",
                   [](ScreensAtMinimumSizeTest& app) {
                       app.showHelp()->RequestACopyItemClicked(nullptr);
                       return app.mainWindow();
                   }},
        ScreenCase{"alert",
                   [](ScreensAtMinimumSizeTest& app) {
                       addAlertView(app.welcomeScreen(), AppConstants::Alerts::titles::notification,
                                    std::nullopt, longText, true);
                       return app.sheet();
                   }}),
    [](const auto& row) {
        QString name = QString::fromLatin1(row.param.name);
        return name.remove(u'-').toStdString();
    });
