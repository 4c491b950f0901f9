#pragma once

#include <QString>

// The address form of a paper-copy request, as typed.
struct HelpAddress {
    QString firstName;
    QString lastName;
    QString address;
    QString addressDetail; // optional
    QString suite;         // optional
    QString city;
    QString state;
    QString zip;

    // The mandatory fields are address, city, state and zip, then also first and last name:
    // each must hold something other than blanks and tabs. Address detail and suite may be
    // empty.
    bool hasMandatoryFields() const;
};
