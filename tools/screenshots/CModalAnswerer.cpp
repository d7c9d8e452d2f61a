#include "CModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

CModalAnswerer::CModalAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, &CModalAnswerer::OnTimer);
    m_timer.start(CHECK_MS);
}

void CModalAnswerer::GrabNext(const QString& className, const QString& file, int settleMs)
{
    m_strClassName = className;
    m_strFile = file;
    m_nSettleMs = settleMs;
    m_pSeen = nullptr;
    m_bGrabbed = false;
}

void CModalAnswerer::OnTimer()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || Answer(modal))
        return;
    if (m_strClassName.isEmpty() || QLatin1String(modal->metaObject()->className()) != m_strClassName)
        return;
    if (m_pSeen != modal) {
        m_pSeen = modal;
        m_sinceSeen.start();
    }
    // The dialog reads the device and starts its clock after it shows.
    if (m_sinceSeen.elapsed() >= m_nSettleMs)
        Grab(modal);
}

bool CModalAnswerer::Answer(QWidget* modal)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box)
        return false;
    m_messages.append(box->text());
    QAbstractButton* button = box->button(QMessageBox::No);
    if (!button)
        button = box->defaultButton();
    if (!button)
        button = box->buttons().value(0);
    if (button)
        button->click();
    else
        box->reject();
    return true;
}

void CModalAnswerer::Grab(QWidget* modal)
{
    m_bGrabbed = modal->grab().save(m_strFile, "PNG");
    m_strClassName.clear();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}
