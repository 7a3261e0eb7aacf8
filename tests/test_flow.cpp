// Start-up, the window flow between the three windows, the game settings and
// the standard error box.
#include "app/startup.h"
#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/centring.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "settings/GameSettings.h"
#include "tests/fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

struct Shown {
    bool start, play, options;
};

Shown shown() { return {START->isVisible(), Play->isVisible(), Options->isVisible()}; }

int visibleCount()
{
    const Shown s = shown();
    return int(s.start) + int(s.play) + int(s.options);
}

}  // namespace

class FlowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void startUpCreatesTheWindowsInOrderWithTheirStartValues();
    void playEnablesTheTickTimerOfThePopMode_data();
    void playEnablesTheTickTimerOfThePopMode();
    void escReturnsToTheStartScreenWhereItWas();
    void windowSystemCloseOfThePlayFieldActsLikeEsc_data();
    void windowSystemCloseOfThePlayFieldActsLikeEsc();
    void optionsSaveAndCancelReturnToTheStartScreen();
    void positionsBeyondTheSliderTakeItsLastValue();
    void applyBalloonSizeResizesEverySlot();
    void applyWaspSizeSetsPictureStingAndHotspot();
    void centringHalvesTowardZeroOnTheGivenScreen();
    void handlerErrorsReachTheStandardErrorBox();
    void startUpCheckNamesTheFirstDamagedPicture();
    void stoppedStartUpCheckLeavesTheRestUnchecked();
    void workAfterTheFirstExposeRunsOnceTheWindowIsShown();
    void scaleSettingsOutsideWhatCanBeDrawnAreRefused_data();
    void scaleSettingsOutsideWhatCanBeDrawnAreRefused();
    void globalScaleIsRefusedWhenTheScreensFactorTakesItOutOfRange_data();
    void globalScaleIsRefusedWhenTheScreensFactorTakesItOutOfRange();

private:
    QList<QPair<QString, QString>> m_boxes;
};

void FlowTest::initTestCase()
{
    zephyra::setMessagePresenter([this](QMessageBox::Icon, const QString& caption, const QString& text) {
        m_boxes.append({caption, text});
    });
}

void FlowTest::init()
{
    m_boxes.clear();
    fixture::freshGame();
    START->show();
}

