#pragma once

#include <QString>
#include <QtGlobal>

// Names of saved live recordings: the band group watched (or "AUTO" for all
// bands) and the local time of the first record, so that one session's files
// sort together and a second save of the same records replaces the first.
class CRealtimeFileName
{
public:
    static QString BandGroup(int band);
    // "AUTO_" in the automatic mode, else the band group and "_".
    static QString Prefix(int mode, int band);
    // Prefix + "rt_MMdd_hhmm", without the extension.
    static QString Make(const QString& prefix, quint64 firstTime);
};
