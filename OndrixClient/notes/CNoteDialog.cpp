#include "notes/CNoteDialog.h"

#include "files/CNoteCodec.h"
#include "ui_CNoteDialog.h"

#include <QDateTime>
#include <QPushButton>

CNoteDialog::CNoteDialog(quint64 timeMs, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CNoteDialog>())
    , m_nTimeMs(timeMs)
{
    m_pUi->setupUi(this);
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(qint64(timeMs));
    m_pUi->m_pTimeLabel->setText(tr("Note at %1").arg(at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    m_pUi->m_pErrorLabel->hide();
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::accepted, this, &CNoteDialog::accept);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::rejected, this, &CNoteDialog::reject);
}

CNoteDialog::~CNoteDialog() = default;

NOTE CNoteDialog::Note() const
{
    return NOTE { m_nTimeMs, m_pUi->m_pTextEdit->text() };
}

void CNoteDialog::SetText(const QString& text)
{
    m_pUi->m_pTextEdit->setText(text);
}

QString CNoteDialog::Error() const
{
    return m_pUi->m_pErrorLabel->isHidden() ? QString() : m_pUi->m_pErrorLabel->text();
}

void CNoteDialog::accept()
{
    const QString refusal = CNoteCodec::Refusal(m_pUi->m_pTextEdit->text());
    if (refusal.isEmpty()) {
        QDialog::accept();
        return;
    }
    m_pUi->m_pErrorLabel->setText(refusal);
    m_pUi->m_pErrorLabel->show();
    m_pUi->m_pTextEdit->setFocus();
}
