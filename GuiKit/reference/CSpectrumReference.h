#pragma once

#include "GuiKitExport.h"

#include <QDateTime>
#include <QString>

#include <vector>

// A trace of a site kept when the site was known clean, for the live
// spectrum to be compared with (CReferenceFile keeps it in the site's
// folder, CReferenceCodec gives its bytes). A plain value, copied freely.
class GUIKIT_EXPORT CSpectrumReference
{
public:
    // Which trace of the spectrum window it was taken from; stored as a
    // byte, so the numbers stay, and of a byte's type, since a byte read
    // from a file may be none of them.
    enum Trace : quint8 { Live = 0, MaxHold = 1, MinHold = 2, Average = 3 };
    static constexpr int TRACE_COUNT = 4;
    // A sweep's points as the detector gives them, with room to spare.
    static constexpr int MAX_POINTS = 254;

    QString name;
    QString site;
    int rangeStartMhz = 0;
    int rangeEndMhz = 0;
    QDateTime saved; // UTC
    Trace trace = Live;
    std::vector<double> levels; // dBm, one per point

    int Points() const { return int(levels.size()); }
    // Holds the points, range and levels a codec accepts; error says why not.
    bool IsSound(QString& error) const;
    bool operator==(const CSpectrumReference& other) const;
};
