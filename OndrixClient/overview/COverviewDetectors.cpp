#include "overview/COverviewDetectors.h"

#include "app/ClientSettingsKeys.h"
#include "protocol/CServerAddress.h"

#include <QSettings>

#include <algorithm>

namespace {

const QString ADDRESS = QStringLiteral("Address");
const QString NAME = QStringLiteral("Name");

} // namespace

QList<OVERVIEW_DETECTOR> COverviewDetectors::Load()
{
    QSettings settings;
    QList<OVERVIEW_DETECTOR> detectors;
    const int count = settings.beginReadArray(QLatin1String(ClientSettingsKeys::OVERVIEW_DETECTORS));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        Add(detectors, { Normalized(settings.value(ADDRESS).toString()), settings.value(NAME).toString().trimmed() });
    }
    settings.endArray();
    return detectors;
}

void COverviewDetectors::Save(const QList<OVERVIEW_DETECTOR>& detectors)
{
    QSettings settings;
    settings.remove(QLatin1String(ClientSettingsKeys::OVERVIEW_DETECTORS));
    settings.beginWriteArray(QLatin1String(ClientSettingsKeys::OVERVIEW_DETECTORS), int(detectors.size()));
    for (int i = 0; i < detectors.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(ADDRESS, detectors.at(i).address);
        settings.setValue(NAME, detectors.at(i).name);
    }
    settings.endArray();
}

bool COverviewDetectors::Add(QList<OVERVIEW_DETECTOR>& detectors, const OVERVIEW_DETECTOR& detector)
{
    if (detectors.size() >= MAX_DETECTORS)
        return false;
    const bool known = std::any_of(detectors.cbegin(), detectors.cend(),
        [&](const OVERVIEW_DETECTOR& kept) { return kept.address == detector.address; });
    if (known)
        return false;
    detectors.append(detector);
    return true;
}

QString COverviewDetectors::Label(const OVERVIEW_DETECTOR& detector)
{
    if (!detector.name.isEmpty())
        return detector.name;
    return detector.IsLocal() ? tr("This computer") : detector.address;
}

QString COverviewDetectors::Normalized(const QString& address)
{
    QString normalized = address.trimmed();
    const QLatin1String plain(CServerAddress::PLAIN_SCHEME);
    if (normalized.startsWith(plain, Qt::CaseInsensitive))
        normalized.remove(0, int(plain.size()));
    return normalized;
}
