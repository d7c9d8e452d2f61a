// Sweep report benchmark (medians): a report of 8000 log events in four
// data files, with the four diagrams the device GUI draws of them, from the
// files to the written PDF (goal <= 3 s), and the two parts of it: reading
// the files with drawing the diagrams, and writing the PDF.
// build/bin/bench_Report [runs] [PDF to keep] [en_US|ru_RU]
#include "CBenchStats.h"
#include "CRZ450DeviceGui.h"
#include "app/CTranslationSet.h"
#include "files/CDataFile.h"
#include "report/CReportBuilder.h"
#include "report/CReportWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

const int EVENTS = 8000;
const int FILES = 4;
const char* const BANDS[]
    = { "CDMA 450/", "GSM 900/", "GSM 1800/", "DECT/", "3G 2100/", "WLAN 2.4/", "WLAN 5/", "BT/" };

// One log bank: an event every 45 s on the bands in turn.
QList<CRecord> Bank(int first, int count)
{
    QList<CRecord> records;
    for (int i = first; i < first + count; ++i) {
        CRecord record;
        record.band = i % 8;
        record.bandName = QString::fromLatin1(BANDS[record.band]);
        record.time = 1767225600u + quint64(i) * 45;
        record.duration = 1 + i % 40;
        record.values.append({ -70.0 + i % 35, -75.0, 0, 0 });
        records.append(record);
    }
    return records;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    QStringList files;
    for (int f = 0; f < FILES; ++f) {
        files.append(dir.filePath(QStringLiteral("log_0101_%1.ldf").arg(f, 4, 10, QLatin1Char('0'))));
        if (!CDataFile::Save(files.last(), QStringLiteral("RZ450"), 2, Bank(f * EVENTS / FILES, EVENTS / FILES))) {
            std::printf("cannot write the data files\n");
            return 1;
        }
    }
    CRZ450DeviceGui gui;
    if (argc > 3)
        CTranslationSet::Instance().SetLanguage(QString::fromLatin1(argv[3]));
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("report.pdf"));
    std::vector<double> builds, writes, totals;
    int events = 0;
    int diagrams = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        REPORT_INPUT input;
        QString error;
        if (!CReportBuilder::FromFiles(files, QString(), &gui, input, error)) {
            std::printf("build failed: %s\n", qPrintable(error));
            return 1;
        }
        const double built = timer.nsecsElapsed() / 1e6;
        if (!CReportWriter::Write(input, pdf, error)) {
            std::printf("write failed: %s\n", qPrintable(error));
            return 1;
        }
        const double total = timer.nsecsElapsed() / 1e6;
        builds.push_back(built);
        writes.push_back(total - built);
        totals.push_back(total);
        events = int(input.data.Events().size());
        diagrams = int(input.diagrams.size());
    }
    std::printf("report of %d events with %d diagrams (%d runs): %.0f ms from the files to the PDF (goal <= 3000 ms); "
                "files and diagrams %.0f ms, PDF %.0f ms; %lld bytes\n",
        events, diagrams, runs, CBenchStats::Median(totals), CBenchStats::Median(builds), CBenchStats::Median(writes),
        QFileInfo(pdf).size());
    return 0;
}
