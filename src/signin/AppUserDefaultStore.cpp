#include "signin/AppUserDefaultStore.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Console.h"
#include "core/DurableFile.h"
#include "core/Logger.h"
#include "core/PendingWrites.h"
#include "core/SetAside.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

namespace Keys = AppConstants::AppUserDefaultFile;

namespace {

// noLocation: the settings file has no place yet; missing: it has not been written yet (the
// first start), which reads as an empty file; tooLarge: past any real size, so set aside like
// a file that is not text.
enum class FileState { noLocation, missing, unreadable, tooLarge, read };

struct FileText {
    FileState state = FileState::noLocation;
    QByteArray bytes;
    QString error; // why it is unreadable
};

FileText readFile() {
    if (!AppState::g_appUserDefaultUrl)
        return {};
    RegularFile::ReadResult file = RegularFile::read(*AppState::g_appUserDefaultUrl);
    switch (file.status) {
    case RegularFile::ReadStatus::read:
        return {FileState::read, std::move(file.bytes), {}};
    case RegularFile::ReadStatus::missing:
        return {FileState::missing, {}, {}};
    case RegularFile::ReadStatus::tooLarge:
        return {FileState::tooLarge, {}, {}};
    case RegularFile::ReadStatus::notRegular:
    case RegularFile::ReadStatus::failed:
        break;
    }
    return {FileState::unreadable, {}, Keys::cannotBeRead + QStringLiteral(": ") + file.error};
}

// The bytes as UTF-8 text, or nothing when they are not valid UTF-8. Stateless, so that a
// sequence left unfinished at the end counts as an error instead of waiting for more bytes.
std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool isBlank(const QString& text) {
    return text.isEmpty() || text == QStringLiteral("\n");
}

// Keeps an unusable file beside itself, under a name of its own, so that the rewrite loses
// nothing. Nothing when it did; else why not, for a file that stays in place must not be
// rewritten.
std::optional<QString> keepAside(const QString& reason) {
    const SetAside::Result aside = SetAside::move(*AppState::g_appUserDefaultUrl);
    const QString outcome = aside.ok ? QStringLiteral("; kept as ") + aside.name
                                     : QStringLiteral("; could not be kept aside: ") + aside.error;
    Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()") +
                AppConstants::DebugLog::errorLabel + reason + outcome);
    return aside.ok ? std::nullopt : std::optional(reason + outcome);
}

// The members stored since the file last took a write. A write the disk refused leaves them
// here: every refresh from the file keeps them on top of what it read, every lookup sees them,
// and the next write, the retry and the quit put them in the file (PendingWrites). They belong
// to the file they were stored for, and are dropped when the location changes.
QMap<QString, QString>& unwritten() {
    static QString file;
    static QMap<QString, QString> members;
    if (const QString now = AppState::g_appUserDefaultUrl.value_or(QString()); now != file) {
        file = now;
        members.clear();
        PendingWrites::written(&members);
    }
    return members;
}

// The map held by a JSON text, or nothing; *error, when asked for, says why when the text is
// not JSON at all.
std::optional<QMap<QString, QString>> parseObject(const QString& text, QString* error = nullptr) {
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parsed);
    if (parsed.error != QJsonParseError::NoError) {
        if (error)
            *error = parsed.errorString();
        return std::nullopt;
    }
    if (!document.isObject())
        return std::nullopt;
    QMap<QString, QString> map;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        map.insert(it.key(), it.value().toString());
    }
    return map;
}

// The operations below, for the user's own calls (report: with their log lines and console
// lines) and for the quiet tries again of waiting members.

// Nothing when the map holds the file's members, or the file is blank or missing; else why the
// file must not be overwritten.
std::optional<QString> refresh(bool report) {
    const FileText file = readFile();
    if (file.state == FileState::unreadable) {
        if (report) {
            Console::print(Keys::readError);
            Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()") +
                        AppConstants::DebugLog::errorLabel + file.error);
        }
        return file.error;
    }
    std::optional<QString> trouble;
    if (file.state == FileState::tooLarge) {
        trouble = keepAside(QStringLiteral("the settings file is too large"));
    } else if (file.state == FileState::read) {
        const std::optional<QString> text = decodeUtf8(file.bytes);
        std::optional<QMap<QString, QString>> map;
        if (text && !isBlank(*text))
            map = report ? AppUserDefaultStore::convertToDictionary(*text) : parseObject(*text);
        if (!text)
            trouble = keepAside(QStringLiteral("the settings file is not UTF-8 text"));
        else if (map)
            AppState::AppUserDefault = std::move(*map);
        else if (!isBlank(*text))
            trouble =
                keepAside(QStringLiteral("the settings file is not an object of text values"));
    }
    if (!trouble)
        AppState::AppUserDefault.insert(unwritten());
    return trouble;
}

