#include "quiz/QuizAnswerList.h"

#include "core/AppConstants.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace Texts = AppConstants::QuizScreen;

void QuizAnswerList::record(QList<StructQuizChoicesSubmit>& list,
                            const StructQuizChoicesSubmit& answer, bool byChoice, bool remove) {
    list.removeIf([&](const StructQuizChoicesSubmit& entry) {
        return byChoice ? entry.choiceid == answer.choiceid : entry.questionid == answer.questionid;
    });
    if (remove)
        list.removeIf([&](const StructQuizChoicesSubmit& entry) {
            return entry.choiceid == answer.choiceid;
        });
    else
        list.append(answer);
}

void QuizAnswerList::keepTogether(QList<StructQuizChoicesSubmit>& list,
                                  const QuizQuestion& question) {
    std::stable_partition(list.begin(), list.end(), [&](const StructQuizChoicesSubmit& entry) {
        return entry.questionid != question.QuestionID &&
               std::none_of(
                   question.QuizChoices.cbegin(), question.QuizChoices.cend(),
                   [&](const QuizChoice& choice) { return choice.ChoiceID == entry.choiceid; });
    });
}

QString QuizAnswerList::choiceSelectionJSON(const QList<StructQuizChoicesSubmit>& list) {
    QStringList items;
    items.reserve(list.size());
    for (const StructQuizChoicesSubmit& entry : list)
        items.append(Texts::choiceSelectionItemPrefix + QString::number(entry.choiceid) +
                     Texts::choiceSelectionItemSuffix);
    return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

namespace {

// The ids of a well-formed tracker text: an array of objects, each with an integer ChoiceID.
std::optional<QList<int>> strictChoiceIds(const QString& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<int> ids;
    for (const QJsonValue& item : document.array()) {
        const QJsonValue id = item.toObject().value(QStringLiteral("ChoiceID"));
        const double number = id.toDouble();
        if (!item.isObject() || !id.isDouble() || std::trunc(number) != number ||
            number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
            return std::nullopt;
        ids.append(static_cast<int>(number));
    }
    return ids;
}

QString trimBlanks(const QString& piece) {
    qsizetype begin = 0;
    qsizetype end = piece.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(piece.at(begin)))
        ++begin;
    while (end > begin && blank(piece.at(end - 1)))
        --end;
    return piece.mid(begin, end - begin);
}

std::optional<int> wholeInteger(const QString& piece) {
    const QString digits = piece.startsWith(QLatin1Char('+')) || piece.startsWith(QLatin1Char('-'))
                               ? piece.mid(1)
                               : piece;
    if (digits.isEmpty() ||
        !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    bool ok = false;
    const int value = piece.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QList<int> QuizAnswerList::convertStringToArrayOfDictionaries(const QString& text) {
    if (std::optional<QList<int>> ids = strictChoiceIds(text))
        return *ids;
    if (text.size() < 2)
        return {};
    QStringList pieces{text.mid(1, text.size() - 2)};
    for (QChar separator : Texts::choiceSelectionSeparators) {
        QStringList split;
        for (const QString& piece : pieces)
            split.append(piece.split(separator));
        pieces = split;
    }
    QList<int> ids;
    for (const QString& piece : pieces)
        if (std::optional<int> id = wholeInteger(trimBlanks(piece)))
            ids.append(*id);
    return ids;
}

QList<int> QuizAnswerList::chosenChoices(const QuizQuestion& question,
                                         const QList<StructQuizChoicesSubmit>& list) {
    QList<int> chosen;
    for (const QuizChoice& choice : question.QuizChoices)
        if (std::any_of(list.cbegin(), list.cend(), [&](const StructQuizChoicesSubmit& entry) {
                return entry.choiceid == choice.ChoiceID;
            }))
            chosen.append(choice.ChoiceID);
    return chosen;
}

bool QuizAnswerList::isAnswered(const QuizQuestion& question,
                                const QList<StructQuizChoicesSubmit>& list) {
    return question.QuizChoices.isEmpty() || !chosenChoices(question, list).isEmpty();
}
