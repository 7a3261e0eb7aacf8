// Checks the synthesised sounds (tools/make-sounds) as committed: the format
// the player needs, levels without clipping or end clicks, that the pop is a
// noise burst, the fanfare a C major brass figure and the lullaby a soft tune
// that settles on C; and that the player reads them, and refuses what it
// could not play.

#include "platform/sound.h"
#include "assets/decode.h"

#include <QFile>
#include <QString>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Wav {
    QString error;            // empty when the file parsed
    QByteArray riff, wave;    // the two container tags
    int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0;
    qint64 dataBytes = 0;
    std::vector<int16_t> raw; // interleaved samples
    std::vector<double> mono; // channel average, full scale = 1.0

    double seconds() const { return channels ? double(raw.size()) / channels / kRate : 0.0; }
};

quint32 le32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (quint32(u[3]) << 24);
}

quint16 le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint16(u[0] | (u[1] << 8));
}

// A small chunk walker: enough for PCM files, and it skips chunks it does not
// know (LIST and friends) as any player would.
Wav readWav(const QString &path)
{
    Wav w;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        w.error = "cannot open " + path;
        return w;
    }
    const QByteArray b = f.readAll();
    if (b.size() < 12) {
        w.error = "shorter than a RIFF header";
        return w;
    }
    w.riff = b.left(4);
    w.wave = b.mid(8, 4);
    bool haveFmt = false;
    qsizetype pos = 12;
    while (pos + 8 <= b.size()) {
        const QByteArray id = b.mid(pos, 4);
        const qint64 size = le32(b.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (body + size > b.size()) {
            w.error = "chunk " + QString::fromLatin1(id) + " runs past the end of the file";
            return w;
        }
        if (id == "fmt " && size >= 16) {
            const char *p = b.constData() + body;
            w.format = le16(p);
            w.channels = le16(p + 2);
            w.rate = int(le32(p + 4));
            w.blockAlign = le16(p + 12);
            w.bits = le16(p + 14);
            haveFmt = true;
        } else if (id == "data") {
            w.dataBytes = size;
            if (!haveFmt || w.channels < 1) {
                w.error = "data chunk without a fmt chunk before it";
                return w;
            }
            if (w.bits != 16)
                return w; // the format check reports it; nothing to decode
            const qint64 count = size / 2;
            w.raw.resize(size_t(count));
            for (qint64 i = 0; i < count; ++i)
                w.raw[size_t(i)] = int16_t(le16(b.constData() + body + 2 * i));
            const size_t frames = w.raw.size() / size_t(w.channels);
            w.mono.resize(frames);
            for (size_t i = 0; i < frames; ++i) {
                double sum = 0.0;
                for (int c = 0; c < w.channels; ++c)
                    sum += w.raw[i * size_t(w.channels) + size_t(c)];
                w.mono[i] = sum / w.channels / 32768.0;
            }
            return w;
        }
        pos = body + size + (size & 1); // chunks are padded to even length
    }
    w.error = "no data chunk";
    return w;
}

QString soundPath(const char *name)
{
    return QStringLiteral(ZEPHYRA_SOURCE_DIR "/assets/sounds/") + QLatin1String(name);
}

double dbfs(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-12)); }

double zeroCrossingRate(const std::vector<double> &x, size_t from, size_t to)
{
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        crossings += (x[i - 1] < 0.0) != (x[i] < 0.0);
    return double(crossings) / double(to - from);
}

double rms(const std::vector<double> &x, size_t from, size_t to)
{
    double s = 0.0;
    for (size_t i = from; i < to; ++i)
        s += x[i] * x[i];
    return std::sqrt(s / double(to - from));
}

// Magnitude of one frequency in a Hann-windowed stretch: a one-bin DFT is all
// the spectrum these checks need.
double magnitudeAt(const std::vector<double> &x, size_t from, size_t to, double hz)
{
    const double n = double(to - from);
    double re = 0.0, im = 0.0;
    for (size_t i = from; i < to; ++i) {
        const double k = double(i - from);
        const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * k / (n - 1.0));
        const double ph = 2.0 * std::numbers::pi * hz * k / kRate;
        re += x[i] * w * std::cos(ph);
        im -= x[i] * w * std::sin(ph);
    }
    return std::hypot(re, im);
}

