#pragma once

// Every settings key the kit's windows read and write, in the program's
// QSettings.
namespace GuiKitSettingsKeys {

// Where and how Export Image... last wrote a picture.
constexpr const char* DIAGRAM_EXPORT_FOLDER = "DiagramExport/Folder";
constexpr const char* DIAGRAM_EXPORT_FORMAT = "DiagramExport/Format";
// Where the windows were when they last closed.
constexpr const char* OSCILLOSCOPE_GEOMETRY = "Oscilloscope/Geometry";
constexpr const char* SPECTRUM_GEOMETRY = "Spectrum/Geometry";
// The spectrum's traces shown (their names, a list) and the sweeps the
// average takes.
constexpr const char* SPECTRUM_TRACES = "Spectrum/Traces";
constexpr const char* SPECTRUM_AVERAGE_SWEEPS = "Spectrum/AverageSweeps";
// By how many dB a signal must pass the spectrum's reference to be new.
constexpr const char* SPECTRUM_NEW_SIGNAL_MARGIN = "Spectrum/NewSignalMarginDb";

} // namespace GuiKitSettingsKeys
