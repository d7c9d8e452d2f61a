#include "live/CSaveProgress.h"

#include <QProgressDialog>

CRealtimeSaver::Result CSaveProgress::Run(QWidget* parent, CRealtimeSaver& saver, const QString& folder,
    const QStringList& recordings)
{
    QProgressDialog dialog(tr("Saving the session..."), tr("Stop"), 0, 0, parent);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    return saver.Save(folder, recordings, [&](qint64 saved) {
        dialog.setLabelText(tr("Saving the session: %1 records").arg(saved));
        QCoreApplication::processEvents();
        return !dialog.wasCanceled();
    });
}
