#pragma once

#include "GuiKitExport.h"
#include "reference/CSpectrumReference.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// A site's spectrum references on disk: <site folder>/<name>.orzref
// (CReferenceCodec's bytes), the name following a site name's rules
// (CSiteFolder::IsValidName). A save never replaces a reference unless the
// caller says the user agreed; every failure comes with a message for the
// user and leaves the folder as it was.
class GUIKIT_EXPORT CReferenceFile
{
    Q_DECLARE_TR_FUNCTIONS(CReferenceFile)

public:
    static constexpr const char* EXTENSION = "orzref";
    // Far beyond the largest reference the codec writes.
    static constexpr qint64 MAX_FILE_BYTES = 64 * 1024;

    enum SaveResult { Saved, Exists, Failed };

    static QString Path(const QString& storage, const QString& site, const QString& name);
    // The names of the site's references, in name order.
    static QStringList List(const QString& storage, const QString& site);
    // Into the reference's site folder (made when missing). Exists: a
    // reference of that name is there and replace was not given.
    static SaveResult Save(const QString& storage, const CSpectrumReference& reference, bool replace, QString& error);
    static bool Load(const QString& storage, const QString& site, const QString& name, CSpectrumReference& reference,
        QString& error);
    static bool Load(const QString& path, CSpectrumReference& reference, QString& error);

private:
    static bool CheckNames(const QString& storage, const QString& site, const QString& name, QString& error);
};
