#pragma once

#include "models/JsonDecoder.h"

#include <QList>
#include <QString>

#include <optional>

// One entry of the message catalogue that the cloud supplies: every user-visible message is
// looked up here by its code.
struct StructEuaMessage {
    QString messageCode;                     // "MessageCode"
    std::optional<QString> language;         // "Language"
    QString messageDescription;              // "MessageDescription": written to the debug log
    QString messagerDescriptionUserFriendly; // "MessagerDescriptionUserFriendly": shown
    std::optional<QString> platform;         // "Platform"
    std::optional<bool> isShowCode;          // "IsShowCode": whether to show the code as well

    static StructEuaMessage decode(JsonObjectReader& reader);
};

// The first entry of the catalogue with the given code.
std::optional<StructEuaMessage> findEuaMessage(const QList<StructEuaMessage>& catalogue,
                                               const QString& code);
// The same, in the application's catalogue (AppState::EuaMessage).
std::optional<StructEuaMessage> euaMessage(const QString& code);
