#include "replay/CReplayPlayer.h"
#include "diagram/DiagramDefaults.h"

#include "replay/CReplaySchedule.h"
#include "replay/CReplaySource.h"
#include "replay/CReplayView.h"

#include <algorithm>

CReplayPlayer::CReplayPlayer(const CReplaySource& source, CReplayView& view, QObject* parent)
    : QObject(parent)
    , m_source(source)
    , m_view(view)
    , m_timer(this)
{
    m_timer.setObjectName(QStringLiteral("m_replayTimer"));
    m_timer.setInterval(TICK_MS);
    connect(&m_timer, &QTimer::timeout, this, &CReplayPlayer::OnTimer);
}

bool CReplayPlayer::Load(int piece)
{
    const qint64 handedOver = m_nPieceStart + m_nNext;
    m_entries.clear();
    m_nNext = 0;
    if (piece < 0 || piece >= m_source.Pieces().size() || !m_source.Read(piece, m_piece)) {
        // Past the end, or a file changed since it was loaded: the replay
        // ends here.
        m_nPiece = int(m_source.Pieces().size());
        m_nPieceStart = handedOver;
        m_piece = CRecordingCodec::CONTENTS();
        return false;
    }
    const CReplaySource::PIECE& info = m_source.Pieces().at(piece);
    m_nPiece = piece;
    m_nPieceStart = info.firstEntry;
    QList<quint64> recordTimes;
    QList<quint64> sweepTimes;
    recordTimes.reserve(m_piece.records.size());
    sweepTimes.reserve(m_piece.sweeps.size());
    for (const CRecord& record : std::as_const(m_piece.records))
        recordTimes.append(record.time);
    for (const SPECTRUM_SWEEP& sweep : std::as_const(m_piece.sweeps))
        sweepTimes.append(sweep.time);
    m_entries.reserve(recordTimes.size() + sweepTimes.size());
    CReplaySchedule::STATE state = info.before;
    CReplaySchedule::Merge(state, recordTimes, sweepTimes, m_piece.sweepPlaces,
        [this](qint64 at, quint64 time, int index, bool sweep) {
            m_entries.append(ENTRY { at, time, index, sweep });
        });
    return true;
}

void CReplayPlayer::Play()
{
    // Not started yet, or over: from the start.
    if (IsAtEnd() || FedEntries() == 0)
        Seek(0);
    if (IsPlaying())
        return;
    m_elapsed.start();
    m_timer.start();
    Q_EMIT playingChanged(true);
}

void CReplayPlayer::Pause()
{
    if (!IsPlaying())
        return;
    m_timer.stop();
    Q_EMIT playingChanged(false);
}

bool CReplayPlayer::IsPlaying() const
{
    return m_timer.isActive();
}

bool CReplayPlayer::IsAtEnd() const
{
    return m_nPiece + 1 >= m_source.Pieces().size() && m_nNext >= m_entries.size();
}

void CReplayPlayer::SetSpeed(Speed speed)
{
    m_eSpeed = speed;
}

qint64 CReplayPlayer::Length() const
{
    return m_source.Length();
}

qint64 CReplayPlayer::Position() const
{
    return std::min(m_nClockMs / 1000, Length());
}

qint64 CReplayPlayer::FedEntries() const
{
    return m_nPiece < 0 ? 0 : m_nPieceStart + m_nNext;
}

int CReplayPlayer::PieceAt(qint64 seconds) const
{
    const QList<CReplaySource::PIECE>& pieces = m_source.Pieces();
    const auto after = std::upper_bound(pieces.begin(), pieces.end(), seconds,
        [](qint64 value, const CReplaySource::PIECE& piece) { return value < piece.firstAt; });
    return std::max(0, int(after - pieces.begin()) - 1);
}

int CReplayPlayer::DueIn(qint64 seconds) const
{
    const auto after = std::upper_bound(m_entries.begin(), m_entries.end(), seconds,
        [](qint64 value, const ENTRY& entry) { return value < entry.at; });
    return int(after - m_entries.begin());
}

