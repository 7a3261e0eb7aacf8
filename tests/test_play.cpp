// The play field: launcher and flight, the sting hit test, bursts, counting,
// the prize, Esc, the click modes and the sounds. Ticks are driven by calling
// the tick handlers, the pointer by QCursor::setPos (pointTo), with a seeded
// generator.
#include "assets/PngImageList.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "lcd/LCDScreen.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "settings/GameSettings.h"
#include "tests/fixture.h"

#include <QCursor>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <vector>

using zephyra::SoundId;

namespace {

const QString kLaunched0 = QStringLiteral("ВЫЛЕТЕЛО - 0");
const QString kPopped0 = QStringLiteral("СБИТО - 0");

// Far off the window: the sting can never lie inside a balloon.
const QPoint kPointerAway(-1000, -1000);
// Where the pop tests rest the pointer on a 1024 x 768 field.
const QPoint kPointer(500, 400);

// Moves the pointer and lets the events it raises arrive, as they would
// before the next tick: over the field the wasp follows those events. The
// tests give every tick themselves, so a running tick timer that came due
// meanwhile (on a slow machine it does) adds none of its own.
void pointTo(QPoint p)
{
    QCursor::setPos(p);
    const QSignalBlocker flight(Play->Timer_B1), click(Play->TimerClick);
    QCoreApplication::processEvents();
}
void pointTo(int x, int y) { pointTo(QPoint(x, y)); }

TImage* slot(int n) { return Play->Slots()[static_cast<std::size_t>(n - 1)]; }
std::uint8_t& phase(int n) { return PlayState.BurstPhase[static_cast<std::size_t>(n - 1)]; }

QString line(TLCDScreen* d) { return d->Lines()->Strings(0); }

int soundCount(SoundId id) { return int(std::count(fixture::sounds().begin(), fixture::sounds().end(), id)); }

const std::vector<SoundId>& sounds() { return fixture::sounds(); }

QImage burstPicture() { return Play->PngImageCollectionBoom->Items()->Items(GameSettings.BurstImageIndex)->PngImage(); }

// Wasp position that the wasp step gives for the resting pointer.
QPoint waspFor(QPoint pointer)
{
    return Play->mapFromGlobal(pointer) - QPoint(GameSettings.WaspHotspot, GameSettings.WaspHotspot);
}

// Puts a visible, idle balloon in slot n so that after one rise step its
// top-left is (x, y).
void placeBeforeRise(int n, int x, int y)
{
    slot(n)->setPicture(Play->PngImageCollection1->Items()->Items(GameSettings.BalloonImageBase)->PngImage());
    slot(n)->move(x, y + GameSettings.FlightStep);
    slot(n)->show();
    phase(n) = 0;
}

// A balloon position (after its rise) that holds the sting of a wasp at w well inside.
QPoint insideOf(QPoint w) { return {w.x() - 60, w.y() - 50}; }

}  // namespace

class PlayTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    // Launcher and flight
    void launchPaceFollowsTheInterval_data();
    void launchPaceFollowsTheInterval();
    void launchPlacesAtTheBottomInSixColumns();
    void balloonFlightOnA768PixelWindow_data();
    void balloonFlightOnA768PixelWindow();
    void narrowWindowLaunchesAtLeftZero_data();
    void narrowWindowLaunchesAtLeftZero();
    void launcherWaitsWhileAllSlotsFlyAndRefillsTheLowestFree();
    void slotLeavingAtTheTopIsRefilledOnTheNextTick();
    void burstingSlotNeitherRisesNorIsChosen();

    // Wasp
    void waspIsCentredOnThePointerMappedIntoTheWindow();
    void overTheFieldTheWaspFollowsMouseEvents();

    // Hit test
    void stingMustLieStrictlyInside_data();
    void stingMustLieStrictlyInside();
    void balloonRisingIntoARestingStingPops();
    void slotHiddenByItsRiseIsStillTested();
    void balloonLaunchedUnderTheStingPopsInItsLaunchTick();
    void overlappingBalloonsGiveOneCountedPopAndOneSound();
    void burstTimeline();

    // Counting and prize
    void prizeComesAtTheThreshold_data();
    void prizeComesAtTheThreshold();
    void prizePlacement_data();
    void prizePlacement();
    void escIsIgnoredDuringThePrizePauseAndWorksAfter();
    void otherKeysDoNothing();
    void prizePauseEndResetsCountsButKeepsCreditAndPhases();
    void prizePauseEndingBehindAHiddenWindowStartsNoTimer();
    void escResetsCountsButKeepsCreditAndPhases();

    // Click modes
    void clickButtonFilter_data();
    void clickButtonFilter();
    void pressOnTheWaspReachesTheHandler();
    void clickTickNeitherTestsNorCounts();
    void oneClickPopsEveryBalloonUnderTheSting();
    void firstClickPopReachingThePrizeHidesTheRest();
    void clickOnABurstingBalloonDoesNothing();
    void clickBurstLastsSixTicks();

    // A picture that cannot be decoded
    void damagedPicturesInPlayShowOneBoxAndTheTickGoesOn();

    // Sounds
    void soundSwitchSilencesOnlyThePop_data();
    void soundSwitchSilencesOnlyThePop();

private:
    void popOneBalloonByMove();
    int ticksUntilLaunch(int limit);
};

void PlayTest::initTestCase()
{
    zephyra::setMessagePresenter([](QMessageBox::Icon, const QString&, const QString& text) {
        QFAIL(qPrintable(QStringLiteral("unexpected message box: ") + text));
    });
}

