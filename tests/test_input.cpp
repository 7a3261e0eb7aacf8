// Easy play, gamepads and fingers, in real rounds of the field whose ticks
// the test drives: which balloon a press goes for, the flight, presses kept
// and dropped, the prize; a gamepad through SDL's own virtual device; touch
// through Qt's touch events on the real windows.
#include "assets/PngImageList.h"
#include "controls/TImage.h"
#include "menu/Unit_options.h"
#include "platform/single.h"
#include "play/input.h"
#include "tests/fixture.h"

#include <QDBusConnection>
#include <QPointingDevice>
#include <QtTest>

#include <SDL.h>

#include <climits>

using zephyra::SoundId;

namespace {

TImage* slot(int n) { return Play->Slots()[std::size_t(n - 1)]; }
std::uint8_t phase(int n) { return PlayState.BurstPhase[std::size_t(n - 1)]; }
QPoint wasp() { return Play->ImageBee->pos(); }
QPoint waspAt(QPoint pointer) { return pointer - QPoint(GameSettings.WaspHotspot, GameSettings.WaspHotspot); }

void place(int n, QPoint topLeft)
{
    slot(n)->setPicture(Play->PngImageCollection1->Items()->Items(GameSettings.BalloonImageBase)->PngImage());
    slot(n)->move(topLeft);
    slot(n)->show();
}

void tick() { GameSettings.PopMode == PopByMove ? Play->Timer_B1Timer() : Play->TimerClickTimer(); }
void ticks(int n)
{
    for (int i = 0; i < n; ++i)
        tick();
}
void pointTo(QPoint p)
{
    QCursor::setPos(p);
    QCoreApplication::processEvents();
}
void press() { QTest::keyClick(Play, Qt::Key_A); }

// Where the pointer is parked: the lower right corner of the offscreen
// screen's field (800 x 800).
const QPoint kParked(780, 740);

// A notch of the mouse wheel over the field, at the given time in ms.
void notch(ulong at)
{
    QWheelEvent w{QPointF(kParked), QPointF(kParked), {}, {0, 120}, {}, {}, Qt::NoScrollPhase, false};
    w.setTimestamp(at);
    QCoreApplication::sendEvent(Play->windowHandle(), &w);
}

// A round whose ticks only the test runs, with no balloon launched by
// itself and the pointer parked.
bool round(const std::function<void()>& during, TPopMode mode = PopByMove)
{
    GameSettings.PopMode = mode;
    for (QTimer* t : {Play->Timer_B1, Play->TimerClick})
        t->setInterval(INT_MAX);
    return fixture::playRound([during] {
        GameSettings.LaunchInterval = INT_MAX;
        pointTo(kParked);
        tick();
        during();
        if (Play->isVisible())
            Play->close();
    });
}

QPointingDevice* touchScreen()
{
    static QPointingDevice* device = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return device;
}

}  // namespace

class InputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // As the game starts: with no session bus, SDL must not start one
        // for the display, which would outlive the test.
        if (!zephyra::sessionBusExpected()) {
            qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
            QDBusConnection::sessionBus();
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        }
    }
    void init() { fixture::freshGame(20240611, {.easyPlay = true}); }

    void pressFliesToTheBalloonAChildExpects_data();
    void pressFliesToTheBalloonAChildExpects();
    void flightIsSmoothAndPopsInEveryMode_data();
    void flightIsSmoothAndPopsInEveryMode();
    void pressesDuringAFlightKeepOne();
    void pressWithNoBalloonToGoForLaunchesOne_data();
    void pressWithNoBalloonToGoForLaunchesOne();
    void aPressCountsOnceHoweverLongItIsHeld_data();
    void aPressCountsOnceHoweverLongItIsHeld();
    void easyPopsWinThePrize();
    void theMouseStillSteers();
    void inputsThatPress_data();
    void inputsThatPress();
    void underTheLockKeysPopAndEscStillHolds();
    void gamepadSteersAndPresses();
    void fingersSteerAndTap_data();
    void fingersSteerAndTap();
    void menusAnswerTaps();
};

void InputTest::pressFliesToTheBalloonAChildExpects_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    // The sting of a wasp at (780, 740) is at (753, 760); at (512, 384), (485, 404).
    QTest::newRow("the nearer") << kParked << QPoint(100, 100) << QPoint(500, 500);
    QTest::newRow("a nearer one partly off the field is passed over")
        << QPoint(100, 740) << QPoint(-20, 560) << QPoint(500, 100);
    QTest::newRow("of two as near, the higher") << QPoint(512, 384) << QPoint(220, 470) << QPoint(220, 172);
    QTest::newRow("one rising onto the field before one leaving it")
        << QPoint(300, 100) << QPoint(300, -20) << QPoint(300, 700);
}

