#pragma once

#include "baseline/CBaseline.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// A site's baselines on disk: files in the site's folder
// (CSiteFolder::Path), named after the capture's start in UTC,
// "baseline-yyyyMMdd-hhmmss.orzbase" (CBaselineCodec's bytes). A new
// capture never replaces an old one: a second of the same second gets
// "-2", "-3"... before the extension. Every failure comes with a message
// for the user, and a failed save leaves the folder as it was.
class CBaselineFile
{
    Q_DECLARE_TR_FUNCTIONS(CBaselineFile)

public:
    static constexpr const char* EXTENSION = "orzbase";
    // Far beyond any baseline the codec writes.
    static constexpr qint64 MAX_FILE_BYTES = 1 << 20;

    static QString FileName(const QDateTime& start, int copy = 1);
    // The site's baseline files, newest capture first.
    static QStringList List(const QString& storage, const QString& site);
    // The sites with a baseline file, in name order.
    static QStringList Sites(const QString& storage);

    // Writes the baseline into its site's folder (made when missing); path
    // is the file written.
    static bool Save(const QString& storage, const CBaseline& baseline, QString& path, QString& error);
    static bool Load(const QString& path, CBaseline& baseline, QString& error);
    // The site's newest baseline, in the storage of this process
    // (CSiteFolder::Storage) or the one given. A newest file that cannot be
    // read is said so; an older one is not used in its place unasked.
    static bool Latest(const QString& site, CBaseline& baseline, QString& error);
    static bool Latest(const QString& storage, const QString& site, CBaseline& baseline, QString& error,
        QString* path = nullptr);
};
