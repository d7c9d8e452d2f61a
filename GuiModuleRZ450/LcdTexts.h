#pragma once

// Where the display's fixed texts start in LCD_TEXTS; L is the display
// language (0 English, 1 Russian).
enum LcdText {
    LCD_MODE_NAMES = 0,    // + 4 L + (0 manual, 1 automatic, 2 search, 3 level)
    LCD_BYPASS = 12,       // + L
    LCD_STATION = 14,      // + 2 L + (0 mobile, 1 base)
    LCD_STRIP_LABELS = 18, // .. 28
    LCD_NO_VALUE = 29,
    LCD_NO_LINK = 30,    // + L
    LCD_DB = 32,         // + L
    LCD_BAND_SCALE = 34, // .. 35
    LCD_TEXT_COUNT = 36
};

// The display's fixed texts, Windows-1251 bytes.
extern const char* const LCD_TEXTS[LCD_TEXT_COUNT];
