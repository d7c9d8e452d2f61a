#pragma once

#include "GuiKitExport.h"
#include "reference/NEW_SIGNAL.h"

#include <QList>
#include <QWidget>

class QLabel;
class QTableWidget;

// A small window listing the signals above the reference, one row each,
// rewritten with every sweep (so at most CNewSignals::MAX_SIGNALS rows).
class GUIKIT_EXPORT CNewSignalsWindow : public QWidget
{
    Q_OBJECT

public:
    enum Column { FrequencyColumn, LevelColumn, ExcessColumn, TraceColumn, COLUMN_COUNT };

    explicit CNewSignalsWindow(QWidget* parent = nullptr);

    void SetSignals(const QList<NEW_SIGNAL>& found, double marginDb);
    QTableWidget* Table() const { return m_pTable; }

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    void SetRow(int row, const NEW_SIGNAL& found);
    QString SourceName(NEW_SIGNAL::Source source) const;

    QLabel* m_pMarginLabel;
    QTableWidget* m_pTable;
    QList<NEW_SIGNAL> m_signals;
    double m_dMarginDb = 0.0;
};
