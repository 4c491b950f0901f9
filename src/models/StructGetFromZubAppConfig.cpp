#include "models/StructGetFromZubAppConfig.h"

StructGetFromZubAppConfig StructGetFromZubAppConfig::decode(JsonObjectReader& reader) {
    StructGetFromZubAppConfig row;
    row.Name = reader.optionalString(QStringLiteral("Name"));
    row.Value = reader.optionalString(QStringLiteral("Value"));
    row.Language = reader.optionalString(QStringLiteral("Language"));
    row.ActiveFlag = reader.optionalBool(QStringLiteral("ActiveFlag"));
    return row;
}
