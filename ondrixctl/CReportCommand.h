#pragma once

#include "CDataFilesCommand.h"

#include <QCoreApplication>

// `report FILE... --pdf OUT [--baseline NAME]`: the client's sweep report
// of data files as a PDF, drawn on the offscreen platform, compared with
// the site's newest baseline when one is named (CBaselineCommand's
// --storage and --margin).
class CReportCommand : public CDataFilesCommand
{
    Q_DECLARE_TR_FUNCTIONS(CReportCommand)

public:
    CReportCommand();

    QString Name() const override { return QStringLiteral("report"); }
    QString Synopsis() const override { return QStringLiteral("FILE... --pdf OUT [--baseline NAME]"); }
    QString Summary() const override;
    QString Description() const override;
    void AddOptions(QCommandLineParser& parser) const override;
    bool Take(const QCommandLineParser& parser, QString& error) override;
    int Run(CCtlSession& session) override;
    bool NeedsGui() const override { return true; }

private:
    QString m_strBaselineSite; // empty: no comparison
    QString m_strStorage;
    double m_dMargin = 0.0;
};
