#include "BandStrip.h"

#include "LcdTexts.h"
#include "RZ450Layout.h"

using namespace RZ450Layout::Menu;

namespace {

const int NONE = BAND_STRIP_NONE;

} // namespace

// The band numbers are the band table's.
const BAND_LABEL BAND_STRIP[BAND_STRIP_SIZE] = {
    { 0, LCD_STRIP_LABELS + 9, { BAND_CDMA, NONE }, { 0, NONE }, { 0, 19, NONE }, false },                      // 45
    { 22, LCD_STRIP_LABELS + 0, { BAND_GSM900, NONE }, { 1, NONE }, { 1, 20, NONE }, false },                   // 9
    { 34, LCD_STRIP_LABELS + 1, { BAND_GSM1800, NONE }, { 2, NONE }, { 2, 21, NONE }, false },                  // 18
    { 55, LCD_STRIP_LABELS + 3, { BAND_DECT, NONE }, { 3, NONE }, { 3, 22, NONE }, false },                     // D
    { 68, LCD_STRIP_LABELS + 2, { BAND_3G, NONE }, { 4, 5, 6 }, { 4, 5, 6, 23, 24, 25 }, false },               // 3G
    { 90, LCD_STRIP_LABELS + 4, { BAND_WLAN24, BAND_WLAN5 }, { 7, 8, NONE }, { 7, 8, 26, NONE }, true },        // W
    { 103, LCD_STRIP_LABELS + 5, { BAND_BLUETOOTH, NONE }, { 9, NONE }, { 9, NONE }, true },                    // B
    { 115, LCD_STRIP_LABELS + 6, { BAND_TRAFFIC24, BAND_TRAFFIC5 }, { 10, 11, NONE }, { 10, 11, NONE }, true }, // T
    { 127, LCD_STRIP_LABELS + 7, { BAND_4G, NONE }, { 12, 13, 14 }, { 12, 13, 14, 27, 28, 29 }, false },        // L
    { 139, LCD_STRIP_LABELS + 8, { BAND_JAMMERS_GSM, BAND_JAMMERS_GPS }, { 16, 17, NONE }, { 16, 17, NONE },
        false },                                                                           // J
    { 151, LCD_STRIP_LABELS + 10, { BAND_SCAN, NONE }, { 18, NONE }, { 18, NONE }, true }, // S
};
