// Checks the rendered pictures in assets/pictures/ against the rules the game
// relies on: exact sizes (slots and buttons are sized from them), file formats
// the loaders accept, transparency (balloons blend in, bursts show the sky
// through), where the content lies (button letters, burst puff, the wasp's
// sting tip that does the popping) and that each colour really is that colour.
// Every picture has a NAME@2x twin for high-density screens: the same facts
// hold for it at twice the numbers, so each table row is checked at both.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

const QString kPictures = QStringLiteral(ZEPHYRA_SOURCE_DIR "/assets/pictures/");

QByteArray readFile(const QString &name)
{
    QFile f(kPictures + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QImage picture(const QString &name)
{
    QImage img(kPictures + name);
    return img.isNull() ? img : img.convertToFormat(QImage::Format_ARGB32);
}

#define LOAD(var, name)                                                        \
    const QImage var = picture(name);                                          \
    QVERIFY2(!var.isNull(), qPrintable(QStringLiteral("cannot load ") + (name)))

struct AlphaStats {
    qint64 total = 0;
    qint64 zero = 0;
    qint64 full = 0;
    qint64 partial = 0;
    QRect bounds; // of all pixels with alpha > 0
};

AlphaStats alphaStats(const QImage &img)
{
    AlphaStats s;
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(line[x]);
            ++s.total;
            if (a == 0) {
                ++s.zero;
                continue;
            }
            if (a == 255)
                ++s.full;
            else
                ++s.partial;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right >= 0)
        s.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    return s;
}

double transparentShare(const AlphaStats &s) { return double(s.zero) / double(s.total); }

bool dark(QRgb p) { return qAlpha(p) >= 200 && std::max({qRed(p), qGreen(p), qBlue(p)}) < 90; }

// Mean hue in degrees (circular mean) of the clearly coloured opaque pixels,
// so white highlights and dark shading do not blur the answer.
double meanHue(const QImage &img)
{
    double sx = 0, sy = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = QColor::fromRgba(img.pixel(x, y));
            if (c.alpha() < 255 || c.hsvSaturationF() < 0.35 || c.valueF() < 0.25)
                continue;
            const double h = c.hsvHueF() * 2 * M_PI;
            sx += std::cos(h);
            sy += std::sin(h);
        }
    const double deg = std::atan2(sy, sx) * 180 / M_PI;
    return deg < 0 ? deg + 360 : deg;
}

double hueDistance(double a, double b)
{
    const double d = std::fabs(a - b);
    return std::min(d, 360 - d);
}

const char *const kColours[] = {"blue", "green", "red", "yellow"};

struct SizeClass {
    const char *name;
    int w, h;
};
const SizeClass kBalloonSizes[] = {{"large", 170, 220}, {"medium", 130, 168}, {"small", 80, 103}};

const int kScales[] = {1, 2};

// "name.png" at scale 2 is "name@2x.png".
QString at(const QString &file, int scale)
{
    const qsizetype dot = file.lastIndexOf('.');
    return scale == 1 ? file : QString(file).insert(dot < 0 ? file.size() : dot, QStringLiteral("@2x"));
}

// The pixels that cover the same part of the drawing at the given scale.
QRect at(const QRect &r, int scale)
{
    return QRect(r.topLeft() * scale, QSize(r.width(), r.height()) * scale);
}

// The file and its twins in the languages' folders that have one ("de/name").
QStringList inEveryLanguage(const QString &file)
{
    QStringList files{file};
    for (const QString &language : QDir(kPictures).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFile::exists(kPictures + language + QLatin1Char('/') + file))
            files << language + QLatin1Char('/') + file;
    return files;
}

