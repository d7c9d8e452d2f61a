#include "connect/CServerTrust.h"

#include "app/ClientLog.h"
#include "connect/CKnownServers.h"
#include "connect/CServerTrustDialog.h"
#include "protocol/CCertificateFingerprint.h"
#include "proxy/CMetaDevice.h"

#include <QMessageBox>

namespace {

// A key asked for again after a refusal, and once more: then the user is
// left to try later rather than asked in a loop.
constexpr int MAX_QUESTIONS = 3;

} // namespace

void CServerTrust::Apply(CMetaDevice& device, const CKnownServers& known)
{
    QString fingerprint;
    QString key;
    if (known.Find(CServerAddress(device.GetUrl()), fingerprint, key))
        device.SetCredentials(fingerprint, key);
}

CServerTrust::Outcome CServerTrust::Connect(QWidget* parent, CMetaDevice& device, CKnownServers& known)
{
    Apply(device, known);
    const CServerAddress address(device.GetUrl());
    for (int question = 0;; ++question) {
        if (device.Initialize())
            return Connected;
        const CMetaDevice::Refusal refusal = device.LastRefusal();
        if (refusal == CMetaDevice::NotRefused)
            return Unreachable;
        if (refusal == CMetaDevice::ChangedServer) {
            WarnChanged(parent, device, known);
            return Refused;
        }
        if (question == MAX_QUESTIONS)
            return Refused;
        CServerTrustDialog dialog(device.GetUrl(), device.PeerFingerprint(), refusal == CMetaDevice::KeyRefused,
            parent);
        if (dialog.exec() != QDialog::Accepted)
            return Refused;
        device.SetCredentials(device.PeerFingerprint(), dialog.Key());
        if (!known.Remember(address, device.PeerFingerprint(), dialog.Key()))
            qCWarning(lcClient) << "the server's key is used for this session only";
    }
}

void CServerTrust::WarnChanged(QWidget* parent, const CMetaDevice& device, const CKnownServers& known)
{
    QString before;
    QString key;
    known.Find(CServerAddress(device.GetUrl()), before, key);
    QMessageBox::critical(parent, tr("Server identity changed"),
        tr("WARNING: the server %1 shows another certificate than at the first connection.\n\n"
           "Now:\n%2\n\nBefore:\n%3\n\n"
           "Someone may be standing in for the server to read or control the detector. The connection is refused. "
           "If the server's owner made it a new identity on purpose, remove its line from %4 and connect again.")
            .arg(device.GetUrl(), CCertificateFingerprint::Readable(device.PeerFingerprint()),
                CCertificateFingerprint::Readable(before), known.Path()));
}
