#pragma once
// The play field: a frameless, full-screen, stay-on-top window shown modally
// for each round. Balloons rise in eight picture slots, the wasp follows the
// pointer on every 50 ms tick, and two dot-matrix displays count launches and
// pops.

#include <QWidget>

#include <array>
#include <cstdint>

class QEventLoop;
class QScreen;
class QTimer;
class TImage;
class TLCDScreen;
class TPngImageCollection;

// Per-round state; only the play field reads and writes it.
struct TPlayState {
    std::array<std::uint8_t, 8> BurstPhase{};
    std::int32_t LaunchElapsed = 0;
    std::int32_t LaunchedCount = 0;
    std::int32_t PoppedCount = 0;
};

extern TPlayState PlayState;

inline constexpr int kTickMs = 50;

// Plays the pop sound.
void PopWave();

class TPlay : public QWidget {
    Q_OBJECT
public:
    explicit TPlay(QWidget* parent = nullptr);
    ~TPlay() override;

    // Shows the window over the whole of the given screen (the primary one
    // when none is given) and returns when it has closed.
    void ShowModal(QScreen* screen = nullptr);

    void FormCreate();
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

    // The steps every tick shares.
    void LaunchStep();
    void WaspStep();
    void RiseStep(TImage* slot);
    bool HitTest(int index);
    void BurstStep(int index);

    std::array<TImage*, 8> Slots() const { return m_slots; }
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

private:
    void ClearRound();

    std::array<TImage*, 8> m_slots{};
    QEventLoop* m_modalLoop = nullptr;
    bool m_closingByEsc = false;
};

extern TPlay* Play;