// One data row per scale and language: the file's name at that scale and the scale.
template <typename... Rest>
void rows(const QString &file, const Rest &...rest)
{
    for (const QString &f : inEveryLanguage(file))
        for (int s : kScales)
            ((QTest::newRow(qPrintable(at(f, s))) << at(f, s) << s) << ... << rest);
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void pngFormat_data();
    void pngFormat();
    void jpegIsBaseline_data();
    void jpegIsBaseline();
    void balloons_data();
    void balloons();
    void balloonColours_data();
    void balloonColours();
    void bursts_data();
    void bursts();
    void wasps_data();
    void wasps();
    void buttons_data();
    void buttons();
    void banner_data();
    void banner();
    void prize_data();
    void prize();
    void playBackgroundHint_data();
    void playBackgroundHint();
};

void TestAssets::sizes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QSize>("size");
    auto row = [](const QString &f, int w, int h) { rows(f, QSize(w, h)); };
    row("start-background.jpg", 700, 500);
    row("play-background.jpg", 2560, 1600);
    row("banner.png", 250, 35);
    row("button-play.png", 132, 49);
    row("button-play-lit.png", 132, 49);
    row("button-options.png", 220, 51);
    row("button-options-lit.png", 220, 51);
    row("button-exit.png", 122, 51);
    row("button-exit-lit.png", 122, 51);
    for (const auto &s : kBalloonSizes)
        for (const char *c : kColours)
            row(QStringLiteral("balloon-%1-%2.png").arg(s.name, c), s.w, s.h);
    row("burst-small.png", 80, 103);
    row("burst-medium.png", 130, 168);
    row("burst-large.png", 170, 220);
    row("wasp-small.png", 32, 32);
    row("wasp-medium.png", 64, 64);
    row("wasp-large.png", 110, 110);
    row("prize.png", 688, 520);
}

void TestAssets::sizes()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    QFETCH(QSize, size);
    LOAD(img, file);
    QCOMPARE(img.size(), size * scale);
}

void TestAssets::pngFormat_data()
{
    QTest::addColumn<QString>("file");
    QStringList files = {"banner.png", "prize.png", "burst-small.png", "burst-medium.png",
                         "burst-large.png", "wasp-small.png", "wasp-medium.png", "wasp-large.png"};
    for (const char *b : {"play", "options", "exit"}) {
        files << QStringLiteral("button-%1.png").arg(b) << QStringLiteral("button-%1-lit.png").arg(b);
    }
    for (const auto &s : kBalloonSizes)
        for (const char *c : kColours)
            files << QStringLiteral("balloon-%1-%2.png").arg(s.name, c);
    QTest::addColumn<int>("scale");
    for (const QString &f : files)
        rows(f);
}

// The IHDR chunk must come first and say 8 bits per channel, RGBA, no interlace.
void TestAssets::pngFormat()
{
    QFETCH(QString, file);
    const QByteArray data = readFile(file);
    QVERIFY2(data.size() > 33, qPrintable(file));
    QCOMPARE(data.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QCOMPARE(data.mid(12, 4), QByteArray("IHDR"));
    QCOMPARE(int(quint8(data[24])), 8); // bit depth
    QCOMPARE(int(quint8(data[25])), 6); // colour type: truecolour with alpha
    QCOMPARE(int(quint8(data[28])), 0); // interlace method: none
}

void TestAssets::jpegIsBaseline_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    rows(QStringLiteral("start-background.jpg"));
    rows(QStringLiteral("play-background.jpg"));
}

// Walks the marker segments up to the frame header: it must be SOF0 (baseline
// DCT) with three components, not a progressive or extended frame.
void TestAssets::jpegIsBaseline()
{
    QFETCH(QString, file);
    const QByteArray d = readFile(file);
    QVERIFY2(d.size() > 4, qPrintable(file));
    QCOMPARE(quint8(d[0]), quint8(0xFF));
    QCOMPARE(quint8(d[1]), quint8(0xD8));
    int pos = 2;
    int frameMarker = -1, components = -1;
    while (pos + 4 <= d.size()) {
        QCOMPARE(quint8(d[pos]), quint8(0xFF));
        const int marker = quint8(d[pos + 1]);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        const int len = (quint8(d[pos + 2]) << 8) | quint8(d[pos + 3]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            frameMarker = marker;
            QVERIFY(pos + 9 < d.size());
            QCOMPARE(int(quint8(d[pos + 4])), 8); // sample precision
            components = quint8(d[pos + 9]);
            break;
        }
        QVERIFY2(marker != 0xDA, "scan before frame header");
        pos += 2 + len;
    }
    QCOMPARE(frameMarker, 0xC0);
    QCOMPARE(components, 3);
}

