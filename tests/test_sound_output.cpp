// The sound player on a real audio output (a private null sink, see
// with-pulse.sh): one sound at a time, and a sound the output refuses is
// skipped without cutting off the one that plays.
#include "app/sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QtTest>

using zephyra::SoundId;
using zephyra::SoundPlayer;

class SoundOutputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!QMediaDevices::audioOutputs().isEmpty(), "no audio output: run through with-pulse.sh");
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        player().setSource(SoundId::Pop, QUrl(QStringLiteral("qrc:/sounds/pop.wav")));
        player().play(SoundId::Prize);
        QTRY_VERIFY(player().isPlaying(SoundId::Prize));
    }

    void aNewSoundCutsOffThePlayingOne()
    {
        player().play(SoundId::Pop);
        QTRY_VERIFY(player().isPlaying(SoundId::Pop));
        QVERIFY(!player().isPlaying(SoundId::Prize));
    }

    void aRefusedSoundLeavesThePlayingOneAlone()
    {
        const QString broken = m_dir.filePath(QStringLiteral("broken.wav"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF\x10\x00\x00\x00WAVEnot a sound at all");
        file.close();
        player().setSource(SoundId::Pop, QUrl::fromLocalFile(broken));
        // Asked while it is still loading, and again once it is known to fail.
        for (int request = 0; request < 2; ++request) {
            player().play(SoundId::Pop);
            QTest::qWait(300);
            QVERIFY(player().isPlaying(SoundId::Prize));
            QVERIFY(!player().isPlaying(SoundId::Pop));
        }
    }

private:
    static SoundPlayer& player() { return SoundPlayer::instance(); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(SoundOutputTest)
#include "test_sound_output.moc"
