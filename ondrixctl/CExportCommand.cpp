#include "CExportCommand.h"

#include "CCtlSession.h"
#include "CtlExit.h"
#include "RZ450Queries.h"
#include "export/CCsvExport.h"

#include <QDir>

CExportCommand::CExportCommand()
    : CDataFilesCommand(QStringLiteral("csv"), tr("The CSV file to write."))
{
}

QString CExportCommand::Summary() const
{
    return tr("Export data files and recordings (.rdf, .ldf, .orzrec) as one CSV table.");
}

QString CExportCommand::Description() const
{
    return tr("Writes the records of the data files, in the order given, as one CSV table to OUT: one row per "
              "value, with the file, the record's number, its time (local and UTC), band, duration, level and "
              "threshold. Needs no detector. A file that cannot be read is named and left out, and the exit "
              "code is 5; OUT is left as it was when nothing could be exported.");
}

int CExportCommand::Run(CCtlSession& session)
{
    // A target that cannot be written is told apart from inputs that are no
    // good before a single file is read.
    const int code = session.CheckWritable(m_strOut);
    if (code != CtlExit::Ok)
        return code;
    QString error;
    // The target can still fail on the way, the disk full.
    switch (CCsvExport::ExportFiles(m_files, QLatin1String(RZ450Queries::DEVICE_TYPE), m_strOut, error)) {
    case CCsvExport::Written: break;
    case CCsvExport::NotWritten: return session.Fail(CtlExit::CannotWrite, error);
    case CCsvExport::PartlyWritten:
    case CCsvExport::NothingReadable: return session.Fail(CtlExit::BadInput, error);
    }
    session.Console().Note(tr("Exported to %1.").arg(QDir::toNativeSeparators(m_strOut)));
    return CtlExit::Ok;
}
