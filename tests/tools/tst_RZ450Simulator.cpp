// The simulated detector's wire protocol, fed whole, a byte at a time and
// nibble-encoded: report layout, the time handshake, commands, keys, faults.
#include "CBandModel.h"
#include "CRZ450Simulator.h"
#include "SimWire.h"

#include <QTest>

#include <memory>

using Sim = CRZ450Simulator;
using SimWire::At;
using SimWire::Decode;
using SimWire::Encode;

namespace {

const QByteArray POLL(1, char(0xA3));
const QByteArray NO_COMMAND(1, char(0xFF));

QDateTime March9()
{
    return QDateTime(QDate(QDate::currentDate().year(), 3, 9), QTime(14, 5, 7));
}

} // namespace

class TestRZ450Simulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportLayout_data() { AddLinks(); }
    void reportLayout();
    void timeRequestComesFirst_data() { AddLinks(); }
    void timeRequestComesFirst();
    void pollWhileAwaitingCommandStartsOver_data() { AddLinks(); }
    void pollWhileAwaitingCommandStartsOver();
    void settingsWrite_data() { AddLinks(); }
    void settingsWrite();
    void keyMap();
    void keyCountRepeatsTheKey();
    void oneByteCommands();
    void faults_data() { AddLinks(); }
    void faults();
    void reportOverrides();
    void automaticModeWalksEnabledBands();
    void alarmsFollowLevelsOrPinnedFlags();
    void searchModeWatchesTheScanBand();
    void driftStaysPlausible();

private:
    static void AddLinks();
    Sim& Make(); // from the test row: encoding and feeding style
    Sim& MakeStarted();
    QByteArray Xfer(const QByteArray& bytes);
    QByteArray Report();
    void Command(quint8 command, const QByteArray& payload = {});

    std::unique_ptr<Sim> m_sim;
    bool m_split = false;
};

void TestRZ450Simulator::AddLinks()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("split");
    QTest::newRow("bytes whole") << int(Sim::ByteMode) << false;
    QTest::newRow("bytes one by one") << int(Sim::ByteMode) << true;
    QTest::newRow("nibbles whole") << int(Sim::NibbleMode) << false;
    QTest::newRow("nibbles one by one") << int(Sim::NibbleMode) << true;
}

Sim& TestRZ450Simulator::Make()
{
    const bool hasRow = QTest::currentDataTag() != nullptr;
    const Sim::Encoding encoding
        = hasRow ? Sim::Encoding(*static_cast<int*>(QTest::qData("encoding", QMetaType::Int))) : Sim::ByteMode;
    m_split = hasRow && *static_cast<bool*>(QTest::qData("split", QMetaType::Bool));
    m_sim = std::make_unique<Sim>(encoding);
    m_sim->SetFrozen(true);
    m_sim->SetClock(March9());
    return *m_sim;
}

Sim& TestRZ450Simulator::MakeStarted()
{
    Make();
    Xfer(POLL);
    Xfer(QByteArray("\x01\x02\x08\x0E\x05\x07", 6));
    return *m_sim;
}

QByteArray TestRZ450Simulator::Xfer(const QByteArray& bytes)
{
    const QByteArray link = Encode(bytes, m_sim->LinkEncoding());
    if (m_split) {
        for (char c : link)
            m_sim->Feed(&c, 1);
    } else {
        m_sim->Feed(link.constData(), link.size());
    }
    return Decode(m_sim->Take(m_sim->Pending()), m_sim->LinkEncoding());
}

QByteArray TestRZ450Simulator::Report()
{
    const QByteArray report = Xfer(POLL);
    [&] {
        QCOMPARE(report.size(), Sim::REPORT_SIZE);
        QCOMPARE(At(report, 0), 0);
    }();
    return report;
}

void TestRZ450Simulator::Command(quint8 command, const QByteArray& payload)
{
    Report();
    QVERIFY(Xfer(QByteArray(1, char(command)) + payload).isEmpty());
}

