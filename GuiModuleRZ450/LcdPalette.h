#pragma once

#include <QRgb>

// The colour codes the detector's display uses.
struct LCD_COLOR
{
    int code;
    QRgb rgb;
};

enum { LCD_PALETTE_SIZE = 11 };

extern const LCD_COLOR LCD_PALETTE[LCD_PALETTE_SIZE];

// Black for a code the display does not know.
QRgb LcdColor(int code);
