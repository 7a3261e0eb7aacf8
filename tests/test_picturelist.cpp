// Picture decoding and the picture list component.
#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "base/error.h"

#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

class PictureListTest : public QObject {
    Q_OBJECT
private slots:
    void decodesPngKeepingPartialAlpha();
    void decodesJpegBackground();
    void rejectsCorruptAndTruncatedPicturesByName_data();
    void rejectsCorruptAndTruncatedPicturesByName();
    void itemByIndexOutsideTheListIsNothing();
    void newItemsAreNamedByTheirPosition();
    void settingAPictureCopiesItAndSignals();
    void backgroundSignalsOnlyWhenChanged();
    void assigningAnItemCopiesPictureBackgroundAndName();
    void assigningAnythingElseIsRefusedWithTheClassNames();
    void assigningAWholeListReplacesAllItemsWithOneSignal();
    void displayNameFallsBackToTheClassName();
    void embeddedListsKeepTheirItemOrder();
};

static QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void PictureListTest::decodesPngKeepingPartialAlpha()
{
    const QImage burst = zephyra::decodePng(readFile(":/pictures/burst-medium.png"), "burst-medium");
    QCOMPARE(burst.size(), QSize(130, 168));
    // The puff is half transparent: its alpha must survive decoding.
    int half = 0, clear = 0;
    for (int y = 0; y < burst.height(); ++y)
        for (int x = 0; x < burst.width(); ++x) {
            const int a = qAlpha(burst.pixel(x, y));
            half += a > 100 && a <= 125;
            clear += a == 0;
        }
    QVERIFY2(half > 1000, qPrintable(QString::number(half)));
    QVERIFY(clear > 1000);
    // Agrees with Qt's own reader pixel for pixel.
    QImage reference(":/pictures/burst-medium.png");
    QCOMPARE(burst.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             reference.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void PictureListTest::decodesJpegBackground()
{
    const QImage start = zephyra::loadPicture(":/pictures/start-background.jpg");
    QCOMPARE(start.size(), QSize(700, 500));
    QVERIFY(!start.hasAlphaChannel());
    const QImage reference(":/pictures/start-background.jpg");
    // Both use libjpeg; allow the last bit of rounding between decoders.
    const QRgb a = start.pixel(350, 250), b = reference.pixel(350, 250);
    QVERIFY(qAbs(qRed(a) - qRed(b)) <= 2 && qAbs(qGreen(a) - qGreen(b)) <= 2);
}

void PictureListTest::rejectsCorruptAndTruncatedPicturesByName_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("png");
    const QByteArray png = readFile(":/pictures/banner.png");
    const QByteArray jpg = readFile(":/pictures/start-background.jpg");
    QByteArray flipped = png;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x5a);
    QByteArray hugeHeader = png;
    // Width field of the header chunk forged to 0x7fffffff.
    hugeHeader[16] = 0x7f;
    hugeHeader[17] = hugeHeader[18] = hugeHeader[19] = static_cast<char>(0xff);
    QTest::newRow("empty png") << QByteArray() << true;
    QTest::newRow("garbage png") << QByteArray("not a picture at all") << true;
    QTest::newRow("truncated png") << png.left(png.size() / 2) << true;
    QTest::newRow("damaged png") << flipped << true;
    QTest::newRow("forged size png") << hugeHeader << true;
    QTest::newRow("empty jpeg") << QByteArray() << false;
    QTest::newRow("garbage jpeg") << QByteArray("\xff\xd8\xff garbage", 12) << false;
    QTest::newRow("truncated jpeg") << jpg.left(jpg.size() / 3) << false;
}

void PictureListTest::rejectsCorruptAndTruncatedPicturesByName()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, png);
    try {
        png ? zephyra::decodePng(bytes, "broken-picture") : zephyra::decodeJpeg(bytes, "broken-picture");
        QFAIL("a damaged picture was accepted");
    } catch (const zephyra::Error& e) {
        QVERIFY2(e.message().contains("broken-picture"), qPrintable(e.message()));
    }
}

void PictureListTest::itemByIndexOutsideTheListIsNothing()
{
    TPngImageCollection list;
    QCOMPARE(list.Items()->Count(), 0);
    QVERIFY(list.Items()->Items(0) == nullptr);
    list.Items()->Add();
    list.Items()->Add();
    QVERIFY(list.Items()->Items(-1) == nullptr);
    QVERIFY(list.Items()->Items(2) == nullptr);
    QVERIFY(list.Items()->Items(1) != nullptr);
    QCOMPARE(list.Items()->Items(1)->Index(), 1);
}