void TestAssets::balloons_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("hardEdges");
    for (const auto &s : kBalloonSizes)
        for (const char *c : kColours)
            rows(QStringLiteral("balloon-%1-%2.png").arg(s.name, c), QByteArray(s.name) == "large");
}

void TestAssets::balloons()
{
    QFETCH(QString, file);
    QFETCH(bool, hardEdges);
    LOAD(img, file);
    const AlphaStats s = alphaStats(img);
    const double share = transparentShare(s);
    QVERIFY2(share >= 0.25 && share <= 0.45, qPrintable(QString::number(share)));
    if (hardEdges)
        QCOMPARE(s.partial, qint64(0));
    else
        QVERIFY2(s.partial > 50, "medium and small balloons need smoothed edges");
    // Almost fills the picture, with a little room for the knot at the bottom.
    QVERIFY(s.bounds.width() >= img.width() * 90 / 100);
    QVERIFY(s.bounds.height() >= img.height() * 92 / 100);
    QVERIFY(s.bounds.left() >= 1 && s.bounds.right() <= img.width() - 2);
}

void TestAssets::balloonColours_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("scale");
    for (const auto &s : kBalloonSizes)
        for (int scale : kScales)
            QTest::newRow(qPrintable(at(QString::fromLatin1(s.name), scale))) << QString::fromLatin1(s.name) << scale;
}

// Item order within each size is blue, green, pink-red, yellow; a picture
// copied under the wrong name shows up as a hue far from its colour.
void TestAssets::balloonColours()
{
    QFETCH(QString, size);
    QFETCH(int, scale);
    const double expected[] = {220, 125, 345, 48};
    double hues[4];
    for (int i = 0; i < 4; ++i) {
        const QString f = at(QStringLiteral("balloon-%1-%2.png").arg(size, kColours[i]), scale);
        LOAD(img, f);
        hues[i] = meanHue(img);
        QVERIFY2(hueDistance(hues[i], expected[i]) < 25,
                 qPrintable(QStringLiteral("%1: mean hue %2").arg(f).arg(hues[i])));
    }
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            QVERIFY(hueDistance(hues[i], hues[j]) > 40);
}

void TestAssets::bursts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QRect>("area"); // where the puff must stay
    rows(QStringLiteral("burst-small.png"), QRect(QPoint(10, 14), QPoint(75, 73)));
    rows(QStringLiteral("burst-medium.png"), QRect(QPoint(17, 23), QPoint(121, 119)));
    rows(QStringLiteral("burst-large.png"), QRect(QPoint(23, 31), QPoint(158, 155)));
}

void TestAssets::bursts()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    QFETCH(QRect, area);
    area = at(area, scale);
    LOAD(img, file);
    qint64 visible = 0, at125 = 0, cyan = 0, blue = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int a = qAlpha(p);
            if (a == 0)
                continue;
            ++visible;
            QVERIFY2(a <= 125, qPrintable(QStringLiteral("alpha %1 at %2,%3").arg(a).arg(x).arg(y)));
            QVERIFY2(area.contains(x, y), qPrintable(QStringLiteral("puff outside at %1,%2").arg(x).arg(y)));
            if (a != 125)
                continue;
            ++at125;
            // Fill and lines blend only into each other: cyan (127,255,255)
            // and blue (0,0,255) and the shades between them.
            QVERIFY2(qBlue(p) >= 250 && std::abs(2 * qRed(p) - qGreen(p)) <= 8,
                     qPrintable(QStringLiteral("colour %1 at %2,%3").arg(QColor::fromRgb(p).name()).arg(x).arg(y)));
            if (qGreen(p) >= 245)
                ++cyan;
            else if (qGreen(p) <= 40)
                ++blue;
        }
    // The puff is big: it takes up a good part of the balloon's body.
    QVERIFY(visible > area.width() * area.height() / 2);
    QVERIFY2(at125 * 10 > visible * 7, "most of the puff must have alpha 125");
    // Mostly light cyan fill, with a fair share of blue lines.
    QVERIFY(cyan > at125 / 2);
    QVERIFY(blue > at125 / 20);
}

