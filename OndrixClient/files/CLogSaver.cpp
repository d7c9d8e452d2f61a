#include "files/CLogSaver.h"

#include "IDevice.h"
#include "files/CDataFile.h"
#include "storage/CStorageTree.h"

#include <QDir>

#include <exception>

namespace {

const QLatin1String LOG_SUFFIX(".ldf");

} // namespace

CLogSaver::CLogSaver(IDevice* device)
    : m_pDevice(device)
{
}

QStringList CLogSaver::SavedNames() const
{
    return m_savedNames;
}

CLogSaver::Result CLogSaver::Save(const QString& strFolder)
{
    m_savedNames.clear();
    if (strFolder.isEmpty() || !m_pDevice)
        return Failed;
    try {
        return Save(strFolder, m_pDevice->GetLogRecords(), m_pDevice->GetDevID());
    } catch (const std::exception&) {
        return Failed;
    }
}

CLogSaver::Result CLogSaver::Save(const QString& strFolder, const QList<CLogRecord>& banks, const QString& deviceType)
{
    m_savedNames.clear();
    if (strFolder.isEmpty())
        return Failed;
    const QDir folder(strFolder);
    QSet<QString> used;
    for (const CLogRecord& bank : banks) {
        // A bank without events has nothing to keep (and no name).
        if (bank.records.isEmpty())
            continue;
        // The name comes from the device, possibly over the network: it
        // must not lead out of the folder.
        if (!CStorageTree::IsPlainName(bank.name))
            return Failed;
        const QString name = UniqueName(bank.name, used);
        if (!CDataFile::Save(folder.filePath(name), deviceType, bank.type, bank.records))
            return Failed;
        used.insert(name);
        m_savedNames.append(name);
    }
    return m_savedNames.isEmpty() ? NoEvents : Saved;
}

QString CLogSaver::UniqueName(const QString& name, const QSet<QString>& used)
{
    // Banks are named after the minute of their first event: two banks
    // begun within one minute would otherwise share one file, and the
    // second would wipe out the first.
    if (!used.contains(name))
        return name;
    const bool hasSuffix = name.endsWith(LOG_SUFFIX);
    const QString base = hasSuffix ? name.left(name.size() - LOG_SUFFIX.size()) : name;
    const QString suffix = hasSuffix ? QString(LOG_SUFFIX) : QString();
    for (int n = 2;; ++n) {
        QString candidate = base + QLatin1Char('_') + QString::number(n) + suffix;
        if (!used.contains(candidate))
            return candidate;
    }
}
