#include "overview/COverviewModel.h"

#include "IDevice.h"
#include "alerts/CAlertCenter.h"
#include "alerts/CLookJudge.h"
#include "overview/COverviewDetectors.h"
#include "protocol/CBandName.h"

#include <QBrush>
#include <QColor>
#include <QDateTime>
#include <QLocale>

COverviewModel::COverviewModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void COverviewModel::SetDetectors(const QList<OVERVIEW_DETECTOR>& detectors, qint64 steadyMs)
{
    beginResetModel();
    m_rows.clear();
    for (const OVERVIEW_DETECTOR& detector : detectors) {
        OVERVIEW_ROW row;
        row.detector = detector;
        row.label = COverviewDetectors::Label(detector);
        row.lookedMs = steadyMs;
        m_rows.append(row);
    }
    endResetModel();
}

void COverviewModel::Take(int row, const RZ450_LOOK& look, int level, qint64 nowMs, qint64 steadyMs)
{
    if (row < 0 || row >= m_rows.size())
        return;
    OVERVIEW_ROW& kept = m_rows[row];
    kept.look = look;
    kept.state = look.online ? OVERVIEW_ROW::Online : OVERVIEW_ROW::Offline;
    kept.level = level;
    kept.lookedMs = steadyMs;
    NoteAlarm(kept, nowMs);
    ChangedRow(row);
}

void COverviewModel::NoteAlarm(OVERVIEW_ROW& row, qint64 nowMs)
{
    const int band = CLookJudge::FirstAlarm(row.look);
    if (band < 0)
        return;
    row.lastAlarmMs = nowMs;
    const QString name = CBandName::Plain(row.look.bandNames.value(band));
    row.lastAlarmBand = name.isEmpty() ? QString::number(band) : name;
}

void COverviewModel::SetLevel(int row, int level)
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).level == level)
        return;
    m_rows[row].level = level;
    ChangedRow(row);
}

QList<int> COverviewModel::MarkSilent(qint64 steadyMs)
{
    QList<int> silenced;
    for (int row = 0; row < m_rows.size(); ++row) {
        OVERVIEW_ROW& kept = m_rows[row];
        if (kept.state == OVERVIEW_ROW::Silent || steadyMs - kept.lookedMs < SILENT_MS)
            continue;
        kept.state = OVERVIEW_ROW::Silent;
        silenced.append(row);
        ChangedRow(row);
    }
    return silenced;
}

void COverviewModel::ChangedRow(int row)
{
    Q_EMIT dataChanged(index(row, 0), index(row, COLUMNS - 1));
}

int COverviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int COverviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : COLUMNS;
}

QVariant COverviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const OVERVIEW_ROW& row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole: return Text(row, index.column());
    case Qt::BackgroundRole: return Background(row, index.column());
    case Qt::ToolTipRole:
        if (index.column() == DetectorColumn)
            return row.detector.IsLocal() ? COverviewDetectors::Label(row.detector) : row.detector.address;
        if (index.column() == ConnectionColumn)
            return row.look.error;
        return {};
    default: return {};
    }
}

QString COverviewModel::Text(const OVERVIEW_ROW& row, int column) const
{
    const bool online = row.state == OVERVIEW_ROW::Online;
    const QLocale locale;
    switch (column) {
    case DetectorColumn: return row.label;
    case ConnectionColumn: return StateText(row);
    case ModeColumn: return online ? ModeText(row.look.mode) : QString();
    case AlarmColumn: return row.state == OVERVIEW_ROW::Connecting ? QString() : LevelText(row.level);
    case LastAlarmColumn:
        if (row.lastAlarmMs == 0)
            return QString();
        return tr("%1, %2").arg(locale.toString(QDateTime::fromMSecsSinceEpoch(row.lastAlarmMs), QLocale::ShortFormat),
            row.lastAlarmBand);
    case BatteryColumn: return online ? (row.look.batteryOk ? tr("OK") : tr("Low")) : QString();
    case ClockColumn:
        return online && row.look.clock.isValid() ? row.look.clock.toString(QStringLiteral("HH:mm:ss")) : QString();
    default: return QString();
    }
}

QVariant COverviewModel::Background(const OVERVIEW_ROW& row, int column) const
{
    if (column == AlarmColumn && row.state != OVERVIEW_ROW::Connecting) {
        switch (row.level) {
        case CAlertCenter::Alerting: return QBrush(QColor(220, 40, 40));
        case CAlertCenter::Alarm: return QBrush(QColor(240, 170, 30));
        default: return {};
        }
    }
    if (column == ConnectionColumn && row.state != OVERVIEW_ROW::Online && row.state != OVERVIEW_ROW::Connecting)
        return QBrush(QColor(160, 160, 160));
    if (column == BatteryColumn && row.state == OVERVIEW_ROW::Online && !row.look.batteryOk)
        return QBrush(QColor(240, 170, 30));
    return {};
}

QVariant COverviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case DetectorColumn: return tr("Detector");
    case ConnectionColumn: return tr("Connection");
    case ModeColumn: return tr("Mode");
    case BandsColumn: return tr("Bands");
    case AlarmColumn: return tr("Alarm");
    case LastAlarmColumn: return tr("Last Alarm");
    case BatteryColumn: return tr("Battery");
    case ClockColumn: return tr("Clock");
    default: return {};
    }
}

QString COverviewModel::StateText(const OVERVIEW_ROW& row)
{
    switch (row.state) {
    case OVERVIEW_ROW::Connecting: return tr("Connecting...");
    case OVERVIEW_ROW::Online: return tr("Online");
    case OVERVIEW_ROW::Silent: return tr("Not answering");
    case OVERVIEW_ROW::Offline: break;
    }
    return row.look.error.isEmpty() ? tr("Offline") : tr("Offline: %1").arg(row.look.error);
}

QString COverviewModel::ModeText(int mode)
{
    switch (mode) {
    case IDevice::MODE_MAN: return tr("Manual");
    case IDevice::MODE_SRCH: return tr("Search");
    case IDevice::MODE_AUTO: return tr("Automatic");
    default: return QString::number(mode);
    }
}

QString COverviewModel::LevelText(int level)
{
    switch (level) {
    case CAlertCenter::Alerting: return tr("ALERT");
    case CAlertCenter::Alarm: return tr("Alarm");
    case CAlertCenter::Offline: return tr("Unknown");
    default: return tr("Quiet");
    }
}