void TestRZ450Simulator::reportLayout()
{
    Sim& sim = MakeStarted();
    sim.SetBand(2);
    sim.SetLevel(2, 66);
    const QByteArray r = Report();
    QCOMPARE(m_sim->Pending(), 0); // exactly 300 bytes, nothing after
    QCOMPARE(At(r, 1), 14);
    QCOMPARE(At(r, 2), 5);
    QCOMPARE(At(r, 3), 7);
    QCOMPARE(At(r, 4), 8); // day - 1
    QCOMPARE(At(r, 5), 2); // month - 1
    QCOMPARE(At(r, 6), 0);
    QCOMPARE(At(r, 7), 2);
    QCOMPARE(At(r, 8), Sim::MODE_MAN);
    QCOMPARE(At(r, 12) | (At(r, 13) << 8), sim.Bank());
    QCOMPARE(At(r, 17), 66);
    QCOMPARE(At(r, 18), At(r, 46 + 2)); // GSM 1800 threshold is settings byte 2
    QCOMPARE(At(r, 32), 1);             // 66 is above it: band 2 alarms
    QCOMPARE(r.mid(46, 60), sim.Settings());
    QCOMPARE(At(r, 109), 0);
    QCOMPARE(At(r, 110), 0);
    QVERIFY((At(r, 111) | (At(r, 112) << 8)) > 2);
    QCOMPARE(At(r, 282), 160);
    QCOMPARE(At(r, 277), 0);
    QVERIFY(At(r, 24) <= 30 && At(r, 23) > 0); // the watched band fills line 0
}

void TestRZ450Simulator::timeRequestComesFirst()
{
    Sim& sim = Make();
    QByteArray answer = Xfer(POLL);
    QCOMPARE(answer.size(), Sim::REPORT_SIZE);
    QCOMPARE(At(answer, 0), 1);
    // Host missed the question: it polls again and is asked again.
    QCOMPARE(At(Xfer(POLL), 0), 1);
    // The reply carries minute 5 and second 7: neither may be taken for a command.
    const QByteArray reply("\x01\x0B\x1E\x17\x05\x07", 6);
    QVERIFY(Xfer(reply).isEmpty());
    QCOMPARE(sim.LastTimeReply(), reply);
    QVERIFY(sim.Commands().isEmpty());
    QCOMPARE(sim.Clock(), QDateTime(QDate(sim.Clock().date().year(), 12, 31), QTime(23, 5, 7)));
    Report();
    sim.RequestTime();
    QCOMPARE(At(Xfer(POLL), 0), 1);
    sim.Reset();
    QCOMPARE(At(Xfer(POLL), 0), 1);
}

void TestRZ450Simulator::pollWhileAwaitingCommandStartsOver()
{
    Sim& sim = MakeStarted();
    Report();
    Report(); // the host gave up on the first one
    QCOMPARE(sim.StatusReports(), 2);
    // Inside a key byte 0xA3 is data: key 3 (mute) pressed ten times.
    QVERIFY(Xfer(QByteArray("\x08\xA3", 2)).isEmpty());
    QCOMPARE(sim.KeyBytes(), QList<quint8>({ 0xA3 }));
    QCOMPARE(sim.Muted(), false);
    QCOMPARE(sim.StatusReports(), 2);
}

void TestRZ450Simulator::settingsWrite()
{
    Sim& sim = MakeStarted();
    QByteArray settings(60, 0);
    for (int i = 0; i < 60; ++i)
        settings[i] = char(0xA3 + i * 7);              // polls and 0xFF inside are data
    const QByteArray clock("\x06\x0E\x09\x1E\x00", 5); // 15 July 09:30:00
    Command(5, settings + settings.left(6) + clock);
    QCOMPARE(sim.LastSettingsWrite(), settings + settings.left(6) + clock);
    QCOMPARE(sim.Settings(), settings);
    QCOMPARE(sim.Clock(), QDateTime(QDate(sim.Clock().date().year(), 7, 15), QTime(9, 30, 0)));
    QCOMPARE(Report().mid(46, 60), settings);
    QCOMPARE(sim.Commands(), QList<quint8>({ 5 }));

    // Day 31 of February does not exist: the clock keeps running as it was.
    Xfer(QByteArray(1, char(5)) + settings + settings.left(6) + QByteArray("\x01\x1E\x09\x1E\x00", 5));
    QCOMPARE(sim.Clock().date().month(), 7);
}

