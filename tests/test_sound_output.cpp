// The sound output on a real sound server (a private one with a null sink,
// see with-pulse.sh), seen from the server: which streams it plays.
#include "platform/sound.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

using zephyra::PulseSound;
using zephyra::SoundId;

namespace {

// The names of the streams the server is playing, as pactl lists them.
QStringList streams()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(5000))
        return {QStringLiteral("pactl did not answer")};
    QStringList names;
    static const QRegularExpression name(QStringLiteral("media\\.name = \"([^\"]*)\""));
    for (auto it = name.globalMatch(QString::fromUtf8(pactl.readAllStandardOutput())); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

const QStringList kFanfare{QStringLiteral("fanfare")};

}  // namespace

class SoundOutputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("PULSE_SERVER"), "no private sound server: run through with-pulse.sh");
        QVERIFY(m_dir.isValid());
    }

    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(streams(), QStringList(), 8000); }

    void aNewSoundCutsOffThePlayingOne()
    {
        PulseSound sound;
        sound.play(SoundId::Prize);
        QTRY_COMPARE(streams(), kFanfare);
        sound.play(SoundId::Pop);
        QTRY_COMPARE(streams(), QStringList{QStringLiteral("pop")});
    }

    void aSoundThatCannotBeReadLeavesThePlayingOneAlone()
    {
        const QString broken = m_dir.filePath(QStringLiteral("broken.wav"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF\x10\x00\x00\x00WAVEnot a sound at all");
        file.close();
        PulseSound sound({broken, QStringLiteral(":/sounds/prize.wav")});
        sound.play(SoundId::Prize);
        QTRY_COMPARE(streams(), kFanfare);
        sound.play(SoundId::Pop);
        QTest::qWait(300);
        QCOMPARE(streams(), kFanfare);
    }

    // A stream left open would keep the server's device awake for nothing.
    void aSoundPlayedOutLeavesNoStream()
    {
        PulseSound sound;
        sound.play(SoundId::Pop);
        QTRY_COMPARE(streams(), QStringList{QStringLiteral("pop")});
        QTRY_COMPARE_WITH_TIMEOUT(streams(), QStringList(), 3000);
    }

    // Asking a server that does not answer holds nothing up, not even the
    // end; once it answers again, sound plays.
    void aStoppedServerHoldsNothingUp()
    {
        const pid_t server = qEnvironmentVariableIntValue("ZEPHYRA_PULSE_PID");
        QVERIFY(server > 0);
        QCOMPARE(::kill(server, SIGSTOP), 0);
        {
            PulseSound sound;
            for (int i = 0; i < 3; ++i)
                sound.play(SoundId::Prize);
            QTest::qWait(200);
        }
        auto sound = std::make_unique<PulseSound>();
        sound->play(SoundId::Prize);
        QCOMPARE(::kill(server, SIGCONT), 0);
        QTest::qWait(300);
        sound->play(SoundId::Pop);
        QTRY_COMPARE(streams(), QStringList{QStringLiteral("pop")});
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(SoundOutputTest)
#include "test_sound_output.moc"
