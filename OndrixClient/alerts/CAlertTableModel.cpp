#include "alerts/CAlertTableModel.h"

#include "protocol/CBandName.h"

#include <QColor>
#include <QDateTime>
#include <QPainter>

namespace {

const int MARK_SIZE = 10;

// Red under the palette's own text: pale in a light palette, dark in a
// dark one, and the text reads on either.
const QColor RUNNING_BACKGROUND(220, 30, 30, 80);
const QColor RUNNING_MARK(210, 30, 30);

QPixmap Disc(const QColor& colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    return pixmap;
}

} // namespace

CAlertTableModel::CAlertTableModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_runningMark(Disc(RUNNING_MARK, MARK_SIZE))
{
    m_boldFont.setBold(true);
}

bool CAlertTableModel::SetAlerts(const QList<ALERT>& alerts)
{
    if (SameRows(alerts)) {
        m_alerts = alerts;
        if (!m_alerts.isEmpty())
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, COLUMNS - 1));
        return true;
    }
    beginResetModel();
    m_alerts = alerts;
    m_rows.clear();
    endResetModel();
    return false;
}

int CAlertTableModel::FindRow(const ALERT& alert) const
{
    if (m_rows.isEmpty() && !m_alerts.isEmpty()) {
        m_rows.reserve(m_alerts.size());
        for (int i = 0; i < m_alerts.size(); ++i)
            m_rows.insert(Key(m_alerts.at(i)), Row(i));
    }
    return m_rows.value(Key(alert), -1);
}

void CAlertTableModel::Retranslate()
{
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, COLUMNS - 1);
    if (!m_alerts.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, COLUMNS - 1));
}

bool CAlertTableModel::SameAlert(const ALERT& a, const ALERT& b)
{
    return a.startedMs == b.startedMs && a.band == b.band && a.detector == b.detector;
}

QString CAlertTableModel::TimeText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString CAlertTableModel::BandText(const ALERT& alert)
{
    const QString name = CBandName::Plain(alert.bandName);
    return name.isEmpty() ? QString::number(alert.band) : QStringLiteral("%1 %2").arg(alert.band).arg(name);
}

QString CAlertTableModel::DurationText(const ALERT& alert)
{
    if (alert.endedMs == 0)
        return tr("running");
    const qint64 seconds = alert.DurationMs() / 1000;
    if (seconds < 60)
        return tr("%1 s").arg(seconds);
    if (seconds < 3600)
        return seconds % 60 == 0 ? tr("%1 min").arg(seconds / 60)
                                 : tr("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    const qint64 minutes = seconds / 60 % 60;
    return minutes == 0 ? tr("%1 h").arg(seconds / 3600) : tr("%1 h %2 min").arg(seconds / 3600).arg(minutes);
}

QString CAlertTableModel::AcknowledgedText(const ALERT& alert)
{
    return alert.acknowledgedMs == 0 ? QString()
                                     : tr("by %1 at %2").arg(alert.acknowledgedBy, TimeText(alert.acknowledgedMs));
}

int CAlertTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_alerts.size());
}

int CAlertTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : COLUMNS;
}

QVariant CAlertTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const ALERT& alert = m_alerts.at(AlertIndex(index.row()));
    const bool running = alert.endedMs == 0;
    const bool heard = alert.acknowledgedMs != 0;
    switch (role) {
    case Qt::DisplayRole: return Text(alert, index.column());
    case Qt::FontRole: return heard ? QVariant() : QVariant(m_boldFont);
    case Qt::BackgroundRole: return running && !heard ? QVariant(RUNNING_BACKGROUND) : QVariant();
    case Qt::DecorationRole: return running && index.column() == StartedColumn ? QVariant(m_runningMark) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == PeakColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return QVariant();
    }
}

QVariant CAlertTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case StartedColumn: return tr("Started");
    case DetectorColumn: return tr("Detector");
    case BandColumn: return tr("Band");
    case PeakColumn: return tr("Peak");
    case DurationColumn: return tr("Duration");
    case AcknowledgedColumn: return tr("Acknowledged");
    default: return QVariant();
    }
}

bool CAlertTableModel::SameRows(const QList<ALERT>& alerts) const
{
    if (alerts.size() != m_alerts.size())
        return false;
    for (qsizetype i = 0; i < alerts.size(); ++i) {
        if (!SameAlert(alerts.at(i), m_alerts.at(i)))
            return false;
    }
    return true;
}

QString CAlertTableModel::Text(const ALERT& alert, int column) const
{
    switch (column) {
    case StartedColumn: return TimeText(alert.startedMs);
    case DetectorColumn: return alert.detector;
    case BandColumn: return BandText(alert);
    case PeakColumn: return tr("%1 dBm").arg(alert.peakDbm);
    case DurationColumn: return DurationText(alert);
    case AcknowledgedColumn: return AcknowledgedText(alert);
    default: return QString();
    }
}

QString CAlertTableModel::Key(const ALERT& alert)
{
    return QStringLiteral("%1\n%2\n%3").arg(alert.startedMs).arg(alert.band).arg(alert.detector);
}
