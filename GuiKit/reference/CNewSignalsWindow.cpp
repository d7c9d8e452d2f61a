#include "reference/CNewSignalsWindow.h"

#include "reference/CNewSignals.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

CNewSignalsWindow::CNewSignalsWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , m_pMarginLabel(new QLabel(this))
    , m_pTable(new QTableWidget(0, COLUMN_COUNT, this))
{
    setObjectName(QStringLiteral("NewSignalsWindow"));
    m_pTable->setObjectName(QStringLiteral("NewSignalsTable"));
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->hide();
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pMarginLabel);
    layout->addWidget(m_pTable);
    resize(430, 260);
    Retranslate();
}

void CNewSignalsWindow::SetSignals(const QList<NEW_SIGNAL>& found, double marginDb)
{
    m_signals = found.mid(0, CNewSignals::MAX_SIGNALS);
    m_dMarginDb = marginDb;
    m_pTable->setRowCount(int(m_signals.size()));
    for (int row = 0; row < m_signals.size(); ++row)
        SetRow(row, m_signals.at(row));
    m_pMarginLabel->setText(tr("Over the reference by more than %1 dB: %2 signals")
                                .arg(QLocale().toString(marginDb, 'f', 1))
                                .arg(m_signals.size()));
}

void CNewSignalsWindow::SetRow(int row, const NEW_SIGNAL& found)
{
    // "2,441.0 MHz" reads as two numbers in a column of frequencies.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString texts[COLUMN_COUNT] = { locale.toString(found.mhz, 'f', 1), locale.toString(found.levelDbm, 'f', 1),
        locale.toString(found.excessDb, 'f', 1), SourceName(found.source) };
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        auto* item = m_pTable->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            m_pTable->setItem(row, column, item);
        }
        item->setText(texts[column]);
        item->setTextAlignment(
            column == TraceColumn ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    }
}

QString CNewSignalsWindow::SourceName(NEW_SIGNAL::Source source) const
{
    return source == NEW_SIGNAL::Live ? tr("Live") : tr("Max hold");
}

void CNewSignalsWindow::Retranslate()
{
    setWindowTitle(tr("New Signals"));
    m_pTable->setHorizontalHeaderLabels({ tr("Frequency, MHz"), tr("Level, dBm"), tr("Excess, dB"), tr("Trace") });
    SetSignals(m_signals, m_dMarginDb);
}

void CNewSignalsWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT closed();
    QWidget::closeEvent(event);
}

void CNewSignalsWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}