void PlayTest::init()
{
    fixture::freshGame();
    Play->setGeometry(0, 0, 1024, 768);
    pointTo(kPointerAway);
}

// Ticks until LaunchedCount grows; returns the tick number (1-based) or -1.
int PlayTest::ticksUntilLaunch(int limit)
{
    const int before = PlayState.LaunchedCount;
    for (int t = 1; t <= limit; ++t) {
        Play->Timer_B1Timer();
        if (PlayState.LaunchedCount != before)
            return t;
    }
    return -1;
}

// Pops one balloon with a resting sting: a free, idle slot is put under it and
// one tick runs. Launches are kept out of the way by a long interval.
void PlayTest::popOneBalloonByMove()
{
    pointTo(kPointer);
    for (int guard = 0; guard < 10; ++guard) {
        for (int n = 1; n <= 8; ++n) {
            if (slot(n)->isHidden() && phase(n) == 0) {
                const QPoint p = insideOf(waspFor(kPointer));
                placeBeforeRise(n, p.x(), p.y());
                Play->Timer_B1Timer();
                return;
            }
        }
        Play->Timer_B1Timer();  // let a burst finish
    }
    QFAIL("no free slot");
}

// ---------------------------------------------------------------- launcher

void PlayTest::launchPaceFollowsTheInterval_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("ticks");
    QTest::newRow("300 ms") << 300 << 7;
    QTest::newRow("600 ms") << 600 << 13;
    QTest::newRow("1000 ms, the start value") << 1000 << 21;
    QTest::newRow("1300 ms") << 1300 << 27;
    QTest::newRow("1600 ms") << 1600 << 33;
}

void PlayTest::launchPaceFollowsTheInterval()
{
    QFETCH(int, interval);
    QFETCH(int, ticks);
    QCOMPARE(GameSettings.LaunchInterval, 1000);  // given by the creation handler
    GameSettings.LaunchInterval = interval;
    GameSettings.FlightStep = 2;  // nothing leaves at the top meanwhile
    // The credit starts at 0, so the first launch comes after a whole interval.
    QCOMPARE(ticksUntilLaunch(100), ticks);
    QCOMPARE(ticksUntilLaunch(100), ticks);
    QCOMPARE(ticksUntilLaunch(100), ticks);
    QCOMPARE(PlayState.LaunchedCount, 3);
    QCOMPARE(line(Play->LCDScreen1), QStringLiteral("ВЫЛЕТЕЛО - 3"));
    QCOMPARE(Play->LCDScreen1->Lines()->Count(), 1);
    QVERIFY(!slot(1)->isHidden() && !slot(2)->isHidden() && !slot(3)->isHidden());
    QVERIFY(slot(4)->isHidden());
}

void PlayTest::launchPlacesAtTheBottomInSixColumns()
{
    GameSettings.LaunchInterval = 0;  // a launch on every tick with a free slot
    const int q = (1024 - 130) / 6;
    QSet<int> columns;
    for (int i = 0; i < 60; ++i) {
        PlayState.LaunchElapsed = 0;
        Play->LaunchStep();
        TImage* s = slot(1);
        QVERIFY(!s->isHidden());
        QCOMPARE(s->y(), 768 - 168);  // launched at the bottom edge, before any rise
        QVERIFY2(s->x() >= 0 && s->x() < 6 * q, qPrintable(QString::number(s->x())));
        columns.insert(s->x() / q);
        // The picture is one of the four medium balloons.
        bool known = false;
        for (int p = 4; p < 8; ++p)
            known = known || s->Picture() == Play->PngImageCollection1->Items()->Items(p)->PngImage();
        QVERIFY(known);
        s->hide();
    }
    QCOMPARE(columns.size(), 6);
    QCOMPARE(PlayState.LaunchedCount, 60);
}

void PlayTest::balloonFlightOnA768PixelWindow_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("firstTop");
    QTest::addColumn<int>("lastTop");
    QTest::addColumn<int>("positions");
    QTest::newRow("FlightStep 10") << 10 << 590 << -170 << 77;
    QTest::newRow("FlightStep 2") << 2 << 598 << -168 << 384;
}

void PlayTest::balloonFlightOnA768PixelWindow()
{
    QFETCH(int, step);
    QFETCH(int, firstTop);
    QFETCH(int, lastTop);
    QFETCH(int, positions);
    GameSettings.FlightStep = step;
    PlayState.LaunchElapsed = GameSettings.LaunchInterval;
    Play->Timer_B1Timer();  // the launch tick: launched at 600, risen once
    QCOMPARE(PlayState.LaunchedCount, 1);
    std::vector<int> tops;
    int hiddenOnTick = 1;
    while (!slot(1)->isHidden() && hiddenOnTick < 1000) {
        tops.push_back(slot(1)->y());
        Play->Timer_B1Timer();
        ++hiddenOnTick;
    }
    QCOMPARE(int(tops.size()), positions);
    QCOMPARE(tops.front(), firstTop);
    QCOMPARE(tops.back(), lastTop);
    QCOMPARE(hiddenOnTick, positions + 1);
    for (std::size_t i = 1; i < tops.size(); ++i)
        QCOMPARE(tops[i - 1] - tops[i], step);
}

void PlayTest::narrowWindowLaunchesAtLeftZero_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("q = 0") << 135;
    QTest::newRow("narrower than a balloon") << 100;
}

