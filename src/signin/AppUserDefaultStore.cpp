#include "signin/AppUserDefaultStore.h"

#include "core/AppConstants.h"
#include "core/AppState.h"
#include "core/Console.h"
#include "core/DurableFile.h"
#include "core/Logger.h"
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
};

FileText readFile() {
    if (!AppState::g_appUserDefaultUrl)
        return {};
    RegularFile::ReadResult file = RegularFile::read(*AppState::g_appUserDefaultUrl);
    switch (file.status) {
    case RegularFile::ReadStatus::read:
        return {FileState::read, std::move(file.bytes)};
    case RegularFile::ReadStatus::missing:
        return {FileState::missing, {}};
    case RegularFile::ReadStatus::tooLarge:
        return {FileState::tooLarge, {}};
    case RegularFile::ReadStatus::notRegular:
    case RegularFile::ReadStatus::failed:
        break;
    }
    return {FileState::unreadable, {}};
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

// Keeps an unusable file beside itself so that the rewrite loses nothing; returns whether it
// did, for a file that stays in place must not be rewritten. Renamed, not copied: a copy would
// read the whole of a file that is too large to read.
bool keepAside(const QString& reason) {
    const QString path = *AppState::g_appUserDefaultUrl;
    const QString aside = path + Keys::unreadableSuffix;
    QFile::remove(aside);
    const bool kept = QFile::rename(path, aside);
    Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()") +
                AppConstants::DebugLog::errorLabel + reason +
                (kept ? QStringLiteral("; kept as ") + QFileInfo(aside).fileName()
                      : QStringLiteral("; could not be kept aside")));
    return kept;
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
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        Logger::log(LOG_PREFIX_FN("convertToDictionary(text:)") +
                    AppConstants::DebugLog::errorLabel + error.errorString());
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

bool AppUserDefaultStore::getAppUserDefaultFromFileToDictionary() {
    Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()"));
    const FileText file = readFile();
    if (file.state == FileState::unreadable) {
        Console::print(Keys::readError);
        Logger::log(LOG_PREFIX_FN("getAppUserDefaultFromFileToDictionary()") +
                    AppConstants::DebugLog::errorLabel +
                    QStringLiteral("the settings file exists but cannot be read"));
        return false;
    }
    if (file.state == FileState::missing || file.state == FileState::noLocation)
        return true;
    if (file.state == FileState::tooLarge)
        return keepAside(QStringLiteral("the settings file is too large"));
    const std::optional<QString> text = decodeUtf8(file.bytes);
    if (!text)
        return keepAside(QStringLiteral("the settings file is not UTF-8 text"));
    if (isBlank(*text))
        return true;
    std::optional<QMap<QString, QString>> map = convertToDictionary(*text);
    if (!map)
        return keepAside(QStringLiteral("the settings file is not an object of text values"));
    AppState::AppUserDefault = std::move(*map);
    return true;
}

bool AppUserDefaultStore::writeToAppUserDefaultFile(const QString& text) {
    Logger::log(LOG_PREFIX_FN("writeToAppUserDefaultFile(text:)"));
    if (!AppState::g_appUserDefaultUrl)
        return false;
    const DurableFile::Result written =
        DurableFile::replace(*AppState::g_appUserDefaultUrl, text.toUtf8());
    if (!written.ok) {
        Console::print(Keys::writeError);
        Logger::log(LOG_PREFIX_FN("writeToAppUserDefaultFile(text:)") +
                    AppConstants::DebugLog::errorLabel + written.error);
    }
    return written.ok;
}

bool AppUserDefaultStore::setAppUserDefault(const QString& key, const QString& value) {
    Logger::log(LOG_PREFIX_FN("setAppUserDefault(key:value:)"));
    Logger::log(Keys::storedKey + key + Keys::valueLabel + value);
    if (!getAppUserDefaultFromFileToDictionary())
        return false;
    AppState::AppUserDefault.insert(key, value);
    QJsonObject object;
    for (auto it = AppState::AppUserDefault.cbegin(); it != AppState::AppUserDefault.cend(); ++it)
        object.insert(it.key(), it.value());
    return writeToAppUserDefaultFile(
        QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

QString AppUserDefaultStore::getAppUserDefault(const QString& key) {
    Logger::log(LOG_PREFIX_FN("getAppUserDefault(key:)"));
    const QString text = readFromAppUserDefault();
    if (text.isEmpty())
        return {};
    const std::optional<QMap<QString, QString>> map = convertToDictionary(text);
    return map ? map->value(key) : QString();
}
