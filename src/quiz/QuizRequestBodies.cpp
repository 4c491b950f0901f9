#include "quiz/QuizRequestBodies.h"

#include "core/AppConstants.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace Texts = AppConstants::QuizScreen;

namespace {

// Everything printable in ASCII stays as it is, apart from what a form decoder reads as
// structure.
QByteArray formValue(const QString& value) {
    return QUrl::toPercentEncoding(value, QByteArrayLiteral("!\"#$'()*,-./:;<>?@[\\]^_`{|}~"));
}

QByteArray trackerFields(int quizID, const QString& firmwareVersion, const QString& transmitterID) {
    return Texts::formQuizId.toUtf8() + QByteArray::number(quizID) +
           Texts::formFirmwareVersion.toUtf8() + formValue(firmwareVersion) +
           Texts::formTransmitterId.toUtf8() + formValue(transmitterID);
}

} // namespace

QByteArray QuizRequestBodies::trackerGetBody(int quizID, const QString& firmwareVersion,
                                             const QString& transmitterID) {
    return trackerFields(quizID, firmwareVersion, transmitterID);
}

QByteArray QuizRequestBodies::trackerSetBody(int quizID, const QString& firmwareVersion,
                                             const QString& transmitterID,
                                             const QString& choiceSelectionJSON) {
    return trackerFields(quizID, firmwareVersion, transmitterID) +
           Texts::formChoiceSelectionJson.toUtf8() + formValue(choiceSelectionJSON);
}

QList<QuizQuestion1>
QuizRequestBodies::groupQuizChoices(int quizID, const QList<StructQuizChoicesSubmit>& list) {
    QList<QuizQuestion1> groups;
    QuizQuestion1 open{quizID, 0, 0, {}};
    bool first = true;
    for (const StructQuizChoicesSubmit& entry : list) {
        if (!first && entry.questionid != open.questionID) {
            groups.append(open);
            open.quizChoices.clear();
        }
        open.quizChoices.append(QuizChoice1{entry.choiceid});
        open.questionID = entry.questionid;
        open.questionTypeID = entry.questiontypeid;
        first = false;
    }
    groups.append(open);
    return groups;
}

QByteArray QuizRequestBodies::submissionBody(int quizID, const QList<StructQuizChoicesSubmit>& list,
                                             const QList<QuizQuestion>& quizQuestions) {
    QJsonArray questions;
    for (const QuizQuestion1& question : groupQuizChoices(quizID, list))
        questions.append(question.toJson());
    for (const QuizQuestion& question : quizQuestions)
        if (question.QuizChoices.isEmpty())
            questions.append(
                QuizQuestion1{quizID, question.QuestionID, question.QuestionTypeId, {}}.toJson());
    return Texts::submissionPrefix.toUtf8() +
           QJsonDocument(questions).toJson(QJsonDocument::Compact) +
           Texts::submissionSuffix.toUtf8();
}
