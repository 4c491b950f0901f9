#pragma once

#include <QString>

// The signed-in user's token record as the token service issued it. Written by the sign-in;
// read by every request to the portal. Main thread only.
class Authentication {
public:
    static Authentication& shared();

    QString accessToken; // "access_token"; empty before the first sign-in
    int expiresIn = 0;   // "expires_in", in seconds
    QString tokenType;   // "token_type"
    QString expires;     // "expires"
    QString lastLogin;   // "lastLogin"

    // Forgets the record (sign-out).
    void clear() { *this = Authentication(); }
};