// Equal temperament, semitones from A4.
double noteHz(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

size_t samples(double seconds) { return size_t(seconds * kRate); }

} // namespace

class TestSounds : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void levels_data();
    void levels();
    void popIsANoiseBurst();
    void prizeIsAMajorChord();
    void prizeArpeggioRises();
    void lullabyIsASoftTuneThatSettlesOnC();
    void playerReadsWhatItCanPlay_data();
    void playerReadsWhatItCanPlay();
    void aLevelScalesEverySample_data();
    void aLevelScalesEverySample();
};

void TestSounds::format_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");
    QTest::newRow("pop") << soundPath("pop.wav") << 0.2 << 0.6;
    // The fanfare must be over well before the 10 s prize pause ends.
    QTest::newRow("prize") << soundPath("prize.wav") << 1.0 << 8.0;
    // Heard whole while the closing picture stays its 10 s.
    QTest::newRow("lullaby") << soundPath("lullaby.wav") << 3.0 << 8.0;
}

void TestSounds::format()
{
    QFETCH(QString, file);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);
    const Wav w = readWav(file);
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QCOMPARE(w.riff, QByteArray("RIFF"));
    QCOMPARE(w.wave, QByteArray("WAVE"));
    QCOMPARE(w.format, 1);
    QCOMPARE(w.bits, 16);
    QCOMPARE(w.rate, kRate);
    QVERIFY2(w.channels == 1 || w.channels == 2, qPrintable(QString::number(w.channels)));
    QCOMPARE(w.blockAlign, 2 * w.channels);
    QCOMPARE(w.dataBytes % w.blockAlign, qint64(0));
    QVERIFY2(w.seconds() >= minSeconds && w.seconds() <= maxSeconds,
             qPrintable(QString::number(w.seconds()) + " s"));
}

void TestSounds::levels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("lowestPeakDb");
    QTest::addColumn<double>("highestPeakDb");
    QTest::newRow("pop") << soundPath("pop.wav") << -3.0 << 0.0;
    QTest::newRow("prize") << soundPath("prize.wav") << -3.0 << 0.0;
    // The goodbye is soft: never as loud as a pop.
    QTest::newRow("lullaby") << soundPath("lullaby.wav") << -10.0 << -5.0;
}

void TestSounds::levels()
{
    QFETCH(QString, file);
    QFETCH(double, lowestPeakDb);
    QFETCH(double, highestPeakDb);
    const Wav w = readWav(file);
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QVERIFY(w.raw.size() > size_t(w.channels) * samples(0.02));

    int peak = 0;
    for (int16_t s : w.raw) {
        // A sample at either rail means the synthesis clipped.
        QVERIFY2(s != 32767 && s != -32768, "sample at full scale");
        peak = std::max(peak, std::abs(int(s)));
    }
    const double peakDb = dbfs(peak / 32768.0);
    QVERIFY2(peakDb >= lowestPeakDb && peakDb <= highestPeakDb,
             qPrintable(QString("peak %1 dBFS, not from %2 to %3").arg(peakDb).arg(lowestPeakDb).arg(highestPeakDb)));

    // No click at either end: the first sample starts from silence and the
    // end is faded below -60 dBFS.
    const size_t ch = size_t(w.channels);
    for (size_t c = 0; c < ch; ++c)
        QVERIFY2(dbfs(std::abs(w.raw[c]) / 32768.0) < -40.0, "starts on a step");
    // Every file ends in 0.2 s of silence, so a sound cut off near its end
    // (a device going away, the next sound) ends without a click.
    const size_t tail = samples(0.200) * ch;
    for (size_t i = w.raw.size() - tail; i < w.raw.size(); ++i)
        QVERIFY2(dbfs(std::abs(w.raw[i]) / 32768.0) < -60.0,
                 qPrintable(QString("sample %1 of the silent tail is %2")
                                .arg(i / ch).arg(w.raw[i])));
}