void TestAssets::wasps_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QRect>("sting");
    rows(QStringLiteral("wasp-small.png"), QRect(QPoint(0, 18), QPoint(5, 28)));
    rows(QStringLiteral("wasp-medium.png"), QRect(QPoint(0, 48), QPoint(10, 56)));
    rows(QStringLiteral("wasp-large.png"), QRect(QPoint(5, 86), QPoint(12, 94)));
}

// The tip under the head is what pops balloons, so it must be where the game
// expects it: its farthest point down and to the left inside the sting rectangle.
void TestAssets::wasps()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    QFETCH(QRect, sting);
    sting = at(sting, scale);
    LOAD(img, file);
    QCOMPARE(img.width(), img.height());
    const int n = img.width() - 1;
    for (const QPoint c : {QPoint(0, 0), QPoint(n, 0), QPoint(0, n), QPoint(n, n)})
        QCOMPARE(qAlpha(img.pixel(c)), 0);
    const AlphaStats s = alphaStats(img);
    QVERIFY2(transparentShare(s) > 0.3, "the wasp stands on a transparent background");

    int darkInSting = 0;
    QPoint tip(-1, -1);
    int orange = 0, paleBlue = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (dark(p)) {
                if (sting.contains(x, y))
                    ++darkInSting;
                if (tip.x() < 0 || y - x > tip.y() - tip.x())
                    tip = QPoint(x, y);
            }
            if (qAlpha(p) < 255)
                continue;
            auto near = [p](int r, int g, int b) {
                return std::abs(qRed(p) - r) + std::abs(qGreen(p) - g) + std::abs(qBlue(p) - b) < 60;
            };
            if (near(235, 150, 50))
                ++orange;
            if (near(150, 200, 245))
                ++paleBlue;
        }
    QVERIFY2(darkInSting >= 3 * scale * scale, qPrintable(QString::number(darkInSting)));
    QVERIFY2(sting.contains(tip), qPrintable(QStringLiteral("tip at %1,%2").arg(tip.x()).arg(tip.y())));
    // Orange abdomen and pale blue wings, both clearly there.
    QVERIFY2(orange * 40 > s.total, qPrintable(QString::number(orange)));
    QVERIFY2(paleBlue * 40 > s.total, qPrintable(QString::number(paleBlue)));
}

void TestAssets::buttons_data()
{
    QTest::addColumn<QString>("word"); // "play", "de/play"
    QTest::addColumn<int>("scale");
    QTest::addColumn<QRect>("letters"); // where the normal picture's letters stay
    const QRect play(QPoint(16, 6), QPoint(114, 42)), options(QPoint(26, 5), QPoint(193, 45)),
        exit(QPoint(15, 6), QPoint(106, 44));
    for (const auto &[word, letters] : {std::pair{"play", play}, {"options", options}, {"exit", exit}})
        for (const QString &f : inEveryLanguage(QStringLiteral("button-%1.png").arg(QLatin1String(word))))
            for (int s : kScales)
                QTest::newRow(qPrintable(at(f, s))) << f.chopped(4).remove(QStringLiteral("button-")) << s << letters;
}

