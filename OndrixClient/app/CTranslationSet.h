#pragma once

#include <QString>
#include <QTranslator>

// The translators of the whole process: Qt's own messages, the client's and
// the kit's. Switching them makes Qt send a language change event to every
// widget, on which the windows retranslate themselves.
class CTranslationSet
{
public:
    static constexpr const char* ENGLISH = "en_US";
    static constexpr const char* RUSSIAN = "ru_RU";

    static CTranslationSet& Instance();

    void SetLanguage(const QString& language);
    QString GetLanguage() const;

private:
    CTranslationSet();
    void RemoveAll();
    void Install(QTranslator& translator, const QString& file);

    QTranslator m_qtTranslator;
    QTranslator m_clientTranslator;
    QTranslator m_kitTranslator;
    QString m_strLanguage;
};
