#pragma once

#include "overview/OVERVIEW_ROW.h"

#include <QAbstractTableModel>
#include <QList>

// The overview's rows, one a detector, fed with looks as they come. The
// band levels are a strip the delegate paints from the row's look.
class COverviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        DetectorColumn,
        ConnectionColumn,
        ModeColumn,
        BandsColumn,
        AlarmColumn,
        LastAlarmColumn,
        BatteryColumn,
        ClockColumn,
        COLUMNS
    };
    // No look for this long: the row says the server is silent.
    static constexpr int SILENT_MS = 3000;

    explicit COverviewModel(QObject* parent = nullptr);

    // steadyMs: now on a monotonic clock; a row without a look since then turns silent too.
    void SetDetectors(const QList<OVERVIEW_DETECTOR>& detectors, qint64 steadyMs);
    // nowMs: since 1970 UTC; steadyMs: a monotonic clock.
    void Take(int row, const RZ450_LOOK& look, int level, qint64 nowMs, qint64 steadyMs);
    void SetLevel(int row, int level);
    // Rows without a look for SILENT_MS turn silent; the rows that just did.
    QList<int> MarkSilent(qint64 steadyMs);
    const OVERVIEW_ROW& Row(int row) const { return m_rows.at(row); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString StateText(const OVERVIEW_ROW& row);
    static QString ModeText(int mode);
    static QString LevelText(int level);

private:
    QString Text(const OVERVIEW_ROW& row, int column) const;
    QVariant Background(const OVERVIEW_ROW& row, int column) const;
    static void NoteAlarm(OVERVIEW_ROW& row, qint64 nowMs);
    void ChangedRow(int row);

    QList<OVERVIEW_ROW> m_rows;
};
