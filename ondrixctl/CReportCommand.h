#pragma once

#include "CDataFilesCommand.h"

#include <QCoreApplication>

// `report FILE... --pdf OUT`: the client's sweep report of data files as a
// PDF, drawn on the offscreen platform.
class CReportCommand : public CDataFilesCommand
{
    Q_DECLARE_TR_FUNCTIONS(CReportCommand)

public:
    CReportCommand();

    QString Name() const override { return QStringLiteral("report"); }
    QString Synopsis() const override { return QStringLiteral("FILE... --pdf OUT"); }
    QString Summary() const override;
    QString Description() const override;
    int Run(CCtlSession& session) override;
    bool NeedsGui() const override { return true; }
};
