#include "LcdPalette.h"

const LCD_COLOR LCD_PALETTE[LCD_PALETTE_SIZE] = {
    { 10, 0xFFF0FFF0 },
    { 23, 0xFF808080 },
    { 33, 0xFF4682B4 },
    { 34, 0xFFB0C4DE },
    { 46, 0xFF98FB98 },
    { 47, 0xFF00FF7F },
    { 84, 0xFFFF69B4 },
    { 93, 0xFFDDA0DD },
    { 97, 0xFFFF0000 },
    { 99, 0xFF0000FF },
    { 100, 0xFF000000 },
};

QRgb LcdColor(int code)
{
    for (const LCD_COLOR& colour : LCD_PALETTE) {
        if (colour.code == code)
            return colour.rgb;
    }
    return 0xFF000000;
}
