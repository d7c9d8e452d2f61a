#include "CRZ450MenuTable.h"

#include "RZ450Layout.h"
#include "ScanSteps.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QByteArray>
#include <QLabel>
#include <QSlider>
#include <QTime>

#include <cstdlib>

namespace {

namespace Menu = RZ450Layout::Menu;

QString Padded(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString MinutesSeconds(int seconds)
{
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("mm:ss"));
}

bool IsSlider(CRZ450MenuTable::Kind kind)
{
    return kind >= CRZ450MenuTable::DB;
}

} // namespace

CRZ450MenuTable::MENU_CONTROL CRZ450MenuTable::Check(QAbstractButton* check, int index, Kind kind)
{
    MENU_CONTROL control { kind, index };
    control.button = check;
    return control;
}

CRZ450MenuTable::MENU_CONTROL CRZ450MenuTable::Choice(QButtonGroup* group, int index, Kind kind)
{
    MENU_CONTROL control { kind, index };
    control.group = group;
    return control;
}

CRZ450MenuTable::MENU_CONTROL CRZ450MenuTable::Slider(QSlider* slider, QLabel* label, int index, Kind kind, int minimum,
    int maximum, Slot slot)
{
    MENU_CONTROL control { kind, index };
    control.slider = slider;
    control.label = label;
    control.minimum = minimum;
    control.maximum = maximum;
    control.slot = slot;
    return control;
}

QString CRZ450MenuTable::Text(Kind kind, int value)
{
    const QString seconds = tr("s", "seconds");
    switch (kind) {
    case DB: return Text(PLAIN_DB, value - RZ450Layout::DBM_OFFSET);
    case PLAIN_DB: return QStringLiteral("%1 %2").arg(Padded(value), tr("dB"));
    case PERCENT: return Padded(value) + QLatin1Char('%');
    case TENS_PERCENT: return Text(PERCENT, value * 10);
    case RANGE_MHZ: return QStringLiteral("%1 %2").arg(QString::number(value * Menu::RANGE_UNIT_MHZ), tr("MHz"));
    case STEP_MHZ: return QStringLiteral("%1 %2").arg(QString::number(ScanStep(value)), tr("MHz"));
    case SECONDS: return MinutesSeconds(value) + seconds;
    case AUTO_OFF_SECONDS: return value == AUTO_OFF_TOP ? QStringLiteral("99:99") + seconds : Text(SECONDS, value);
    case SIGNED_SECONDS: {
        const int shift = value - Menu::TIME_CORRECTION_ZERO;
        const QLatin1Char sign(shift >= 0 ? '+' : '-');
        return sign + MinutesSeconds(std::abs(shift)) + QLatin1Char(' ') + seconds;
    }
    case HOURS: return Padded(value) + QLatin1Char(' ') + tr("h", "hours");
    case CHECK:
    case CLOCK_CHECK:
    case CHOICE:
    case LANGUAGE_CHOICE: break;
    }
    return QString();
}

int CRZ450MenuTable::ToControl(Kind kind, int byte)
{
    if (kind == AUTO_OFF_SECONDS)
        return byte * Menu::AUTO_OFF_UNIT;
    if (kind == LANGUAGE_CHOICE)
        return byte != 0 ? 1 : 0;
    return byte;
}

int CRZ450MenuTable::ToByte(Kind kind, int value)
{
    return kind == AUTO_OFF_SECONDS ? value / Menu::AUTO_OFF_UNIT : value;
}

CRZ450MenuTable::CRZ450MenuTable(QList<MENU_CONTROL> controls)
    : m_controls(std::move(controls))
{
    for (const MENU_CONTROL& control : m_controls) {
        if (IsSlider(control.kind))
            control.slider->setRange(control.minimum, control.maximum);
    }
}

void CRZ450MenuTable::Connect(CRZ450MenuDialog* dialog) const
{
    for (const MENU_CONTROL& control : m_controls) {
        if (!IsSlider(control.kind))
            continue;
        if (control.slot != nullptr)
            QObject::connect(control.slider, &QSlider::valueChanged, dialog, control.slot);
        else
            QObject::connect(control.slider, &QSlider::valueChanged, control.label,
                [control](int value) { ShowValue(control, value); });
    }
}

void CRZ450MenuTable::Load(const MenuSource& value, const LoadClockStep& loadClock) const
{
    for (const MENU_CONTROL& control : m_controls)
        LoadControl(control, value(control.index), loadClock);
    // A slider already at the loaded value emits nothing.
    RefreshLabels();
}

void CRZ450MenuTable::Apply(QByteArray& block, const ApplyClockStep& applyClock) const
{
    for (const MENU_CONTROL& control : m_controls) {
        switch (control.kind) {
        case CLOCK_CHECK:
            if (applyClock)
                applyClock();
            Q_FALLTHROUGH();
        case CHECK: block[control.index] = char(control.button->isChecked() ? 1 : 0); break;
        case CHOICE:
        case LANGUAGE_CHOICE:
            // With no button selected the byte is left as it is.
            if (control.group->checkedId() >= 0)
                block[control.index] = char(ToByte(control.kind, control.group->checkedId()));
            break;
        default: block[control.index] = char(ToByte(control.kind, control.slider->value())); break;
        }
    }
}

void CRZ450MenuTable::Show(int index, int value) const
{
    for (const MENU_CONTROL& control : m_controls) {
        if (control.index == index && IsSlider(control.kind))
            ShowValue(control, value);
    }
}

void CRZ450MenuTable::RefreshLabels() const
{
    for (const MENU_CONTROL& control : m_controls) {
        if (IsSlider(control.kind))
            ShowValue(control, control.slider->value());
    }
}

void CRZ450MenuTable::LoadControl(const MENU_CONTROL& control, int byte, const LoadClockStep& loadClock)
{
    switch (control.kind) {
    case CLOCK_CHECK: loadClock(byte != 0); Q_FALLTHROUGH();
    case CHECK: control.button->setChecked(byte != 0); break;
    case CHOICE:
    case LANGUAGE_CHOICE: LoadChoice(control.group, ToControl(control.kind, byte)); break;
    default:
        // A value outside a slider's range lands on its nearest end.
        control.slider->setValue(ToControl(control.kind, byte));
        break;
    }
}

void CRZ450MenuTable::LoadChoice(QButtonGroup* group, int id)
{
    // A value the group does not know selects nothing and is then left as
    // it is.
    QAbstractButton* button = group->button(id);
    if (button != nullptr) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* other : group->buttons())
        other->setChecked(false);
    group->setExclusive(true);
}

void CRZ450MenuTable::ShowValue(const MENU_CONTROL& control, int value)
{
    control.label->setText(Text(control.kind, value));
}