void TestSounds::popIsANoiseBurst()
{
    const Wav w = readWav(soundPath("pop.wav"));
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    const size_t burst = samples(0.050);
    QVERIFY(w.mono.size() > burst);

    // Broadband noise crosses zero every few samples; a beep at a few
    // hundred hertz crosses a few times in a hundred samples.
    const double zcr = zeroCrossingRate(w.mono, 0, burst);
    QVERIFY2(zcr > 0.15, qPrintable(QString("zero-crossing rate %1").arg(zcr)));

    // Broadband: no frequency between 500 Hz and 8 kHz towers over the rest.
    std::vector<double> mags;
    for (int k = 0; k <= 16; ++k)
        mags.push_back(magnitudeAt(w.mono, 0, burst, 500.0 * std::pow(2.0, k / 4.0)));
    const double peakToMedian = *std::max_element(mags.begin(), mags.end()) / median(mags);
    QVERIFY2(peakToMedian < 8.0, qPrintable(QString("spectral peak/median %1").arg(peakToMedian)));

    // It is a burst, not a sustained hiss: the last 100 ms are far quieter
    // than the first 50 ms.
    const double head = rms(w.mono, 0, burst);
    const double end = rms(w.mono, w.mono.size() - samples(0.1), w.mono.size());
    QVERIFY2(dbfs(head) - dbfs(end) > 20.0,
             qPrintable(QString("decays only %1 dB").arg(dbfs(head) - dbfs(end))));
}

void TestSounds::prizeIsAMajorChord()
{
    const Wav w = readWav(soundPath("prize.wav"));
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    // The held chord fills the middle of the fanfare; look at 0.3 s there.
    const size_t from = size_t(w.mono.size() * 0.4);
    const size_t to = from + samples(0.3);
    QVERIFY(to < w.mono.size());

    const double zcr = zeroCrossingRate(w.mono, from, to);
    QVERIFY2(zcr < 0.1, qPrintable(QString("zero-crossing rate %1").arg(zcr)));

    // In the octave C5..B5 the three loudest semitones are C, E and G, and
    // each of them stands far above every other semitone: a clean C major
    // triad, not noise and not a cluster.
    std::vector<double> mags;
    for (int s = 3; s < 15; ++s) // C5 is 3 semitones above A4
        mags.push_back(magnitudeAt(w.mono, from, to, noteHz(s)));
    const double weakestTriadTone = std::min({mags[0], mags[4], mags[7]});
    for (int i = 0; i < 12; ++i) {
        if (i == 0 || i == 4 || i == 7)
            continue;
        QVERIFY2(weakestTriadTone > 30.0 * mags[size_t(i)],
                 qPrintable(QString("semitone %1 above C5 at %2 vs triad %3")
                                .arg(i).arg(mags[size_t(i)]).arg(weakestTriadTone)));
    }

    // Brass, not sine tones: the top C6 carries its 2nd to 4th harmonics
    // (C7, G7, C8 - above every chord tone's fundamental) within 20 dB of
    // its fundamental. A short window and a search over +-1 % keep the
    // vibrato from smearing the harmonics away.
    const size_t shortTo = from + samples(0.1);
    const auto peakNear = [&](double hz) {
        double best = 0.0;
        for (int d = -2; d <= 2; ++d)
            best = std::max(best, magnitudeAt(w.mono, from, shortTo, hz * (1.0 + d / 200.0)));
        return best;
    };
    const double top = peakNear(noteHz(15));
    for (int h = 2; h <= 4; ++h) {
        const double m = peakNear(h * noteHz(15));
        QVERIFY2(m > 0.1 * top, qPrintable(QString("harmonic %1 of C6 at %2 dB")
                                               .arg(h).arg(dbfs(m) - dbfs(top))));
    }
}

