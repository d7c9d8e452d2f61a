#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CPreferencesDialog;
}

// The user's choice of the interface language: item 0 English, item 1
// Russian.
class CPreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    enum Language { English = 0, Russian = 1 };

    CPreferencesDialog(int nLanguage, QWidget* parent = nullptr);
    ~CPreferencesDialog() override;

    int GetLanguageIndex() const;

public Q_SLOTS:
    void OnOkButton();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::CPreferencesDialog> m_pUi;
    int m_nLanguage;
};
