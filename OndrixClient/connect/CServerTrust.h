#pragma once

#include <QCoreApplication>

class CKnownServers;
class CMetaDevice;
class QWidget;

// Connects a proxy to its server as the user trusts it. An encrypted server
// is given the fingerprint and key stored for it; on the first connection,
// or when it refuses the key, the user compares the fingerprint and gives
// the key; a server whose fingerprint changed is refused with a warning
// and never asked about: nothing the user clicks can take it for the old
// one.
class CServerTrust
{
    Q_DECLARE_TR_FUNCTIONS(CServerTrust)

public:
    enum Outcome { Connected, Unreachable, Refused };

    static void Apply(CMetaDevice& device, const CKnownServers& known);
    static Outcome Connect(QWidget* parent, CMetaDevice& device, CKnownServers& known);

private:
    static void WarnChanged(QWidget* parent, const CMetaDevice& device, const CKnownServers& known);
};