void PictureListTest::newItemsAreNamedByTheirPosition()
{
    TPngImageCollection list;
    QCOMPARE(list.Items()->Add()->Name(), QString("PngImage0"));
    QCOMPARE(list.Items()->Add()->Name(), QString("PngImage1"));
    QCOMPARE(list.Items()->Add()->Name(), QString("PngImage2"));
}

void PictureListTest::settingAPictureCopiesItAndSignals()
{
    TPngImageCollection list;
    auto* item = list.Items()->Add();
    QSignalSpy spy(list.Items(), &TPngImageCollectionItems::changed);
    QImage picture(4, 4, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::red);
    item->setPngImage(picture);
    QCOMPARE(spy.count(), 1);
    picture.fill(Qt::blue);  // the caller's change must not reach the item
    QCOMPARE(item->PngImage().pixel(0, 0), QColor(Qt::red).rgb());
}

void PictureListTest::backgroundSignalsOnlyWhenChanged()
{
    TPngImageCollection list;
    auto* item = list.Items()->Add();
    QSignalSpy spy(list.Items(), &TPngImageCollectionItems::changed);
    item->setBackground(item->Background());
    QCOMPARE(spy.count(), 0);
    item->setBackground(QColor(1, 2, 3));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(item->Background(), QColor(1, 2, 3));
}

void PictureListTest::assigningAnItemCopiesPictureBackgroundAndName()
{
    TPngImageCollection a, b;
    auto* from = a.Items()->Add();
    QImage picture(3, 3, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::green);
    from->setPngImage(picture);
    from->setBackground(QColor(9, 9, 9));
    from->setName("Wasp");
    auto* to = b.Items()->Add();
    to->Assign(from);
    QCOMPARE(to->Name(), QString("Wasp"));
    QCOMPARE(to->Background(), QColor(9, 9, 9));
    QCOMPARE(to->PngImage(), picture);
}

void PictureListTest::assigningAnythingElseIsRefusedWithTheClassNames()
{
    TPngImageCollection list;
    auto* item = list.Items()->Add();
    QObject stranger;
    try {
        item->Assign(&stranger);
        QFAIL("assignment from a foreign object was accepted");
    } catch (const zephyra::Error& e) {
        QCOMPARE(e.message(), QString("Cannot assign a QObject to a TPngImageCollectionItem"));
    }
    QVERIFY_THROWS_EXCEPTION(zephyra::Error, item->Assign(nullptr));
}

void PictureListTest::assigningAWholeListReplacesAllItemsWithOneSignal()
{
    TPngImageCollection a, b;
    for (int i = 0; i < 3; ++i)
        a.Items()->Add()->setName(QString("item%1").arg(i));
    b.Items()->Add();
    QSignalSpy spy(b.Items(), &TPngImageCollectionItems::changed);
    b.Items()->Assign(*a.Items());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(b.Items()->Count(), 3);
    QCOMPARE(b.Items()->Items(2)->Name(), QString("item2"));
    QVERIFY(b.Items()->Items(2) != a.Items()->Items(2));
}

void PictureListTest::displayNameFallsBackToTheClassName()
{
    TPngImageCollection list;
    auto* item = list.Items()->Add();
    QCOMPARE(item->DisplayName(), QString("PngImage0"));
    item->setName(QString());
    QCOMPARE(item->DisplayName(), QString("TPngImageCollectionItem"));
}

void PictureListTest::embeddedListsKeepTheirItemOrder()
{
    // Blue, green, pink-red, yellow: the launcher adds 0..3 to a base index.
    TPngImageCollection balloons;
    balloons.LoadFromResources({":/pictures/balloon-small-blue.png", ":/pictures/balloon-small-green.png",
                                ":/pictures/balloon-small-red.png", ":/pictures/balloon-small-yellow.png"});
    QCOMPARE(balloons.Items()->Count(), 4);
    const QColor blue = balloons.Items()->Items(0)->PngImage().pixelColor(40, 45);
    const QColor yellow = balloons.Items()->Items(3)->PngImage().pixelColor(40, 45);
    QVERIFY2(blue.blue() > blue.red(), qPrintable(blue.name()));
    QVERIFY2(yellow.red() > yellow.blue(), qPrintable(yellow.name()));
    // Decoded on first use, the same picture as a direct decode, every time.
    const QImage direct = zephyra::loadPicture(":/pictures/balloon-small-red.png");
    QCOMPARE(balloons.Items()->Items(2)->PngImage(), direct);
    QCOMPARE(balloons.Items()->Items(2)->PngImage(), direct);
    // A missing picture is refused while the list is filled, not at first use.
    QVERIFY_THROWS_EXCEPTION(zephyra::Error, balloons.LoadFromResources({":/pictures/missing.png"}));
    QCOMPARE(balloons.Items()->Count(), 4);
}

QTEST_MAIN(PictureListTest)
#include "test_picturelist.moc"
