#pragma once

#include <QString>

class QFile;

// Hands what was written to the disk itself, past the operating system's
// cache, so that a power cut cannot take it back. Only the recording needs
// this: data files are written whole through QSaveFile.
class CDiskSync
{
public:
    // The file's data (not its times): what a reader needs after a power cut.
    static bool SyncData(QFile& file);
    // The folder's entry for a file just made in it: without it a new file
    // may vanish whole at a power cut, however often its data was synced.
    static bool SyncFolder(const QString& folder);
};