void PlayTest::narrowWindowLaunchesAtLeftZero()
{
    QFETCH(int, width);
    Play->resize(width, 768);
    QCOMPARE(Play->width(), width);
    for (int i = 0; i < 30; ++i) {
        PlayState.LaunchElapsed = GameSettings.LaunchInterval;
        Play->LaunchStep();
        QCOMPARE(slot(1)->pos(), QPoint(0, 600));
        slot(1)->hide();
    }
}

void PlayTest::launcherWaitsWhileAllSlotsFlyAndRefillsTheLowestFree()
{
    GameSettings.LaunchInterval = 300;
    GameSettings.FlightStep = 2;
    for (int n = 1; n <= 8; ++n)
        QCOMPARE(ticksUntilLaunch(7), 7);
    for (int n = 1; n <= 8; ++n)
        QVERIFY(!slot(n)->isHidden());
    // All eight fly: nothing is launched, the credit is kept.
    for (int t = 0; t < 20; ++t)
        Play->Timer_B1Timer();
    QCOMPARE(PlayState.LaunchedCount, 8);
    QCOMPARE(PlayState.LaunchElapsed, 300);
    // Two slots come free: the lowest is refilled on the very next tick.
    slot(5)->hide();
    slot(3)->hide();
    Play->Timer_B1Timer();
    QCOMPARE(PlayState.LaunchedCount, 9);
    QVERIFY(!slot(3)->isHidden());
    QVERIFY(slot(5)->isHidden());
    QCOMPARE(slot(3)->y(), 600 - 2);
    QCOMPARE(PlayState.LaunchElapsed, 0);
    QCOMPARE(ticksUntilLaunch(7), 7);
    QVERIFY(!slot(5)->isHidden());
    QCOMPARE(line(Play->LCDScreen1), QStringLiteral("ВЫЛЕТЕЛО - 10"));
}

void PlayTest::slotLeavingAtTheTopIsRefilledOnTheNextTick()
{
    GameSettings.LaunchInterval = 300;
    GameSettings.FlightStep = 2;
    for (int n = 1; n <= 8; ++n)
        ticksUntilLaunch(7);
    QCOMPARE(PlayState.LaunchedCount, 8);
    for (int t = 0; t < 6; ++t)
        Play->Timer_B1Timer();
    QCOMPARE(PlayState.LaunchElapsed, 300);  // due, but every slot flies
    // Ball4 is wholly above the top edge: its rise step hides it, but the
    // launch step of that tick has already run.
    slot(4)->move(slot(4)->x(), -168);
    Play->Timer_B1Timer();
    QVERIFY(slot(4)->isHidden());
    QCOMPARE(PlayState.LaunchedCount, 8);
    Play->Timer_B1Timer();
    QVERIFY(!slot(4)->isHidden());
    QCOMPARE(slot(4)->y(), 598);
    QCOMPARE(PlayState.LaunchedCount, 9);
}

void PlayTest::burstingSlotNeitherRisesNorIsChosen()
{
    slot(1)->move(300, 300);
    slot(1)->show();
    phase(1) = 3;
    PlayState.LaunchElapsed = GameSettings.LaunchInterval;
    Play->Timer_B1Timer();
    QCOMPARE(slot(1)->pos(), QPoint(300, 300));
    QCOMPARE(phase(1), 4);
    QVERIFY(!slot(2)->isHidden());
    QCOMPARE(slot(2)->y(), 590);
    QCOMPARE(PlayState.LaunchedCount, 1);
}

// ---------------------------------------------------------------- wasp

void PlayTest::waspIsCentredOnThePointerMappedIntoTheWindow()
{
    Play->ImageBee->move(0, 0);
    pointTo(300, 200);
    QCOMPARE(Play->ImageBee->pos(), QPoint(0, 0));  // it moves only on ticks
    Play->Timer_B1Timer();
    QCOMPARE(Play->ImageBee->pos(), QPoint(268, 168));
    ApplyWaspSize(SizeChoice::Small);
    Play->TimerClickTimer();
    QCOMPARE(Play->ImageBee->pos(), QPoint(284, 184));
    // A window that does not begin at the screen's corner (a second monitor).
    Play->setGeometry(200, 100, 1024, 768);
    Play->Timer_B1Timer();
    QCOMPARE(Play->ImageBee->pos(), Play->mapFromGlobal(QPoint(300, 200)) - QPoint(16, 16));
    QVERIFY(Play->ImageBee->x() < 268 - 150);
    // Outside the window the wasp goes outside too.
    pointTo(-300, -200);
    Play->Timer_B1Timer();
    QVERIFY(Play->ImageBee->x() < -400 && Play->ImageBee->y() < -250);
}

void PlayTest::overTheFieldTheWaspFollowsMouseEvents()
{
    Play->show();
    QVERIFY(QTest::qWaitForWindowExposed(Play));
    pointTo(400, 300);
    Play->Timer_B1Timer();
    QCOMPARE(Play->ImageBee->pos(), QPoint(368, 268));
    // A move the platform's pointer knows nothing of still moves the wasp:
    // the position comes from the field's events, not from asking.
    QTest::mouseMove(Play->windowHandle(), QPoint(300, 200));
    QCOMPARE(QCursor::pos(), QPoint(400, 300));
    Play->Timer_B1Timer();
    QCOMPARE(Play->ImageBee->pos(), QPoint(268, 168));
    // Off the field no event says where it is; then it is asked for.
    pointTo(kPointerAway);
    Play->Timer_B1Timer();
    QCOMPARE(Play->ImageBee->pos(), waspFor(kPointerAway));
}

