#pragma once

#include "CCtlCommand.h"

#include <QCoreApplication>
#include <QJsonObject>

class CCtlSession;

// `status [--json]`: what the detector reports now, as lines for a person
// or as one JSON object for a program.
class CStatusCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CStatusCommand)

public:
    QString Name() const override { return QStringLiteral("status"); }
    QString Synopsis() const override { return QStringLiteral("[--json]"); }
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;

private:
    // The keys are the JSON form's; the lines show the same.
    static QJsonObject Collect(CCtlSession& session, bool online);
    static QString Lines(const QJsonObject& status);

    bool m_bJson = false;
};