void TestRZ450Simulator::keyMap()
{
    Sim& sim = MakeStarted();
    const auto key = [this](quint8 k) { Command(8, QByteArray(1, char(0x10 | k))); };
    sim.SetBand(17);
    key(1);
    QCOMPARE(sim.Band(), 18);
    key(1); // base stations hidden: wraps to 0
    QCOMPARE(sim.Band(), 0);
    key(2);
    QCOMPARE(sim.Band(), 18);
    QByteArray settings = sim.Settings();
    settings[45] = 1;
    sim.SetSettings(settings);
    key(1);
    QCOMPARE(sim.Band(), 19);
    key(10); // long press of 2 acts as 2
    QCOMPARE(sim.Band(), 18);
    key(3);
    QVERIFY(sim.Muted());
    key(4);
    QCOMPARE(sim.Volume(), 5);
    key(11);
    key(11);
    QCOMPARE(sim.DemodMode(), 2);
    key(5); // the menu key belongs to the PC side
    QCOMPARE(sim.Band(), 18);
    key(0);
    QCOMPARE(sim.Mode(), Sim::MODE_AUTO);
    key(1); // band keys do nothing outside manual mode
    key(0);
    QCOMPARE(sim.Mode(), Sim::MODE_SRCH);
    QCOMPARE(sim.Band(), 18);
    key(8);
    QCOMPARE(sim.Mode(), Sim::MODE_MAN);
    QCOMPARE(sim.Band(), 0);
    QCOMPARE(sim.KeyBytes().size(), 14);
    QCOMPARE(At(Report(), 7), 0);
}

void TestRZ450Simulator::keyCountRepeatsTheKey()
{
    Sim& sim = MakeStarted();
    Command(8, QByteArray(1, char(0x30))); // three merged presses of key 0
    QCOMPARE(sim.Mode(), Sim::MODE_MAN);   // manual -> auto -> search -> manual
    Command(8, QByteArray(1, char(0xA4))); // ten presses of volume
    QCOMPARE(sim.Volume(), (4 + 10) % 8);
    Command(8, QByteArray(1, char(0xF4))); // more than ten: still ten
    QCOMPARE(sim.Volume(), (6 + 10) % 8);
    Command(8, QByteArray(1, char(0x04))); // no count: one press
    QCOMPARE(sim.Volume(), 1);
}

void TestRZ450Simulator::oneByteCommands()
{
    Sim& sim = MakeStarted();
    const int bank = sim.Bank();
    Command(9);
    QCOMPARE(sim.Bank(), bank + 1);
    const QByteArray r = Report();
    QCOMPARE(At(r, 12) | (At(r, 13) << 8), bank + 1);
    Xfer(NO_COMMAND);

    sim.SetSettings(QByteArray(60, 'x'));
    Command(6);
    QCOMPARE(sim.Settings(), Sim::DefaultSettings());
    QCOMPARE(sim.FactoryResets(), 1);
    sim.AddLogEvent(1, 60, 50, March9(), 3);
    Command(7);
    QCOMPARE(sim.LogBlocks(), 0);
    Command(10);
    QCOMPARE(sim.Commands(), QList<quint8>({ 9, 6, 7, 10 }));
    QCOMPARE(sim.Polls(), 6); // time request included
}

void TestRZ450Simulator::faults()
{
    Sim& sim = MakeStarted();
    sim.InjectShortAnswers(2, 100);
    sim.InjectSilence(1);
    QVERIFY(Xfer(POLL).isEmpty()); // silence goes first
    QCOMPARE(Xfer(POLL).size(), 100);
    QCOMPARE(Xfer(POLL).size(), 100);
    // After a cut-off answer no command is expected: 9 is not a new bank.
    const int bank = sim.Bank();
    Xfer(QByteArray(1, char(9)));
    QCOMPARE(sim.Bank(), bank);

    sim.InjectGarbage(3);
    for (int i = 0; i < 3; ++i) {
        const QByteArray link = Encode(POLL, sim.LinkEncoding());
        sim.Feed(link.constData(), link.size());
        const int size = sim.Take(100000).size();
        QVERIFY2(size >= 1 && size <= 600, qPrintable(QString::number(size)));
    }
    sim.InjectUnknownType(1);
    const QByteArray unknown = Xfer(POLL);
    QCOMPARE(unknown.size(), Sim::REPORT_SIZE);
    QCOMPARE(At(unknown, 0), 7);
    Xfer(QByteArray(1, char(9)));
    QCOMPARE(sim.Bank(), bank);
    Report();
    QCOMPARE(sim.Polls(), 9);
    QCOMPARE(sim.StatusReports(), 1);
}

void TestRZ450Simulator::reportOverrides()
{
    MakeStarted();
    m_sim->SetReportByte(282, 0);
    m_sim->SetReportByte(277, 1);
    m_sim->SetReportByte(400, 1); // outside the report: ignored
    QByteArray r = Report();
    QCOMPARE(At(r, 282), 0);
    QCOMPARE(At(r, 277), 1);
    m_sim->SetReportByte(-1, 0);
    r = Report();
    QCOMPARE(At(r, 282), 160);
    QCOMPARE(At(r, 277), 0);
}

