// Pictures at the screen's density: CTest runs this at device pixel ratios 1,
// 1.5 and 2. Each picture comes from the variant for that density, keeps its
// catalogue size in logical pixels and is drawn pixel for pixel.
#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "controls/TImage.h"
#include "menu/menu.h"
#include "play/UnitPlay.h"
#include "play/overlays.h"
#include "tests/fixture.h"

#include <QtTest>

namespace {

const QString kBackground = QStringLiteral(":/pictures/play-background.jpg");

const QImage& item(TPngImageCollection* list, int index) { return list->Items()->Items(index)->PngImage(); }

struct Shown {
    const char* file;  // the catalogue variant under :/pictures/
    QSize size;        // its size, the logical size on every screen
    TImage* (*control)();
    QImage (*picture)();
};

const Shown kShown[] = {
    {"start-background.jpg", {700, 500}, [] { return START->Image1; }, [] { return START->Image1->Picture(); }},
    {"banner.png", {250, 35}, [] { return START->Image2; }, [] { return START->Image2->Picture(); }},
    {"button-play.png", {132, 49}, [] { return START->B_Play; }, [] { return START->B_Play->Picture(); }},
    {"button-exit-lit.png", {122, 51}, nullptr, [] { return item(START->PngImageCollectionButton, 5); }},
    {"wasp-medium.png", {64, 64}, [] { return Play->ImageBee; }, [] { return Play->ImageBee->Picture(); }},
    {"balloon-large-green.png", {170, 220}, nullptr, [] { return item(Play->PngImageCollection1, 1); }},
    {"burst-small.png", {80, 103}, nullptr, [] { return item(Play->PngImageCollectionBoom, 0); }},
    {"prize.png", {688, 520}, [] { return Play->ImagePriz; }, [] {
         Play->ShowPrize(Play->Timer_B1);  // decoded when won
         const QImage shown = Play->ImagePriz->Picture();
         Play->TimerPrizTimer();
         return shown;
     }},
};

QImage premultiplied(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); }

}  // namespace

class DensityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void picturesComeAtTheScreensDensityWithTheirCatalogueSize_data();
    void picturesComeAtTheScreensDensityWithTheirCatalogueSize();
    void playBackgroundFillsEveryDevicePixel_data();
    void playBackgroundFillsEveryDevicePixel();
    void backgroundVariantCoversTheFieldWithoutEnlarging_data();
    void backgroundVariantCoversTheFieldWithoutEnlarging();
    void noPictureIsLargerThanTwiceTheScreen();

private:
    qreal m_ratio = 1;
};

void DensityTest::initTestCase()
{
    fixture::freshGame();
    START->show();
    QVERIFY(QTest::qWaitForWindowExposed(START));
    m_ratio = qApp->devicePixelRatio();
}

void DensityTest::picturesComeAtTheScreensDensityWithTheirCatalogueSize_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kShown)); ++i)
        QTest::newRow(kShown[i].file) << i;
}

void DensityTest::picturesComeAtTheScreensDensityWithTheirCatalogueSize()
{
    QFETCH(int, row);
    const Shown& s = kShown[row];
    const QImage picture = s.picture();
    QCOMPARE(picture.devicePixelRatio(), m_ratio);
    QCOMPARE(picture.size(), QSize(qRound(s.size.width() * m_ratio), qRound(s.size.height() * m_ratio)));
    if (s.control)
        QCOMPARE(s.control()->size(), s.size);
    QString file = QStringLiteral(":/pictures/") + s.file;
    if (!file.endsWith(".png"))
        return;
    // At whole densities the pixels are exactly those of the variant's file.
    if (m_ratio == 2)
        file.insert(file.lastIndexOf('.'), QLatin1String("@2x"));
    if (m_ratio == 1 || m_ratio == 2)
        QCOMPARE(picture, QImage(file).convertToFormat(picture.format()));
    // On screen without resampling: every opaque pixel shows as it is.
    if (!s.control || !s.control()->isVisible())
        return;
    const QImage shown = premultiplied(s.control()->grab().toImage());
    int opaque = 0;
    for (int y = 0; y < std::min(picture.height(), shown.height()); ++y)
        for (int x = 0; x < std::min(picture.width(), shown.width()); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255 && ++opaque)
                QVERIFY2(shown.pixel(x, y) == premultiplied(picture).pixel(x, y), qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
    QVERIFY(opaque > picture.width() * picture.height() / 10);
}

void DensityTest::playBackgroundFillsEveryDevicePixel_data()
{
    QTest::addColumn<QSize>("field");
    QTest::newRow("small field") << QSize(640, 400);
    QTest::newRow("beyond the catalogue picture at ratio 2") << QSize(1400, 900);
}

// The field's background, its hint written in, is its own copy at the
// screen's density, copied pixel for pixel to the screen.
void DensityTest::playBackgroundFillsEveryDevicePixel()
{
    QFETCH(QSize, field);
    Play->resize(field);
    Play->show();
    QVERIFY(QTest::qWaitForWindowExposed(Play));
    const QSize device(qCeil(field.width() * m_ratio), qCeil(field.height() * m_ratio));
    QImage shown = Play->Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Play->hide();
    shown.setDevicePixelRatio(1);
    QCOMPARE(shown, fieldBackground(Play->Image1->accessibleName(), device)
                        .scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
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
        QSKIP("the same at every density; checked at ratio 1");
    const QImage image = zephyra::loadPicture(kBackground, fill);
    QCOMPARE(image.size(), decoded);
    // Reduced while decoding, it is still the same picture.
    const QSize thumb(64, 40);
    const QImage a = image.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b = zephyra::loadPicture(kBackground).scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < thumb.height(); ++y)
        for (int x = 0; x < thumb.width(); ++x)
            QVERIFY(qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) <= 8);
}

// CTest runs this one alone at ratio 8 too, where the catalogue's larger
// pictures would be several times the screen.
void DensityTest::noPictureIsLargerThanTwiceTheScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize limit = (QSizeF(screen->size()) * screen->devicePixelRatio() * 2).toSize();
    for (const Shown& s : kShown) {
        const QImage picture = s.picture();
        QVERIFY2(picture.width() <= limit.width() && picture.height() <= limit.height(), s.file);
        const QSizeF logical = picture.deviceIndependentSize();
        QVERIFY2(qAbs(logical.width() - s.size.width()) < 1 && qAbs(logical.height() - s.size.height()) < 1, s.file);
    }
}

QTEST_MAIN(DensityTest)
#include "test_density.moc"