void TestSounds::prizeArpeggioRises()
{
    const Wav w = readWav(soundPath("prize.wav"));
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));

    // G4 pickup, then C5 E5 G5 up to the top C6 that is held.
    const std::vector<int> notes = {-2, 3, 7, 10, 15};
    const size_t frame = samples(0.040), hop = samples(0.020);
    double peak = 0.0;
    for (double v : w.mono)
        peak = std::max(peak, std::abs(v));

    // Which arpeggio note dominates each sounding frame.
    std::vector<int> dominant;
    for (size_t a = 0; a + frame <= w.mono.size(); a += hop) {
        if (rms(w.mono, a, a + frame) < 0.05 * peak) {
            dominant.push_back(-1);
            continue;
        }
        int best = 0;
        double bestMag = -1.0;
        for (size_t n = 0; n < notes.size(); ++n) {
            const double m = magnitudeAt(w.mono, a, a + frame, noteHz(notes[n]));
            if (m > bestMag) {
                bestMag = m;
                best = int(n);
            }
        }
        dominant.push_back(best);
    }

    // Each note must be heard on its own for at least 60 ms (three frames
    // running, which steps over overlaps between neighbours), and the notes
    // must first take over in rising order.
    std::vector<size_t> firstRun(notes.size(), SIZE_MAX);
    for (size_t i = 0; i + 2 < dominant.size(); ++i) {
        const int n = dominant[i];
        if (n >= 0 && dominant[i + 1] == n && dominant[i + 2] == n && firstRun[size_t(n)] == SIZE_MAX)
            firstRun[size_t(n)] = i;
    }
    for (size_t n = 0; n < notes.size(); ++n)
        QVERIFY2(firstRun[n] != SIZE_MAX, qPrintable(QString("note %1 never heard on its own").arg(n)));
    for (size_t n = 1; n < notes.size(); ++n)
        QVERIFY2(firstRun[n] > firstRun[n - 1],
                 qPrintable(QString("note %1 enters before note %2").arg(n).arg(n - 1)));

    // It ends on the top C: the last sounding frame belongs to it.
    const auto last = std::find_if(dominant.rbegin(), dominant.rend(), [](int n) { return n >= 0; });
    QVERIFY(last != dominant.rend());
    QCOMPARE(*last, int(notes.size() - 1));
}

void TestSounds::lullabyIsASoftTuneThatSettlesOnC()
{
    const Wav w = readWav(soundPath("lullaby.wav"));
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    // Tones, not noise, from the first note to the last.
    QVERIFY(zeroCrossingRate(w.mono, 0, w.mono.size()) < 0.1);
    // Its notes, in order, each the tone of the scale that grows most when
    // it is struck (the ones before still ring): E5 G5 E5, D5 C5 G4, and the
    // long C5 it settles on.
    const std::vector<int> tune = {7, 10, 7, 5, 3, -2, 3};
    const std::vector<int> scale = {-2, 0, 2, 3, 5, 7, 8, 10};  // G4 to G5 in C major
    for (size_t k = 0; k < tune.size(); ++k) {
        const size_t struck = samples(0.52 * double(k));
        int grown = scale[0];
        double most = -1.0;
        for (int s : scale) {
            const double before = k ? magnitudeAt(w.mono, struck - samples(0.1), struck, noteHz(s)) : 0.0;
            const double after = magnitudeAt(w.mono, struck + samples(0.02), struck + samples(0.12), noteHz(s));
            if (after - before > most) {
                most = after - before;
                grown = s;
            }
        }
        QVERIFY2(grown == tune[k], qPrintable(QString("note %1 is %2 semitones from A4, not %3")
                                                  .arg(k).arg(grown).arg(tune[k])));
    }
    // Soft: well under the fanfare on average too.
    const Wav prize = readWav(soundPath("prize.wav"));
    QVERIFY(dbfs(rms(w.mono, 0, w.mono.size())) < dbfs(rms(prize.mono, 0, prize.mono.size())));
}

