// Storage benchmarks (medians):
//  - save and load of a realtime data file of 300000 records, one value each,
//    the bands taking turns as in the automatic mode (goal <= 150 ms each)
//  - peak memory growth while loading hostile files, against their size
//  - filling the storage tree from 2000 data files in 50 folders (goal
//    <= 200 ms)
// build/bin/bench_Storage [runs]
#include "CBenchRecords.h"
#include "CBenchStats.h"
#include "files/CDataFile.h"
#include "storage/CStorageTree.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtEndian>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString DEVICE = QStringLiteral("RZ450");

QList<CRecord> LiveRecords(int count)
{
    return CBenchRecords::Live(count, -50.0);
}

// Minor page faults of the process so far: the first use of fresh memory.
long PageFaults()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void SaveAndLoad(int runs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("AUTO_rt_0101_0000.rdf"));
    const QList<CRecord> records = LiveRecords(300000);
    std::vector<double> saves;
    std::vector<double> loads;
    long firstLoadFaults = 0;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        if (!CDataFile::Save(path, DEVICE, 1, records))
            std::printf("save failed\n");
        saves.push_back(timer.nsecsElapsed() / 1e6);
        QList<CRecord> loaded;
        qint32 kind = 0;
        const long faults = PageFaults();
        timer.start();
        if (CDataFile::Load(path, DEVICE, loaded, kind) != CDataFile::Ok || loaded.size() != records.size())
            std::printf("load failed\n");
        loads.push_back(timer.nsecsElapsed() / 1e6);
        if (i == 0)
            firstLoadFaults = PageFaults() - faults;
    }
    std::printf("realtime file of 300000 records, %lld bytes: save %.1f ms, load %.1f ms (goal <= 150 ms each); "
                "first run: save %.1f ms, load %.1f ms with %ld page faults for fresh memory\n",
        QFileInfo(path).size(), CBenchStats::Median(saves), CBenchStats::Median(loads), saves.front(), loads.front(),
        firstLoadFaults);
}

// One figure of /proc/self/status in KiB (Linux): "VmHWM" is the peak
// resident memory since the last reset, "VmRSS" the current one.
long StatusKiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

long PeakKiB()
{
    return StatusKiB("VmHWM");
}

long CurrentKiB()
{
    return StatusKiB("VmRSS");
}

void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QByteArray Header(quint32 count)
{
    QByteArray bytes = CDataFile::Encode(DEVICE, 1, {});
    qToBigEndian(count, bytes.data() + bytes.size() - 4);
    return bytes;
}

// The smallest record there is: no band name, no values.
QByteArray SmallRecord()
{
    QByteArray record(32, '\0');
    qToBigEndian(quint32(0xFFFFFFFF), record.data() + 24);
    return record;
}

void HostileFile(const char* what, const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hostile.rdf"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    ResetPeak();
    const long before = CurrentKiB();
    QList<CRecord> records;
    qint32 kind = 0;
    const CDataFile::Result result = CDataFile::Load(path, DEVICE, records, kind);
    const long growth = PeakKiB() - before;
    std::printf("%s: %lld bytes, result %d, %lld records, peak growth %ld KiB (%.1f x the file)\n", what,
        qlonglong(bytes.size()), int(result), qlonglong(records.size()), growth,
        growth * 1024.0 / std::max<qsizetype>(1, bytes.size()));
}

void HostileFiles()
{
    HostileFile("count 2^31, 1 KiB body", Header(0x80000000u) + QByteArray(1024, '\0'));
    HostileFile("count 2^32-1, 1 KiB body", Header(0xFFFFFFFFu) + QByteArray(1024, '\0'));
    QByteArray values = Header(1) + SmallRecord();
    qToBigEndian(quint32(0x7FFFFFFF), values.data() + values.size() - 4);
    HostileFile("values count 2^31-1, no values", values + QByteArray(1024, '\0'));
    const int many = 1000000;
    HostileFile("1000000 smallest records (a sound file)", Header(many) + SmallRecord().repeated(many));
    // Records of one value each: the count passes the first check, the
    // last record fails.
    QByteArray record = SmallRecord();
    qToBigEndian(quint32(1), record.data() + 28);
    record += QByteArray(24, '\0');
    QByteArray cut = Header(many) + record.repeated(many);
    cut.chop(1);
    HostileFile("1000000 records of one value, last one cut", cut);
}

void FillTree(int runs)
{
    QTemporaryDir dir;
    const QByteArray bytes = CDataFile::Encode(DEVICE, 2, LiveRecords(10));
    for (int folder = 0; folder < 50; ++folder) {
        const QString path = dir.filePath(QStringLiteral("folder%1").arg(folder));
        QDir().mkpath(path);
        for (int i = 0; i < 40; ++i) {
            QFile file(path + QStringLiteral("/log_%1_%2.%3").arg(folder).arg(i).arg(i % 2 ? "ldf" : "rdf"));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
    }
    QTreeWidget tree;
    const CStorageTree storage(&tree);
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        QTreeWidgetItem* root = storage.Rebuild(QStringLiteral("Default Storage"), dir.path());
        root->setExpanded(true);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("storage tree over 2000 files in 50 folders: %.1f ms (goal <= 200 ms)\n", CBenchStats::Median(times));
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 7;
    // First, while the heap is small, so that its growth is the loader's.
    HostileFiles();
    SaveAndLoad(runs);
    FillTree(runs);
    return 0;
}
