#pragma once

#include "GuiKitExport.h"

#include <QSslCertificate>
#include <QString>

// What a server's identity is checked by: the SHA-256 of its certificate's
// DER bytes, 64 lowercase hex digits, as the server prints it.
class GUIKIT_EXPORT CCertificateFingerprint
{
public:
    // Empty for a null certificate.
    static QString Of(const QSslCertificate& certificate);
    // Groups of four for reading aloud; the same digits.
    static QString Readable(const QString& fingerprint);
};
