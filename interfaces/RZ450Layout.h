#pragma once

// The RZ450's bytes: what the detector sends and expects, where each field
// stands and what each settings byte means. Everything in the product that
// reads or writes those bytes takes the numbers from here. (The simulated
// detector keeps a reading of its own on purpose, so that the tests compare
// two readings of the protocol.)
namespace RZ450Layout {

// --- sizes ------------------------------------------------------------------
constexpr int REPORT_SIZE = 300;   // a status report or any other answer to a poll
constexpr int MENU_SIZE = 96;      // the settings block (and a menu file)
constexpr int SETTINGS_SENT = 60;  // bytes 0..59 of the block go to the detector
constexpr int SETTINGS_RESENT = 6; // then the first ones once more
constexpr int TIME_REPLY_SIZE = 6; // type byte and five clock bytes
constexpr int CLOCK_SIZE = 5;      // month, day, hour, minute, second (month and day from 0)
constexpr int SPECTRUM_POINTS = 160;
constexpr int SPECTRUM_SCALE = 2; // a report's spectrum point is twice the level shown
constexpr int BAND_COUNT = 31;
constexpr int BAND_SCAN = 18;      // the user's scan range, the only band with a spectrum
constexpr int BAND_TRAFFIC24 = 10; // the traffic bands: their level is a volume in percent
constexpr int BAND_TRAFFIC5 = 11;
constexpr int AUTO_BANDS = 16;      // bands 0..15 make the records of automatic mode
constexpr int INDICATED_BANDS = 19; // bands 0..18 have an indication flag
// The driver's live records: the count runs 0..RECORD_RING-1 and wraps to 0,
// so a reader that fell behind a wrap finds the rest below this slot.
constexpr int RECORD_RING = 300000;

// Levels and thresholds travel as raw bytes: dBm = raw - DBM_OFFSET.
constexpr int DBM_OFFSET = 102;

// --- the exchange -----------------------------------------------------------
namespace Wire {
constexpr unsigned char POLL = 0xA3;
constexpr unsigned char NO_COMMAND = 0xFF; // sent after a report when nothing is pending
constexpr unsigned char LOG_BLOCK_REQUEST = 0xFE;
constexpr unsigned char COMMAND_READ_LOG = 2;
constexpr unsigned char COMMAND_FACTORY_DEFAULTS = 6;
constexpr unsigned char COMMAND_WRITE_SETTINGS = 5;
constexpr unsigned char COMMAND_NEW_BANK = 9;
constexpr unsigned char COMMAND_CLEAR_LOG = 7;
constexpr unsigned char COMMAND_REQUEST_5 = 10;
constexpr unsigned char COMMAND_KEY = 8; // followed by the key byte
// The command byte of each IDevice::RequestType, in the request's order.
constexpr unsigned char REQUEST_COMMANDS[] = { COMMAND_READ_LOG, COMMAND_FACTORY_DEFAULTS, COMMAND_WRITE_SETTINGS,
    COMMAND_NEW_BANK, COMMAND_CLEAR_LOG, COMMAND_REQUEST_5 };
constexpr int MAX_KEY_REPEATS = 10; // the key byte's high nibble
constexpr int KEY_REPEATS_SHIFT = 4;
constexpr int KEY_MASK = 0x0F; // the key itself, long-press bit included

// Byte 0 of an answer.
enum AnswerType { ANSWER_STATUS = 0, ANSWER_TIME_REQUEST = 1 };
} // namespace Wire

// --- the status report (byte offsets) ----------------------------------------
namespace Report {
constexpr int TYPE = 0;
constexpr int HOUR = 1, MINUTE = 2, SECOND = 3;
constexpr int DAY = 4, MONTH = 5; // counted from 0
constexpr int STAMP_ADD = 6;      // seconds added to the time of day
constexpr int BAND = 7;
constexpr int MODE = 8;
constexpr int SCHEDULE = 10;
constexpr int BANK = 12;       // 16 bits, low byte first
constexpr int BAND_LEVEL = 17; // of the current band
constexpr int BAND_THRESHOLD = 18;
constexpr int EVENT_DELAY = 23;   // three, two bytes apart
constexpr int INDICATE_BAND = 24; // three, two bytes apart
constexpr int PAIR_STEP = 2;
constexpr int PAIRS = 3;
constexpr int TMP_X = 29;
constexpr int INDICATE_FLAGS = 30; // bands 0..15
constexpr int SETTINGS = 46;       // settings bytes 0..59
constexpr int LEVEL_DB_MIN = 108;
constexpr int RAM_ERROR = 109;
constexpr int FLASH_ERROR = 110;
constexpr int BATTERY = 111;  // 16 bits, low byte first
constexpr int FREQ_MAX = 113; // 32 bits, low byte first
constexpr int SPECTRUM = 117;
constexpr int ABODE = 277;
constexpr int DEMOD_MODE = 278;
constexpr int SHOW_FREQ = 279;
constexpr int LEVEL_MAX = 280;
constexpr int LEVEL_NOISE = 281;
constexpr int SPECTRUM_LENGTH = 282;
constexpr int PEAK_COUNT = 283;
constexpr int OVERLOAD = 284;
constexpr int MUTE = 285;
constexpr int BYPASS = 286;
constexpr int VOLUME = 287;
constexpr int INDICATE_FLAGS_HIGH = 289; // bands 16, 17, 18
constexpr int BATTERY_LOW = 2;           // at or below: the battery is low
constexpr int ABODE_LEVEL_DB_MIN = 255;  // the minimum level while the abode flag is up
} // namespace Report

// --- the settings block (byte indices and what they mean) ---------------------
namespace Menu {
constexpr int THRESHOLD_GSM900 = 1;
constexpr int THRESHOLD_GSM1800 = 2;
constexpr int THRESHOLD_JAMMERS_GSM = 3;
constexpr int THRESHOLD_JAMMERS_GPS = 4;
constexpr int THRESHOLD_WLAN24 = 5;
constexpr int THRESHOLD_BLUETOOTH = 6;
constexpr int TRAFFIC24_VOLUME = 7;
constexpr int THRESHOLD_WLAN5 = 8;
constexpr int TRAFFIC5_VOLUME = 9;
constexpr int THRESHOLD_CDMA = 10;
constexpr int THRESHOLD_3G = 11;
constexpr int THRESHOLD_4G = 12;
constexpr int THRESHOLD_DECT = 13;
constexpr int SCHEDULE_START = 14; // hours
constexpr int SCHEDULE_STOP = 15;
constexpr int BRIGHTNESS = 16;       // tenths
constexpr int DISPLAY_AUTO_OFF = 17; // seconds / AUTO_OFF_UNIT
constexpr int TIME_CORRECTION = 18;  // seconds + TIME_CORRECTION_ZERO
constexpr int EVENT_DELAY = 19;      // seconds
constexpr int MIN_DURATION = 20;     // seconds
constexpr int RANGE_START = 21;      // MHz / RANGE_UNIT_MHZ
constexpr int RANGE_END = 22;
constexpr int BAND_STEP = 23;
constexpr int THRESHOLD_SCAN = 24; // plain dB
constexpr int BAND_GSM900 = 26;    // the band enables: nonzero is on
constexpr int BAND_GSM1800 = 27;
constexpr int BAND_WLAN24 = 28;
constexpr int BAND_WLAN5 = 29;
constexpr int BAND_BLUETOOTH = 30;
constexpr int BAND_TRAFFIC24 = 31;
constexpr int BAND_TRAFFIC5 = 32;
constexpr int BAND_DECT = 33;
constexpr int BAND_3G = 34;
constexpr int BAND_SCAN = 35;
constexpr int BAND_4G = 36;
constexpr int DISPLAY_AUTO_ON = 37;
constexpr int SOUNDS = 38;
constexpr int SCHEDULE = 39;
constexpr int SORT_ORDER = 40; // 0 time, 1 level, 2 band, 3 duration
constexpr int SYNC_CLOCK = 41; // nonzero: the PC's clock goes with the settings
constexpr int LANGUAGE = 42;   // 0 English, else Russian
constexpr int EVERYDAY = 43;
constexpr int LOGGING = 44;
constexpr int SHOW_BASE = 45; // base-station bands in manual mode
constexpr int BAND_JAMMERS_GSM = 49;
constexpr int BAND_JAMMERS_GPS = 50;
constexpr int BAND_CDMA = 51;
constexpr int BYPASS = 52;
constexpr int IDENT_OFF = 53;

constexpr int AUTO_OFF_UNIT = 8;
constexpr int TIME_CORRECTION_ZERO = 128;
constexpr int RANGE_UNIT_MHZ = 25;
constexpr int BAND_STEP_UNIT_MHZ = 5; // step 0 is 2 MHz
constexpr int BAND_STEP_ZERO_MHZ = 2;
} // namespace Menu

// --- the event log ---------------------------------------------------------
namespace Log {
constexpr int BLOCKS = 1000;
constexpr int BLOCK_SIZE = 267;
constexpr int ENTRY_SIZE = 32;
constexpr int ENTRIES_PER_BLOCK = 8;
constexpr int BLOCK_MARKER = 256;
constexpr int BLOCK_BANK = 257; // 16 bits, low byte first
constexpr int BLOCK_ENTRY_COUNT = 259;
constexpr int CHECKSUM_SPAN = 264; // bytes summed
constexpr int BLOCK_CHECKSUM = 266;
constexpr unsigned char MARKER = 0xAE; // a block or an entry in use
// An entry.
constexpr int ENTRY_MARKER = 0, ENTRY_BAND = 1, ENTRY_LEVEL = 2, ENTRY_THRESHOLD = 3;
constexpr int ENTRY_HOUR = 5, ENTRY_MINUTE = 6, ENTRY_SECOND = 7;
constexpr int ENTRY_DAY = 8, ENTRY_MONTH = 9; // counted from 0
constexpr int ENTRY_DURATION = 10;            // 16 bits, low byte first
// GetLogLoadProgress: good blocks * 100 / PROGRESS_BLOCKS while it runs (the
// detector's own scale, not BLOCKS), at most PROGRESS_RUNNING_MAX; then one of
// the two end figures.
constexpr int PROGRESS_BLOCKS = 512;
constexpr int PROGRESS_RUNNING_MAX = 99;
constexpr int PROGRESS_DONE = 100;
constexpr int PROGRESS_FAILED = 101;
} // namespace Log

} // namespace RZ450Layout
