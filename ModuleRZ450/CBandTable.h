#pragma once

#include "RZ450Layout.h"

#include <QByteArray>
#include <QString>

// The fixed table of the 31 bands the detector knows.
class CBandTable
{
public:
    static constexpr int BAND_COUNT = RZ450Layout::BAND_COUNT;

    static bool IsValid(int band) { return band >= 0 && band < BAND_COUNT; }
    // Empty for a band outside the table.
    static QString EnglishName(int band);
    // Windows-1251 bytes, one character per byte (Latin-1 mapping), exactly
    // as the detector's own display encodes them.
    static QString RussianName(int band);
    static int Correction(int band);
};