quint64 CReplayPlayer::TimeAt(qint64 seconds) const
{
    if (m_source.Pieces().isEmpty())
        return 0;
    const int piece = PieceAt(seconds);
    const CReplaySource::PIECE& info = m_source.Pieces().at(piece);
    if (seconds <= info.firstAt)
        return info.firstTime;
    // Exact in the piece at hand; elsewhere as if the detector's clock ran
    // on without a step back.
    const int due = piece == m_nPiece ? DueIn(seconds) : 0;
    if (due == 0)
        return info.firstTime + quint64(seconds - info.firstAt);
    const ENTRY& entry = m_entries.at(due - 1);
    return entry.time + quint64(seconds - entry.at);
}

void CReplayPlayer::Seek(qint64 seconds)
{
    seconds = std::clamp<qint64>(seconds, 0, Length());
    m_view.Reset();
    Q_EMIT viewReset();
    const qint64 shown = qint64(std::max(m_view.ShownSeconds(), DiagramDefaults::TIME_WINDOW_SECONDS));
    CatchUp(PieceAt(std::max<qint64>(0, seconds - shown)), seconds);
    m_nClockMs = seconds * 1000;
    m_view.Repaint();
    Q_EMIT positionChanged(seconds);
}

void CReplayPlayer::CatchUp(int first, qint64 seconds)
{
    // Only the last sweeps before the place: the waterfall holds no more.
    QList<SPECTRUM_SWEEP> sweeps;
    const int last = PieceAt(seconds);
    m_nLastAt = -1;
    for (int piece = first; piece <= last && Load(piece); ++piece) {
        m_nNext = DueIn(seconds);
        for (int i = 0; i < m_nNext; ++i) {
            const ENTRY& entry = m_entries.at(i);
            if (entry.sweep)
                sweeps.append(m_piece.sweeps.at(entry.index));
            else
                Feed(entry);
            if (sweeps.size() >= 2 * SEEK_SWEEPS)
                sweeps.remove(0, SEEK_SWEEPS);
        }
    }
    for (const SPECTRUM_SWEEP& sweep : sweeps.sliced(std::max<qsizetype>(0, sweeps.size() - SEEK_SWEEPS)))
        m_view.ShowSweep(sweep);
}

void CReplayPlayer::OnTimer()
{
    Advance(m_elapsed.restart());
}

void CReplayPlayer::Advance(qint64 elapsedMs)
{
    if (!IsPlaying())
        return;
    if (m_eSpeed != SpeedMax)
        m_nClockMs += std::max<qint64>(0, elapsedMs) * m_eSpeed;
    const qint64 before = FedEntries();
    FeedDue();
    if (FedEntries() != before)
        m_view.Repaint();
    if (IsAtEnd())
        Finish();
    else
        Q_EMIT positionChanged(Position());
}

void CReplayPlayer::FeedDue()
{
    const qint64 due = m_nClockMs / 1000;
    int fed = 0;
    while (fed < CHUNK) {
        if (m_nNext >= m_entries.size()) {
            if (!Load(m_nPiece + 1))
                break;
            continue;
        }
        const ENTRY& entry = m_entries.at(m_nNext);
        if (m_eSpeed != SpeedMax && entry.at > due)
            break;
        Feed(entry);
        ++m_nNext;
        ++fed;
    }
    // At the highest speed, or held back by the chunk, the clock shows what
    // is drawn.
    const bool heldBack = fed == CHUNK && !IsAtEnd();
    if (m_nLastAt >= 0 && (m_eSpeed == SpeedMax || heldBack))
        m_nClockMs = m_nLastAt * 1000;
}

void CReplayPlayer::Feed(const ENTRY& entry)
{
    m_nLastAt = entry.at;
    if (entry.sweep)
        m_view.ShowSweep(m_piece.sweeps.at(entry.index));
    else
        Q_EMIT recordShown(m_view.Show(m_piece.records.at(entry.index)));
}

void CReplayPlayer::Finish()
{
    m_timer.stop();
    m_nClockMs = Length() * 1000;
    Q_EMIT positionChanged(Length());
    Q_EMIT playingChanged(false);
    Q_EMIT finished();
}
