#pragma once

#include "GuiKitExport.h"
#include "reference/CSpectrumReference.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CReferenceDialog;
}

// Which reference to save or to load. Saving: the trace (of those given,
// the ones with data), the site (one of the storage's or a new name) and
// the reference's name. Loading: the site and one of its references.
class GUIKIT_EXPORT CReferenceDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { SaveMode, LoadMode };

    CReferenceDialog(Mode mode, const QString& storage, QWidget* parent = nullptr);
    ~CReferenceDialog() override;

    // The traces to offer, each with its name; the first is chosen.
    void SetTraces(const QList<QPair<CSpectrumReference::Trace, QString>>& traces);
    void SetSite(const QString& site);

    CSpectrumReference::Trace Trace() const;
    QString Site() const;
    QString Name() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnSiteComboTextChanged(const QString& site);
    void UpdateControls();
    void Retranslate();

    std::unique_ptr<Ui::CReferenceDialog> m_pUi;
    Mode m_mode;
    QString m_strStorage;
};
