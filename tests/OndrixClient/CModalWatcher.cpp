#include "CModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

CModalWatcher::CModalWatcher()
    : m_nAnswer(QMessageBox::Yes)
{
    connect(&m_timer, &QTimer::timeout, this, &CModalWatcher::OnTimer);
    m_timer.start(10);
}

QStringList CModalWatcher::MessageTexts() const
{
    QStringList texts;
    for (const MESSAGE& message : m_messages)
        texts.append(message.text);
    return texts;
}

void CModalWatcher::Reset()
{
    m_messages.clear();
    m_chooserLists.clear();
    m_chooserRows.clear();
}

void CModalWatcher::OnTimer()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (m_handler && m_handler(modal))
        return;
    if (!AnswerMessage(modal) && !AnswerChooser(modal))
        AnswerShareDialog(modal);
}

bool CModalWatcher::AnswerMessage(QWidget* widget)
{
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box)
        return false;
    m_messages.append({ int(box->icon()), box->text() });
    QAbstractButton* button = box->button(QMessageBox::StandardButton(m_nAnswer));
    if (!button)
        button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
    if (button)
        button->click();
    else
        box->accept();
    return true;
}

bool CModalWatcher::AnswerChooser(QWidget* widget)
{
    if (widget->objectName() != QLatin1String("CDeviceSelectDialog"))
        return false;
    auto* list = widget->findChild<QListWidget*>(QStringLiteral("m_pDevicesList"));
    QStringList rows;
    for (int i = 0; list && i < list->count(); ++i)
        rows.append(list->item(i)->text());
    m_chooserLists.append(rows);
    m_chooserRows.append(list ? list->currentRow() : -1);
    if (m_nChooserRow < 0 || !list) {
        widget->findChild<QPushButton*>(QStringLiteral("m_pCancelButton"))->click();
        return true;
    }
    list->setCurrentRow(m_nChooserRow);
    widget->findChild<QPushButton*>(QStringLiteral("m_pSelectButton"))->click();
    return true;
}

bool CModalWatcher::AnswerShareDialog(QWidget* widget)
{
    if (widget->objectName() != QLatin1String("CShareDialog"))
        return false;
    const char* button = m_bShareAccepted ? "m_pOkButton" : "m_pCancelButton";
    widget->findChild<QPushButton*>(QLatin1String(button))->click();
    return true;
}
