#pragma once
// The play field: a frameless, full-screen, stay-on-top window shown modally
// for each round. Balloons rise in eight picture slots, the wasp follows the
// pointer on every 50 ms tick, and two dot-matrix displays count launches and
// pops. Beside it, in units of their own, what a grown-up's choices lay over a
// round (the child lock, the play clock) and where a player's input comes
// from; the field asks them.

#include "play/childlock.h"
#include "play/playclock.h"
#include "play/tick.h"
#include "settings/GameSettings.h"
#include "settings/parent.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <bitset>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

class QEventLoop;
class QScreen;
class TDusk;
class TImage;
class TLCDScreen;
class TPlayInput;
class TPngImageCollection;
namespace zephyra {
class SoundOutput;
}

inline constexpr int kSlotCount = 8;  // Ball1 .. Ball8
inline constexpr int kLaunchColumns = 6;
// A slot whose burst has reached this phase is hidden on its next step.
inline constexpr std::uint8_t kLastBurstPhase = 6;
inline constexpr int kPrizePauseMs = 10000;
// How long the closing picture stays when play time is up (without the lock).
inline constexpr int kNightPauseMs = 10000;
// When play time is up the balloons in flight float away within this many ticks.
inline constexpr int kFloatAwayTicks = 40;

// Per-round state; only the play field reads and writes it.
struct TPlayState {
    std::array<std::uint8_t, kSlotCount> BurstPhase{};
    std::int32_t LaunchElapsed = 0;
    std::int32_t LaunchedCount = 0;
    std::int32_t PoppedCount = 0;
};

extern TPlayState PlayState;

// Plays the pop sound.
void PopWave(zephyra::SoundOutput& sound);

// Store the size row in the settings and carry it over to the play field's
// controls (its balloon slots; its wasp and the wasp's picture).
void ApplyBalloonSize(SizeChoice choice);
void ApplyWaspSize(SizeChoice choice);

class TPlay : public QWidget {
    Q_OBJECT
public:
    // Sounds go to the given output, which outlives the field. A grown-up's
    // choices lock the round or limit the play time.
    explicit TPlay(zephyra::SoundOutput& sound, const zephyra::ParentChoices& choices = {},
                   QWidget* parent = nullptr);
    ~TPlay() override;

    // Shows the window over the whole of the given screen (the primary one
    // when none is given) and returns when it has closed.
    void ShowModal(QScreen* screen = nullptr);
    // A round: the tick of the pop mode starts and the field shows over the
    // given screen. Returns when the round is over.
    void StartRound(QScreen* screen);

    void FormCreate();
    // Receives the character of every key pressed on the field.
    void FormKeyPress(int key);
    void Timer_B1Timer();
    void TimerPrizTimer();
    void PrizWave();
    void TimerClickTimer();
    void WorkClick();
    void ImageBeeMouseDown(Qt::MouseButton button);
    void ShowPrize(QTimer* tickTimer);
    // Counts one pop on the display, then the prize or the pop sound.
    void CountPop(QTimer* tickTimer);
    // Timer_B1 in the pop-by-movement mode, TimerClick in the click modes.
    QTimer* TickTimer() const;

    // Play time, as the play clock counts it.
    bool TimeIsUp() const { return m_clock.isUp(); }
    // Once time is up: no balloon rises, those in flight float away, then
    // the closing picture with the lullaby.
    void FloatAwayStep();
    void ShowNight();
    void TimerNightTimer();
    // Esc was held to leave a locked round.
    void EscHeld();

    // A grown-up's choices handed to the running game (a later start, the
    // settings for grown-ups): only what adds to those in force counts. A
    // lock and a play time apply at once, to a round under way too; easy
    // play from the next round on.
    void TakeChoices(const zephyra::ParentChoices& choices);
    // What is in force for the next round: the lock, the play time left (the
    // next one's once it is up), easy play.
    zephyra::ParentChoices InForce() const;
    // The sounds' own level, 0 to kLoudest, from now on.
    void SetVolume(int level);

    // The steps every tick shares.
    void LaunchStep();
    // A balloon rises now from the bottom edge, into the lowest free slot;
    // that slot's index, or -1 when every slot flies.
    int Launch();
    void WaspStep();
    // Up by step pixels (the flight step in play; faster floating away), or
    // hidden once above the window.
    void RiseStep(TImage* slot, int step);
    // The sting inside the balloon of slot index: its burst begins.
    bool HitTest(int index);
    void BurstStep(int index);

    std::array<TImage*, kSlotCount> Slots() const { return m_slots; }
    // What the round holds beside the field: the child lock (or, without it,
    // the keyboard alone), with its Esc hold and cue.
    zephyra::ChildLock& Lock() const { return *m_lock; }
    // Replaces a display's one line: insert at 0, then delete the old line.
    static void ReplaceLine(TLCDScreen* display, const QString& text);

    TImage* Image1 = nullptr;
    TImage* ImageBee = nullptr;
    TLCDScreen* LCDScreen1 = nullptr;
    TLCDScreen* LCDScreen2 = nullptr;
    TImage* ImagePriz = nullptr;
    TPngImageCollection* PngImageCollection1 = nullptr;
    QTimer* Timer_B1 = nullptr;
    TPngImageCollection* PngImageCollectionBoom = nullptr;
    TPngImageCollection* PngImageCollection2 = nullptr;
    QTimer* TimerPriz = nullptr;
    QTimer* TimerClick = nullptr;
    TDusk* Dusk = nullptr;
    TImage* ImageNight = nullptr;
    QTimer* TimerNight = nullptr;
    // Easy play, gamepads and touch.
    TPlayInput* Input = nullptr;

signals:
    // The round is over and the field has closed: the start screen comes back.
    void roundEnded();
    // Play time is up under the child lock: no more play until the program
    // starts again. Comes just before roundEnded.
    void playTimeOver();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Both tick handlers run the same steps; the tick timer says the mode.
    void Tick(QTimer* tickTimer);
    // The one place the pop modes differ: where a pop is found and counted.
    void PopStep(QTimer* tickTimer, std::bitset<kSlotCount> risen);
    // The slot an easy-play flight reached in this tick, still there to pop; -1 for none.
    int EasyArrival() const;
    // Pops a balloon as a click does: its burst picture at once, counted by itself.
    void ClickPop(int index);
    void ClearRound();
    // The background and its hint for screen readers, as the lock says.
    void SetBackground();
    // Ends the prize pause and the closing picture, if either is on.
    void EndPauses();
    // Leaves the round from the field itself: the start screen comes back.
    void LeaveRound();
    void ResetCounters();
    // An unlocked round the desktop has hidden (another desktop shown) ends.
    void EndHiddenRound();
    void HideSlots();
    // Counts a burst down: phases 1 to 5 step on, the last hides the slot.
    void CountDownBurst(int index);
    void PutBurstPicture(TImage* slot);
    // Gives a control a picture. One that cannot be decoded leaves the control
    // empty and is raised once the handler has run to its end (FinishHandler),
    // so a damaged picture never stops a tick halfway.
    void PutPicture(TImage* control, const std::function<QImage()>& picture);
    void FinishHandler();

    zephyra::SoundOutput& m_sound;
    std::array<TImage*, kSlotCount> m_slots{};
    QEventLoop* m_modalLoop = nullptr;
    std::exception_ptr m_pictureFailure;
    zephyra::PlayClock m_clock;
    std::unique_ptr<zephyra::ChildLock> m_lock;
    bool m_leaving = false;  // closed by the field itself, not the window system
    QTimer m_hiddenCheck;  // an unlocked field unmapped: does it stay so?
};

extern TPlay* Play;
