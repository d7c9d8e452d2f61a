#pragma once

#include "CLcdCanvas.h"
#include "IVirtualDevice.h"

#include <QPixmap>

class CRZ450MetaDevice;

// The detector's front panel on screen: its display, redrawn from the
// device's live values at every paint, above a picture of its keypad whose
// six keys operate the detector. The menu key opens the settings dialog.
//
// Every paint asks the device again for each value it shows; nothing is kept
// between paints but the phase of the waiting animation. A server that stops
// answering during a paint leaves the no-link screen, never an exception.
class CRZ450VirtualDevice : public IVirtualDevice
{
    Q_OBJECT

public:
    enum {
        WIDTH = CLcdCanvas::WIDTH,
        SCREEN_HEIGHT = CLcdCanvas::HEIGHT,
        KEYBOARD_TOP = 129,
        KEYBOARD_HEIGHT = 167,
        KEY_COUNT = 6,
        MENU_KEY = 5
    };

    CRZ450VirtualDevice();

    bool SetDevice(IDevice* device) override;
    void Paint(QPainter* painter) override;
    void Start() override;
    void Stop() override;
    int GetWidth() override;
    int GetScreenHeight() override;
    int GetKeyboardHeight() override;
    int GetKeyCount() override;
    // An empty rectangle for an index that is no key.
    QRect GetKeyRect(int index) override;
    void PressKey(int key) override;

private:
    struct SCREEN_STATE
    {
        int mode;
        int band;
        int language;
        bool baseStations;
    };

    void DrawScreen();
    void DrawDeviceScreen();
    void DrawStatusRow(CRZ450MetaDevice& rz);
    void DrawClock();
    void DrawNoLink(int language);
    void DrawModeHeader(CRZ450MetaDevice& rz, const SCREEN_STATE& screen);
    void DrawBandStrip(CRZ450MetaDevice& rz, const SCREEN_STATE& screen);
    int LabelState(CRZ450MetaDevice& rz, const SCREEN_STATE& screen, int label);
    bool DrawWaiting(CRZ450MetaDevice& rz);
    void DrawIndicator(CRZ450MetaDevice& rz, const SCREEN_STATE& screen, int slot);
    void DrawScanView(CRZ450MetaDevice& rz, const SCREEN_STATE& screen, int row);
    void DrawBandView(CRZ450MetaDevice& rz, int row, int band);
    void DrawLevelRow(CRZ450MetaDevice& rz, int row, int band);
    QByteArray ScanRangeText();
    QByteArray PeakText(CRZ450MetaDevice& rz);
    QByteArray DemodulationText(int mode);
    void OpenMenu();
    void WarnNoConnection();

    IDevice* m_pDevice = nullptr;
    QPixmap m_keyboard;
    CLcdCanvas m_canvas;
    int m_nWaiting = 0;
};
