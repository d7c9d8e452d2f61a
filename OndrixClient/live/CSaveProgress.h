#pragma once

#include "live/CRealtimeSaver.h"

#include <QCoreApplication>

class QWidget;

// Save Data of a long session takes a while: a progress window says how far
// it got and can stop it, and the window goes on drawing (and recording)
// meanwhile.
class CSaveProgress
{
    Q_DECLARE_TR_FUNCTIONS(CSaveProgress)

public:
    static CRealtimeSaver::Result Run(QWidget* parent, CRealtimeSaver& saver, const QString& folder,
        const QStringList& recordings);
};