DurableFile::Result writeText(const QString& text, bool report) {
    if (!AppState::g_appUserDefaultUrl)
        return {false, QStringLiteral("the settings file has no place"), false};
    const DurableFile::Result written =
        DurableFile::replace(*AppState::g_appUserDefaultUrl, text.toUtf8());
    if (!written.ok && report) {
        Console::print(Keys::writeError);
        Logger::log(LOG_PREFIX_FN("writeToAppUserDefaultFile(text:)") +
                    AppConstants::DebugLog::errorLabel + written.error);
    }
    return written;
}

// Refreshes the map from the file and writes it whole, waiting members included; the members
// wait on while that fails. Says whether they are in the file, and why not.
DurableFile::Result storeWaiting(bool report) {
    if (report)
        Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()"));
    const std::optional<QString> trouble = refresh(report);
    DurableFile::Result written{false, trouble.value_or(QString()), false};
    if (!trouble) {
        QJsonObject object;
        for (auto it = AppState::AppUserDefault.cbegin(); it != AppState::AppUserDefault.cend();
             ++it)
            object.insert(it.key(), it.value());
        const QString text =
            QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
        if (report)
            Logger::log(LOG_PREFIX_FN("writeToAppUserDefaultFile(text:)"));
        written = writeText(text, report);
        if (written.ok) {
            unwritten().clear();
            PendingWrites::written(&unwritten());
            return written;
        }
    }
    // Without a place for the file nothing could ever write them: the map alone keeps them.
    if (!AppState::g_appUserDefaultUrl)
        unwritten().clear();
    else
        PendingWrites::waiting(&unwritten(), *AppState::g_appUserDefaultUrl,
                               [] { return storeWaiting(false).error; });
    return written;
}

} // namespace

QString AppUserDefaultStore::readFromAppUserDefault() {
    Logger::log(LOG_PREFIX_FN("readFromAppUserDefault()"));
    const FileText file = readFile();
    if (file.state == FileState::missing)
        return {};
    if (file.state != FileState::read) {
        Console::print(Keys::readError);
        return {};
    }
    const std::optional<QString> text = decodeUtf8(file.bytes);
    if (!text) {
        Console::print(Keys::readError);
        return {};
    }
    return *text;
}

std::optional<QMap<QString, QString>>
AppUserDefaultStore::convertToDictionary(const QString& text) {
    Logger::log(LOG_PREFIX_FN("convertToDictionary(text:)"));
    QString error;
    std::optional<QMap<QString, QString>> map = parseObject(text, &error);
    if (!error.isEmpty())
        Logger::log(LOG_PREFIX_FN("convertToDictionary(text:)") +
                    AppConstants::DebugLog::errorLabel + error);
    return map;
}

bool AppUserDefaultStore::getAppUserDefaultFromFileToDictionary() {
    Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()"));
    return !refresh(true);
}

bool AppUserDefaultStore::writeToAppUserDefaultFile(const QString& text) {
    Logger::log(LOG_PREFIX_FN("writeToAppUserDefaultFile(text:)"));
    return writeText(text, true).ok;
}

DurableFile::Result AppUserDefaultStore::setAppUserDefault(const QString& key,
                                                           const QString& value) {
    Logger::log(LOG_PREFIX_FN("setAppUserDefault(key:value:)"));
    Logger::log(Keys::storedKey + key + Keys::valueLabel + value);
    unwritten().insert(key, value);
    return storeWaiting(true);
}

QString AppUserDefaultStore::getAppUserDefault(const QString& key) {
    Logger::log(LOG_PREFIX_FN("getAppUserDefault(key:)"));
    if (const auto waiting = unwritten().constFind(key); waiting != unwritten().cend())
        return *waiting;
    const QString text = readFromAppUserDefault();
    if (text.isEmpty())
        return {};
    const std::optional<QMap<QString, QString>> map = convertToDictionary(text);
    return map ? map->value(key) : QString();
}