void TestAssets::buttons()
{
    QFETCH(QString, word);
    QFETCH(int, scale);
    QFETCH(QRect, letters);
    letters = at(letters, scale);
    const qsizetype slash = word.lastIndexOf(QLatin1Char('/')) + 1;
    const QString button = QString(word).insert(slash, QStringLiteral("button-"));
    LOAD(normal, at(button + QStringLiteral(".png"), scale));
    LOAD(lit, at(button + QStringLiteral("-lit.png"), scale));
    QCOMPARE(lit.size(), normal.size());

    const AlphaStats n = alphaStats(normal);
    QVERIFY(!n.bounds.isNull());
    QVERIFY2(letters.contains(n.bounds),
             qPrintable(QStringLiteral("letters at %1,%2 %3x%4").arg(n.bounds.x()).arg(n.bounds.y())
                            .arg(n.bounds.width()).arg(n.bounds.height())));
    // About three quarters of the picture: not a tiny word in a corner. A
    // longer word in another language may keep that share only across.
    const bool wide = n.bounds.width() >= letters.width() * 3 / 4;
    const bool tall = n.bounds.height() >= letters.height() * 3 / 4;
    QVERIFY(slash == 0 ? wide && tall : wide || tall);
    QVERIFY(n.bounds.height() >= letters.height() / 2);

    // The lit word fills the picture edge to edge (a longer word in another
    // language across only, a shorter one down only).
    const AlphaStats l = alphaStats(lit);
    if (slash == 0)
        QCOMPARE(l.bounds, lit.rect());
    QVERIFY(lit.rect().contains(l.bounds));
    QVERIFY(l.bounds.width() == lit.width() || l.bounds.height() == lit.height());
    QVERIFY(l.full + l.partial > n.full + n.partial);
}

// One row per scale for a test that takes just the file and its scale.
void fileRows(const char *file)
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    rows(QString::fromLatin1(file));
}

void TestAssets::banner_data() { fileRows("banner.png"); }

void TestAssets::banner()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    LOAD(img, file);
    const int w = img.width(), h = img.height();
    for (const QPoint c : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        QCOMPARE(qAlpha(img.pixel(c)), 0);
    // Only the rounded corners (radius 6 at the catalogue size) may be
    // (partly) transparent.
    const int corner = 6 * scale;
    auto inCorner = [w, h, corner](int x, int y) {
        return (x < corner || x >= w - corner) && (y < corner || y >= h - corner);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!inCorner(x, y))
                QVERIFY2(qAlpha(img.pixel(x, y)) == 255, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    // A red bar.
    const QColor mid = QColor::fromRgb(img.pixel(3 * scale, h / 2));
    QVERIFY2(mid.red() > 150 && mid.green() < 110 && mid.blue() < 110, qPrintable(mid.name()));
}

void TestAssets::prize_data() { fileRows("prize.png"); }

void TestAssets::prize()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    LOAD(img, file);
    const AlphaStats s = alphaStats(img);
    const double share = transparentShare(s);
    QVERIFY2(share >= 0.35 && share <= 0.50, qPrintable(QString::number(share)));
    const QRect margin = img.rect().adjusted(5 * scale, 5 * scale, -5 * scale, -5 * scale);
    QVERIFY(margin.contains(s.bounds));
}

// The game writes the hint at the upper left in the player's language: the
// picture leaves it plain sky, with no letters of its own to show through.
void TestAssets::playBackgroundHint_data() { fileRows("play-background.jpg"); }

void TestAssets::playBackgroundHint()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    LOAD(img, file);
    const QRect hint = at(QRect(QPoint(16, 140), QPoint(464, 196)), scale);
    for (int y = hint.top(); y <= hint.bottom(); ++y)
        for (int x = hint.left(); x <= hint.right(); ++x)
            QVERIFY2(qGray(img.pixel(x, y)) < 200, qPrintable(QStringLiteral("light at %1,%2").arg(x).arg(y)));
}

QTEST_MAIN(TestAssets)
#include "test_assets.moc"
