#include "diagram/CTimeLabels.h"

#include "diagram/CDiagramValues.h"
#include "diagram/CTimeMapping.h"

#include <QDateTime>
#include <QRect>

const QString& CTimeLabels::Text(quint64 t)
{
    auto found = m_texts.constFind(t);
    if (found != m_texts.constEnd())
        return found.value();
    if (m_texts.size() >= MAX_TEXTS)
        m_texts.clear();
    return m_texts.insert(t, CDiagramValues::LocalDateTime(t).toString(QStringLiteral("hh:mm:ss"))).value();
}

void CTimeLabels::Draw(QPainter& painter, const QRect& strip, quint64 min, quint64 max)
{
    if (max <= min || strip.width() <= 0 || strip.height() <= 0)
        return;
    const int utcOffset = CDiagramValues::LocalDateTime(min).offsetFromUtc();
    if (utcOffset != m_nUtcOffset) {
        m_texts.clear();
        m_nUtcOffset = utcOffset;
    }
    const quint64 span = max - min;
    const double pxPerSec = strip.width() / double(span);
    const quint64 step = CTimeMapping::TimeStep(span, strip.width());
    const int labelWidth = CTimeMapping::ClampedInt(double(step) * pxPerSec);
    // Labels sit where the data of their time is drawn.
    for (quint64 offset = step; offset < span; offset += step) {
        const int x = strip.left() + CTimeMapping::ClampedInt(pxPerSec * double(offset));
        m_labels.DrawCentred(painter, QRect(x - labelWidth / 2, strip.top(), labelWidth, strip.height()),
            Text(min + offset));
        if (span - offset <= step)
            break;
    }
}
