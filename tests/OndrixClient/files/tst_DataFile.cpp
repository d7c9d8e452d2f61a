// The data file codec against files built by hand field by field, damaged
// files, and a save killed halfway by a power cut stand-in (SIGKILL).
#include "files/CDataFile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

const QString DEVICE = QStringLiteral("RZ450");

// Big-endian fields appended one by one, as a file of the stored layout
// holds them.
struct CBytes
{
    template <typename T>
    CBytes& Put(T value)
    {
        char raw[sizeof(T)];
        qToBigEndian(value, raw);
        bytes.append(raw, sizeof(T));
        return *this;
    }
    CBytes& U32(quint32 value) { return Put(value); }
    // A byte count, then UTF-16 code units; a null string has no units.
    CBytes& Text(const QString& text)
    {
        U32(text.isNull() ? 0xFFFFFFFFu : quint32(text.size() * 2));
        for (QChar unit : text)
            Put(quint16(unit.unicode()));
        return *this;
    }

    QByteArray bytes;
};

CRecord Record(int band, const QString& name, quint64 time, QList<RECORD_VALUE> values = {})
{
    CRecord record;
    record.band = band;
    record.bandName = name;
    record.time = time;
    record.values = values;
    return record;
}

// A 64-bit time, a name outside Latin-1, a null and an empty name, and
// records with two values and with none.
QList<CRecord> Sample()
{
    QList<CRecord> records { Record(5, QStringLiteral("3G \u042E/"), 0x0000000184A3B2C1ull,
                                 { { -40.5, -70.0, 7, -7 }, { 0.0, -1.0, 0, 0 } }),
        Record(15, QString(), 1), Record(-1, QStringLiteral(""), 0xFFFFFFFFFFFFFFFFull) };
    records[0].value = 0.5;
    records[0].duration = 12;
    records[2].duration = -3;
    return records;
}

QByteArray SampleByHand()
{
    return CBytes()
        .Text(DEVICE)
        .U32(2)
        .U32(3)
        .Put(0.5)
        .U32(5)
        .U32(12)
        .Put(0x0000000184A3B2C1ull)
        .Text(QStringLiteral("3G \u042E/"))
        .U32(2)
        .Put(-40.5)
        .Put(-70.0)
        .U32(7)
        .U32(quint32(-7))
        .Put(0.0)
        .Put(-1.0)
        .U32(0)
        .U32(0)
        .Put(0.0)
        .U32(15)
        .U32(0)
        .Put(quint64(1))
        .Text(QString())
        .U32(0)
        .Put(0.0)
        .U32(quint32(-1))
        .U32(quint32(-3))
        .Put(0xFFFFFFFFFFFFFFFFull)
        .Text(QStringLiteral(""))
        .U32(0)
        .bytes;
}

// What QDataStream in its 4.8 form writes for the same records.
QByteArray SampleByStream()
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_8);
    const QList<CRecord> records = Sample();
    out << DEVICE << qint32(2) << qint32(records.size());
    for (const CRecord& record : records) {
        out << record.value << qint32(record.band) << qint32(record.duration) << quint64(record.time) << record.bandName
            << quint32(record.values.size());
        for (const RECORD_VALUE& value : record.values)
            out << value.level << value.threshold << qint32(value.param1) << qint32(value.param2);
    }
    return bytes;
}

QList<CRecord> LiveRecords(int count)
{
    QList<CRecord> records;
    for (int i = 0; i < count; ++i)
        records.append(Record(i % 31, QStringLiteral("Band %1/").arg(i % 31), 1767225600u + quint64(i),
            { { -60.0 - i % 40, -50.0, 0, 0 } }));
    return records;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The child's side of the power cut: saves a large file over and over.
int SaveForever(const QString& path)
{
    const QList<CRecord> records = LiveRecords(100000);
    for (;;)
        CDataFile::Save(path, DEVICE, 1, records);
}

// Bytes the process has written through an open file under folder, or -1
// while it has none open there.
qint64 WritingUnder(qint64 pid, const QString& folder)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (!fd.symLinkTarget().startsWith(folder))
            continue;
        const QByteArray info = ReadAll(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd.fileName()));
        const int at = int(info.indexOf("pos:"));
        if (at >= 0)
            return info.mid(at + 4, info.indexOf('\n', at) - at - 4).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storedLayoutByteForByte();
    void largeFileThroughTheDisk();
    void damagedFilesAreRefusedAndChangeNothing();
    void saveKilledHalfwayLeavesTheOldFile();
};

