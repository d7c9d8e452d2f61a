#pragma once

#include "GuiKitExport.h"

#include <QString>
#include <QStringList>

// Where what is known of a site (a room, a building swept before) is kept:
// <storage>/Sites/<site>/, with its spectrum references and band baselines.
// The storage folder is the client's; the windows of the kit and the device
// plug-ins learn it here, since they are made before and apart from the
// storage panel.
class GUIKIT_EXPORT CSiteFolder
{
public:
    static constexpr int MAX_NAME = 64;

    // A site's name becomes a folder name on every system: not empty, at
    // most MAX_NAME characters, no path separators, reserved or control
    // characters, not "." or "..", no space at either end. error says why.
    static bool IsValidName(const QString& site, QString& error);

    static QString Root(const QString& storage);
    static QString Path(const QString& storage, const QString& site);
    // The sites that have a folder, in name order.
    static QStringList Sites(const QString& storage);
    // Makes the site's folder; false (error set) when the name or the disk
    // refuses it.
    static bool Make(const QString& storage, const QString& site, QString& error);

    // The storage folder of this process, set by whoever owns it.
    static void SetStorage(const QString& storage);
    static QString Storage();
};
