#pragma once

#include "GuiKitExport.h"
#include "paint/CLabelCache.h"

#include <QHash>
#include <QString>

class QPainter;
class QRect;

// The time labels of an X axis strip: the local time "hh:mm:ss" at each line
// of the time grid. Turning a time into local time costs as much as drawing
// its label, so each time's text is kept until the local time's offset from
// UTC changes (the zone was set anew); at MAX_TEXTS texts they start afresh.
class GUIKIT_EXPORT CTimeLabels
{
public:
    static constexpr int MAX_TEXTS = 256;

    // The window [min, max] on the strip, with the painter's pen and font.
    void Draw(QPainter& painter, const QRect& strip, quint64 min, quint64 max);

private:
    const QString& Text(quint64 t);

    QHash<quint64, QString> m_texts;
    int m_nUtcOffset = 0;
    CLabelCache m_labels;
};
