// The answer framing and parsers on bytes alone: whole, cut into pieces,
// truncated, and with counts that promise more than the answer holds.
#include "CFakeRZ450Device.h"
#include "RecordWire.h"
#include "protocol/CAnswerParser.h"
#include "protocol/CAnswerStream.h"
#include "protocol/CAnswerWriter.h"

#include <QTest>

class TestAnswerParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbersAndFlags_data();
    void numbersAndFlags();
    void logListRoundTrip();
    void countsBeyondTheAnswerStopAtTheLastField_data();
    void countsBeyondTheAnswerStopAtTheLastField();
    void singleRecordNeedsItsFields();
    void fieldReadersAdvanceAndAgreeWithTheByteParser();
    void frameCutAtEveryPlaceGivesThePayload();
    void frameRejectsAMissingStartAndOversizedAnswers();
    void liveState_data();
    void liveState();
    void streamCutAtEveryPlace_data();
    void streamCutAtEveryPlace();
};

void TestAnswerParser::numbersAndFlags_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("number");
    QTest::newRow("one") << QByteArray("1") << 1;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("letter") << QByteArray("x") << 0;
    QTest::newRow("negative") << QByteArray("-27") << -27;
    QTest::newRow("trailing junk") << QByteArray("12a") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("overflow") << QByteArray("99999999999") << 0;
}

void TestAnswerParser::numbersAndFlags()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, number);
    QCOMPARE(CAnswerParser::ToNumber(answer), number);
    QCOMPARE(CAnswerParser::ToFlag(answer), number != 0);
}

void TestAnswerParser::logListRoundTrip()
{
    QList<CLogRecord> banks = CFakeRZ450Device::Banks();
    banks.append(CLogRecord { QStringLiteral("empty"), 2, {} });
    banks[0].records[0].bandName = QString::fromLatin1("Bl\xe9tooth/"); // bytes above 127 survive
    QCOMPARE(LogListWire(CAnswerParser::ToLogList(LogListWire(banks))), LogListWire(banks));
}

void TestAnswerParser::countsBeyondTheAnswerStopAtTheLastField_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("logList");
    QTest::addColumn<QByteArray>("parsed");
    QTest::newRow("record count") << QByteArray("2000000000:1.5:3") << false << QByteArray("1:1.5:3:0:0::0");
    QTest::newRow("value count") << QByteArray("1:0:4:0:9:N:2000000000:-1:-2:3") << false
                                 << QByteArray("1:0:4:0:9:N:1:-1:-2:3:0");
    QTest::newRow("count only") << QByteArray("5") << false << QByteArray("0");
    QTest::newRow("negative count") << QByteArray("-3:0:4") << false << QByteArray("0");
    QTest::newRow("bank count") << QByteArray("2000000000:log:2") << true << QByteArray("1:log:2:0");
    QTest::newRow("bank records") << QByteArray("1:log:2:2000000000:0:7") << true << QByteArray("1:log:2:1:0:7:0:0::0");
}

void TestAnswerParser::countsBeyondTheAnswerStopAtTheLastField()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, logList);
    QFETCH(QByteArray, parsed);
    if (logList)
        QCOMPARE(LogListWire(CAnswerParser::ToLogList(answer)), parsed);
    else
        QCOMPARE(RecordListWire(CAnswerParser::ToRecordList(answer)), parsed);
}

void TestAnswerParser::singleRecordNeedsItsFields()
{
    CRecord record;
    record.band = 99;
    QVERIFY(!CAnswerParser::ToRecord("0:4:0:100:GSM/:1:-50:-60:0", 10, record));
    QCOMPARE(record.band, 99); // untouched
    QVERIFY(CAnswerParser::ToRecord("0:4:0:100:GSM/:1:-50:-60:0:0", 10, record));
    QCOMPARE(RecordWire(record), QByteArray("0:4:0:100:GSM/:1:-50:-60:0:0"));
    QVERIFY(!CAnswerParser::ToRecord("0:4:0:100:GSM/:1:-50:-60:0:0", 11, record));
}

void TestAnswerParser::fieldReadersAdvanceAndAgreeWithTheByteParser()
{
    const QList<CLogRecord> banks = CFakeRZ450Device::Banks();
    const QByteArray wire = LogListWire(banks);
    const QStringList fields = CAnswerParser::ToFields(wire);
    int index = 1;
    const CLogRecord bank = CAnswerParser::ReadLogRecord(fields, index);
    QCOMPARE(index, fields.size());
    QCOMPARE(LogListWire({ bank }), wire);

    index = 4; // the first record of the bank
    const CRecord record = CAnswerParser::ReadRecord(fields, index);
    QCOMPARE(RecordWire(record), RecordWire(banks[0].records[0]));
    QCOMPARE(index, 4 + 10);

    for (int outside : { -1, int(fields.size()), int(fields.size()) + 5 }) {
        index = outside;
        QCOMPARE(RecordWire(CAnswerParser::ReadRecord(fields, index)), QByteArray("0:0:0:0::0"));
        QCOMPARE(index, outside);
    }
    QCOMPARE(CAnswerParser::ToFields("a::b"), QStringList({ "a", "", "b" }));
}

