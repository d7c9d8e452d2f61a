#pragma once

#include "files/CRecordingCodec.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class CReplaySource;
class CReplayView;

// The clock of a replay: hands the file's records and sweeps to the view
// when their time comes (see CReplaySchedule), at the detector's own pace,
// ten times as fast, or as fast as the window can draw them. It holds one
// piece of the file at a time, so a replay of any length takes the same
// memory.
class CReplayPlayer : public QObject
{
    Q_OBJECT

public:
    enum Speed { SpeedMax = 0, SpeedReal = 1, SpeedFast = 10 };

    static constexpr int TICK_MS = 40;
    // Entries handed over per tick at most: at the highest speed the window
    // still answers between two ticks, and a clock that jumped (a suspended
    // PC) catches up the same way.
    static constexpr int CHUNK = 2000;
    // The waterfall after a seek: the sweeps just before the place are
    // enough to fill it.
    static constexpr int SEEK_SWEEPS = 200;

    // Both are only borrowed and must outlive the player.
    CReplayPlayer(const CReplaySource& source, CReplayView& view, QObject* parent = nullptr);

    // Not started yet or over, it starts from the beginning.
    void Play();
    void Pause();
    bool IsPlaying() const;
    bool IsAtEnd() const;
    void SetSpeed(Speed speed);
    Speed GetSpeed() const { return m_eSpeed; }

    // Seconds of the replay's clock.
    qint64 Length() const;
    qint64 Position() const;
    // The records' own time at a place of the replay's clock.
    quint64 TimeAt(qint64 seconds) const;
    // Draws the place at once, with as much before it as the diagram shows
    // (at least its default window); playing goes on from there. A seek
    // does not draw the whole file before the place: far into a long
    // recording that would take minutes.
    void Seek(qint64 seconds);
    // Handed over so far, counted from the start of the file.
    qint64 FedEntries() const;

    // One tick after elapsedMs of wall time; the timer calls it, and a
    // test may as well.
    void Advance(qint64 elapsedMs);

Q_SIGNALS:
    void positionChanged(qint64 seconds);
    void playingChanged(bool playing);
    void finished();
    // A record handed to the view, at the time the view drew it.
    void recordShown(const CRecord& record);
    // The view starts over (a seek): what it showed is gone from it.
    void viewReset();

private:
    struct ENTRY
    {
        qint64 at;    // seconds of the replay's clock
        quint64 time; // the records' clock
        int index;    // into the piece's records, or into its sweeps
        bool sweep;
    };

    bool Load(int piece);
    int PieceAt(qint64 seconds) const;
    int DueIn(qint64 seconds) const;
    void CatchUp(int first, qint64 seconds);
    void OnTimer();
    void FeedDue();
    void Feed(const ENTRY& entry);
    void Finish();

    const CReplaySource& m_source;
    CReplayView& m_view;
    int m_nPiece = -1;
    qint64 m_nPieceStart = 0; // entries of the pieces before it
    CRecordingCodec::CONTENTS m_piece;
    QList<ENTRY> m_entries; // the piece's, in the order they are handed over, at never falling
    int m_nNext = 0;
    qint64 m_nLastAt = -1; // of the last entry handed over
    qint64 m_nClockMs = 0;
    Speed m_eSpeed = SpeedFast;
    QTimer m_timer;
    QElapsedTimer m_elapsed;
};
