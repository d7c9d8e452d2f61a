#pragma once

#include <QtGlobal>

class CQDiagramWidget;

// Generated detector data for a diagram widget, one value per second ending
// at a given time, laid out the way the device GUI lays out its diagrams.
class CDemoData
{
public:
    static const int BAND_LINES = 19;

    // Level and threshold lines of one watched band: a noise floor with
    // bursts, and a threshold that steps now and then.
    static void FillLines(CQDiagramWidget& widget, int count, quint64 end);
    // One row per band; alarm events of a few seconds to minutes. count is
    // the number of events over all rows.
    static void FillRects(CQDiagramWidget& widget, int count, quint64 end);
    // Level bars of one band with its threshold drawn as level lines.
    static void FillLevelRects(CQDiagramWidget& widget, int count, quint64 end);

    // Shows the whole history instead of the last minutes.
    static void ShowAll(CQDiagramWidget& widget);

    // The same level series FillLines draws, for appending on its own.
    static double Level(int i);
    static double Threshold(int i);
};