void TestDataFile::storedLayoutByteForByte()
{
    const QByteArray expected = SampleByHand();
    QCOMPARE(SampleByStream(), expected);
    QCOMPARE(CDataFile::Encode(DEVICE, 2, Sample()), expected);

    QList<CRecord> records;
    qint32 kind = 0;
    QString type;
    QCOMPARE(CDataFile::Decode(expected, DEVICE, records, kind, &type), CDataFile::Ok);
    QCOMPARE(kind, 2);
    QCOMPARE(type, DEVICE);
    // Every field, a null name apart from an empty one included.
    QCOMPARE(CDataFile::Encode(DEVICE, kind, records), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log_0101_1200.ldf"));
    QVERIFY(CDataFile::Save(path, DEVICE, 0, LiveRecords(3)));
    QVERIFY(CDataFile::Save(path, DEVICE, 2, Sample())); // replaces the first
    QCOMPARE(ReadAll(path), expected);
    QVERIFY(!CDataFile::Save(dir.filePath(QStringLiteral("missing/x.rdf")), DEVICE, 0, Sample()));
    QCOMPARE(CDataFile::Load(dir.filePath(QStringLiteral("gone.ldf")), DEVICE, records, kind), CDataFile::OpenFailed);
}

void TestDataFile::largeFileThroughTheDisk()
{
    // Several megabytes: records straddle the pieces the file is read in.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("AUTO_rt_0101_1200.rdf"));
    const QList<CRecord> written = LiveRecords(60000);
    QVERIFY(CDataFile::Save(path, DEVICE, 1, written));
    QList<CRecord> records;
    qint32 kind = 0;
    QCOMPARE(CDataFile::Load(path, DEVICE, records, kind), CDataFile::Ok);
    QCOMPARE(kind, 1);
    QCOMPARE(CDataFile::Encode(DEVICE, 1, records), ReadAll(path));

    QFile file(path);
    QVERIFY(file.resize(file.size() - 1));
    records.clear();
    QCOMPARE(CDataFile::Load(path, DEVICE, records, kind), CDataFile::Corrupt);
    QVERIFY(records.isEmpty());
}

void TestDataFile::damagedFilesAreRefusedAndChangeNothing()
{
    const auto refused = [](const QByteArray& bytes, CDataFile::Result expected, const QString& expectedType) {
        QList<CRecord> records { Record(9, QStringLiteral("before"), 9) };
        qint32 kind = 77;
        QString type = QStringLiteral("before");
        if (CDataFile::Decode(bytes, DEVICE, records, kind, &type) != expected)
            return false;
        return records.size() == 1 && records[0].bandName == QLatin1String("before") && kind == 77
            && type == expectedType;
    };
    const QByteArray sample = SampleByHand();
    for (int size = 0; size < sample.size(); ++size) {
        QVERIFY2(refused(sample.left(size), CDataFile::Corrupt, QStringLiteral("before")),
            qPrintable(QString::number(size)));
    }

    const CBytes header = CBytes().Text(DEVICE).U32(1);
    const CBytes record = CBytes(header).U32(1).Put(0.0).U32(1).U32(0).Put(quint64(1));
    const QByteArray damaged[] = {
        CBytes(header).U32(0x80000000u).bytes + QByteArray(4096, '\0'),
        CBytes(record).U32(0x7FFFFFFEu).U32(0x00410042).bytes, // name beyond the end
        CBytes(record).U32(3).U32(0x00410042).U32(0).bytes,    // half a code unit
        CBytes(record).Text(QString()).U32(0x7FFFFFFFu).bytes + QByteArray(4096, '\0'),
    };
    for (const QByteArray& bytes : damaged)
        QVERIFY(refused(bytes, CDataFile::Corrupt, QStringLiteral("before")));

    // Another device's file is refused before its count is even read.
    const QByteArray other = CBytes().Text(QStringLiteral("RZ999")).U32(1).U32(0x80000000u).bytes;
    QVERIFY(refused(other, CDataFile::WrongDevice, QStringLiteral("RZ999")));
}

void TestDataFile::saveKilledHalfwayLeavesTheOldFile()
{
    if (!QDir(QStringLiteral("/proc/self/fd")).exists())
        QSKIP("needs /proc to see the child write");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("GSM900_rt_0101_1200.rdf"));
    QVERIFY(CDataFile::Save(path, DEVICE, 0, Sample()));
    const QByteArray old = ReadAll(path);
    const qint64 full = CDataFile::Encode(DEVICE, 1, LiveRecords(100000)).size();

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--save-forever"), path });
    QVERIFY(child.waitForStarted());
    // The power goes while the first save has written some of its bytes.
    QElapsedTimer timer;
    timer.start();
    qint64 written = -1;
    while ((written <= 0 || written >= full / 2) && timer.elapsed() < 20000)
        written = WritingUnder(child.processId(), QDir(dir.path()).canonicalPath());
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY2(written > 0 && written < full / 2, qPrintable(QString::number(written)));

    // The file is whole: the one from before the test, or the child's from
    // a save that ended before the interrupted one began.
    const QByteArray left = ReadAll(path);
    QVERIFY(left == old || left == CDataFile::Encode(DEVICE, 1, LiveRecords(100000)));
    QList<CRecord> records;
    qint32 kind = -1;
    QCOMPARE(CDataFile::Load(path, DEVICE, records, kind), CDataFile::Ok);
}

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--save-forever") == 0)
        return SaveForever(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestDataFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DataFile.moc"
