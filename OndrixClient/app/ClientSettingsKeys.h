#pragma once

// Every settings key of the client program, in its QSettings. The keys are
// what users' settings files already hold: never rename one.
namespace ClientSettingsKeys {

// The scope the main window's settings live in. Not translated: the
// settings must be found again whatever language the last run used.
constexpr const char* SCOPE_ORGANIZATION = "Korvent";
constexpr const char* SCOPE_APPLICATION = "RZ450 Ondrix";

// The language of the windows, and the storage folder.
constexpr const char* LANGUAGE = "General/Language";
constexpr const char* STORAGE_PATH = "General/StoragePath";

// The main window's place and layout.
constexpr const char* WINDOW_GEOMETRY = "Window/Geometry";
constexpr const char* WINDOW_MAXIMIZED = "Window/Maximized";
constexpr const char* WINDOW_SPLITTER = "Window/Splitter";
constexpr const char* LOG_COLUMN = "Window/Log/Column%1"; // %1: the column
constexpr const char* LOG_TAB_INDEX = "Window/Log/TabIndex";
constexpr const char* MANUAL_GEOMETRY = "Manual/Geometry";

// The start-up window's last choices.
constexpr const char* STARTUP_LOCAL_RADIO = "CStartupWindow/LocalRadio";
constexpr const char* STARTUP_NETWORK_RADIO = "CStartupWindow/NetworkRadio";
constexpr const char* STARTUP_URLS = "CStartupWindow/URLs";
constexpr const char* STARTUP_LOCAL_DEVICE = "CStartupWindow/LocalDevice";
constexpr const char* STARTUP_NETWORK_DEVICE = "CStartupWindow/NetworkDevice";

// Start Server's sharing.
constexpr const char* SHARING_MODE = "StartServer/Sharing";
constexpr const char* SHARING_CONTROL = "StartServer/Control";
constexpr const char* SHARING_NETWORKS = "StartServer/Networks";
constexpr const char* SHARING_KEEP = "StartServer/Keep";

// The live recording: on unless switched off, how much of the past to keep,
// and the free space under which it pauses.
constexpr const char* RECORDING_ENABLED = "Recording/Enabled";
constexpr const char* RECORDING_KEEP_GB = "Recording/KeepGB";
constexpr const char* RECORDING_KEEP_DAYS = "Recording/KeepDays";
constexpr const char* RECORDING_FREE_FLOOR_MB = "Recording/FreeFloorMB";

// Where exports and reports last went, and the report's own fields.
constexpr const char* CSV_FOLDER = "Export/CsvFolder";
constexpr const char* REPORT_SITE = "Report/Site";
constexpr const char* REPORT_OPERATOR = "Report/Operator";
constexpr const char* REPORT_PAPER = "Report/Paper";
constexpr const char* REPORT_OPEN = "Report/Open";
constexpr const char* REPORT_FOLDER = "Report/Folder";
constexpr const char* ALERTS_CSV_FOLDER = "Alerts/CsvFolder";

// The last comparison with a site's baseline (the report's too), and the
// site and length of the last capture.
constexpr const char* BASELINE_SITE = "Baseline/Site";
constexpr const char* BASELINE_MARGIN_DB = "Baseline/MarginDb";
constexpr const char* BASELINE_CAPTURE_SITE = "Baseline/CaptureSite";
constexpr const char* BASELINE_CAPTURE_MINUTES = "Baseline/CaptureMinutes";

// The detectors of the overview (an array of Address and Name), and whether
// the main window showed the overview when it closed.
constexpr const char* OVERVIEW_DETECTORS = "Overview/Detectors";
constexpr const char* OVERVIEW_MODE = "Overview/Mode";
constexpr const char* OVERVIEW_GEOMETRY = "Overview/Geometry";

// Alerts: each detector's rules (CAlertRules' JSON) and the site its
// baseline condition compares with, under its id percent-encoded (ids hold
// "/" and ":"); the sound's volume (0-100) and mute for all of them.
constexpr const char* ALERT_RULES = "Alerts/Detector/%1/Rules"; // %1: the encoded id
constexpr const char* ALERT_SITE = "Alerts/Detector/%1/Site";   // %1: the encoded id
constexpr const char* ALERT_VOLUME = "Alerts/Volume";
constexpr const char* ALERT_MUTED = "Alerts/Muted";

} // namespace ClientSettingsKeys
