// Pictures at the screen's density: CTest runs this program at device pixel
// ratios 1, 1.5 and 2 (QT_SCALE_FACTOR). Every picture must come from the
// variant for that density, keep its catalogue size in logical pixels and be
// drawn pixel for pixel; the play background must come from a variant that
// covers the field without being enlarged.
#include "app/GameSettings.h"
#include "app/TImage.h"
#include "app/services.h"
#include "app/sound.h"
#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "play/UnitPlay.h"
#include "tests/fixture.h"

#include <QApplication>
#include <QtTest>

namespace {

const QString kBackground = QStringLiteral(":/pictures/play-background.jpg");

struct Shown {
    const char* row;
    const char* file;  // under :/pictures/, the catalogue variant
    QSize size;        // catalogue size = logical size on every screen
    TImage* (*control)();
    const QImage& (*picture)();
    bool won = false;  // decoded only when the prize is won
};

const QImage& item(TPngImageCollection* list, int index) { return list->Items()->Items(index)->PngImage(); }

const Shown kShown[] = {
    {"start background", "start-background.jpg", {700, 500}, [] { return START->Image1; }, []() -> const QImage& { return START->Image1->Picture(); }},
    {"banner", "banner.png", {250, 35}, [] { return START->Image2; }, []() -> const QImage& { return START->Image2->Picture(); }},
    {"play button", "button-play.png", {132, 49}, [] { return START->B_Play; }, []() -> const QImage& { return START->B_Play->Picture(); }},
    {"exit button lit", "button-exit-lit.png", {122, 51}, [] { return START->B_EXit; }, []() -> const QImage& { return item(START->PngImageCollectionButton, 5); }},
    {"wasp", "wasp-medium.png", {64, 64}, [] { return Play->ImageBee; }, []() -> const QImage& { return Play->ImageBee->Picture(); }},
    {"balloon", "balloon-large-green.png", {170, 220}, nullptr, []() -> const QImage& { return item(Play->PngImageCollection1, 1); }},
    {"burst", "burst-small.png", {80, 103}, nullptr, []() -> const QImage& { return item(Play->PngImageCollectionBoom, 0); }},
    {"prize", "prize.png", {688, 520}, [] { return Play->ImagePriz; }, []() -> const QImage& { return Play->ImagePriz->Picture(); }, true},
};

QImage qtReader(const QString& file) { return QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied); }

QString doubled(QString file) { return file.insert(file.lastIndexOf('.'), QLatin1String("@2x")); }

}  // namespace

class DensityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void picturesComeAtTheScreensDensityWithTheirCatalogueSize_data();
    void picturesComeAtTheScreensDensityWithTheirCatalogueSize();
    void aButtonShowsEveryDevicePixelOfItsPicture();
    void slotsKeepTheirLogicalSizeWithAnyPicture();
    void playBackgroundFillsEveryDevicePixel_data();
    void playBackgroundFillsEveryDevicePixel();
    void backgroundVariantCoversTheFieldWithoutEnlarging_data();
    void backgroundVariantCoversTheFieldWithoutEnlarging();

private:
    qreal m_ratio = 1;
};

void DensityTest::initTestCase()
{
    fixture::buildWindows();
    START->show();
    m_ratio = qApp->devicePixelRatio();
    qInfo("device pixel ratio %g", m_ratio);
}

void DensityTest::picturesComeAtTheScreensDensityWithTheirCatalogueSize_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kShown)); ++i)
        QTest::newRow(kShown[i].row) << i;
}

void DensityTest::picturesComeAtTheScreensDensityWithTheirCatalogueSize()
{
    QFETCH(int, row);
    const Shown& s = kShown[row];
    if (s.won)
        Play->ShowPrize(Play->Timer_B1);
    const QImage picture = s.picture();
    if (s.won)
        Play->TimerPrizTimer();
    QCOMPARE(picture.devicePixelRatio(), m_ratio);
    QCOMPARE(picture.size(), QSize(qRound(s.size.width() * m_ratio), qRound(s.size.height() * m_ratio)));
    if (s.control)
        QCOMPARE(s.control()->size(), s.size);
    // At whole densities the pixels are exactly those of the variant's file.
    const QString file = QStringLiteral(":/pictures/") + s.file;
    if (file.endsWith(".png") && (m_ratio == 1 || m_ratio == 2))
        QCOMPARE(picture, qtReader(m_ratio == 1 ? file : doubled(file)));
}

