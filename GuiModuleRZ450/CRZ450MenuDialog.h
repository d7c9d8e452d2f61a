#pragma once

#include "IDevice.h"

#include <QButtonGroup>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

class CRZ450MenuTable;

namespace Ui {
class CRz450MenuDialogClass;
}

// The detector's settings menu, edited on the PC. The device's settings
// block is the only store: the controls are loaded from it and written back
// into it whole, and nothing reaches the detector until OK posts the write
// right behind the block. Saving a menu file leaves the device untouched.
//
// A network device that stops answering makes the device calls throw; the
// dialog reports that and stays open, so that the user can still cancel.
class CRZ450MenuDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int CLOCK_TICK_MS = 1000;

    // Asks before a command that cannot be undone; true goes ahead.
    using QuestionStep = std::function<bool(const QString& question)>;
    // Chooses the menu file to load (save false) or to save; empty cancels.
    using FileStep = std::function<QString(bool save)>;
    using WarningStep = std::function<void(const QString& text)>;

    // The device is not owned and must outlive the dialog.
    explicit CRZ450MenuDialog(IDevice* device, QWidget* parent = nullptr);
    ~CRZ450MenuDialog() override;

    // The steps that would open message boxes and file dialogs; tests
    // answer in the user's place.
    void SetQuestionStep(QuestionStep step);
    void SetFileStep(FileStep step);
    void SetWarningStep(WarningStep step);

private Q_SLOTS:
    void OnDefaultsButton();
    void OnLoadButton();
    void OnSaveButton();
    void OnOkButton();
    void OnCancelButton();
    void OnMinDurationValueChanged(int value);
    void OnDelayValueChanged(int value);
    void OnNewBankButton();
    void OnClearLogButton();
    void OnCdmaValueChanged(int value);
    void OnGsm900ValueChanged(int value);
    void OnGsm1800ValueChanged(int value);
    void OnWlan24ValueChanged(int value);
    void OnBluetoothValueChanged(int value);
    void OnTraffic24ValueChanged(int value);
    void OnWlan5ValueChanged(int value);
    void OnTraffic5ValueChanged(int value);
    void OnDectValueChanged(int value);
    void On3GValueChanged(int value);
    void On4GValueChanged(int value);
    void OnJammersGsmValueChanged(int value);
    void OnJammersGpsValueChanged(int value);
    void OnUsersBandValueChanged(int value);
    void OnRangeStartValueChanged(int value);
    void OnRangeEndValueChanged(int value);
    void OnBandStepValueChanged(int value);
    void OnBrightnessValueChanged(int value);
    void OnAutoOffValueChanged(int value);
    void OnTimeCorrValueChanged(int value);
    void OnStartValueChanged(int value);
    void OnStopValueChanged(int value);
    void OnTimer();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Connect();
    std::unique_ptr<CRZ450MenuTable> MakeTable();
    void SelectStoredTab();
    void StoreTab();
    void LoadFromDevice();
    void LoadControls(const std::function<int(int index)>& value);
    void LoadClock(bool syncPc);
    // The device's block with the controls put in; the device keeps its own.
    bool ControlsBlock(QByteArray& block, const std::function<void()>& applyClock);
    bool WriteControls();
    bool Post(IDevice::RequestType request);
    bool Guarded(const std::function<bool()>& action);
    void LoadMenuFile(const QString& path);
    void SaveMenuFile(const QString& path);
    bool Ask(const QString& question);
    QString ChooseFile(bool save);
    void Warn(const QString& text);

    std::unique_ptr<Ui::CRz450MenuDialogClass> m_pUi;
    IDevice* m_pDevice;
    QTimer m_timer;
    QButtonGroup m_sortGroup;
    QButtonGroup m_languageGroup;
    std::unique_ptr<CRZ450MenuTable> m_pTable;
    QuestionStep m_question;
    FileStep m_file;
    WarningStep m_warning;
};