// Both in a click mode, so the wasp's touch pops nothing on the way.
void InputTest::pressFliesToTheBalloonAChildExpects()
{
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    QVERIFY(round(
        [=] {
            pointTo(pointer);
            tick();
            place(1, first);
            place(2, second);
            press();
            ticks(kFlightTicks - 1);
            QCOMPARE(PlayState.PoppedCount, 0);
            QVERIFY(wasp() != waspAt(pointer));
            tick();
            QCOMPARE(phase(1), std::uint8_t(0));
            QVERIFY(phase(2) != 0);
            QCOMPARE(PlayState.PoppedCount, 1);
            QCOMPARE(PlayState.LaunchedCount, 0);
            QCOMPARE(fixture::sounds(), std::vector<SoundId>{SoundId::Pop});
        },
        PopByLeftClick));
}

void InputTest::flightIsSmoothAndPopsInEveryMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("by movement") << int(PopByMove);
    QTest::newRow("left click") << int(PopByLeftClick);
    QTest::newRow("right click") << int(PopByRightClick);
}

void InputTest::flightIsSmoothAndPopsInEveryMode()
{
    QFETCH(int, mode);
    QVERIFY(round(
        [mode] {
            place(1, {200, 300});
            press();
            QList<QPoint> path{wasp()};
            while (PlayState.PoppedCount == 0 && path.size() <= kFlightTicks) {
                tick();
                path << wasp();
            }
            // In the click modes the flight's end pops; by movement the sting
            // pops as it comes into the balloon, a tick or two before.
            const int popTick = int(path.size()) - 1;
            QCOMPARE(PlayState.PoppedCount, 1);
            QVERIFY(popTick == kFlightTicks || (mode == PopByMove && popTick >= kFlightTicks - 2));
            QCOMPARE(slot(1)->Picture(),
                     Play->PngImageCollectionBoom->Items()->Items(GameSettings.BurstImageIndex)->PngImage());
            // No jump: every step is a part of the way, in the same direction.
            const double whole = QLineF(path.first(), path.last()).length();
            for (int i = 1; i < path.size(); ++i) {
                QVERIFY2(QLineF(path[i - 1], path[i]).length() < 0.4 * whole, qPrintable(QString::number(i)));
                QVERIFY(path[i].x() <= path[i - 1].x() && path[i].y() <= path[i - 1].y());
            }
        },
        TPopMode(mode)));
}

void InputTest::pressesDuringAFlightKeepOne()
{
    QVERIFY(round(
        [] {
            place(1, {500, 500});
            place(2, {300, 300});
            place(3, {100, 100});
            press();
            press();
            press();
            ticks(4 * kFlightTicks);
            QCOMPARE(PlayState.PoppedCount, 2);
            QCOMPARE(Play->Input->Flying(), false);
        },
        PopByLeftClick));
}

void InputTest::pressWithNoBalloonToGoForLaunchesOne_data()
{
    QTest::addColumn<bool>("leaving");
    QTest::newRow("an empty field") << false;
    QTest::newRow("only one leaving at the top") << true;
}

void InputTest::pressWithNoBalloonToGoForLaunchesOne()
{
    QFETCH(bool, leaving);
    QVERIFY(round([leaving] {
        if (leaving)
            place(1, {300, -20});
        const QPoint parked = wasp();
        press();
        tick();
        QCOMPARE(PlayState.LaunchedCount, 1);
        QVERIFY(wasp() != parked);
        ticks(kFlightTicks - 1);
        QCOMPARE(PlayState.PoppedCount, 1);
    }));
}

void InputTest::aPressCountsOnceHoweverLongItIsHeld_data()
{
    // Events as "<what><key>@<ms>": d, u a key down, up; D, U the same marked
    // by Qt as a repeat; w a notch of the wheel.
    QTest::addColumn<QString>("events");
    QTest::addColumn<int>("presses");
    QTest::newRow("repeats Qt marks") << "dA@100 UA@600 DA@600 UA@633 DA@633 uA@2000" << 1;
    QTest::newRow("the X server's release and press of one moment, unmarked")
        << "dA@100 uA@600 dA@600 uA@633 dA@633 uA@666 dA@666 uA@2000" << 1;
    QTest::newRow("presses of a key already down") << "dA@100 dA@600 dA@633 uA@2000" << 1;
    QTest::newRow("let go and pressed again") << "dA@100 uA@200 dA@300 uA@400" << 2;
    QTest::newRow("two keys held together") << "dA@100 dB@150 uA@600 dA@600 uB@900 uA@950" << 2;
    QTest::newRow("a turn of the wheel") << "w@100 w@150 w@220 w@300 w@330" << 1;
    QTest::newRow("two turns") << "w@100 w@150 w@1000 w@1050" << 2;
}

