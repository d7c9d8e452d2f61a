#include "baseline/CBaselineFile.h"

#include "baseline/CBaselineCodec.h"
#include "sites/CSiteFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

const char* const STAMP = "yyyyMMdd-hhmmss";

const QRegularExpression& NamePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^baseline-(\\d{8}-\\d{6})(?:-(\\d{1,6}))?\\.%1$").arg(CBaselineFile::EXTENSION));
    return pattern;
}

} // namespace

QString CBaselineFile::FileName(const QDateTime& start, int copy)
{
    const QString stamp = start.toUTC().toString(QLatin1String(STAMP));
    const QString suffix = copy > 1 ? QStringLiteral("-%1").arg(copy) : QString();
    return QStringLiteral("baseline-%1%2.%3").arg(stamp, suffix, QLatin1String(EXTENSION));
}

QStringList CBaselineFile::List(const QString& storage, const QString& site)
{
    const QDir folder(CSiteFolder::Path(storage, site));
    QList<std::pair<QString, int>> keys;
    QStringList names;
    for (const QString& name : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = NamePattern().match(name);
        if (match.hasMatch()) {
            keys.append({ match.captured(1), std::max(1, match.captured(2).toInt()) });
            names.append(name);
        }
    }
    QList<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&keys](int a, int b) { return keys.at(a) > keys.at(b); });
    QStringList paths;
    for (const int i : order)
        paths.append(folder.filePath(names.at(i)));
    return paths;
}

bool CBaselineFile::Save(const QString& storage, const CBaseline& baseline, QString& path, QString& error)
{
    if (baseline.Samples() <= 0) {
        error = tr("A baseline of no samples compares nothing; it was not saved.");
        return false;
    }
    if (storage.isEmpty()) {
        error = tr("No storage folder is set, so the baseline has nowhere to go.");
        return false;
    }
    if (!CSiteFolder::Make(storage, baseline.site, error))
        return false;
    const QDir folder(CSiteFolder::Path(storage, baseline.site));
    int copy = 1;
    while (QFileInfo::exists(folder.filePath(FileName(baseline.start, copy))))
        ++copy;
    QSaveFile file(folder.filePath(FileName(baseline.start, copy)));
    if (!file.open(QIODevice::WriteOnly) || file.write(CBaselineCodec::Encode(baseline)) < 0 || !file.commit()) {
        error = tr("The baseline could not be written to %1: %2")
                    .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        return false;
    }
    path = file.fileName();
    return true;
}

bool CBaselineFile::Load(const QString& path, CBaseline& baseline, QString& error)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("The baseline file %1 cannot be read: %2").arg(name, file.errorString());
        return false;
    }
    if (file.size() > MAX_FILE_BYTES) {
        error = tr("The baseline file %1 is far too large to be a baseline; it was not used.").arg(name);
        return false;
    }
    switch (CBaselineCodec::Decode(file.readAll(), baseline)) {
    case CBaselineCodec::Ok: return true;
    case CBaselineCodec::NotABaseline:
        error = tr("The file %1 is no baseline of this program; it was not used.").arg(name);
        break;
    case CBaselineCodec::Newer:
        error = tr("The baseline file %1 was written by a later version of the program; it was not used.").arg(name);
        break;
    case CBaselineCodec::Damaged:
        error = tr("The baseline file %1 is damaged; it was not used. Capture the baseline again.").arg(name);
        break;
    case CBaselineCodec::Empty:
        error = tr("The baseline file %1 holds no samples; it was not used. Capture the baseline again.").arg(name);
        break;
    }
    return false;
}

QStringList CBaselineFile::Sites(const QString& storage)
{
    QStringList sites = CSiteFolder::Sites(storage);
    sites.removeIf([&storage](const QString& site) { return List(storage, site).isEmpty(); });
    return sites;
}

bool CBaselineFile::Latest(const QString& site, CBaseline& baseline, QString& error)
{
    return Latest(CSiteFolder::Storage(), site, baseline, error);
}

bool CBaselineFile::Latest(const QString& storage, const QString& site, CBaseline& baseline, QString& error,
    QString* path)
{
    if (!CSiteFolder::IsValidName(site, error))
        return false;
    if (storage.isEmpty()) {
        error = tr("No storage folder is set, so there is no baseline to compare with.");
        return false;
    }
    if (!QFileInfo(CSiteFolder::Path(storage, site)).isDir()) {
        error = tr("There is no site named \"%1\" in the storage folder %2.")
                    .arg(site, QDir::toNativeSeparators(storage));
        return false;
    }
    const QStringList files = List(storage, site);
    if (files.isEmpty()) {
        error = tr("The site \"%1\" has no baseline yet; capture one first.").arg(site);
        return false;
    }
    if (!Load(files.first(), baseline, error))
        return false;
    if (path)
        *path = files.first();
    return true;
}
