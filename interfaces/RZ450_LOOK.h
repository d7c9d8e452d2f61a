#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One light look at a detector, for a watcher of many: its state and each
// band's alarm flag, level and threshold, not its records.
struct RZ450_LOOK
{
    bool online = false;
    int mode = 0;
    int band = 0;
    quint32 flags = 0;     // indication flags of bands 0 to 18, band 0 the lowest bit
    QByteArray levels;     // raw level of every band, RZ450Layout::BAND_COUNT bytes
    QByteArray thresholds; // raw threshold of every band, as many
    bool batteryOk = true;
    QDateTime clock;
    QString error; // offline: why, when the connection says
    // The detector's names of its bands, as its records carry them; asked
    // for only now and then, as they change only with its language.
    QStringList bandNames;
};

Q_DECLARE_METATYPE(RZ450_LOOK)
