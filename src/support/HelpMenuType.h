#pragma once

#include <QString>

#include <optional>

// The request kinds of the help screen's pop-up. Each kind's title is the title of its menu
// item; the screen knows the kind in use from the pop-up's title.
enum class HelpMenuType { SelectOption, TroubleShooting, RequestCopy, Other };

namespace HelpMenu {

// The item title of a kind.
QString title(HelpMenuType type);

// The kind whose title this is; nothing for any other title.
std::optional<HelpMenuType> typeForTitle(const QString& title);

// The confirmation shown once the cloud accepted a request, chosen by the pop-up's title at
// that moment: the paper-copy text for the paper-copy title, the help text for any other.
QString confirmationText(const QString& popupTitle);

} // namespace HelpMenu
