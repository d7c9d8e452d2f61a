#include "LcdTexts.h"

// Windows-1251 bytes, as the display's font is laid out.
const char* const LCD_TEXTS[LCD_TEXT_COUNT] = {
    "MAN  ",
    "AUTO ",
    "SRCH ",
    "LEV  ",
    "\xD0\xD3\xD7\xCD ",    // РУЧН
    "\xC0\xC2\xD2\xCE ",    // АВТО
    "\xCF\xCE\xC8\xD1\xCA", // ПОИСК
    "\xD3\xD0\xCE\xC2 ",    // УРОВ
    "LEVEL    ",
    "LEVEL+   ",
    "\xD3\xD0\xCE\xC2\xC5\xCD\xDC  ", // УРОВЕНЬ
    "\xD3\xD0\xCE\xC2\xC5\xCD\xDC+ ", // УРОВЕНЬ+
    "Bypass freq.=",
    "\xC8\xF1\xEA\xEB\xFE\xF7.\xF7\xE0\xF1\xF2.=", // Исключ.част.=
    "MOB",
    "BAS",
    "\xCC\xCE\xC1", // МОБ
    "\xC1\xC0\xC7", // БАЗ
    "9",
    "18",
    "3G",
    "D",
    "W",
    "B",
    "T",
    "L",
    "J",
    "45",
    "S",
    "---",
    "    NO LINK  ",
    "   \xCD\xC5\xD2 \xD1\xC2\xDF\xC7\xC8 ", // НЕТ СВЯЗИ
    "dB",
    "\xE4\xC1", // дБ
    " 900 1800 2100 MHz/",
    "450 MHz           /",
};
