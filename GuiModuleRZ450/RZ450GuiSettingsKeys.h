#pragma once

// Every settings key the detector's GUI plug-in reads and writes, in the
// client's QSettings.
namespace RZ450GuiSettingsKeys {

// The tab of the settings dialog that was open last.
constexpr const char* MENU_DIALOG_TAB = "RZ450MenuDialog";

} // namespace RZ450GuiSettingsKeys
