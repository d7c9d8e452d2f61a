#pragma once

#include "CRZ450MenuDialog.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QByteArray;
class QLabel;
class QSlider;

// The settings dialog's controls, one row each: which settings byte a
// control edits, how the byte reads on the control and how a slider's value
// reads on its label. Connecting, loading, applying and the labels walk the
// rows in their order, so that a new setting is one more row.
class CRZ450MenuTable
{
    Q_DECLARE_TR_FUNCTIONS(CRZ450MenuTable)

public:
    enum Kind {
        CHECK,
        CLOCK_CHECK,     // a check whose byte decides where the clock comes from
        CHOICE,          // a button group whose ids are the byte's values
        LANGUAGE_CHOICE, // 0 is the first button, anything else the second
        // Sliders from here on, named after what their labels show.
        DB, // thresholds: the raw level, shown in dBm
        PLAIN_DB,
        PERCENT,
        TENS_PERCENT,
        RANGE_MHZ,
        STEP_MHZ,
        SECONDS,
        AUTO_OFF_SECONDS,
        SIGNED_SECONDS,
        HOURS,
    };

    // The top auto-off position, which the detector shows as 99:99.
    static constexpr int AUTO_OFF_TOP = 233;

    using Slot = void (CRZ450MenuDialog::*)(int value);
    // A settings byte by its index: from the device, or from a menu file.
    using MenuSource = std::function<int(int index)>;
    using LoadClockStep = std::function<void(bool syncPc)>;
    using ApplyClockStep = std::function<void()>;

    struct MENU_CONTROL
    {
        Kind kind;
        int index;
        QAbstractButton* button = nullptr;
        QButtonGroup* group = nullptr;
        QSlider* slider = nullptr;
        QLabel* label = nullptr;
        int minimum = 0;
        int maximum = 0;
        // The dialog's slot for the slider; without one the label is
        // refreshed directly.
        Slot slot = nullptr;
    };

    static MENU_CONTROL Check(QAbstractButton* check, int index, Kind kind = CHECK);
    static MENU_CONTROL Choice(QButtonGroup* group, int index, Kind kind = CHOICE);
    static MENU_CONTROL Slider(QSlider* slider, QLabel* label, int index, Kind kind, int minimum, int maximum,
        Slot slot = nullptr);

    // What a slider of the kind shows for its value.
    static QString Text(Kind kind, int value);
    // A settings byte as its control holds it, and back.
    static int ToControl(Kind kind, int byte);
    static int ToByte(Kind kind, int value);

    // Gives each slider its range.
    explicit CRZ450MenuTable(QList<MENU_CONTROL> controls);

    void Connect(CRZ450MenuDialog* dialog) const;
    // The clock is loaded and applied right before the byte that says
    // whether it follows the PC.
    void Load(const MenuSource& value, const LoadClockStep& loadClock) const;
    void Apply(QByteArray& block, const ApplyClockStep& applyClock) const;
    void Show(int index, int value) const;
    void RefreshLabels() const;

private:
    static void LoadControl(const MENU_CONTROL& control, int byte, const LoadClockStep& loadClock);
    static void LoadChoice(QButtonGroup* group, int id);
    static void ShowValue(const MENU_CONTROL& control, int value);

    QList<MENU_CONTROL> m_controls;
};
