// The welcome screen's panes and their widgets.
#include "upgrade/OstrivaneWelcomeScreen.h"

#include "core/Extensions.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 8);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

QLabel* paragraph(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

QPushButton* actionButton(const QString& title, QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    Extensions::setActionButton(button);
    return button;
}

// A pane whose content stands in a column of limited width, centred in the screen.
QVBoxLayout* centredColumn(QWidget* pane) {
    auto* row = new QHBoxLayout(pane);
    row->setContentsMargins(40, 40, 40, 40);
    auto* content = new QWidget(pane);
    content->setMaximumWidth(560);
    row->addStretch(1);
    row->addWidget(content, 4);
    row->addStretch(1);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(18);
    column->addStretch(1);
    return column;
}

// The buttons side by side in the middle of the column.
void addCentred(QVBoxLayout* column, const QList<QPushButton*>& buttons) {
    auto* row = new QHBoxLayout();
    row->setSpacing(16);
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    row->addStretch(1);
    column->addLayout(row);
}

} // namespace

void OstrivaneWelcomeScreen::buildWelcomeView() {
    welcomeView_ = new QWidget(this);
    auto* column = centredColumn(welcomeView_);
    column->addWidget(heading(tr("Welcome to Ostrivane Pellory"), welcomeView_));
    column->addWidget(
        paragraph(tr("Keep your transmitter in its cradle. You can upload the transmitter's "
                     "logs to Ostrivane Customer Support, or take the training quiz that "
                     "comes before a firmware upgrade."),
                  welcomeView_));
    buttonSupportUpload_ = actionButton(tr("Support Upload"), welcomeView_);
    buttonStartQuiz_ = actionButton(tr("Start Quiz"), welcomeView_);
    addCentred(column, {buttonSupportUpload_, buttonStartQuiz_});
    column->addStretch(2);

    connect(buttonSupportUpload_, &QPushButton::clicked, this,
            &OstrivaneWelcomeScreen::buttonSupportUploadClicked);
    connect(buttonStartQuiz_, &QPushButton::clicked, this,
            &OstrivaneWelcomeScreen::buttonStartQuizClicked);
}

void OstrivaneWelcomeScreen::buildQuizView() {
    quizView_ = new QWidget(this);
    auto* column = centredColumn(quizView_);
    column->addWidget(heading(tr("Training Quiz"), quizView_));
    labelQuizSubheading_ =
        paragraph(tr("Take the training quiz before upgrading your transmitter."), quizView_);
    column->addWidget(labelQuizSubheading_);
    buttonQuiz_ = actionButton(tr("Start Quiz"), quizView_);
    addCentred(column, {buttonQuiz_});
    column->addStretch(2);

    connect(buttonQuiz_, &QPushButton::clicked, this,
            &OstrivaneWelcomeScreen::buttonStartQuizClicked);
}
