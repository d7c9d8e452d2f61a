#pragma once

#include "GuiKitExport.h"

#include <QString>

// A band's name as records carry it: the detector's table pads names for
// its display and ends them in "/". Reports, status lines and published
// messages show it without either.
class GUIKIT_EXPORT CBandName
{
public:
    static QString Plain(const QString& name);
};
