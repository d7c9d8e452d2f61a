#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

namespace Ui {
class CPreferencesDialog;
}

// The user's choices: on the General page the interface language (item 0
// English, item 1 Russian) and the live recording; on the Alerts page the
// alert rules of each detector and the alert sound. OK keeps nothing until
// every page reads right; Cancel keeps nothing.
class CPreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    enum Language { English = 0, Russian = 1 };

    CPreferencesDialog(int nLanguage, QWidget* parent = nullptr);
    ~CPreferencesDialog() override;

    int GetLanguageIndex() const;
    // The detectors whose alert rules can be set: id and the name shown.
    void SetAlertDetectors(const QList<QPair<QString, QString>>& detectors);
    // The storage folder whose sites are offered for the baseline; by
    // default the process's (CSiteFolder::Storage).
    void SetAlertStorage(const QString& storage);

public Q_SLOTS:
    void OnOkButton();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::CPreferencesDialog> m_pUi;
    int m_nLanguage;
};