// Each event is followed by a whole flight, so every press that counts is a pop.
void InputTest::aPressCountsOnceHoweverLongItIsHeld()
{
    QFETCH(QString, events);
    QFETCH(int, presses);
    QVERIFY(round(
        [=] {
            for (int n = 1; n <= kSlotCount; ++n)
                place(n, {20 + 80 * (n - 1), 300});
            for (const QString& e : events.split(u' ')) {
                const QChar what = e.at(0);
                const ulong at = e.section(u'@', 1).toULong();
                if (what == u'w') {
                    notch(at);
                } else {
                    const Qt::Key key = e.at(1) == u'A' ? Qt::Key_A : Qt::Key_B;
                    QKeyEvent k(what.toLower() == u'd' ? QEvent::KeyPress : QEvent::KeyRelease, key, {},
                                e.mid(1, 1).toLower(), what.isUpper());
                    k.setTimestamp(at);
                    QCoreApplication::sendEvent(Play, &k);
                }
                ticks(kFlightTicks + 1);
            }
            QCOMPARE(PlayState.PoppedCount, presses);
        },
        PopByLeftClick));
}

void InputTest::easyPopsWinThePrize()
{
    GameSettings.PrizeThreshold = 2;
    QVERIFY(round([] {
        place(1, {500, 500});
        place(2, {100, 100});
        press();
        ticks(kFlightTicks);
        press();
        ticks(kFlightTicks);
        QVERIFY(Play->ImagePriz->isVisible());
        QCOMPARE(fixture::sounds(), (std::vector<SoundId>{SoundId::Pop, SoundId::Prize}));
        press();  // in the prize pause a press does nothing
        QVERIFY(!Play->Input->Flying());
    }));
}

void InputTest::theMouseStillSteers()
{
    QVERIFY(round([] {
        place(1, {200, 300});
        press();
        ticks(2);
        pointTo({600, 100});
        tick();
        QCOMPARE(wasp(), waspAt({600, 100}));
        ticks(kFlightTicks);
        QCOMPARE(PlayState.PoppedCount, 0);
    }));
}

void InputTest::inputsThatPress_data()
{
    QTest::addColumn<bool>("easy");
    QTest::addColumn<QString>("input");
    for (bool easy : {true, false}) {
        const char* way = easy ? "easy play" : "without easy play";
        for (const char* input : {"Space", "Shift", "left button", "middle button", "wheel"})
            QTest::addRow("%s, %s", way, input) << easy << QString::fromLatin1(input);
    }
}

// Without easy play nothing pops and the wasp stays at the pointer: the game as it always was.
void InputTest::inputsThatPress()
{
    QFETCH(bool, easy);
    QFETCH(QString, input);
    fixture::freshGame(20240611, {.easyPlay = easy});
    QVERIFY(round([=] {
        place(1, {300, 300});
        if (input == QLatin1String("Space"))
            QTest::keyClick(Play, Qt::Key_Space);
        else if (input == QLatin1String("Shift"))
            QTest::keyClick(Play, Qt::Key_Shift);
        else if (input == QLatin1String("wheel"))
            notch(1);
        else
            QTest::mouseClick(Play->windowHandle(),
                              input == QLatin1String("left button") ? Qt::LeftButton : Qt::MiddleButton, {},
                              kParked);
        ticks(kFlightTicks);
        QCOMPARE(PlayState.PoppedCount, easy ? 1 : 0);
        if (!easy)
            QCOMPARE(wasp(), waspAt(kParked));
    }));
}

void InputTest::underTheLockKeysPopAndEscStillHolds()
{
    fixture::freshGame(20240611, {.childLock = true, .easyPlay = true});
    QVERIFY(round([] {
        place(1, {300, 300});
        QTest::keyClick(Play, Qt::Key_B);
        ticks(kFlightTicks);
        QCOMPARE(PlayState.PoppedCount, 1);
        // A short Esc neither leaves nor sends the wasp.
        place(2, {500, 300});
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(10);
        QTest::keyRelease(Play, Qt::Key_Escape);
        ticks(kFlightTicks);
        QVERIFY(Play->isVisible());
        QCOMPARE(PlayState.PoppedCount, 1);
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(zephyra::kHoldToLeaveMs / kTickMs);
        QVERIFY(!Play->isVisible());
    }));
}

