#pragma once

#include "alerts/ALERT.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QString>

// The alerts as rows of a table, newest first. It is given the list oldest
// first, as CAlertList keeps it, and maps rows back to that list's indices,
// which is what acknowledgements are asked by.
class CAlertTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { StartedColumn, DetectorColumn, BandColumn, PeakColumn, DurationColumn, AcknowledgedColumn, COLUMNS };

    explicit CAlertTableModel(QObject* parent = nullptr);

    // True when the rows stayed the same alerts, only their contents
    // changed: views keep their selection and place by themselves. Otherwise
    // the model is reset.
    bool SetAlerts(const QList<ALERT>& alerts);
    // The same alerts in the same rows, whatever they now say.
    bool SameRows(const QList<ALERT>& alerts) const;
    // Oldest first.
    const QList<ALERT>& Alerts() const { return m_alerts; }
    // A row and an index into Alerts() map onto each other alike.
    int AlertIndex(int row) const { return int(m_alerts.size()) - 1 - row; }
    int Row(int alertIndex) const { return AlertIndex(alertIndex); }
    // The row of the alert with that detector, band and start; -1.
    int FindRow(const ALERT& alert) const;
    // Headings and texts in the language now chosen.
    void Retranslate();

    static bool SameAlert(const ALERT& a, const ALERT& b);
    static QString TimeText(qint64 ms);
    static QString BandText(const ALERT& alert);
    static QString DurationText(const ALERT& alert);
    static QString AcknowledgedText(const ALERT& alert);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString Text(const ALERT& alert, int column) const;
    static QString Key(const ALERT& alert);

    QList<ALERT> m_alerts;
    // Built when first asked after a change: most refreshes never need it.
    mutable QHash<QString, int> m_rows;
    QFont m_boldFont;
    QPixmap m_runningMark;
};