// ---------------------------------------------------------------- hit test

void PlayTest::stingMustLieStrictlyInside_data()
{
    // Offsets of the balloon's left/top from the wasp's, medium sizes:
    // sting x 0..10, y 48..56 in the wasp; balloon 130 x 168.
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("pops");
    QTest::newRow("well inside") << -60 << -50 << true;
    QTest::newRow("balloon top on sting top") << -60 << 48 << false;
    QTest::newRow("balloon top one above") << -60 << 47 << true;
    QTest::newRow("balloon bottom on sting bottom") << -60 << -112 << false;
    QTest::newRow("balloon bottom one below") << -60 << -111 << true;
    QTest::newRow("balloon left on sting left") << 0 << -50 << false;
    QTest::newRow("balloon left one left of it") << -1 << -50 << true;
    QTest::newRow("balloon right on sting right") << -120 << -50 << false;
    QTest::newRow("balloon right one right of it") << -119 << -50 << true;
}

void PlayTest::stingMustLieStrictlyInside()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, pops);
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint w = waspFor(kPointer);
    placeBeforeRise(3, w.x() + dx, w.y() + dy);
    Play->Timer_B1Timer();
    QCOMPARE(Play->ImageBee->pos(), w);
    QCOMPARE(PlayState.PoppedCount, pops ? 1 : 0);
    QCOMPARE(phase(3), pops ? 2 : 0);
    QCOMPARE(slot(3)->pos(), QPoint(w.x() + dx, w.y() + dy));
}

void PlayTest::balloonRisingIntoARestingStingPops()
{
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint w = waspFor(kPointer);
    // After rises: top at sting top + 20, + 10, + 0 (equal: no pop), - 10 (pop).
    slot(2)->move(w.x() - 60, w.y() + 48 + 30);
    slot(2)->show();
    for (int t = 0; t < 3; ++t) {
        Play->Timer_B1Timer();
        QCOMPARE(PlayState.PoppedCount, 0);
    }
    Play->Timer_B1Timer();
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(slot(2)->y(), w.y() + 38);
    Play->Timer_B1Timer();
    QCOMPARE(slot(2)->y(), w.y() + 38);  // a bursting balloon stays put
    QCOMPARE(PlayState.PoppedCount, 1);
}

void PlayTest::slotHiddenByItsRiseIsStillTested()
{
    // A pointer above the window (another monitor) can hold the sting inside
    // a balloon that has just left at the top: the test runs on that tick.
    GameSettings.LaunchInterval = 100000;
    const QPoint pointer(500, -68);
    pointTo(pointer);
    const QPoint w = waspFor(pointer);
    slot(5)->move(w.x() - 60, -168);
    slot(5)->show();
    Play->Timer_B1Timer();
    QVERIFY(slot(5)->isHidden());
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(phase(5), 2);
}

void PlayTest::balloonLaunchedUnderTheStingPopsInItsLaunchTick()
{
    Play->resize(135, 768);  // q = 0: the balloon starts at left 0
    // Wasp at (50, 550): sting y 598..606. At the launch top 600 the sting is
    // not inside; at 590, after the first rise, it is.
    const QPoint pointer(82, 582);
    pointTo(pointer);
    QCOMPARE(waspFor(pointer), QPoint(50, 550));
    PlayState.LaunchElapsed = GameSettings.LaunchInterval;
    Play->Timer_B1Timer();
    QCOMPARE(PlayState.LaunchedCount, 1);
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(slot(1)->pos(), QPoint(0, 590));
    QCOMPARE(phase(1), 2);
    QCOMPARE(slot(1)->Picture(), burstPicture());
    QCOMPARE(line(Play->LCDScreen2), QStringLiteral("СБИТО - 1"));
}

void PlayTest::overlappingBalloonsGiveOneCountedPopAndOneSound()
{
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(2, p.x(), p.y());
    placeBeforeRise(6, p.x() + 20, p.y() + 10);
    Play->Timer_B1Timer();
    QCOMPARE(phase(2), 2);
    QCOMPARE(phase(6), 2);
    QCOMPARE(slot(2)->Picture(), burstPicture());
    QCOMPARE(slot(6)->Picture(), burstPicture());
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(line(Play->LCDScreen2), QStringLiteral("СБИТО - 1"));
    QCOMPARE(Play->LCDScreen2->Lines()->Count(), 1);
    QCOMPARE(sounds(), std::vector<SoundId>{SoundId::Pop});
}

