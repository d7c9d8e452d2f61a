#pragma once

#include <QString>

// A detector of the overview, as the user added it: where it is, and the
// name (a site, a room) it goes by in the rows and the alerts.
struct OVERVIEW_DETECTOR
{
    QString address; // a server's address, plain or encrypted; empty: this computer's detector
    QString name;    // empty: named by its address

    bool IsLocal() const { return address.isEmpty(); }
    // How its alert settings know it: the address, or "local".
    QString Id() const { return IsLocal() ? QStringLiteral("local") : address; }
    bool operator==(const OVERVIEW_DETECTOR& other) const { return address == other.address && name == other.name; }
};
