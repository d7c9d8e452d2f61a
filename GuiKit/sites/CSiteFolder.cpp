#include "sites/CSiteFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
constexpr const char* SITES = "Sites";

QString& StorageOfProcess()
{
    static QString storage;
    return storage;
}

bool HasForbiddenCharacter(const QString& site)
{
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : site) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || reserved.contains(c))
            return true;
    }
    return false;
}
} // namespace

bool CSiteFolder::IsValidName(const QString& site, QString& error)
{
    if (site.trimmed().isEmpty())
        error = QCoreApplication::translate("CSiteFolder", "A site needs a name.");
    else if (site.size() > MAX_NAME)
        error
            = QCoreApplication::translate("CSiteFolder", "A site's name may have at most %1 characters.").arg(MAX_NAME);
    else if (site != site.trimmed() || site == QLatin1String(".") || site == QLatin1String("..")
        || HasForbiddenCharacter(site))
        error = QCoreApplication::translate("CSiteFolder",
            "A site's name may not hold / \\ : * ? \" < > | or control characters, nor begin or end with a space.");
    else
        return true;
    return false;
}

QString CSiteFolder::Root(const QString& storage)
{
    return QDir(storage).filePath(QLatin1String(SITES));
}

QString CSiteFolder::Path(const QString& storage, const QString& site)
{
    return QDir(Root(storage)).filePath(site);
}

QStringList CSiteFolder::Sites(const QString& storage)
{
    QStringList sites = QDir(Root(storage)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QString error;
    sites.removeIf([&error](const QString& site) { return !IsValidName(site, error); });
    return sites;
}

bool CSiteFolder::Make(const QString& storage, const QString& site, QString& error)
{
    if (!IsValidName(site, error))
        return false;
    const QString path = Path(storage, site);
    if (QDir().mkpath(path))
        return true;
    error = QCoreApplication::translate("CSiteFolder", "The folder %1 could not be made.")
                .arg(QDir::toNativeSeparators(path));
    return false;
}

void CSiteFolder::SetStorage(const QString& storage)
{
    StorageOfProcess() = storage;
}

QString CSiteFolder::Storage()
{
    return StorageOfProcess();
}
