#pragma once

#include "GuiKitExport.h"
#include "export/CDiagramExport.h"

#include <QDialog>
#include <QSize>

#include <memory>

namespace Ui {
class CImageExportDialog;
}

// Where a diagram's picture goes and how large it is: the file, PNG or SVG
// (the file's suffix follows the format), and the size on screen or a
// chosen one, whose sides may keep the proportions of the screen's.
class GUIKIT_EXPORT CImageExportDialog : public QDialog
{
    Q_OBJECT

public:
    CImageExportDialog(const QSize& screenSize, const QString& path, QWidget* parent = nullptr);
    ~CImageExportDialog() override;

    // With the format's suffix.
    QString Path() const;
    CDiagramExport::Format Format() const;
    // The chosen size, or the size on screen.
    QSize Size() const;

    void SetFormat(CDiagramExport::Format format);
    void SetChosenSize(const QSize& size);

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnBrowseButton();
    void OnFormatChanged();
    void OnWidthChanged(int width);
    void OnHeightChanged(int height);
    void UpdateControls();
    void Retranslate();

    std::unique_ptr<Ui::CImageExportDialog> m_pUi;
    QSize m_screenSize;
    bool m_bSyncing = false;
};
