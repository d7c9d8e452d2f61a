#pragma once

#include <QString>
#include <QtGlobal>

// Names of saved live recordings: the band group watched (or "AUTO" for all
// bands) and the local time of the first record, so that one session's files
// sort together. A second save in the same minute never replaces the first:
// it takes the next free name.
class CRealtimeFileName
{
public:
    static QString BandGroup(int band);
    // "AUTO_" in the automatic mode, else the band group and "_".
    static QString Prefix(int mode, int band);
    // Prefix + "rt_MMdd_hhmm", without the extension.
    static QString Make(const QString& prefix, quint64 firstTime);
    // Make's name, or with "_2", "_3"... when a data file of that name is in
    // the folder already.
    static QString Free(const QString& folder, const QString& prefix, quint64 firstTime);
};
