#pragma once

// One label of the band strip on the display's bottom row. Lists end at
// the first BAND_STRIP_NONE.
struct BAND_LABEL
{
    int x;
    int text;            // index into LCD_TEXTS
    int enables[2];      // menu values; any one non-zero enables the label
    int alarmBands[3];   // automatic mode: an alarm in one of them lights it
    int currentBands[6]; // other modes: the current band being one of them lights it
    bool baseStation;    // greyed while manual views show base stations
};

enum { BAND_STRIP_SIZE = 11, BAND_STRIP_NONE = -1 };

extern const BAND_LABEL BAND_STRIP[BAND_STRIP_SIZE];