void PlayTest::burstTimeline()
{
    GameSettings.FlightStep = 2;
    pointTo(QPoint(40, 100));  // far from the other balloons
    // Ball1 is popped in tick T while Ball2..Ball8 fly and the launcher waits.
    const QPoint p = insideOf(waspFor(QPoint(40, 100)));
    placeBeforeRise(1, p.x() + 50, p.y());
    for (int n = 2; n <= 8; ++n) {
        slot(n)->move(600, 700);
        slot(n)->show();
    }
    PlayState.LaunchElapsed = GameSettings.LaunchInterval;
    Play->Timer_B1Timer();  // T
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(PlayState.LaunchedCount, 0);
    const QPoint at = slot(1)->pos();
    for (int t = 0; t <= 4; ++t) {  // after T .. T+4: the burst picture is shown
        QVERIFY2(!slot(1)->isHidden(), qPrintable(QString::number(t)));
        QCOMPARE(slot(1)->Picture(), burstPicture());
        QCOMPARE(slot(1)->pos(), at);
        QCOMPARE(int(phase(1)), 2 + t);
        Play->Timer_B1Timer();
        QCOMPARE(PlayState.LaunchedCount, 0);  // still busy in this launch step
    }
    // Tick T+5 hid it; the launch step of T+6 fills it again.
    QVERIFY(slot(1)->isHidden());
    QCOMPARE(phase(1), 0);
    Play->Timer_B1Timer();
    QCOMPARE(PlayState.LaunchedCount, 1);
    QVERIFY(!slot(1)->isHidden());
    QCOMPARE(slot(1)->y(), 598);
    QCOMPARE(PlayState.PoppedCount, 1);
}

// ---------------------------------------------------------------- prize

void PlayTest::prizeComesAtTheThreshold_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("prizeAt");  // 0: never
    QTest::newRow("start values: 20th pop") << true << 20 << 20;
    QTest::newRow("threshold 1") << true << 1 << 1;
    QTest::newRow("threshold 0") << true << 0 << 1;
    QTest::newRow("negative threshold") << true << -7 << 1;
    QTest::newRow("prize off") << false << 1 << 0;
}

void PlayTest::prizeComesAtTheThreshold()
{
    QFETCH(bool, enabled);
    QFETCH(int, threshold);
    QFETCH(int, prizeAt);
    GameSettings.PrizeEnabled = enabled;
    GameSettings.PrizeThreshold = threshold;
    GameSettings.LaunchInterval = 100000;
    Play->show();
    Play->Timer_B1->start();
    const int pops = prizeAt ? prizeAt : 40;
    for (int i = 1; i <= pops; ++i) {
        QVERIFY2(Play->Timer_B1->isActive(), qPrintable(QString::number(i)));
        popOneBalloonByMove();
        QCOMPARE(PlayState.PoppedCount, i);
        QCOMPARE(Play->ImagePriz->isHidden(), i != prizeAt);
    }
    QCOMPARE(line(Play->LCDScreen2), QStringLiteral("СБИТО - %1").arg(pops));
    std::vector<SoundId> expected(std::size_t(prizeAt ? pops - 1 : pops), SoundId::Pop);
    if (prizeAt) {
        // The winning pop gives the fanfare and no pop sound.
        expected.push_back(SoundId::Prize);
        QVERIFY(!Play->Timer_B1->isActive());
        QVERIFY(Play->TimerPriz->isActive());
        QCOMPARE(Play->TimerPriz->interval(), 10000);
        for (TImage* s : Play->Slots())
            QVERIFY(s->isHidden());
        QCOMPARE(Play->ImagePriz->pos(), QPoint(252, 124));
        QCOMPARE(Play->ImagePriz->Picture().size(), QSize(688, 520));
        // The next round, after the pause, wins its prize the same way.
        Play->TimerPrizTimer();
        QVERIFY(Play->ImagePriz->isHidden());
        for (int i = 1; i <= pops; ++i)
            popOneBalloonByMove();
        QVERIFY(!Play->ImagePriz->isHidden());
        QCOMPARE(Play->ImagePriz->Picture().size(), QSize(688, 520));
        QCOMPARE(PlayState.PoppedCount, pops);
        const std::vector<SoundId> round = expected;
        expected.insert(expected.end(), round.begin(), round.end());
    } else {
        QVERIFY(Play->Timer_B1->isActive());
        QVERIFY(!Play->TimerPriz->isActive());
    }
    QCOMPARE(sounds(), expected);
}

void PlayTest::prizePlacement_data()
{
    QTest::addColumn<QSize>("field");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(252, 124);
    QTest::newRow("800 x 600") << QSize(800, 600) << QPoint(140, 40);
    QTest::newRow("odd sizes truncate") << QSize(1025, 769) << QPoint(252, 124);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPoint(700, 280);
}

void PlayTest::prizePlacement()
{
    QFETCH(QSize, field);
    QFETCH(QPoint, at);
    Play->resize(field);
    GameSettings.PrizeThreshold = 1;
    GameSettings.LaunchInterval = 100000;
    pointTo(300, 300);
    const QPoint p = insideOf(waspFor(QPoint(300, 300)));
    placeBeforeRise(1, p.x(), p.y());
    Play->Timer_B1Timer();
    QVERIFY(!Play->ImagePriz->isHidden());
    QCOMPARE(Play->ImagePriz->pos(), at);
    QCOMPARE(Play->ImagePriz->size(), QSize(688, 520));
}

void PlayTest::escIsIgnoredDuringThePrizePauseAndWorksAfter()
{
    GameSettings.PrizeThreshold = 1;
    GameSettings.LaunchInterval = 100000;
    START->hide();
    Play->show();
    Play->Timer_B1->start();
    popOneBalloonByMove();
    QVERIFY(Play->TimerPriz->isActive());

    QTest::keyClick(Play, Qt::Key_Escape);
    Play->FormKeyPress(27);
    QVERIFY(Play->isVisible());
    QVERIFY(START->isHidden());
    QVERIFY(!Play->ImagePriz->isHidden());
    QVERIFY(Play->TimerPriz->isActive());
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(line(Play->LCDScreen2), QStringLiteral("СБИТО - 1"));

    Play->TimerPrizTimer();
    QVERIFY(Play->Timer_B1->isActive());
    QVERIFY(!Play->TimerClick->isActive());
    QVERIFY(!Play->TimerPriz->isActive());
    QVERIFY(Play->ImagePriz->isHidden());

    // The next round runs: a real Esc key press ends it.
    QTest::keyClick(Play, Qt::Key_Escape);
    QVERIFY(Play->isHidden());
    QVERIFY(!START->isHidden());
    QVERIFY(!Play->Timer_B1->isActive());
    START->hide();
}

