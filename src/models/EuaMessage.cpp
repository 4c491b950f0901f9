#include "models/EuaMessage.h"

#include "core/AppState.h"

StructEuaMessage StructEuaMessage::decode(JsonObjectReader& reader) {
    StructEuaMessage m;
    m.messageCode = reader.requiredString(QStringLiteral("MessageCode"));
    m.language = reader.optionalString(QStringLiteral("Language"));
    m.messageDescription = reader.requiredString(QStringLiteral("MessageDescription"));
    m.messagerDescriptionUserFriendly =
        reader.requiredString(QStringLiteral("MessagerDescriptionUserFriendly"));
    m.platform = reader.optionalString(QStringLiteral("Platform"));
    m.isShowCode = reader.optionalBool(QStringLiteral("IsShowCode"));
    return m;
}

std::optional<StructEuaMessage> findEuaMessage(const QList<StructEuaMessage>& catalogue,
                                               const QString& code) {
    for (const StructEuaMessage& entry : catalogue) {
        if (entry.messageCode == code)
            return entry;
    }
    return std::nullopt;
}

std::optional<StructEuaMessage> euaMessage(const QString& code) {
    return findEuaMessage(AppState::EuaMessage, code);
}
