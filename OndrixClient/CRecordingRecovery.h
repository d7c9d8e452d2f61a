#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// At start: the live recordings a crash or a power cut left in the storage
// folder. Each is offered to the user, to keep as an ordinary realtime data
// file or to discard; one that cannot be read is left where it is.
class CRecordingRecovery
{
    Q_DECLARE_TR_FUNCTIONS(CRecordingRecovery)

public:
    static void Offer(QWidget* parent, const QString& folder);
    // Saves the recording's records as a data file beside it and removes it.
    static bool Keep(const QString& recording, QString& savedAs, QString& error);
};
