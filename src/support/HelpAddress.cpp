#include "support/HelpAddress.h"

#include "support/HelpTextRules.h"

#include <algorithm>
#include <initializer_list>

bool HelpAddress::hasMandatoryFields() const {
    // Checked first as typed, then without surrounding blanks and tabs; both give the same
    // message, so one answer serves.
    const auto fields = {&address, &city, &state, &zip, &firstName, &lastName};
    return std::none_of(fields.begin(), fields.end(), [](const QString* field) {
        return HelpTextRules::trimmedOfBlanksAndTabs(*field).isEmpty();
    });
}
