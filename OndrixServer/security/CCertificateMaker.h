#pragma once

#include <QByteArray>
#include <QString>

// A new private key and a certificate that signs itself, both PEM: the
// server's identity, which clients pin by the certificate's fingerprint
// rather than trust through a chain. Qt reads and uses them; only making
// them needs the TLS library itself.
namespace CCertificateMaker {

struct IDENTITY_PEM
{
    QByteArray key;
    QByteArray certificate;
};

// An ECDSA P-256 key (a quick handshake, and every TLS 1.2 client speaks
// it) and a certificate naming `commonName`. False, with the reason, when
// the library fails.
bool Make(const QString& commonName, IDENTITY_PEM& pem, QString& error);

} // namespace CCertificateMaker