void PlayTest::otherKeysDoNothing()
{
    START->hide();
    Play->show();
    Play->TimerClick->start();
    for (int key : {13, 32, int('a'), int('q'), 0x1B + 1})
        Play->FormKeyPress(key);
    QTest::keyClick(Play, Qt::Key_Return);
    QTest::keyClick(Play, Qt::Key_Space);
    QTest::keyClick(Play, Qt::Key_BracketLeft);  // "[" alone is not Esc
    QVERIFY(Play->isVisible());
    QVERIFY(Play->TimerClick->isActive());
    QVERIFY(START->isHidden());
    // Ctrl+[ types the Esc character, and leaves like the Esc key.
    QKeyEvent ctrlBracket(QEvent::KeyPress, Qt::Key_BracketLeft, Qt::ControlModifier, QStringLiteral("\x1b"));
    QCoreApplication::sendEvent(Play, &ctrlBracket);
    QVERIFY(Play->isHidden());
    QVERIFY(!Play->TimerClick->isActive());
    QVERIFY(!START->isHidden());
    START->hide();
}

void PlayTest::prizePauseEndResetsCountsButKeepsCreditAndPhases()
{
    GameSettings.PrizeThreshold = 2;
    Play->show();
    Play->Timer_B1->start();
    PlayState.LaunchElapsed = 0;
    GameSettings.LaunchInterval = 100000;
    popOneBalloonByMove();  // Ball1, phase 2
    Play->Timer_B1Timer();  // phase 3
    popOneBalloonByMove();  // Ball2 wins: Ball1 at 4, Ball2 at 2
    QVERIFY(!Play->ImagePriz->isHidden());
    PlayState.LaunchedCount = 17;
    const std::int32_t credit = PlayState.LaunchElapsed;
    QVERIFY(credit > 0);
    QCOMPARE(phase(1), 4);
    QCOMPARE(phase(2), 2);
    QVERIFY(slot(1)->isHidden() && slot(2)->isHidden());

    Play->TimerPrizTimer();
    QCOMPARE(PlayState.LaunchedCount, 0);
    QCOMPARE(PlayState.PoppedCount, 0);
    QCOMPARE(line(Play->LCDScreen1), kLaunched0);
    QCOMPARE(line(Play->LCDScreen2), kPopped0);
    QCOMPARE(Play->LCDScreen1->Lines()->Count(), 1);
    QCOMPARE(Play->LCDScreen2->Lines()->Count(), 1);
    QCOMPARE(PlayState.LaunchElapsed, credit);
    QCOMPARE(phase(1), 4);
    QCOMPARE(phase(2), 2);
    // The bursts go on counting where they stood.
    Play->Timer_B1Timer();
    QCOMPARE(phase(1), 5);
    QCOMPARE(phase(2), 3);
    QCOMPARE(PlayState.LaunchElapsed, credit + 50);
}

void PlayTest::prizePauseEndingBehindAHiddenWindowStartsNoTimer()
{
    GameSettings.PrizeThreshold = 1;
    GameSettings.PopMode = PopByLeftClick;
    Play->TimerPriz->start();
    Play->ImagePriz->show();
    PlayState.PoppedCount = 3;
    Play->hide();
    Play->TimerPrizTimer();
    QVERIFY(!Play->TimerClick->isActive());
    QVERIFY(!Play->Timer_B1->isActive());
    QVERIFY(!Play->TimerPriz->isActive());
    QCOMPARE(PlayState.PoppedCount, 0);
    // Shown, a click mode resumes with its own tick.
    Play->show();
    Play->TimerPrizTimer();
    QVERIFY(Play->TimerClick->isActive());
    QVERIFY(!Play->Timer_B1->isActive());
}

void PlayTest::escResetsCountsButKeepsCreditAndPhases()
{
    START->hide();
    Play->show();
    Play->Timer_B1->start();
    GameSettings.LaunchInterval = 100000;
    popOneBalloonByMove();
    popOneBalloonByMove();
    PlayState.LaunchedCount = 5;
    PlayState.LaunchElapsed = 450;
    QCOMPARE(phase(1), 3);
    QCOMPARE(phase(2), 2);
    const QPoint at = slot(1)->pos();
    Play->FormKeyPress(27);
    QVERIFY(Play->isHidden());
    for (TImage* s : Play->Slots())
        QVERIFY(s->isHidden());
    QCOMPARE(PlayState.LaunchedCount, 0);
    QCOMPARE(PlayState.PoppedCount, 0);
    QCOMPARE(line(Play->LCDScreen1), kLaunched0);
    QCOMPARE(line(Play->LCDScreen2), kPopped0);
    QCOMPARE(Play->LCDScreen1->Lines()->Count(), 1);
    QCOMPARE(Play->LCDScreen2->Lines()->Count(), 1);
    QCOMPARE(PlayState.LaunchElapsed, 450);
    QCOMPARE(phase(1), 3);
    QCOMPARE(phase(2), 2);
    QCOMPARE(slot(1)->pos(), at);
    START->hide();
}

