#include "app/CTranslationSet.h"

#include "IDeviceGui.h"
#include "app/CClientSession.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

CTranslationSet& CTranslationSet::Instance()
{
    static CTranslationSet set;
    return set;
}

CTranslationSet::CTranslationSet()
    : m_strLanguage(QLocale::system().name())
{
}

void CTranslationSet::SetLanguage(const QString& language)
{
    RemoveAll();
    if (language != QLatin1String(ENGLISH)) {
        const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        Install(m_qtTranslator, qtFolder + QStringLiteral("/qt_") + language + QStringLiteral(".qm"));
        Install(m_kitTranslator, QStringLiteral(":/GuiKit/guikit_") + language + QStringLiteral(".qm"));
    }
    // English too: its file holds the plural forms of the counted texts.
    // "en_US" finds "ondrixclient_en".
    (void)m_clientTranslator.load(QLocale(language), QStringLiteral("ondrixclient"), QStringLiteral("_"),
        QStringLiteral(":/CMainWindow"));
    QCoreApplication::installTranslator(&m_clientTranslator);
    m_strLanguage = language;
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->SetLanguage(language);
}

QString CTranslationSet::GetLanguage() const
{
    return m_strLanguage;
}

void CTranslationSet::RemoveAll()
{
    for (QTranslator* translator : { &m_qtTranslator, &m_clientTranslator, &m_kitTranslator })
        QCoreApplication::removeTranslator(translator);
}

void CTranslationSet::Install(QTranslator& translator, const QString& file)
{
    // A file that fails to load leaves the translator empty (load drops
    // what it held before): it then translates nothing.
    (void)translator.load(file);
    QCoreApplication::installTranslator(&translator);
}
