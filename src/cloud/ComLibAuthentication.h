#pragma once

#include <QString>

// The comm-library service's token, sent instead of the user's token to every address under
// the comm-library base. Main thread only.
class ComLibAuthentication {
public:
    static ComLibAuthentication& shared();

    QString token;
    QString expiration;

    void clear() { *this = ComLibAuthentication(); }
};
