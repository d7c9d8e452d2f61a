#include "files/CDiskSync.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool CDiskSync::SyncData(QFile& file)
{
    if (!file.isOpen() || !file.flush())
        return false;
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#elif defined(Q_OS_MACOS)
    return ::fsync(file.handle()) == 0;
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

bool CDiskSync::SyncFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    // NTFS journals a new file's entry with the file itself.
    Q_UNUSED(folder);
    return true;
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#endif
}
