#pragma once

#include "CRecord.h"
#include "files/NOTE.h"

#include <QList>
#include <QString>

// A note with the reading of its moment: the record nearest to it in time
// (the earlier one of two as near), when one lies within MAX_SECONDS;
// otherwise the note stands alone. Pure: the report and the event list
// show the same reading for a note.
struct NOTE_READING
{
    NOTE note;
    bool found = false;
    int band = 0;
    QString bandName;
    double level = 0.0; // dBm, the record's first value
    quint64 recordTime = 0;
};

class CNoteReadings
{
public:
    // A record further from the note than this tells nothing of its moment.
    static constexpr quint64 MAX_SECONDS = 30;

    // The notes in time order, each with its reading; records in any order.
    static QList<NOTE_READING> For(QList<NOTE> notes, const QList<CRecord>& records);
};