void FlowTest::startUpCreatesTheWindowsInOrderWithTheirStartValues()
{
    QVERIFY(START && Play && Options);
    QCOMPARE(START->windowTitle(), QString("GAME -ZEPHYRA"));
    QCOMPARE(Play->windowTitle(), QString("ZEPHYRA"));
    QCOMPARE(Options->windowTitle(), QString("Options"));
    QCOMPARE(START->size(), QSize(700, 500));
    QVERIFY(START->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(Play->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(Play->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(Options->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(Options->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(visibleCount(), 1);
    QVERIFY(START->isVisible());

    // The play field's creation gave the interval its start value; the timers wait.
    TGameSettings fresh;
    QCOMPARE(fresh.LaunchInterval, 0);
    Play->FormCreate();
    QCOMPARE(GameSettings.LaunchInterval, 1000);
    QVERIFY(GameSettings.SoundEnabled);
    QCOMPARE(PlayState.LaunchElapsed, 0);
    QVERIFY(!Play->Timer_B1->isActive());
    QVERIFY(!Play->TimerClick->isActive());
    QVERIFY(!Play->TimerPriz->isActive());
    QCOMPARE(Play->Timer_B1->interval(), 50);
    QCOMPARE(Play->TimerClick->interval(), 50);
    QCOMPARE(Play->TimerPriz->interval(), 10000);
    QCOMPARE(Play->Timer_B1->timerType(), Qt::PreciseTimer);
    // Fresh start: medium balloons and wasp, the wasp picture laid out.
    QCOMPARE(Play->ImageBee->size(), QSize(64, 64));
    QCOMPARE(Play->ImageBee->Picture(), Play->PngImageCollection2->Items()->Items(1)->PngImage());
    for (TImage* slot : Play->Slots()) {
        QCOMPARE(slot->size(), QSize(130, 168));
        QVERIFY(slot->isHidden());
    }
    QVERIFY(Play->ImagePriz->isHidden());
    QCOMPARE(Play->cursor().shape(), Qt::BlankCursor);
    // The start screen shows its three normal button pictures.
    QCOMPARE(START->B_Play->Picture(), START->PngImageCollectionButton->Items()->Items(0)->PngImage());
    QCOMPARE(START->B_EXit->Picture(), START->PngImageCollectionButton->Items()->Items(4)->PngImage());
    QVERIFY(!START->ButtonsLit());
}

void FlowTest::playEnablesTheTickTimerOfThePopMode_data()
{
    QTest::addColumn<int>("popMode");
    QTest::addColumn<bool>("byMove");
    QTest::newRow("by movement") << 0 << true;
    QTest::newRow("left click") << 1 << false;
    QTest::newRow("right click") << 2 << false;
    QTest::newRow("unknown value counts as a click mode") << 7 << false;
}

void FlowTest::playEnablesTheTickTimerOfThePopMode()
{
    QFETCH(int, popMode);
    QFETCH(bool, byMove);
    GameSettings.PopMode = static_cast<std::uint8_t>(popMode);
    Shown during{};
    bool b1 = false, click = false;
    QTimer::singleShot(0, this, [&] {
        during = shown();
        b1 = Play->Timer_B1->isActive();
        click = Play->TimerClick->isActive();
        Play->FormKeyPress(27);
    });
    START->B_PlayClick();  // returns once the play field has closed
    QVERIFY(!during.start && during.play && !during.options);
    QCOMPARE(b1, byMove);
    QCOMPARE(click, !byMove);
    QVERIFY(START->isVisible());
    QVERIFY(!Play->isVisible());
    QVERIFY(!Play->Timer_B1->isActive() && !Play->TimerClick->isActive());
}

void FlowTest::escReturnsToTheStartScreenWhereItWas()
{
    START->move(123, 77);
    const QPoint before = START->pos();
    START->B_OptionsMouseMove();  // a lit button stays lit across the round
    QVERIFY(START->ButtonsLit());
    QRect playGeometry;
    QTimer::singleShot(0, this, [&] {
        playGeometry = Play->geometry();
        Play->FormKeyPress('a');   // other keys do nothing
        Play->FormKeyPress(13);
        QVERIFY(Play->isVisible());
        Play->FormKeyPress(27);
    });
    START->B_PlayClick();
    QCOMPARE(playGeometry, QGuiApplication::primaryScreen()->geometry());
    QCOMPARE(START->pos(), before);
    QVERIFY(START->ButtonsLit());
    QCOMPARE(START->B_Options->Picture(), START->PngImageCollectionButton->Items()->Items(3)->PngImage());
    QCOMPARE(visibleCount(), 1);
    START->Image1MouseMove();
}

void FlowTest::windowSystemCloseOfThePlayFieldActsLikeEsc_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close") << QStringLiteral("close");
    // The round holds the keyboard, so the field itself takes Alt+F4.
    QTest::newRow("Alt+F4") << QStringLiteral("Alt+F4");
    QTest::newRow("minimise (show desktop)") << QStringLiteral("minimise");
}

void FlowTest::windowSystemCloseOfThePlayFieldActsLikeEsc()
{
    QFETCH(QString, how);
    bool prizeWasOn = false;
    QTimer::singleShot(0, this, [&] {
        // Even in the prize pause a close must not leave timers behind.
        Play->ShowPrize(Play->Timer_B1);
        prizeWasOn = Play->TimerPriz->isActive();
        if (how == QLatin1String("minimise"))
            Play->setWindowState(Play->windowState() | Qt::WindowMinimized);
        else if (how == QLatin1String("Alt+F4"))
            QTest::keyClick(Play, Qt::Key_F4, Qt::AltModifier);
        else
            Play->close();
    });
    // A round that would not end fails, not hangs.
    bool ended = true;
    QTimer::singleShot(5000, Play, [&] {
        ended = !Play->isVisible();
        Play->close();
    });
    START->B_PlayClick();
    QVERIFY(ended);
    QVERIFY(prizeWasOn);
    QVERIFY(START->isVisible());
    QVERIFY(!Play->isVisible());
    QVERIFY(!Play->Timer_B1->isActive() && !Play->TimerClick->isActive());
    // The pause ends with the window: no prize waits for the next round.
    QVERIFY(!Play->TimerPriz->isActive());
    QVERIFY(Play->ImagePriz->isHidden());
    QCOMPARE(visibleCount(), 1);
}

void FlowTest::optionsSaveAndCancelReturnToTheStartScreen()
{
    START->B_OptionsClick();
    QVERIFY(!START->isVisible() && Options->isVisible() && !Play->isVisible());
    Options->Button2Click();
    QVERIFY(START->isVisible() && !Options->isVisible());

    START->B_OptionsClick();
    fixture::option<QRadioButton>("RadioButton3")->setChecked(true);  // small balloons
    Options->Button1Click();
    QVERIFY(START->isVisible() && !Options->isVisible());
    QCOMPARE(GameSettings.BalloonWidth, 80);

    START->B_OptionsClick();
    Options->close();  // the close box is Cancel
    QVERIFY(START->isVisible() && !Options->isVisible());
    QCOMPARE(visibleCount(), 1);
}

// Both ways between the dialog's positions and the settings are checked in
// test_menu; a position the slider never gives takes its last value.
void FlowTest::positionsBeyondTheSliderTakeItsLastValue()
{
    for (int position : {-1, 5, 9}) {
        QCOMPARE(flightStepForPosition(position), flightStepForPosition(4));
        QCOMPARE(launchIntervalForPosition(position), launchIntervalForPosition(4));
    }
}

void FlowTest::applyBalloonSizeResizesEverySlot()
{
    struct Row {
        SizeChoice choice;
        int base, w, h, burst;
    } rows[] = {{SizeChoice::Small, 8, 80, 103, 0}, {SizeChoice::Large, 0, 170, 220, 2},
                {SizeChoice::Medium, 4, 130, 168, 1}};
    for (const Row& r : rows) {
        ApplyBalloonSize(r.choice);
        QCOMPARE(int(GameSettings.BalloonImageBase), r.base);
        QCOMPARE(GameSettings.BalloonWidth, r.w);
        QCOMPARE(GameSettings.BalloonHeight, r.h);
        QCOMPARE(int(GameSettings.BurstImageIndex), r.burst);
        for (TImage* slot : Play->Slots()) {
            QCOMPARE(slot->size(), QSize(r.w, r.h));
            QVERIFY(slot->isHidden());  // hidden slots are resized too, and stay hidden
        }
        // The burst picture of the size class fills a slot exactly.
        QCOMPARE(Play->PngImageCollectionBoom->Items()->Items(r.burst)->PngImage().size(), QSize(r.w, r.h));
        QCOMPARE(Play->PngImageCollection1->Items()->Items(r.base + 3)->PngImage().size(), QSize(r.w, r.h));
    }
}

void FlowTest::applyWaspSizeSetsPictureStingAndHotspot()
{
    struct Row {
        SizeChoice choice;
        int index, side, l, r, t, b, hot;
    } rows[] = {{SizeChoice::Large, 2, 110, 5, 12, 86, 94, 55},
                {SizeChoice::Small, 0, 32, 0, 5, 18, 28, 16},
                {SizeChoice::Medium, 1, 64, 0, 10, 48, 56, 32}};
    for (const Row& row : rows) {
        ApplyWaspSize(row.choice);
        QCOMPARE(int(GameSettings.WaspSizeIndex), row.index);
        QCOMPARE(Play->ImageBee->size(), QSize(row.side, row.side));
        QCOMPARE(GameSettings.StingLeft, row.l);
        QCOMPARE(GameSettings.StingRight, row.r);
        QCOMPARE(GameSettings.StingTop, row.t);
        QCOMPARE(GameSettings.StingBottom, row.b);
        QCOMPARE(GameSettings.WaspHotspot, row.hot);
        QCOMPARE(GameSettings.WaspHotspot * 2, row.side);
        QCOMPARE(Play->ImageBee->Picture(), Play->PngImageCollection2->Items()->Items(row.index)->PngImage());
    }
    // The control holds its own copy: changing the list afterwards shows nothing.
    auto* item = Play->PngImageCollection2->Items()->Items(1);
    const QImage original = item->PngImage();
    QImage blank(64, 64, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    item->setPngImage(blank);
    QCOMPARE(Play->ImageBee->Picture(), original);
    item->setPngImage(original);
}

void FlowTest::centringHalvesTowardZeroOnTheGivenScreen()
{
    QCOMPARE(zephyra::centredIn(QRect(0, 0, 1024, 768), QSize(700, 500)), QPoint(162, 134));
    QCOMPARE(zephyra::centredIn(QRect(0, 0, 1025, 769), QSize(700, 500)), QPoint(162, 134));
    QCOMPARE(zephyra::centredIn(QRect(0, 0, 640, 480), QSize(700, 500)), QPoint(-30, -10));
    QCOMPARE(zephyra::centredIn(QRect(0, 0, 641, 479), QSize(700, 500)), QPoint(-29, -10));
    // A second screen to the right: the window lands inside that screen only.
    QCOMPARE(zephyra::centredIn(QRect(1920, 0, 1280, 1024), QSize(700, 500)), QPoint(2210, 262));
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(zephyra::centredOnPrimaryScreen(QSize(700, 500)), zephyra::centredIn(primary, QSize(700, 500)));
}

void FlowTest::handlerErrorsReachTheStandardErrorBox()
{
    QCOMPARE(zephyra::errorBoxText("'abc' is not a valid integer value"),
             QString("'abc' is not a valid integer value."));
    QCOMPARE(zephyra::errorBoxText("Done."), QString("Done."));
    bool after = false;
    zephyra::runHandler([] { throw zephyra::Error("Something failed"); });
    after = true;  // the program carries on
    QVERIFY(after);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].first, QString("ZEPHYRA"));
    QCOMPARE(m_boxes[0].second, QString("Something failed."));
    zephyra::runHandler([] { throw std::runtime_error("plain failure"); });
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[1].second, QString("plain failure."));
}

void FlowTest::startUpCheckNamesTheFirstDamagedPicture()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto copy = [&](const char* from, const QString& to, qsizetype keep = -1) {
        QFile in(QStringLiteral(":/pictures/") + QLatin1String(from));
        QFile out(dir.filePath(to));
        QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        const QByteArray bytes = in.readAll();
        out.write(keep < 0 ? bytes : bytes.left(keep));
    };
    copy("wasp-small.png", "a.png");
    copy("start-background.jpg", "b.jpg");
    QCOMPARE(zephyra::firstDamagedPicture(dir.path()), QString());
    // Cut short: libjpeg would fill the rest with grey; it must count as damaged.
    copy("start-background.jpg", "c.jpg", 4000);
    copy("prize.png", "d.png", 3000);
    const QString first = zephyra::firstDamagedPicture(dir.path());
    QVERIFY2(first.contains(QStringLiteral("c.jpg")), qPrintable(first));

    // The program's check runs beside the start screen and reports on its thread.
    QString reported;
    {
        const zephyra::PictureCheck check(dir.path(), [&](const QString& error) { reported = error; });
        QTRY_COMPARE(reported, first);
    }
    QVERIFY(m_boxes.isEmpty());  // the program decides what to show
}

void FlowTest::stoppedStartUpCheckLeavesTheRestUnchecked()
{
    // Seconds of sound pictures before a damaged last one: a check stopped at
    // once never reaches it (a check that ran on would report it here).
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString sound = dir.filePath(QStringLiteral("a.png"));
    QVERIFY(QFile::copy(QStringLiteral(":/pictures/prize@2x.png"), sound));
    for (int i = 0; i < 200; ++i)
        QVERIFY(QFile::link(sound, dir.filePath(QStringLiteral("b%1.png").arg(i, 3, 10, QLatin1Char('0')))));
    QFile damaged(dir.filePath(QStringLiteral("z.png")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG\r\n\x1a\nnot a picture");
    damaged.close();
    QString reported;
    { const zephyra::PictureCheck check(dir.path(), [&](const QString& error) { reported = error; }); }
    QCoreApplication::processEvents();
    QVERIFY2(reported.isEmpty(), qPrintable(reported));
}

void FlowTest::workAfterTheFirstExposeRunsOnceTheWindowIsShown()
{
    QWidget window;
    window.resize(100, 100);
    window.winId();
    int runs = 0;
    zephyra::afterFirstExpose(window.windowHandle(), [&] { runs += window.isVisible() ? 1 : 100; });
    QCoreApplication::processEvents();
    QCOMPARE(runs, 0);
    window.show();
    QTRY_COMPARE(runs, 1);
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    QCOMPARE(runs, 1);
}

void FlowTest::scaleSettingsOutsideWhatCanBeDrawnAreRefused_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("accepted");
    const struct {
        const char* name;
        const char* value;
        bool accepted;
    } rows[] = {
        {"QT_SCALE_FACTOR", "2", true},       {"QT_SCALE_FACTOR", "1.5", true},
        {"QT_SCALE_FACTOR", "0.1", true},     {"QT_SCALE_FACTOR", "8", true},
        {"QT_SCALE_FACTOR", " 2 ", true},     {"QT_SCALE_FACTOR", "", true},
        {"QT_SCALE_FACTOR", "0", false},      {"QT_SCALE_FACTOR", "0.09", false},
        {"QT_SCALE_FACTOR", "8.01", false},   {"QT_SCALE_FACTOR", "-1", false},
        {"QT_SCALE_FACTOR", "nan", false},    {"QT_SCALE_FACTOR", "inf", false},
        {"QT_SCALE_FACTOR", "1e308", false},  {"QT_SCALE_FACTOR", "50", false},
        {"QT_SCALE_FACTOR", "abc", false},    {"QT_SCALE_FACTOR", "2,5", false},
        {"QT_SCREEN_SCALE_FACTORS", "2;1.5", true},
        {"QT_SCREEN_SCALE_FACTORS", "eDP-1=1.25;HDMI-1=2;", true},
        {"QT_SCREEN_SCALE_FACTORS", "1;50", false},
        {"QT_SCREEN_SCALE_FACTORS", "eDP-1=nan;", false},
        {"QT_SCREEN_SCALE_FACTORS", "HDMI-1=", false},
        {"QT_FONT_DPI", "192", true},         {"QT_FONT_DPI", "768", true},
        {"QT_FONT_DPI", "769", false},        {"QT_FONT_DPI", "10000", false},
        {"QT_FONT_DPI", "0", false},          {"QT_FONT_DPI", "96.5", false},
    };
    for (const auto& row : rows)
        QTest::addRow("%s=%s", row.name, row.value) << QByteArray(row.name) << QByteArray(row.value) << row.accepted;
}

void FlowTest::scaleSettingsOutsideWhatCanBeDrawnAreRefused()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    QFETCH(bool, accepted);
    QCOMPARE(zephyra::scaleSettingAccepted(name, value), accepted);
}

void FlowTest::globalScaleIsRefusedWhenTheScreensFactorTakesItOutOfRange_data()
{
    QTest::addColumn<QByteArray>("scale");
    QTest::addColumn<QByteArray>("screens");
    QTest::addColumn<QByteArray>("dpi");
    QTest::addColumn<bool>("scaleKept");
    QTest::newRow("4 on a screen of 2") << QByteArray("4") << QByteArray("2;") << QByteArray() << true;
    QTest::newRow("8 at 768 dpi") << QByteArray("8") << QByteArray() << QByteArray("768") << false;
    QTest::newRow("0.2 on a screen of 0.2") << QByteArray("0.2") << QByteArray("0.2") << QByteArray() << false;
    // The list sets the screens' factors; the font DPI then scales nothing.
    QTest::newRow("8 at 768 dpi, listed 1") << QByteArray("8") << QByteArray("1") << QByteArray("768") << true;
}

void FlowTest::globalScaleIsRefusedWhenTheScreensFactorTakesItOutOfRange()
{
    QFETCH(QByteArray, scale);
    QFETCH(QByteArray, screens);
    QFETCH(QByteArray, dpi);
    QFETCH(bool, scaleKept);
    const auto set = [](const char* name, const QByteArray& value) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("QT_SCALE_FACTOR", scale);
    set("QT_SCREEN_SCALE_FACTORS", screens);
    set("QT_FONT_DPI", dpi);
    zephyra::refuseBadScaleSettings();
    QCOMPARE(qEnvironmentVariableIsSet("QT_SCALE_FACTOR"), scaleKept);
    // Each is in range alone, so the screen's own setting stays.
    QCOMPARE(qgetenv("QT_SCREEN_SCALE_FACTORS"), screens);
    QCOMPARE(qgetenv("QT_FONT_DPI"), dpi);
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"})
        qunsetenv(name);
}

QTEST_MAIN(FlowTest)
#include "test_flow.moc"
