#include "CRZ450MenuFile.h"

#include "RZ450Layout.h"

#include <QFile>
#include <QSaveFile>

CRZ450MenuFile::Result CRZ450MenuFile::Read(const QString& path, QByteArray& block)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return OpenFailed;
    // One byte past a block tells a wrong size, whatever the file's length.
    const QByteArray data = file.read(RZ450Layout::MENU_SIZE + 1);
    if (data.size() != RZ450Layout::MENU_SIZE)
        return WrongSize;
    block = data;
    return Ok;
}

bool CRZ450MenuFile::Write(const QString& path, const QByteArray& block)
{
    if (block.size() != RZ450Layout::MENU_SIZE)
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(block) == block.size() && file.commit();
}
