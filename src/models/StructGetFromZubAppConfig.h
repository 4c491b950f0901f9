#pragma once

#include "models/JsonDecoder.h"

#include <QString>

#include <optional>

// One row of the cloud's application configuration; every key is optional.
struct StructGetFromZubAppConfig {
    std::optional<QString> Name;
    std::optional<QString> Value;
    std::optional<QString> Language;
    std::optional<bool> ActiveFlag;

    static StructGetFromZubAppConfig decode(JsonObjectReader& reader);
};
