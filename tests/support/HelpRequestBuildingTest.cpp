#include "core/AppConstants.h"
#include "support/HelpAddress.h"
#include "support/HelpEmail.h"
#include "support/HelpMenuType.h"
#include "support/HelpRequests.h"

#include <gtest/gtest.h>

namespace {
const QString kDate = QStringLiteral("December 6 2026 at 2:05 PM(GMT 1:00)");
const QString kSystemInfo = QStringLiteral("\n\nSystem Information:\n==============\n...");

HelpAddress completeAddress() {
    HelpAddress a;
    a.firstName = QStringLiteral("Ada");
    a.lastName = QStringLiteral("Byron");
    a.address = QStringLiteral("1 Main St");
    a.city = QStringLiteral("Springfield");
    a.state = QStringLiteral("IL");
    a.zip = QStringLiteral("62701");
    return a;
}
} // namespace

TEST(HelpMenuTitles, KnowsEachKindByItsTitleOnly) {
    EXPECT_EQ(HelpMenu::typeForTitle(QStringLiteral("Ostrivane Pellory Troubleshooting")),
              HelpMenuType::TroubleShooting);
    EXPECT_EQ(HelpMenu::typeForTitle(
                  QStringLiteral("Requesting a paper copy of the Ostrivane Pellory User Guide")),
              HelpMenuType::RequestCopy);
    EXPECT_EQ(HelpMenu::typeForTitle(QStringLiteral("Other")), HelpMenuType::Other);
    EXPECT_EQ(HelpMenu::typeForTitle(QStringLiteral("Select an option")),
              HelpMenuType::SelectOption);
    EXPECT_EQ(HelpMenu::typeForTitle(QStringLiteral("other")), std::nullopt);
    EXPECT_EQ(HelpMenu::typeForTitle(QString()), std::nullopt);
}

TEST(HelpMenuTitles, ConfirmationFollowsTheTitle) {
    const QString paperCopy = AppConstants::Alerts::descriptions::userGuide;
    const QString help = AppConstants::Alerts::descriptions::help;
    EXPECT_EQ(HelpMenu::confirmationText(HelpMenu::title(HelpMenuType::RequestCopy)), paperCopy);
    for (const QString& title :
         {HelpMenu::title(HelpMenuType::TroubleShooting), HelpMenu::title(HelpMenuType::Other),
          HelpMenu::title(HelpMenuType::SelectOption), QString()})
        EXPECT_EQ(HelpMenu::confirmationText(title), help) << title.toStdString();
    EXPECT_TRUE(help.startsWith(QStringLiteral("You have successfully sent a request for help.")));
    EXPECT_TRUE(paperCopy.contains(QStringLiteral("Paper User Guide")));
}

TEST(HelpAddressCheck, RequiresEveryMandatoryFieldWithContent) {
    EXPECT_TRUE(completeAddress().hasMandatoryFields()); // detail and suite left empty

    QString HelpAddress::*mandatory[] = {&HelpAddress::address,   &HelpAddress::city,
                                         &HelpAddress::state,     &HelpAddress::zip,
                                         &HelpAddress::firstName, &HelpAddress::lastName};
    for (QString HelpAddress::*field : mandatory) {
        for (const QString& value : {QString(), QStringLiteral("   "), QStringLiteral("\t \t")}) {
            HelpAddress a = completeAddress();
            a.*field = value;
            EXPECT_FALSE(a.hasMandatoryFields());
        }
    }
    HelpAddress padded = completeAddress();
    padded.city = QStringLiteral("  Springfield\t");
    EXPECT_TRUE(padded.hasMandatoryFields());
}

TEST(HelpEmailText, MessageBodyCarriesTheTextAsTyped) {
    const QString typed = QStringLiteral("  \"quoted\" \\ back\nslash \U0001F600  ");
    const HelpEmail email = HelpEmail::message(HelpMenuType::TroubleShooting, typed, kDate,
                                               kSystemInfo, QStringLiteral("QUJD"));
    EXPECT_EQ(
        email.subject,
        QStringLiteral("Ostrivane Pellory App- Ostrivane Pellory App Troubleshooting Message"));
    EXPECT_EQ(email.body, QStringLiteral("An Ostrivane user submitted a Message on  ") + kDate +
                              QStringLiteral("\n\nMessage\n=======\n") + typed + kSystemInfo);
    EXPECT_EQ(email.attachment, QStringLiteral("QUJD"));
    EXPECT_EQ(email.fileName, QStringLiteral("ActivityHistoryLog.csv"));

    const HelpEmail other =
        HelpEmail::message(HelpMenuType::Other, typed, kDate, kSystemInfo, QString());
    EXPECT_EQ(other.subject, QStringLiteral("Ostrivane Pellory App- Other Message"));
    EXPECT_EQ(other.body, email.body);
    EXPECT_EQ(other.attachment, QString());
}

TEST(HelpEmailText, PaperCopyBodyKeepsEmptyOptionalLines) {
    HelpAddress a = completeAddress();
    a.lastName = QStringLiteral("Byron ");
    const HelpEmail email = HelpEmail::paperCopy(a, kDate, kSystemInfo);
    EXPECT_EQ(email.subject, QStringLiteral("Ostrivane Pellory App- Requesting a paper copy of "
                                            "the Ostrivane Pellory App User Guide"));
    EXPECT_EQ(email.body,
              QStringLiteral("An Ostrivane user submitted a request for a paper copy of the "
                             "Ostrivane Pellory User Guide on ") +
                  kDate +
                  QStringLiteral("\n\nShip to:\n======\nAda Byron \n1 Main St\n\n\nSpringfield\n"
                                 "IL\n62701\n") +
                  kSystemInfo);
    EXPECT_FALSE(email.attachment.has_value());
    EXPECT_FALSE(email.fileName.has_value());
}

TEST(HelpRequestBodies, AttachmentKeysGoWithTheFileName) {
    const QString to = QStringLiteral("support@example.test");
    const QVariantMap withFile =
        HelpRequests::sendEmailParameters(to, QStringLiteral("s"), QStringLiteral("b"),
                                          std::nullopt, QStringLiteral("ActivityHistoryLog.csv"));
    EXPECT_EQ(withFile,
              (QVariantMap{{QStringLiteral("toAddress"), to},
                           {QStringLiteral("subject"), QStringLiteral("s")},
                           {QStringLiteral("body"), QStringLiteral("b")},
                           {QStringLiteral("FileName"), QStringLiteral("ActivityHistoryLog.csv")},
                           {QStringLiteral("FileStream"), QString()}}));

    const QVariantMap withoutFile = HelpRequests::sendEmailParameters(
        to, QStringLiteral("s"), QStringLiteral("b"), QStringLiteral("ignored"), std::nullopt);
    EXPECT_EQ(withoutFile.keys(), (QStringList{QStringLiteral("body"), QStringLiteral("subject"),
                                               QStringLiteral("toAddress")}));
}

TEST(HelpRequestBodies, FirstConfigValue) {
    StructGetFromZubAppConfig withValue;
    withValue.Value = QStringLiteral("help@example.test");
    StructGetFromZubAppConfig withoutValue;
    withoutValue.Name = QStringLiteral("ZubSupportEmail");

    EXPECT_EQ(HelpRequests::firstConfigValue({}), std::nullopt);
    EXPECT_EQ(HelpRequests::firstConfigValue({withoutValue, withValue}), std::nullopt);
    EXPECT_EQ(HelpRequests::firstConfigValue({withValue, withoutValue}),
              QStringLiteral("help@example.test"));
}
