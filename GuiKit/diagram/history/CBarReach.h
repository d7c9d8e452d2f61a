#pragma once

#include "GuiKitExport.h"
#include "diagram/DATA_VALUE.h"

#include <QHash>
#include <QList>

// Where to start looking for the bars of a line that reach a time. Bars are
// sorted by start, not by end, and nothing bounds a duration but the longest
// one the line holds: a bar reaching t starts no earlier than t minus that.
// The longest is kept up to date as values come in; a line that changed in
// another way (its count tells) is measured afresh once.
class GUIKIT_EXPORT CBarReach
{
public:
    // After a value was offered to the line, whether it was kept or not.
    void Appended(const QList<DATA_VALUE>& values, const DATA_VALUE& value);

    // The first index whose bar may end after t. Bars from there on that
    // start before t still need their end compared with it.
    int FirstReaching(const QList<DATA_VALUE>& values, quint64 t);

    // Start plus duration; a negative duration counts as none.
    static quint64 EndOf(const DATA_VALUE& value);

private:
    struct LINE_REACH
    {
        qsizetype count = 0;
        int longest = 0;
    };
    QHash<const QList<DATA_VALUE>*, LINE_REACH> m_lines;
};
