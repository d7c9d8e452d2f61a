#include "protocol/CCertificateFingerprint.h"

#include <QCryptographicHash>

QString CCertificateFingerprint::Of(const QSslCertificate& certificate)
{
    if (certificate.isNull())
        return QString();
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex());
}

QString CCertificateFingerprint::Readable(const QString& fingerprint)
{
    QString text;
    for (qsizetype i = 0; i < fingerprint.size(); i += 4)
        text += (i ? QStringLiteral(" ") : QString()) + fingerprint.mid(i, 4);
    return text;
}
