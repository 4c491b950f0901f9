#include "support/HelpMenuType.h"

#include "core/AppConstants.h"

namespace Help = AppConstants::Help;

QString HelpMenu::title(HelpMenuType type) {
    switch (type) {
    case HelpMenuType::SelectOption:
        return Help::menuSelectOption;
    case HelpMenuType::TroubleShooting:
        return Help::menuTroubleShooting;
    case HelpMenuType::RequestCopy:
        return Help::menuRequestCopy;
    case HelpMenuType::Other:
        return Help::menuOther;
    }
    return {};
}

std::optional<HelpMenuType> HelpMenu::typeForTitle(const QString& title) {
    for (HelpMenuType type : {HelpMenuType::TroubleShooting, HelpMenuType::RequestCopy,
                              HelpMenuType::Other, HelpMenuType::SelectOption}) {
        if (title == HelpMenu::title(type))
            return type;
    }
    return std::nullopt;
}

QString HelpMenu::confirmationText(const QString& popupTitle) {
    if (typeForTitle(popupTitle) == HelpMenuType::RequestCopy)
        return AppConstants::Alerts::descriptions::userGuide;
    return AppConstants::Alerts::descriptions::help;
}