void InputTest::gamepadSteersAndPresses()
{
    fixture::freshGame(20240611, {.easyPlay = false});
    QVERIFY(round(
        [] {
            zephyra::Gamepads& pads = Play->Input->Pads();
            QSignalSpy loaded(&pads, &zephyra::Gamepads::loaded);
            pads.load();
            QVERIFY(loaded.wait(5000));
            SDL_VirtualJoystickDesc desc{};
            desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
            desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
            desc.naxes = SDL_CONTROLLER_AXIS_MAX;
            desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
            const int index = SDL_JoystickAttachVirtualEx(&desc);
            QVERIFY(index >= 0);
            SDL_Joystick* stick = SDL_JoystickOpen(index);
            tick();
            QCOMPARE(pads.count(), 1);

            // Full tilt to the left: the field's width in kStickCrossTicks.
            const QPoint from = wasp();
            SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MIN);
            ticks(2);
            SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 0);
            tick();
            QCOMPARE(wasp(), from - QPoint(2 * qRound(double(Play->width()) / kStickCrossTicks), 0));

            // A face button is the chosen click; with the sting in a balloon it pops it.
            place(1, wasp() + QPoint(-60, -50));
            tick();
            for (auto [button, pops] : {std::pair{SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0}, {SDL_CONTROLLER_BUTTON_B, 1}}) {
                SDL_JoystickSetVirtualButton(stick, button, 1);
                tick();
                SDL_JoystickSetVirtualButton(stick, button, 0);
                tick();
                QCOMPARE(PlayState.PoppedCount, pops);
            }

            SDL_JoystickClose(stick);
            SDL_JoystickDetachVirtual(index);
            tick();
            QCOMPARE(pads.count(), 0);
        },
        PopByRightClick));
}

void InputTest::fingersSteerAndTap_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("easy");
    QTest::addColumn<int>("pops");
    QTest::newRow("by movement: a finger steers onto the balloon") << int(PopByMove) << false << 1;
    QTest::newRow("left click: the tap clicks") << int(PopByLeftClick) << false << 1;
    QTest::newRow("right click: the tap clicks") << int(PopByRightClick) << false << 1;
    QTest::newRow("easy play: a tap far off sends the wasp") << int(PopByLeftClick) << true << 1;
}

void InputTest::fingersSteerAndTap()
{
    QFETCH(int, mode);
    QFETCH(bool, easy);
    QFETCH(int, pops);
    fixture::freshGame(20240611, {.easyPlay = easy});
    QVERIFY(round(
        [=] {
            place(1, {300, 300});
            // On the balloon, or (easy play) far from it.
            const QPoint finger = easy ? QPoint(900, 100) : QPoint(300 + 60 + 27, 300 + 50 - 20);
            QTest::touchEvent(Play->windowHandle(), touchScreen()).press(0, finger);
            // A second finger elsewhere does not take the wasp.
            QTest::touchEvent(Play->windowHandle(), touchScreen()).stationary(0).press(1, {50, 600});
            tick();
            if (!easy)
                QCOMPARE(wasp(), waspAt(finger));
            QTest::touchEvent(Play->windowHandle(), touchScreen()).release(0, finger).release(1, {50, 600});
            ticks(kFlightTicks);
            QCOMPARE(PlayState.PoppedCount, pops);
        },
        TPopMode(mode)));
}

void InputTest::menusAnswerTaps()
{
    START->show();
    QVERIFY(QTest::qWaitForWindowExposed(START));
    const QPoint options = START->B_Options->mapTo(START, START->B_Options->rect().center());
    QTest::touchEvent(START->windowHandle(), touchScreen()).press(0, options);
    QTest::touchEvent(START->windowHandle(), touchScreen()).release(0, options);
    QTRY_VERIFY(Options->isVisible());
    auto* cancel = fixture::option<QPushButton>("Button2");
    const QPoint at = cancel->mapTo(Options, cancel->rect().center());
    QTest::touchEvent(Options->windowHandle(), touchScreen()).press(0, at);
    QTest::touchEvent(Options->windowHandle(), touchScreen()).release(0, at);
    QTRY_VERIFY(!Options->isVisible());
    QVERIFY(START->isVisible());
}

QTEST_MAIN(InputTest)
#include "test_input.moc"
