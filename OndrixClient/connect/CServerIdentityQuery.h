#pragma once

#include <QCoreApplication>
#include <QString>

// What the server program says of the identity it shares under: the
// fingerprint of its certificate and its two access keys, read before it is
// started, so that the user can hand them to whoever may connect. The
// program makes them on its first run.
class CServerIdentityQuery
{
    Q_DECLARE_TR_FUNCTIONS(CServerIdentityQuery)

public:
    static constexpr int RUN_MS = 10000;

    QString fingerprint;
    QString viewKey;
    QString controlKey;

    // False with the reason when the program did not answer as it should.
    bool Read(const QString& program, QString& error);

private:
    static bool Run(const QString& program, const QString& option, QByteArray& output, QString& error);
};
