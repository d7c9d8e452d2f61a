// The alert's chime: its resource, and its state where no sound can be
// heard (the tests run with no audio output).
#include "alerts/CAlertSound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTest>
#include <QtEndian>

namespace {

QStringList g_log;

void Note(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_log.append(message);
}

// A computer without a sound output, whatever this one has.
class CSilentSound : public CAlertSound
{
public:
    bool HasDevice() const override { return false; }
};

qint16 SampleAt(const QByteArray& wav, qsizetype offset)
{
    return qFromLittleEndian<qint16>(wav.constData() + offset);
}

} // namespace

class tst_AlertsSound : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chimeIsShortMonoAndFades();
    void noDeviceIsToldOnce();
    void realOutputNeverBlocks();
};

void tst_AlertsSound::chimeIsShortMonoAndFades()
{
    QFile file(QUrl(QLatin1String(CAlertSound::SOURCE)).path().prepend(QLatin1Char(':')));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    QVERIFY(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt " && wav.mid(36, 4) == "data");
    QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 22), quint16(1));
    QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 24), quint32(22050));
    QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 34), quint16(16));
    const quint32 bytes = qFromLittleEndian<quint32>(wav.constData() + 40);
    QCOMPARE(qsizetype(bytes), wav.size() - 44);
    QVERIFY(bytes > 0 && bytes < 22050 * 2);
    // No click at either end.
    QVERIFY(qAbs(SampleAt(wav, 44)) < 100);
    QVERIFY(qAbs(SampleAt(wav, wav.size() - 2)) < 100);
}

void tst_AlertsSound::noDeviceIsToldOnce()
{
    QLoggingCategory::setFilterRules(QStringLiteral("ondrix.client.warning=true"));
    g_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(Note);
    {
        CSilentSound sound;
        sound.SetVolume(130);
        QCOMPARE(sound.Volume(), 100);
        sound.Start();
        sound.SetMuted(true);
        QVERIFY(sound.IsRepeating() && sound.IsMuted());
        sound.Preview();
        sound.Stop();
        QVERIFY(!sound.IsRepeating());
        sound.Start();
        QVERIFY(sound.IsRepeating());
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(g_log, QStringList({ QStringLiteral("No sound output was found, so alerts are not heard.") }));
}

void tst_AlertsSound::realOutputNeverBlocks()
{
    // Whatever the audio backend finds here, starting and stopping returns
    // at once and keeps the state asked for.
    CAlertSound sound;
    QElapsedTimer clock;
    clock.start();
    sound.SetMuted(true);
    sound.Start();
    sound.Preview();
    QVERIFY(sound.IsRepeating());
    QTest::qWait(50);
    sound.Stop();
    QVERIFY(!sound.IsRepeating());
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_MAIN(tst_AlertsSound)
#include "tst_AlertsSound.moc"
