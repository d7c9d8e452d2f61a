#pragma once

#include "CCtlCommand.h"
#include "CCtlLiveRecords.h"

#include <QCoreApplication>
#include <QStringList>

class QCommandLineParser;

// `baseline capture --minutes N --site NAME`: the detector's band levels
// over the next N minutes summed up (CBaselineStats) and kept as a new
// baseline of the site in the storage folder. `baseline compare --site
// NAME [--margin DB] FILE...`: data files and recordings compared with the
// site's newest baseline; each band that stood over it is a line of the
// output, and the exit code says whether there was one (1) or none (0).
// The storage folder is the client's (CStorageLocation) unless --storage
// names another; the report command takes the same options.
class CBaselineCommand : public CCtlCommand
{
    Q_DECLARE_TR_FUNCTIONS(CBaselineCommand)

public:
    QString Name() const override { return QStringLiteral("baseline"); }
    QString Synopsis() const override;
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;

    // --storage DIR and --margin DB, shared with the report.
    static void AddSharedOptions(QCommandLineParser& parser);
    static bool TakeShared(const QCommandLineParser& parser, QString& storage, double& margin, QString& error);

private:
    bool TakeCapture(const QCommandLineParser& parser, QString& error);
    int Capture(CCtlSession& session);
    int Compare(CCtlSession& session);

    bool m_bCapture = false;
    QString m_strSite;
    QString m_strStorage;
    double m_dMargin = 0.0;
    double m_dMinutes = 0.0;
    QStringList m_files;
    CCtlLiveRecords m_live;
};