void TestSounds::playerReadsWhatItCanPlay_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("channels");  // 0: refused
    QTest::addColumn<qsizetype>("sampleBytes");
    QTest::addColumn<qsizetype>("offset");  // where the samples begin
    QFile pop(soundPath("pop.wav"));
    QVERIFY(pop.open(QIODevice::ReadOnly));
    const QByteArray file = pop.readAll();
    const qsizetype data = 44;  // fmt first, 16 bytes long, then data: as committed
    const auto patched = [&](qsizetype at, quint16 value) {
        QByteArray b = file;
        qToLittleEndian(value, b.data() + at);
        return b;
    };
    QByteArray listFirst = file;
    listFirst.insert(12, QByteArray("LIST\x05\0\0\0INFO!\0", 14));  // odd size: padded
    const qsizetype none = 0;
    QTest::newRow("pop") << file << 1 << file.size() - data << data;
    QTest::newRow("an unknown chunk first") << listFirst << 1 << file.size() - data << data + 14;
    QTest::newRow("cut short, whole frames kept") << file.left(data + 1001) << 1 << qsizetype(1000) << data;
    QTest::newRow("no sample at all") << file.left(data + 1) << 0 << none << none;
    QTest::newRow("empty") << QByteArray() << 0 << none << none;
    QTest::newRow("not RIFF") << QByteArray("RIFX").append(file.mid(4)) << 0 << none << none;
    QTest::newRow("8-bit") << patched(34, 8) << 0 << none << none;
    QTest::newRow("float") << patched(20, 3) << 0 << none << none;
    QTest::newRow("no channels") << patched(22, 0) << 0 << none << none;
    QTest::newRow("data before fmt") << file.left(12).append(file.mid(36)).append(file.mid(12, 24)) << 0 << none << none;
    QFile prize(soundPath("prize.wav"));
    QVERIFY(prize.open(QIODevice::ReadOnly));
    const QByteArray prizeFile = prize.readAll();
    QTest::newRow("prize") << prizeFile << 2 << qsizetype(readWav(soundPath("prize.wav")).dataBytes) << data;
}

void TestSounds::playerReadsWhatItCanPlay()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, channels);
    QFETCH(qsizetype, sampleBytes);
    QFETCH(qsizetype, offset);
    const zephyra::Pcm pcm = zephyra::readWav(bytes);
    QCOMPARE(pcm.channels, channels);
    QCOMPARE(pcm.samples.size(), sampleBytes);
    QCOMPARE(pcm.rate, channels ? kRate : 0);
    QVERIFY(pcm.samples == QByteArrayView(bytes).sliced(offset, sampleBytes));
}

void TestSounds::aLevelScalesEverySample_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("heard");  // of 32767, -32768, 1000, -1000, 1
    QTest::newRow("loudest: as recorded") << 100 << QList<int>{32767, -32768, 1000, -1000, 1};
    QTest::newRow("70: about a third") << 70 << QList<int>{11239, -11239, 343, -343, 0};
    QTest::newRow("half: an eighth") << 50 << QList<int>{4096, -4096, 125, -125, 0};
    QTest::newRow("silent") << 0 << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("above the loudest") << 150 << QList<int>{32767, -32768, 1000, -1000, 1};
    QTest::newRow("below silent") << -3 << QList<int>{0, 0, 0, 0, 0};
}

void TestSounds::aLevelScalesEverySample()
{
    QFETCH(int, level);
    QFETCH(QList<int>, heard);
    QByteArray samples;
    for (const std::int16_t s : {32767, -32768, 1000, -1000, 1})
        samples.append(char(s & 0xff)).append(char(s >> 8 & 0xff));
    const QByteArray scaled = zephyra::samplesAtLevel(samples + '\x7f', level);  // a stray last byte goes
    QCOMPARE(scaled.size(), samples.size());
    QList<int> out;
    for (qsizetype i = 0; i < scaled.size(); i += 2)
        out << qFromLittleEndian<std::int16_t>(scaled.constData() + i);
    QCOMPARE(out, heard);
}

QTEST_MAIN(TestSounds)
#include "test_sounds.moc"
