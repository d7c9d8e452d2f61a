#include "reference/CReferenceFile.h"

#include "reference/CReferenceCodec.h"
#include "sites/CSiteFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString CReferenceFile::Path(const QString& storage, const QString& site, const QString& name)
{
    return QDir(CSiteFolder::Path(storage, site)).filePath(name + QLatin1Char('.') + QLatin1String(EXTENSION));
}

QStringList CReferenceFile::List(const QString& storage, const QString& site)
{
    const QString pattern = QStringLiteral("*.") + QLatin1String(EXTENSION);
    QStringList names;
    for (const QFileInfo& file :
        QDir(CSiteFolder::Path(storage, site)).entryInfoList({ pattern }, QDir::Files, QDir::Name)) {
        QString error;
        if (CSiteFolder::IsValidName(file.completeBaseName(), error))
            names.append(file.completeBaseName());
    }
    return names;
}

CReferenceFile::SaveResult CReferenceFile::Save(const QString& storage, const CSpectrumReference& reference,
    bool replace, QString& error)
{
    if (!CheckNames(storage, reference.site, reference.name, error) || !reference.IsSound(error))
        return Failed;
    const QString path = Path(storage, reference.site, reference.name);
    if (!replace && QFileInfo::exists(path)) {
        error = tr("The site \"%1\" already has a reference named \"%2\".").arg(reference.site, reference.name);
        return Exists;
    }
    if (!CSiteFolder::Make(storage, reference.site, error))
        return Failed;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(CReferenceCodec::Encode(reference)) < 0 || !file.commit()) {
        error = tr("The reference could not be written to %1: %2")
                    .arg(QDir::toNativeSeparators(path), file.errorString());
        return Failed;
    }
    return Saved;
}

bool CReferenceFile::Load(const QString& storage, const QString& site, const QString& name,
    CSpectrumReference& reference, QString& error)
{
    return CheckNames(storage, site, name, error) && Load(Path(storage, site, name), reference, error);
}

bool CReferenceFile::Load(const QString& path, CSpectrumReference& reference, QString& error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("The reference file %1 cannot be read: %2").arg(shown, file.errorString());
        return false;
    }
    if (file.size() > MAX_FILE_BYTES) {
        error = tr("The file %1 is far too large to be a reference; it was not used.").arg(shown);
        return false;
    }
    switch (CReferenceCodec::Decode(file.readAll(), reference)) {
    case CReferenceCodec::Ok: return true;
    case CReferenceCodec::NotAReference:
        error = tr("The file %1 is no spectrum reference of this program; it was not used.").arg(shown);
        break;
    case CReferenceCodec::OtherVersion:
        error = tr("The reference file %1 was written by another version of the program; it was not used.").arg(shown);
        break;
    case CReferenceCodec::Damaged:
        error = tr("The reference file %1 is damaged; it was not used. Save the reference again.").arg(shown);
        break;
    }
    return false;
}

bool CReferenceFile::CheckNames(const QString& storage, const QString& site, const QString& name, QString& error)
{
    if (storage.isEmpty()) {
        error = tr("No storage folder is set, so there is no place for references.");
        return false;
    }
    if (!CSiteFolder::IsValidName(site, error))
        return false;
    if (!CSiteFolder::IsValidName(name, error)) {
        error = tr("The reference name \"%1\" cannot be used: %2").arg(name, error);
        return false;
    }
    return true;
}