void TestRZ450Simulator::automaticModeWalksEnabledBands()
{
    Sim& sim = MakeStarted();
    QByteArray settings = sim.Settings();
    settings[33] = 0; // DECT off
    sim.SetSettings(settings);
    sim.SetMode(Sim::MODE_AUTO);
    QList<int> bands;
    for (int i = 0; i < 13; ++i) {
        const QByteArray r = Report();
        QCOMPARE(At(r, 8), Sim::MODE_AUTO);
        bands.append(At(r, 7));
    }
    // 3 disabled, 14 and 15 reserved: they never come up.
    QCOMPARE(bands, QList<int>({ 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13 }));
    QCOMPARE(At(Report(), 7), 0);
}

void TestRZ450Simulator::alarmsFollowLevelsOrPinnedFlags()
{
    Sim& sim = MakeStarted();
    sim.SetMode(Sim::MODE_AUTO);
    QByteArray r = Report();
    for (int band = 0; band < 16; ++band)
        QCOMPARE(At(r, 30 + band), 0);                           // at rest every level is below its threshold
    QVERIFY(At(r, 23) == 0 && At(r, 25) == 0 && At(r, 27) == 0); // nothing to show: waiting

    sim.SetLevel(5, CBandModel::ThresholdOf(5, sim.Settings())); // at the threshold alarms
    r = Report();
    QCOMPARE(At(r, 35), 1);
    QCOMPARE(At(r, 24), 5);
    QVERIFY(At(r, 23) > 0);

    sim.SetIndicationFlags({ 2, 9, 11, 13 });
    r = Report();
    for (int band = 0; band < 16; ++band)
        QCOMPARE(At(r, 30 + band), int(band == 2 || band == 9 || band == 11 || band == 13));
    QCOMPARE(At(r, 24), 2);
    QCOMPARE(At(r, 26), 9);
    QCOMPARE(At(r, 28), 11); // three lines at most
    sim.ClearIndicationFlags();
    QCOMPARE(At(Report(), 35), 1);
}

void TestRZ450Simulator::searchModeWatchesTheScanBand()
{
    Sim& sim = MakeStarted();
    sim.SetMode(Sim::MODE_SRCH);
    sim.SetLevel(18, 100);
    QByteArray r = Report();
    QCOMPARE(At(r, 7), 18);
    QCOMPARE(At(r, 8), Sim::MODE_SRCH);
    QCOMPARE(At(r, 291), 1);
    QCOMPARE(At(r, 17), 100);
    QVERIFY(At(r, 18) > 30 && At(r, 18) <= 102);
    const int peak
        = *std::max_element(r.begin() + 117, r.begin() + 277, [](char a, char b) { return quint8(a) < quint8(b); });
    QVERIFY(quint8(peak) > 2 * 60); // the peak stands out of the floor
    sim.SetBand(4);                 // remembered for manual mode, the scan stays current
    QCOMPARE(At(Report(), 7), 18);
    sim.SetMode(Sim::MODE_MAN);
    QCOMPARE(At(Report(), 7), 4);
}

void TestRZ450Simulator::driftStaysPlausible()
{
    CBandModel model(7);
    const QByteArray settings = Sim::DefaultSettings();
    model.Rest(settings);
    model.Pin(3, 90);
    int alarms = 0;
    int quiet = 0;
    for (int step = 0; step < 20000; ++step) {
        model.Step(settings);
        for (int band = 0; band < CBandModel::BANDS; ++band) {
            const int level = model.Level(band);
            const int threshold = CBandModel::ThresholdOf(band, settings);
            QVERIFY(level >= 0 && level <= CBandModel::MAX_RAW);
            QVERIFY(band == 3 || (level >= threshold - 30 && level <= threshold + 15));
        }
        (model.InAlarm(1, settings) ? alarms : quiet)++;
        QVERIFY(model.PeakPoint() >= 0 && model.PeakPoint() < CBandModel::SPECTRUM_POINTS);
    }
    QCOMPARE(model.Level(3), 90);
    // Alarms come now and then, but the band is mostly quiet.
    QVERIFY2(alarms > 200 && quiet > alarms, qPrintable(QStringLiteral("%1 alarms").arg(alarms)));
}

QTEST_GUILESS_MAIN(TestRZ450Simulator)
#include "tst_RZ450Simulator.moc"