// ---------------------------------------------------------------- click modes

void PlayTest::clickButtonFilter_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("pops");
    QTest::newRow("left mode, left") << int(PopByLeftClick) << int(Qt::LeftButton) << true;
    QTest::newRow("left mode, right") << int(PopByLeftClick) << int(Qt::RightButton) << false;
    QTest::newRow("left mode, middle") << int(PopByLeftClick) << int(Qt::MiddleButton) << false;
    QTest::newRow("right mode, right") << int(PopByRightClick) << int(Qt::RightButton) << true;
    QTest::newRow("right mode, left") << int(PopByRightClick) << int(Qt::LeftButton) << false;
    QTest::newRow("right mode, middle") << int(PopByRightClick) << int(Qt::MiddleButton) << false;
    QTest::newRow("move mode, left") << int(PopByMove) << int(Qt::LeftButton) << false;
    QTest::newRow("move mode, right") << int(PopByMove) << int(Qt::RightButton) << false;
}

void PlayTest::clickButtonFilter()
{
    QFETCH(int, mode);
    QFETCH(int, button);
    QFETCH(bool, pops);
    GameSettings.PopMode = static_cast<std::uint8_t>(mode);
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(4, p.x(), p.y());
    Play->TimerClickTimer();
    Play->ImageBeeMouseDown(static_cast<Qt::MouseButton>(button));
    QCOMPARE(PlayState.PoppedCount, pops ? 1 : 0);
    QCOMPARE(phase(4), pops ? 1 : 0);
    QCOMPARE(slot(4)->Picture() == burstPicture(), pops);
    QCOMPARE(line(Play->LCDScreen2), pops ? QStringLiteral("СБИТО - 1") : kPopped0);
    QCOMPARE(soundCount(SoundId::Pop), pops ? 1 : 0);
}

void PlayTest::pressOnTheWaspReachesTheHandler()
{
    GameSettings.PopMode = PopByRightClick;
    GameSettings.LaunchInterval = 100000;
    Play->show();
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(1, p.x(), p.y());
    Play->TimerClickTimer();
    QTest::mousePress(Play->ImageBee, Qt::LeftButton, {}, QPoint(32, 32));
    QTest::mouseRelease(Play->ImageBee, Qt::LeftButton, {}, QPoint(32, 32));
    QCOMPARE(PlayState.PoppedCount, 0);
    QTest::mousePress(Play->ImageBee, Qt::RightButton, {}, QPoint(32, 32));
    QTest::mouseRelease(Play->ImageBee, Qt::RightButton, {}, QPoint(32, 32));
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(phase(1), 1);
}

void PlayTest::clickTickNeitherTestsNorCounts()
{
    GameSettings.PopMode = PopByLeftClick;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(1, p.x(), p.y());
    for (int t = 0; t < 3; ++t)
        Play->TimerClickTimer();
    QCOMPARE(PlayState.PoppedCount, 0);
    QCOMPARE(phase(1), 0);
    QCOMPARE(slot(1)->y(), p.y() - 20);
    QVERIFY(sounds().empty());
    // It launches on the same pace as the movement tick.
    QCOMPARE(PlayState.LaunchElapsed, 150);
    PlayState.LaunchElapsed = 1000;
    Play->TimerClickTimer();
    QCOMPARE(PlayState.LaunchedCount, 1);
    QCOMPARE(slot(2)->y(), 590);
}

void PlayTest::oneClickPopsEveryBalloonUnderTheSting()
{
    GameSettings.PopMode = PopByLeftClick;
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(3, p.x(), p.y());
    placeBeforeRise(7, p.x() - 10, p.y() + 10);
    placeBeforeRise(5, p.x() + 400, p.y());  // elsewhere
    Play->TimerClickTimer();
    Play->ImageBeeMouseDown(Qt::LeftButton);
    QCOMPARE(PlayState.PoppedCount, 2);
    QCOMPARE(phase(3), 1);
    QCOMPARE(phase(7), 1);
    QCOMPARE(phase(5), 0);
    QCOMPARE(slot(3)->Picture(), burstPicture());
    QCOMPARE(slot(7)->Picture(), burstPicture());
    QCOMPARE(line(Play->LCDScreen2), QStringLiteral("СБИТО - 2"));
    QCOMPARE(Play->LCDScreen2->Lines()->Count(), 1);
    // Each pop asks for its sound; the second cuts off the first.
    QCOMPARE(sounds(), (std::vector<SoundId>{SoundId::Pop, SoundId::Pop}));
}

void PlayTest::firstClickPopReachingThePrizeHidesTheRest()
{
    GameSettings.PopMode = PopByRightClick;
    GameSettings.PrizeThreshold = 1;
    GameSettings.LaunchInterval = 100000;
    Play->show();
    Play->TimerClick->start();
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(2, p.x(), p.y());
    placeBeforeRise(4, p.x(), p.y());
    Play->TimerClickTimer();
    Play->ImageBeeMouseDown(Qt::RightButton);
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(phase(2), 1);
    QCOMPARE(phase(4), 0);
    QVERIFY(slot(2)->isHidden() && slot(4)->isHidden());
    QVERIFY(!Play->TimerClick->isActive());
    QVERIFY(Play->TimerPriz->isActive());
    QVERIFY(!Play->ImagePriz->isHidden());
    QCOMPARE(sounds(), std::vector<SoundId>{SoundId::Prize});
    // A press during the pause finds nothing to pop.
    Play->ImageBeeMouseDown(Qt::RightButton);
    QCOMPARE(PlayState.PoppedCount, 1);
}

