#include "BandStrip.h"

#include "LcdTexts.h"

namespace {

const int NONE = BAND_STRIP_NONE;

} // namespace

const BAND_LABEL BAND_STRIP[BAND_STRIP_SIZE] = {
    { 0, LCD_STRIP_LABELS + 9, { 51, NONE }, { 0, NONE }, { 0, 19, NONE }, false }, // 45
    { 22, LCD_STRIP_LABELS + 0, { 26, NONE }, { 1, NONE }, { 1, 20, NONE }, false }, // 9
    { 34, LCD_STRIP_LABELS + 1, { 27, NONE }, { 2, NONE }, { 2, 21, NONE }, false }, // 18
    { 55, LCD_STRIP_LABELS + 3, { 33, NONE }, { 3, NONE }, { 3, 22, NONE }, false }, // D
    { 68, LCD_STRIP_LABELS + 2, { 34, NONE }, { 4, 5, 6 }, { 4, 5, 6, 23, 24, 25 }, false }, // 3G
    { 90, LCD_STRIP_LABELS + 4, { 28, 29 }, { 7, 8, NONE }, { 7, 8, 26, NONE }, true }, // W
    { 103, LCD_STRIP_LABELS + 5, { 30, NONE }, { 9, NONE }, { 9, NONE }, true }, // B
    { 115, LCD_STRIP_LABELS + 6, { 31, 32 }, { 10, 11, NONE }, { 10, 11, NONE }, true }, // T
    { 127, LCD_STRIP_LABELS + 7, { 36, NONE }, { 12, 13, 14 }, { 12, 13, 14, 27, 28, 29 }, false }, // L
    { 139, LCD_STRIP_LABELS + 8, { 49, 50 }, { 16, 17, NONE }, { 16, 17, NONE }, false }, // J
    { 151, LCD_STRIP_LABELS + 10, { 35, NONE }, { 18, NONE }, { 18, NONE }, true }, // S
};
