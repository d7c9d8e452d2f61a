#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class QFile;

// A live recording or a realtime data file read for a replay: its records,
// the scan band's sweeps where it has them, and the mode its records were
// taken in. The file is untrusted; whatever cannot be replayed is refused
// with a text for the user, and a recording cut by a crash replays the part
// that was whole.
class CReplaySource
{
    Q_DECLARE_TR_FUNCTIONS(CReplaySource)

public:
    // Weeks of recording fit well below this; a larger file is not read at
    // all rather than taken into memory whole.
    static constexpr qint64 MAX_FILE_BYTES = qint64(1) << 30;

    // For a device of this type; false, with the reason in error, when the
    // file cannot be replayed. Nothing of an earlier file is kept either way.
    bool Load(const QString& path, const QString& deviceType, QString& error);

    const QList<CRecord>& Records() const { return m_records; }
    const QList<SPECTRUM_SWEEP>& Sweeps() const { return m_sweeps; }
    // IDevice::MODE_MAN or IDevice::MODE_AUTO.
    int Mode() const { return m_nMode; }
    QString Name() const { return m_strName; }
    // What the user should know about a file that replays only in part;
    // empty when it replays whole.
    QString Note() const { return m_strNote; }

    // The mode a data file of this kind was saved in (0 manual, 1 automatic,
    // 2 a log, which holds every band).
    static int ModeOfKind(int kind);

private:
    bool LoadRecording(QFile& file, const QString& deviceType, QString& error);
    bool LoadDataFile(const QString& path, const QString& deviceType, QString& error);
    QString WrongDevice(const QString& type) const;

    QList<CRecord> m_records;
    QList<SPECTRUM_SWEEP> m_sweeps;
    int m_nMode = 0;
    QString m_strName;
    QString m_strNote;
};
