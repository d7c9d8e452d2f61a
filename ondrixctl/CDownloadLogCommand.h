#pragma once

#include "CCtlCommand.h"

#include <QCoreApplication>

class CMetaDevice;

// `download-log DIR`: the detector's event log into DIR, one log data file
// (.ldf) per bank, named and written as the client writes them. The files
// are written once the whole log has arrived: an interrupted or failed
// download leaves DIR as it was.
class CDownloadLogCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CDownloadLogCommand)

public:
    static constexpr int DEFAULT_RETRIES = 2;

    QString Name() const override { return QStringLiteral("download-log"); }
    QString Synopsis() const override { return QStringLiteral("[--retries N] DIR"); }
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;

private:
    enum Outcome { Arrived, Failed, NotStarted, Refused, Stopped };

    int Download(CCtlSession& session);
    Outcome ReadOnce(CCtlSession& session);
    int Save(CCtlSession& session);

    QString m_strFolder;
    int m_nRetries = DEFAULT_RETRIES;
};
