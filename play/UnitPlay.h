#pragma once
// The play field: a frameless, full-screen, stay-on-top window shown modally
// for each round. Balloons rise in eight picture slots, the wasp follows the
// pointer on every 50 ms tick, and two dot-matrix displays count launches and
// pops.

#include "app/services/GameSettings.h"
#include "app/services/x11.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>

class QEventLoop;
class QScreen;
class QTimer;
class TImage;
class TLCDScreen;
class TPngImageCollection;
namespace zephyra {
class SoundOutput;
}

inline constexpr int kTickMs = 50;
inline constexpr int kSlotCount = 8;  // Ball1 .. Ball8
inline constexpr int kLaunchColumns = 6;
// A slot whose burst has reached this phase is hidden on its next step.
inline constexpr std::uint8_t kLastBurstPhase = 6;
inline constexpr int kPrizePauseMs = 10000;
inline constexpr int kEscChar = 27;

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
    // Sounds go to the given output, which outlives the field.
    explicit TPlay(zephyra::SoundOutput& sound, QWidget* parent = nullptr);
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

    // The steps every tick shares.
    void LaunchStep();
    void WaspStep();
    void RiseStep(TImage* slot);
    bool HitTest(int index);
    void BurstStep(int index);

    std::array<TImage*, kSlotCount> Slots() const { return m_slots; }
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

signals:
    // The round is over and the field has closed: the start screen comes back.
    void roundEnded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ClearRound();
    void ResetCounters();
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
    bool m_closingByEsc = false;
    // The field keeps the keyboard for the whole round, so Esc works whatever
    // window took the focus (a message popping up, a click on a second
    // monitor) and no key a child mashes leaves the game.
    zephyra::KeyboardGrab m_keyboard;
};

extern TPlay* Play;
