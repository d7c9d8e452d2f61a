#include "live/CRealtimeSaver.h"

#include "app/CGuardedCall.h"
#include "app/ClientLog.h"
#include "files/CDataFile.h"
#include "files/CNotesFile.h"
#include "files/CRecordingReader.h"
#include "live/CRealtimeFileName.h"
#include "proxy/CMetaDevice.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <chrono>
#include <thread>

CRealtimeSaver::CRealtimeSaver(CMetaDevice* device)
    : m_pDevice(device)
{
}

CRealtimeSaver::Result CRealtimeSaver::Save(const QString& folder, const QStringList& recordings,
    const Progress& progress)
{
    CMetaDevice* device = m_pDevice;
    if (recordings.isEmpty() && CGuardedCall::Value([device] { return device->GetCurrentRecordIndex() == 0; }, false))
        return NothingToSave;
    int mode = 0;
    int band = 0;
    const bool asked = CGuardedCall::Run([&] {
        mode = device->GetCurrentMode();
        band = device->GetCurrentBand();
        m_strDevice = device->GetDevID();
    });
    if (!asked)
        return Failed;
    const bool automatic = mode == IDevice::MODE_AUTO;
    const QString prefix = CRealtimeFileName::Prefix(mode, band);
    if (recordings.isEmpty())
        return Save(folder, automatic, prefix) ? Saved : Failed;
    if (!SaveRecordings(folder, recordings, automatic, prefix, progress))
        return Failed;
    return m_files.isEmpty() ? NothingToSave : Saved;
}

bool CRealtimeSaver::Save(const QString& folder, bool automatic, const QString& prefix)
{
    if (folder.isEmpty() || !m_pDevice)
        return false;
    return CGuardedCall::Value(
        [&] {
            const QList<CRecord> records = m_pDevice->GetRealtimeRecords();
            m_strDevice = m_pDevice->GetDevID();
            return !records.isEmpty() && SavePiece(folder, automatic, prefix, records);
        },
        false);
}

bool CRealtimeSaver::SaveRecordings(const QString& folder, const QStringList& recordings, bool automatic,
    const QString& prefix, const Progress& progress, int pieceRecords)
{
    m_files.clear();
    m_strName.clear();
    const bool saved = Aside(progress, [&](const Progress& told) {
        return SaveEach(folder, recordings, automatic, prefix, told, std::max(1, pieceRecords));
    });
    if (saved)
        return true;
    for (const QString& name : std::as_const(m_files)) {
        const QString path = QDir(folder).filePath(name + QStringLiteral(".rdf"));
        QFile::remove(path);
        QFile::remove(CNotesFile::PathFor(path));
    }
    m_files.clear();
    return false;
}

// A piece of PIECE_RECORDS records takes seconds to write: the work goes to
// a thread of its own, and the caller's progress is told on the caller's
// thread meanwhile, so that its window answers and can stop the save.
bool CRealtimeSaver::Aside(const Progress& progress, const std::function<bool(const Progress&)>& work)
{
    if (!progress)
        return work(progress);
    std::atomic<qint64> saved { 0 };
    std::atomic<bool> stop { false };
    std::atomic<bool> finished { false };
    bool result = false;
    std::thread worker([&] {
        result = work([&](qint64 count) {
            saved = count;
            return !stop;
        });
        finished = true;
    });
    while (!finished) {
        if (!stop && !progress(saved))
            stop = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(PROGRESS_MS));
    }
    worker.join();
    return result && !stop;
}

bool CRealtimeSaver::SaveEach(const QString& folder, const QStringList& recordings, bool automatic,
    const QString& prefix, const Progress& progress, int pieceRecords)
{
    QList<CRecord> records;
    qint64 saved = 0;
    m_notes.clear();
    const auto savePiece = [&](qsizetype size, bool last) {
        const QList<CRecord> part = records.first(size);
        records.remove(0, size);
        saved += size;
        return SavePiece(folder, automatic, prefix, part, last);
    };
    for (const QString& recording : recordings) {
        CRecordingReader reader;
        // One gone since (deleted by the user) leaves the rest to save.
        if (!reader.Open(recording)) {
            qCWarning(lcStorage) << "not saved, cannot be read:" << recording;
            continue;
        }
        CRecordingCodec::CONTENTS piece;
        while (reader.Next(piece)) {
            if (m_strDevice.isEmpty())
                m_strDevice = reader.Device();
            records += std::exchange(piece.records, {});
            m_notes += piece.notes;
            while (records.size() >= pieceRecords) {
                if (!savePiece(pieceRecords, false))
                    return false;
            }
            if (progress && !progress(saved + records.size()))
                return false;
        }
    }
    if (records.isEmpty())
        return m_notes.isEmpty() || m_files.isEmpty()
            || SaveNotes(QDir(folder).filePath(m_files.last() + QStringLiteral(".rdf")), {}, true);
    return savePiece(records.size(), true);
}

bool CRealtimeSaver::SavePiece(const QString& folder, bool automatic, const QString& prefix,
    const QList<CRecord>& records, bool last)
{
    const QString name = CRealtimeFileName::Free(folder, prefix, records.first().time);
    const QString path = QDir(folder).filePath(name + QStringLiteral(".rdf"));
    if (!CDataFile::Save(path, m_strDevice, automatic ? 1 : 0, records))
        return false;
    if (m_files.isEmpty())
        m_strName = name;
    m_files.append(name);
    return SaveNotes(path, records, last);
}

bool CRealtimeSaver::SaveNotes(const QString& dataFile, const QList<CRecord>& records, bool last)
{
    qsizetype count = m_notes.size();
    if (!last) {
        const quint64 end = records.last().time;
        count = std::find_if(m_notes.cbegin(), m_notes.cend(), [end](const NOTE& note) { return note.Seconds() > end; })
            - m_notes.cbegin();
    }
    QList<NOTE> mine = m_notes.first(count);
    m_notes.remove(0, count);
    QString error;
    if (!CNotesFile::Save(dataFile, mine, error)) {
        qCWarning(lcStorage) << error;
        return false;
    }
    return true;
}

QString CRealtimeSaver::Name() const
{
    return m_strName;
}
