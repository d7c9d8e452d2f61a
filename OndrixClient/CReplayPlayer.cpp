#include "CReplayPlayer.h"

#include "CReplaySource.h"
#include "CReplayView.h"

#include <algorithm>
#include <climits>

CReplayPlayer::CReplayPlayer(const CReplaySource& source, CReplayView& view, QObject* parent)
    : QObject(parent)
    , m_source(source)
    , m_view(view)
    , m_timer(this)
{
    m_timer.setObjectName(QStringLiteral("m_replayTimer"));
    m_timer.setInterval(TICK_MS);
    connect(&m_timer, &QTimer::timeout, this, &CReplayPlayer::OnTimer);
    Schedule();
}

void CReplayPlayer::Schedule()
{
    const QList<CRecord>& records = m_source.Records();
    const QList<SPECTRUM_SWEEP>& sweeps = m_source.Sweeps();
    m_entries.reserve(records.size() + sweeps.size());
    qint64 at = 0;
    quint64 last = 0;
    int next = 0;
    for (int i = 0; i < records.size(); ++i) {
        const quint64 time = records.at(i).time ? records.at(i).time : last;
        // A sweep carries the time of the last record of its tick and goes
        // right after it; where the clock stepped back, the sweeps of the
        // stretch before go first.
        while (next < sweeps.size()
            && (sweeps.at(next).time < time || (time < last && sweeps.at(next).time <= last))) {
            Add(at, last, sweeps.at(next).time, next, true);
            ++next;
        }
        Add(at, last, time, i, false);
    }
    for (; next < sweeps.size(); ++next)
        Add(at, last, sweeps.at(next).time, next, true);
}

void CReplayPlayer::Add(qint64& at, quint64& last, quint64 time, int index, bool sweep)
{
    if (time == 0)
        time = last;
    if (last != 0 && time > last)
        at += qint64(std::min<quint64>(time - last, quint64(INT_MAX) - quint64(at)));
    last = time;
    m_entries.append(ENTRY { at, time, index, sweep });
}

void CReplayPlayer::Play()
{
    // Not started yet, or over: from the start.
    if (IsAtEnd() || m_nNext == 0)
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
    return m_nNext >= m_entries.size();
}

void CReplayPlayer::SetSpeed(Speed speed)
{
    m_eSpeed = speed;
}

qint64 CReplayPlayer::Length() const
{
    return m_entries.isEmpty() ? 0 : m_entries.last().at;
}

qint64 CReplayPlayer::Position() const
{
    return std::min(m_nClockMs / 1000, Length());
}

quint64 CReplayPlayer::TimeAt(qint64 seconds) const
{
    const auto after = std::upper_bound(m_entries.begin(), m_entries.end(), seconds,
        [](qint64 value, const ENTRY& entry) { return value < entry.at; });
    if (after == m_entries.begin())
        return m_entries.isEmpty() ? 0 : m_entries.first().time;
    const ENTRY& entry = *(after - 1);
    return entry.time + quint64(seconds - entry.at);
}

void CReplayPlayer::Seek(qint64 seconds)
{
    seconds = std::clamp<qint64>(seconds, 0, Length());
    m_view.Reset();
    const auto after = std::upper_bound(m_entries.begin(), m_entries.end(), seconds,
        [](qint64 value, const ENTRY& entry) { return value < entry.at; });
    const int count = int(after - m_entries.begin());
    // Only the last sweeps before the place: the waterfall holds no more.
    int firstSweep = count;
    for (int sweeps = 0; firstSweep > 0 && sweeps < SEEK_SWEEPS; --firstSweep)
        sweeps += m_entries.at(firstSweep - 1).sweep ? 1 : 0;
    for (int i = 0; i < count; ++i) {
        if (!m_entries.at(i).sweep || i >= firstSweep)
            Feed(m_entries.at(i));
    }
    m_nNext = count;
    m_nClockMs = seconds * 1000;
    m_view.Repaint();
    Q_EMIT positionChanged(seconds);
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
    const int before = m_nNext;
    FeedDue();
    if (m_nNext > before)
        m_view.Repaint();
    if (IsAtEnd())
        Finish();
    else
        Q_EMIT positionChanged(Position());
}

void CReplayPlayer::FeedDue()
{
    const int end = int(std::min<qsizetype>(m_entries.size(), qsizetype(m_nNext) + CHUNK));
    const qint64 due = m_nClockMs / 1000;
    while (m_nNext < end && (m_eSpeed == SpeedMax || m_entries.at(m_nNext).at <= due))
        Feed(m_entries.at(m_nNext++));
    // At the highest speed, or held back by the chunk, the clock shows what
    // is drawn.
    const bool heldBack = m_nNext == end && !IsAtEnd();
    if (m_nNext > 0 && (m_eSpeed == SpeedMax || heldBack))
        m_nClockMs = m_entries.at(m_nNext - 1).at * 1000;
}

void CReplayPlayer::Feed(const ENTRY& entry)
{
    if (entry.sweep)
        m_view.ShowSweep(m_source.Sweeps().at(entry.index));
    else
        m_view.Show(m_source.Records().at(entry.index));
}

void CReplayPlayer::Finish()
{
    m_timer.stop();
    m_nClockMs = Length() * 1000;
    Q_EMIT positionChanged(Length());
    Q_EMIT playingChanged(false);
    Q_EMIT finished();
}
