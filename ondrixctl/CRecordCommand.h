#pragma once

#include "CCtlCommand.h"
#include "CCtlLiveRecords.h"
#include "CRecord.h"

#include <QCoreApplication>
#include <QList>

// `record --seconds N FILE.rdf`: the live records of the next N seconds as
// one realtime data file, as the client saves its live data. The file is
// written once the time is up: Ctrl-C before that leaves FILE as it was.
class CRecordCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CRecordCommand)

public:
    QString Name() const override { return QStringLiteral("record"); }
    QString Synopsis() const override { return QStringLiteral("--seconds N FILE.rdf"); }
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;

private:
    QString m_strFile;
    int m_nSeconds = 0;
    CCtlLiveRecords m_live;
    QList<CRecord> m_records;
};