// Drawn without resampling: every opaque pixel of the picture is on screen as it is.
void DensityTest::aButtonShowsEveryDevicePixelOfItsPicture()
{
    QVERIFY(QTest::qWaitForWindowExposed(START));
    const QImage picture = START->B_Play->Picture().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage shown = START->B_Play->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = std::min(picture.width(), shown.width()), h = std::min(picture.height(), shown.height());
    QVERIFY(w >= qFloor(132 * m_ratio) && h >= qFloor(49 * m_ratio));
    int opaque = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(picture.pixel(x, y)) == 255) {
                ++opaque;
                QVERIFY2(shown.pixel(x, y) == picture.pixel(x, y), qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
            }
    QVERIFY(opaque > w * h / 10);
}

void DensityTest::slotsKeepTheirLogicalSizeWithAnyPicture()
{
    for (SizeChoice c : {SizeChoice::Large, SizeChoice::Medium, SizeChoice::Small}) {
        ApplyBalloonSize(c);
        for (int i : {0, 1, 2, 3})
            QCOMPARE(item(Play->PngImageCollection1, GameSettings.BalloonImageBase + i).deviceIndependentSize().toSize(),
                     Play->Slots()[0]->size());
        QCOMPARE(item(Play->PngImageCollectionBoom, GameSettings.BurstImageIndex).deviceIndependentSize().toSize(),
                 Play->Slots()[0]->size());
    }
    ApplyBalloonSize(SizeChoice::Medium);
}

void DensityTest::playBackgroundFillsEveryDevicePixel_data()
{
    QTest::addColumn<QSize>("field");
    QTest::newRow("small field") << QSize(640, 400);
    QTest::newRow("field beyond the catalogue picture at ratio 2") << QSize(1400, 900);
}

// The field's background is its own copy at the screen's density, copied
// pixel for pixel to the screen.
void DensityTest::playBackgroundFillsEveryDevicePixel()
{
    QFETCH(QSize, field);
    Play->resize(field);
    Play->show();
    QVERIFY(QTest::qWaitForWindowExposed(Play));
    const QSize device(qCeil(field.width() * m_ratio), qCeil(field.height() * m_ratio));
    const QImage expected = zephyra::loadPicture(kBackground, device)
                                .scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    QImage shown = Play->Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1);
    Play->hide();
    QCOMPARE(shown.size(), device);
    QCOMPARE(shown, expected);
}

void DensityTest::backgroundVariantCoversTheFieldWithoutEnlarging_data()
{
    QTest::addColumn<QSize>("fill");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("half") << QSize(1280, 800) << QSize(1280, 800);
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QSize(1920, 1200);
    QTest::newRow("catalogue size") << QSize(2560, 1600) << QSize(2560, 1600);
    QTest::newRow("one column more") << QSize(2561, 1600) << QSize(3200, 2000);
    QTest::newRow("3840x2160") << QSize(3840, 2160) << QSize(3840, 2400);
    QTest::newRow("beyond every variant") << QSize(7680, 4320) << QSize(5120, 3200);
}

void DensityTest::backgroundVariantCoversTheFieldWithoutEnlarging()
{
    QFETCH(QSize, fill);
    QFETCH(QSize, decoded);
    if (m_ratio != 1)
        QSKIP("independent of the density; checked in the ratio 1 run");
    const QImage image = zephyra::loadPicture(kBackground, fill);
    QCOMPARE(image.size(), decoded);
    if (fill.width() > 2560)
        return;
    // A decode reduced by libjpeg shows the same picture as a full one scaled.
    const QImage full = zephyra::loadPicture(kBackground).scaled(decoded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 diff = 0;
    for (int y = 0; y < decoded.height(); y += 7)
        for (int x = 0; x < decoded.width(); x += 7) {
            const QRgb a = image.pixel(x, y), b = full.pixel(x, y);
            diff += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
        }
    const double mean = double(diff) / (3.0 * (decoded.width() / 7 + 1) * (decoded.height() / 7 + 1));
    QVERIFY2(mean < 3, qPrintable(QString::number(mean)));
}

QTEST_MAIN(DensityTest)
#include "test_density.moc"