void TestAnswerParser::frameCutAtEveryPlaceGivesThePayload()
{
    const QByteArray payload("12:</D:x");
    const QByteArray answer = "<D>" + payload + "</D>";
    for (int cut = 0; cut <= answer.size(); ++cut) {
        CAnswerStream stream;
        QByteArray got;
        stream.Append(QByteArrayView(answer).first(cut));
        QCOMPARE(stream.Next(false, got), cut == answer.size() ? CAnswerStream::Complete : CAnswerStream::Incomplete);
        stream.Append(QByteArrayView(answer).sliced(cut));
        if (cut < answer.size())
            QCOMPARE(stream.Next(false, got), CAnswerStream::Complete);
        QCOMPARE(got, payload);
        QCOMPARE(stream.Buffered(), 0);
    }
}

void TestAnswerParser::frameRejectsAMissingStartAndOversizedAnswers()
{
    for (const char* start : { "1</D>", "<d>1</D>", "<", "x" }) {
        CAnswerStream stream;
        const auto state = stream.Append(start);
        QCOMPARE(state, qstrcmp(start, "<") == 0 ? CAnswerStream::Incomplete : CAnswerStream::Malformed);
        QByteArray payload;
        stream.Append("D>1</D>");
        QCOMPARE(stream.Next(false, payload), state == CAnswerStream::Incomplete ? CAnswerStream::Complete : state);
    }
    CAnswerStream bounded(16);
    QCOMPARE(bounded.Append("<D>0123456789"), CAnswerStream::Incomplete);
    QCOMPARE(bounded.Append("ab</D>"), CAnswerStream::Malformed); // 19 bytes
    QCOMPARE(bounded.Append("</D>"), CAnswerStream::Malformed);
}

void TestAnswerParser::liveState_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<int>>("fields"); // online, error, mode, count, band
    QTest::newRow("whole") << QByteArray("1:0:4:299999:18") << true << QList<int> { 1, 0, 4, 299999, 18 };
    QTest::newRow("offline, error") << QByteArray("0:1:0:0:0") << true << QList<int> { 0, 1, 0, 0, 0 };
    QTest::newRow("flags other than 1") << QByteArray("7:0:1:5:-1") << true << QList<int> { 1, 0, 1, 5, -1 };
    QTest::newRow("old server: empty") << QByteArray() << false << QList<int>();
    QTest::newRow("one field short") << QByteArray("1:0:4:12") << false << QList<int>();
    QTest::newRow("one field more") << QByteArray("1:0:4:12:3:9") << false << QList<int>();
    QTest::newRow("empty field") << QByteArray("1:0::12:3") << false << QList<int>();
    QTest::newRow("letter") << QByteArray("1:0:4:1x:3") << false << QList<int>();
    QTest::newRow("overflow") << QByteArray("1:0:4:99999999999:3") << false << QList<int>();
}

// A misread answer must not pass for a state: the proxy takes a failed
// parse for a server without the request.
void TestAnswerParser::liveState()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, valid);
    QFETCH(QList<int>, fields);
    LIVE_STATE state;
    QCOMPARE(CAnswerParser::ToLiveState(answer, state), valid);
    if (!valid)
        return;
    QCOMPARE((QList<int> { state.online, state.error, state.mode, state.count, state.band }), fields);
    CAnswerWriter writer;
    writer.LiveState(state);
    const QByteArray frame = writer.Frame();
    LIVE_STATE again;
    QVERIFY(CAnswerParser::ToLiveState(QByteArrayView(frame).sliced(3, frame.size() - 7), again));
    QCOMPARE((QList<int> { again.online, again.error, again.mode, again.count, again.band }), fields);
}

void TestAnswerParser::streamCutAtEveryPlace_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("payloads"); // all but the last are followed
    QTest::addColumn<bool>("malformed");
    QTest::newRow("one") << QByteArray("<D>4:12</D>") << QByteArrayList { "4:12" } << false;
    QTest::newRow("records then state") << QByteArray("<D>1:0.0:4</D><D>1:0:4:12:18</D>")
                                        << QByteArrayList { "1:0.0:4", "1:0:4:12:18" } << false;
    QTest::newRow("empty ones") << QByteArray("<D></D><D></D>") << QByteArrayList { "", "" } << false;
    QTest::newRow("marker cut short inside")
        << QByteArray("<D>7</D><D>a</Db</D>") << QByteArrayList { "7", "a</Db" } << false;
    QTest::newRow("no start") << QByteArray("1</D>") << QByteArrayList {} << true;
    QTest::newRow("junk between") << QByteArray("<D>1</D>x<D>2</D>") << QByteArrayList { "1" } << true;
}

void TestAnswerParser::streamCutAtEveryPlace()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, payloads);
    QFETCH(bool, malformed);
    for (int cut = 0; cut <= bytes.size(); ++cut) {
        CAnswerStream stream;
        QByteArrayList got;
        CAnswerStream::State state = CAnswerStream::Incomplete;
        for (const QByteArrayView piece : { QByteArrayView(bytes).first(cut), QByteArrayView(bytes).sliced(cut) }) {
            if (stream.Append(piece) == CAnswerStream::Malformed)
                state = CAnswerStream::Malformed;
            QByteArray payload;
            while (state != CAnswerStream::Malformed
                && (state = stream.Next(got.size() + 1 < payloads.size() || malformed, payload))
                    == CAnswerStream::Complete)
                got.append(payload);
        }
        QCOMPARE(got, payloads);
        QCOMPARE(state == CAnswerStream::Malformed, malformed);
    }
}

QTEST_GUILESS_MAIN(TestAnswerParser)
#include "tst_AnswerParser.moc"
