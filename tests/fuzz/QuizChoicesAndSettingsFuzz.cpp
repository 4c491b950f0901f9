// The quiz's choice-selection text and the settings file it is kept in. The text the quiz
// writes reads back as the same choices, and survives the tracker form; any text reads as ids
// that write and read back unchanged. Any settings file reads without harm, and the next store
// keeps what a good file held, or keeps a bad file aside byte for byte.
#include "support/FuzzInput.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/SetAside.h"
#include "quiz/QuizAnswerList.h"
#include "quiz/QuizRequestBodies.h"
#include "signin/AppUserDefaultStore.h"

#include <QFile>
#include <QUrl>

namespace {

QList<StructQuizChoicesSubmit> entriesOf(const QList<int>& ids) {
    QList<StructQuizChoicesSubmit> list;
    for (int id : ids)
        list.append({1, id, 1});
    return list;
}

QList<int> idsOf(const QList<StructQuizChoicesSubmit>& list) {
    QList<int> ids;
    for (const StructQuizChoicesSubmit& entry : list)
        ids.append(entry.choiceid);
    return ids;
}

// The tracker form splits into its four fields, each value reading back as it went in.
void checkTrackerForm(const QString& firmware, const QString& transmitter, const QString& text) {
    const QByteArray body = QuizRequestBodies::trackerSetBody(7, firmware, transmitter, text);
    const QList<QByteArray> fields = body.split('&');
    FUZZ_CHECK(fields.size() == 4, QString::fromLatin1(body));
    const QString values[] = {QStringLiteral("7"), firmware, transmitter, text};
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QList<QByteArray> pair = fields[i].split('=');
        FUZZ_CHECK(pair.size() == 2 && !pair[1].contains('+') && !pair[1].contains(' '),
                   QString::fromLatin1(fields[i]));
        FUZZ_CHECK(QUrl::fromPercentEncoding(pair[1]) == values[i],
                   QStringLiteral("a form value did not read back: ") + values[i]);
    }
}

void checkChoiceText(FuzzInput& input) {
    if (input.flag()) {
        QList<int> ids;
        for (int i = input.number(0, 40); i > 0; --i)
            ids.append(static_cast<int>(static_cast<quint32>(input.number(0, 0xffff)) << 16 |
                                        static_cast<quint32>(input.number(0, 0xffff))));
        const QString text = QuizAnswerList::choiceSelectionJSON(entriesOf(ids));
        FUZZ_CHECK(QuizAnswerList::convertStringToArrayOfDictionaries(text) == ids, text);
        checkTrackerForm(QString::fromUtf8(input.chunk()), QString::fromUtf8(input.chunk()), text);
        return;
    }
    const QString text = QString::fromUtf8(input.rest());
    const QList<int> ids = QuizAnswerList::convertStringToArrayOfDictionaries(text);
    const QString written = QuizAnswerList::choiceSelectionJSON(entriesOf(ids));
    FUZZ_CHECK(QuizAnswerList::convertStringToArrayOfDictionaries(written) == ids, written);
    FUZZ_CHECK(idsOf(entriesOf(ids)) == ids, {});
}

void checkSettingsFile(FuzzInput& input) {
    const QString path = fuzzFolder() + QStringLiteral("/AppUserDefault.txt");
    QFile::remove(path);
    for (const QString& copy : SetAside::copiesOf(path))
        QFile::remove(copy);
    AppState::g_appUserDefaultUrl = path;
    const QMap<QString, QString> before{{QStringLiteral("earlier"), QStringLiteral("kept")}};
    AppState::AppUserDefault = before;

    const QByteArray bytes = input.rest();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), path);
    }
    const std::optional<QMap<QString, QString>> parsed =
        AppUserDefaultStore::convertToDictionary(QString::fromUtf8(bytes));
    FUZZ_CHECK(AppUserDefaultStore::getAppUserDefaultFromFileToDictionary(),
               QStringLiteral("a readable file was taken as unreadable"));
    if (parsed && QString::fromUtf8(bytes).toUtf8() == bytes)
        FUZZ_CHECK(AppState::AppUserDefault == *parsed,
                   QStringLiteral("the map is not the file's"));

    const QString key = QStringLiteral("fuzz");
    const QString value = QString::fromUtf8(bytes.left(16));
    const QMap<QString, QString> held = AppState::AppUserDefault;
    FUZZ_CHECK(AppUserDefaultStore::setAppUserDefault(key, value), QStringLiteral("store failed"));
    FUZZ_CHECK(AppUserDefaultStore::getAppUserDefault(key) == value, value);
    QFile written(path);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly), {});
    const std::optional<QMap<QString, QString>> now =
        AppUserDefaultStore::convertToDictionary(QString::fromUtf8(written.readAll()));
    QMap<QString, QString> expected = held;
    expected.insert(key, value);
    FUZZ_CHECK(now && *now == expected, QStringLiteral("the store lost a member"));
    if (const QStringList copies = SetAside::copiesOf(path); !copies.isEmpty()) {
        QFile kept(copies.first());
        FUZZ_CHECK(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes,
                   QStringLiteral("the file kept aside is not the one that was there"));
    } else {
        FUZZ_CHECK(held != before || parsed || bytes.trimmed().isEmpty(),
                   QStringLiteral("an unusable file was overwritten without being kept"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureFuzzApplication();
    FuzzInput input(data, size);
    if (input.flag())
        checkChoiceText(input);
    else
        checkSettingsFile(input);
    return 0;
}