void PlayTest::clickOnABurstingBalloonDoesNothing()
{
    GameSettings.PopMode = PopByLeftClick;
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(1, p.x(), p.y());
    Play->TimerClickTimer();
    Play->ImageBeeMouseDown(Qt::LeftButton);
    Play->ImageBeeMouseDown(Qt::LeftButton);
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(phase(1), 1);
    Play->TimerClickTimer();
    Play->ImageBeeMouseDown(Qt::LeftButton);
    QCOMPARE(PlayState.PoppedCount, 1);
    QCOMPARE(phase(1), 2);
    QCOMPARE(soundCount(SoundId::Pop), 1);
}

void PlayTest::clickBurstLastsSixTicks()
{
    GameSettings.PopMode = PopByLeftClick;
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    placeBeforeRise(1, p.x(), p.y());
    Play->TimerClickTimer();
    Play->ImageBeeMouseDown(Qt::LeftButton);
    const QPoint at = slot(1)->pos();
    for (int t = 1; t <= 5; ++t) {
        Play->TimerClickTimer();
        QCOMPARE(int(phase(1)), 1 + t);
        QVERIFY(!slot(1)->isHidden());
        QCOMPARE(slot(1)->pos(), at);
        QCOMPARE(slot(1)->Picture(), burstPicture());
    }
    Play->TimerClickTimer();  // the sixth tick after the press
    QVERIFY(slot(1)->isHidden());
    QCOMPARE(phase(1), 0);
}

// ---------------------------------------------------------------- damaged pictures

void PlayTest::damagedPicturesInPlayShowOneBoxAndTheTickGoesOn()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile damaged(dir.filePath(QStringLiteral("damaged.png")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG\r\n\x1a\nnot a picture");
    damaged.close();
    const auto items = [](TPngImageCollection* list) {
        QList<TPngImageCollectionItem*> all;
        for (int i = 0; i < list->Items()->Count(); ++i)
            all << list->Items()->Items(i);
        return all;
    };
    QList<TPngImageCollectionItem*> spoilt = items(Play->PngImageCollection1) + items(Play->PngImageCollectionBoom);
    QList<QImage> kept;
    for (TPngImageCollectionItem* item : spoilt) {
        kept << item->PngImage();
        item->setPngSource(damaged.fileName());
    }
    QStringList boxes;
    zephyra::setMessagePresenter([&](QMessageBox::Icon, const QString&, const QString& text) { boxes << text; });

    // The real timer, as the game runs it: balloons launch at every chance,
    // the sting rests where they rise and pop.
    GameSettings.LaunchInterval = 0;
    GameSettings.PrizeThreshold = 1000;
    Play->show();
    pointTo(kPointer);
    Play->Timer_B1->start();
    QTRY_VERIFY(PlayState.LaunchedCount >= 4);
    const QPoint p = insideOf(waspFor(kPointer));
    slot(1)->move(p.x(), p.y() + GameSettings.FlightStep);
    slot(1)->show();
    phase(1) = 0;
    QTRY_VERIFY(PlayState.PoppedCount >= 1);
    pointTo(kPointer + QPoint(40, 0));
    QTRY_COMPARE(Play->ImageBee->pos(), waspFor(kPointer + QPoint(40, 0)));  // the tick goes on
    QVERIFY(Play->Timer_B1->isActive());
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().contains(QStringLiteral("damaged.png")), qPrintable(boxes.first()));
    QVERIFY(slot(1)->Picture().isNull());  // what cannot be decoded shows nothing

    Play->Timer_B1->stop();
    zephyra::setMessagePresenter([](QMessageBox::Icon, const QString&, const QString& text) {
        QFAIL(qPrintable(QStringLiteral("unexpected message box: ") + text));
    });
    for (qsizetype i = 0; i < spoilt.size(); ++i)
        spoilt[i]->setPngImage(kept[i]);
}

// ---------------------------------------------------------------- sounds

void PlayTest::soundSwitchSilencesOnlyThePop_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("by movement") << int(PopByMove);
    QTest::newRow("by left click") << int(PopByLeftClick);
}

void PlayTest::soundSwitchSilencesOnlyThePop()
{
    QFETCH(int, mode);
    GameSettings.PopMode = static_cast<std::uint8_t>(mode);
    GameSettings.SoundEnabled = false;
    GameSettings.PrizeThreshold = 3;
    GameSettings.LaunchInterval = 100000;
    pointTo(kPointer);
    const QPoint p = insideOf(waspFor(kPointer));
    for (int n = 1; n <= 3; ++n) {
        placeBeforeRise(n, p.x(), p.y());
        if (mode == PopByMove) {
            Play->Timer_B1Timer();
        } else {
            Play->TimerClickTimer();
            Play->ImageBeeMouseDown(Qt::LeftButton);
        }
        QCOMPARE(PlayState.PoppedCount, n);
    }
    QCOMPARE(line(Play->LCDScreen2), QStringLiteral("СБИТО - 3"));
    QVERIFY(!Play->ImagePriz->isHidden());
    QCOMPARE(sounds(), std::vector<SoundId>{SoundId::Prize});
}

QTEST_MAIN(PlayTest)
#include "test_play.moc"
