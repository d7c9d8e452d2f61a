#include "export/CImageExportDialog.h"

#include "ui_CImageExportDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

CImageExportDialog::CImageExportDialog(const QSize& screenSize, const QString& path, QWidget* parent)
    : QDialog(parent)
    , m_pUi(std::make_unique<Ui::CImageExportDialog>())
    , m_screenSize(screenSize.expandedTo(QSize(1, 1)))
{
    m_pUi->setupUi(this);
    m_pUi->m_pPathEdit->setText(path);
    SetFormat(CDiagramExport::FormatOf(path));
    SetChosenSize(m_screenSize);
    Retranslate();
    connect(m_pUi->m_pBrowseButton, &QPushButton::clicked, this, &CImageExportDialog::OnBrowseButton);
    connect(m_pUi->m_pFormatCombo, &QComboBox::currentIndexChanged, this, &CImageExportDialog::OnFormatChanged);
    connect(m_pUi->m_pWidthSpin, &QSpinBox::valueChanged, this, &CImageExportDialog::OnWidthChanged);
    connect(m_pUi->m_pHeightSpin, &QSpinBox::valueChanged, this, &CImageExportDialog::OnHeightChanged);
    connect(m_pUi->m_pChosenSizeRadio, &QRadioButton::toggled, this, &CImageExportDialog::UpdateControls);
    connect(m_pUi->m_pPathEdit, &QLineEdit::textChanged, this, &CImageExportDialog::UpdateControls);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pUi->m_pButtonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateControls();
}

CImageExportDialog::~CImageExportDialog() = default;

QString CImageExportDialog::Path() const
{
    QString path = m_pUi->m_pPathEdit->text().trimmed();
    const QString suffix = CDiagramExport::Suffix(Format());
    if (!path.isEmpty() && QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + suffix;
    return path;
}

CDiagramExport::Format CImageExportDialog::Format() const
{
    return m_pUi->m_pFormatCombo->currentIndex() == 1 ? CDiagramExport::Svg : CDiagramExport::Png;
}

QSize CImageExportDialog::Size() const
{
    if (!m_pUi->m_pChosenSizeRadio->isChecked())
        return m_screenSize;
    return QSize(m_pUi->m_pWidthSpin->value(), m_pUi->m_pHeightSpin->value());
}

void CImageExportDialog::SetFormat(CDiagramExport::Format format)
{
    m_pUi->m_pFormatCombo->setCurrentIndex(format == CDiagramExport::Svg ? 1 : 0);
}

void CImageExportDialog::SetChosenSize(const QSize& size)
{
    const QSignalBlocker width(m_pUi->m_pWidthSpin);
    const QSignalBlocker height(m_pUi->m_pHeightSpin);
    m_pUi->m_pWidthSpin->setValue(size.width());
    m_pUi->m_pHeightSpin->setValue(size.height());
    // Of two radio buttons the one checked cannot be unchecked: the other is checked instead.
    (size == m_screenSize ? m_pUi->m_pScreenSizeRadio : m_pUi->m_pChosenSizeRadio)->setChecked(true);
}

void CImageExportDialog::OnBrowseButton()
{
    const QString png = tr("PNG image (*.png)");
    const QString svg = tr("SVG drawing (*.svg)");
    QString filter = Format() == CDiagramExport::Svg ? svg : png;
    const QString path = QFileDialog::getSaveFileName(this, tr("Export Image"), Path(),
        png + QStringLiteral(";;") + svg, &filter, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix();
    const bool known = suffix.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0
        || suffix.compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0;
    SetFormat(known ? CDiagramExport::FormatOf(path) : filter == svg ? CDiagramExport::Svg : CDiagramExport::Png);
    m_pUi->m_pPathEdit->setText(path);
}

void CImageExportDialog::OnFormatChanged()
{
    // The name keeps up with the format: "a.png" becomes "a.svg".
    const QString text = m_pUi->m_pPathEdit->text().trimmed();
    const QFileInfo info(text);
    const QString other
        = CDiagramExport::Suffix(Format() == CDiagramExport::Svg ? CDiagramExport::Png : CDiagramExport::Svg);
    if (info.suffix().compare(other, Qt::CaseInsensitive) == 0)
        m_pUi->m_pPathEdit->setText(text.left(text.size() - other.size()) + CDiagramExport::Suffix(Format()));
}

void CImageExportDialog::OnWidthChanged(int width)
{
    if (m_bSyncing || !m_pUi->m_pKeepRatioCheck->isChecked())
        return;
    m_bSyncing = true;
    m_pUi->m_pHeightSpin->setValue(int(std::lround(double(width) * m_screenSize.height() / m_screenSize.width())));
    m_bSyncing = false;
}

void CImageExportDialog::OnHeightChanged(int height)
{
    if (m_bSyncing || !m_pUi->m_pKeepRatioCheck->isChecked())
        return;
    m_bSyncing = true;
    m_pUi->m_pWidthSpin->setValue(int(std::lround(double(height) * m_screenSize.width() / m_screenSize.height())));
    m_bSyncing = false;
}

void CImageExportDialog::UpdateControls()
{
    const bool chosen = m_pUi->m_pChosenSizeRadio->isChecked();
    for (QWidget* control : { static_cast<QWidget*>(m_pUi->m_pWidthSpin), static_cast<QWidget*>(m_pUi->m_pHeightSpin),
             static_cast<QWidget*>(m_pUi->m_pKeepRatioCheck) })
        control->setEnabled(chosen);
    m_pUi->m_pButtonBox->button(QDialogButtonBox::Ok)->setEnabled(!m_pUi->m_pPathEdit->text().trimmed().isEmpty());
}

void CImageExportDialog::Retranslate()
{
    m_pUi->m_pScreenSizeRadio->setText(
        tr("Size on screen (%1 × %2 px)").arg(m_screenSize.width()).arg(m_screenSize.height()));
}

void CImageExportDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_pUi->retranslateUi(this);
        Retranslate();
    }
    QDialog::changeEvent(event);
}
