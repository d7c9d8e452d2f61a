// Notes benchmark (medians): what a session's notes cost where they meet
// the most data a client handles at once.
//  - readings: MAX notes paired with the records of a recording loaded
//    whole (CStoredRecords::MAX_RECORDING_RECORDS), as a report does
//    (goal <= 3 s, beside the seconds the loading itself takes);
//  - marks: a repaint of the realtime diagram's mark layer holding the
//    session's most notes, all in view (goal <= 10 ms, within a 25 ms poll);
//  - notes file: decoding the notes file of that many notes (goal <= 50 ms).
// build/bin/bench_Notes [runs]
#include "CBenchStats.h"
#include "diagram/CQDiagramWidget.h"
#include "diagram/CTimeMarks.h"
#include "files/CNotesFile.h"
#include "files/CStoredRecords.h"
#include "notes/CNoteActions.h"
#include "report/CNoteReadings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

const quint64 T0 = 1767225600u;
const int NOTES = CNoteActions::MAX_NOTES;

QList<CRecord> Records(qint64 count)
{
    QList<CRecord> records;
    records.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        CRecord record;
        record.band = int(i % 8);
        record.time = T0 + quint64(i / 8); // eight bands a second
        record.values.append({ -70.0 + double(i % 35), -75.0, 0, 0 });
        records.append(record);
    }
    return records;
}

QList<NOTE> Notes(quint64 span)
{
    QList<NOTE> notes;
    for (int i = 0; i < NOTES; ++i)
        notes.append({ (T0 + span * quint64(i) / NOTES) * 1000, QStringLiteral("north wall, desk %1").arg(i) });
    return notes;
}

double Median(int runs, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return CBenchStats::Median(ms);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    const QList<CRecord> records = Records(CStoredRecords::MAX_RECORDING_RECORDS);
    const QList<NOTE> notes = Notes(quint64(records.last().time - T0));
    qsizetype found = 0;
    const double readings = Median(runs, [&] { found = CNoteReadings::For(notes, records).size(); });
    std::printf("readings: %d notes over %lld records: %.1f ms (%lld paired)\n", NOTES,
        static_cast<long long>(records.size()), readings, static_cast<long long>(found));

    CQDiagramWidget diagram;
    diagram.resize(1600, 500);
    diagram.SetSingleDiagramArea();
    diagram.SetDiagramType(0, DIAGRAM_TIME_LINES);
    diagram.SetMaxXRange(QVariant::fromValue<quint64>(T0), QVariant::fromValue(records.last().time), 1.0, true);
    diagram.update();
    CTimeMarks marks(&diagram);
    QList<CTimeMarks::MARK> all;
    for (const NOTE& note : notes)
        all.append({ note.Seconds(), note.text });
    marks.SetMarks(all);
    QImage image(marks.size(), QImage::Format_ARGB32_Premultiplied);
    const double paint = Median(runs, [&] { marks.render(&image); });
    std::printf("marks: a repaint with %d marks in view: %.2f ms\n", NOTES, paint);

    const QByteArray bytes = CNotesFile::Encode(notes);
    qsizetype decoded = 0;
    const double file = Median(runs, [&] { decoded = CNotesFile::Decode(bytes).notes.size(); });
    std::printf("notes file: %lld bytes, %lld notes decoded: %.2f ms\n", static_cast<long long>(bytes.size()),
        static_cast<long long>(decoded), file);
    return 0;
}
