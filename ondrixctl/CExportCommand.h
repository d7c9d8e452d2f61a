#pragma once

#include "CDataFilesCommand.h"

#include <QCoreApplication>

// `export FILE... --csv OUT`: data files as one CSV table, as the client's
// export menus write it.
class CExportCommand : public CDataFilesCommand
{
    Q_DECLARE_TR_FUNCTIONS(CExportCommand)

public:
    CExportCommand();

    QString Name() const override { return QStringLiteral("export"); }
    QString Synopsis() const override { return QStringLiteral("FILE... --csv OUT"); }
    QString Summary() const override;
    QString Description() const override;
    int Run(CCtlSession& session) override;
};
