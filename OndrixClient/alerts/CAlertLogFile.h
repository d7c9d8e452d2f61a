#pragma once

#include "alerts/CAlertList.h"
#include "alerts/CAlertLogCodec.h"

#include <QCoreApplication>
#include <QString>

// The alert log on disk, beside the recordings: <storage>/Recordings/
// alerts.orzalert. Each entry reaches the disk itself before Append
// returns; nothing is ever rewritten, so a person's acknowledgement and
// the alerts before it survive a crash or a power cut.
class CAlertLogFile
{
    Q_DECLARE_TR_FUNCTIONS(CAlertLogFile)

public:
    // Read from the end: older entries are the file's, not the window's.
    static constexpr qint64 MAX_READ_BYTES = qint64(32) << 20;

    static QString PathIn(const QString& storage);
    // The header first when the file is new; a file that is no alert log
    // is never appended to.
    static bool Append(const QString& path, const CAlertLogCodec::ENTRY& entry, QString& error);
    // No file is no error. False, with error for the user, when it is not
    // whole: list holds what could be read.
    static bool Load(const QString& path, CAlertList& list, QString& error);
};
