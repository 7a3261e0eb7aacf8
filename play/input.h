#pragma once
// How a player's hands reach the play field: where the wasp flies and which
// character a key types, and the ways to play beyond steering the mouse,
// asked by the field on each tick: easy play (a press sends the wasp to a
// balloon and it pops it), a gamepad's stick and buttons, and fingers on a
// touch screen. The mouse still steers as always: these put the pointer where
// the wasp goes, so the wasp keeps following the pointer and a mouse moved
// after them carries on from the wasp.

#include "platform/gamepad.h"

#include <QObject>
#include <QPoint>
#include <QSet>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QKeyEvent;
class QRect;
class QTouchEvent;
class QWheelEvent;
class QWidget;
class TImage;

namespace zephyra {

inline constexpr int kEscChar = 27;

// Where the wasp's hotspot goes on the field, in the field's pixels.
QPoint waspTarget(const QWidget* field);
// The character a key press types; 0 for none.
int keyCharacter(const QKeyEvent* event);

}  // namespace zephyra

// How many ticks a flight of easy play takes, the pop included: about a
// third of a second, long enough to see the wasp fly.
inline constexpr int kFlightTicks = 7;
// Notches of the mouse wheel closer together than this are one turn, one
// press: longer than a flight, so a turn never sends the wasp twice.
inline constexpr int kWheelTurnMs = 400;
// At full tilt a stick flies the wasp across the field's width in this many
// ticks (3 s): a speed a child can follow.
inline constexpr int kStickCrossTicks = 60;

// What the ways of input ask of the field they serve.
struct TFieldHooks {
    std::vector<TImage*> balloons;      // the balloon slots, Ball1 first
    std::function<bool(int)> bursting;  // the balloon of this slot was popped
    std::function<bool()> playing;      // the tick runs, and play time is not up
    std::function<void()> placeWasp;    // the wasp goes under the pointer now
    std::function<void()> click;        // the chosen button of the click modes, at the wasp
    std::function<int()> launch;        // a balloon rises now: its slot, or -1 when every slot flies
};

class TPlayInput : public QObject {
    Q_OBJECT
public:
    TPlayInput(QWidget& field, bool easyPlay, TFieldHooks hooks);

    bool EasyPlay() const { return m_easy; }
    // Easy play from the next round on (a grown-up chose it while the game runs).
    void EasyFromNextRound() { m_easyNext = true; }
    bool EasyNextRound() const { return m_easy || m_easyNext; }
    // Gamepads are looked for and read only while a round is on the screen;
    // a flight and a kept press end with the round.
    void RoundStarted();
    void RoundEnded();

    // A press of easy play: a key, a mouse button, a turn of the wheel, a
    // gamepad button, or a tap (at: where, in the field; the balloon nearest
    // to it). At the next tick the wasp sets off to the nearest balloon
    // wholly on the field, else to the one wholly on it soonest, else to one
    // that rises at once for it. During a flight it is kept for the next one,
    // at most one. While no tick runs it does nothing.
    void Press(std::optional<QPoint> at = {});
    // A key going down or up: a press once however long it is held; Esc is none.
    void Key(const QKeyEvent* event);
    // A notch of the mouse wheel: the first of a turn is a press.
    void Wheel(const QWheelEvent* event);
    // The first step of every tick, before the wasp step: a gamepad's stick
    // and buttons, then the flight's next place. Puts the pointer there.
    void Step();
    // The slot a flight reached in this tick's Step, or -1.
    int Arrived() const { return m_arrived; }
    // A press is being answered: the wasp flies, or sets off at the next tick.
    bool Flying() const { return m_flight || m_waiting > 0; }
    // A flying wasp pops only the balloon it flies to: the others it passes
    // by, so each press is one pop.
    bool PassesBy(int slot) const
    {
        const int target = m_flight ? m_flight->slot : m_arrived;
        return target >= 0 && slot != target;
    }
    // A flight under way ends where the wasp is, and a kept press with it.
    void Land();
    // A finger on the field. Returns whether it was taken.
    bool Touch(QTouchEvent* event);

    zephyra::Gamepads& Pads() { return m_pads; }

private:
    struct Flight {
        int slot;
        QPointF from;  // where the pointer stood when it began
        int tick = 0;
    };
    void GamepadStep();
    void FlightStep();
    // The balloon a press from this sting point goes for, or -1.
    int Choose(QPoint sting) const;
    // Ticks until a balloon rising there is wholly on the field; -1 for never.
    int TicksToField(const QRect& balloon) const;
    // A flight to the balloon Choose gives, or to one launched for it.
    std::optional<Flight> FlyFrom(QPoint sting);
    // The pointer in the field's coordinates, and putting it there.
    QPoint Aim() const;
    void PutAim(QPoint aim);
    QPoint StingAt(QPoint aim) const;
    QPoint AimFor(QPoint sting) const;

    QWidget& m_field;
    bool m_easy;
    bool m_easyNext = false;
    const TFieldHooks m_hooks;
    std::optional<Flight> m_flight;
    // Presses not yet answered: one sets off at the next tick, one waits for
    // the flight after; the rest are let go.
    int m_waiting = 0;
    std::optional<QPoint> m_pressAt;  // where the press that sets off next came down
    QSet<int> m_keysDown;
    std::pair<int, quint64> m_lastRelease{0, 0};  // key and time
    std::optional<quint64> m_lastNotch;
    int m_arrived = -1;
    std::optional<QPoint> m_put;  // where a flight last put the pointer
    std::optional<int> m_finger;  // the touch point that steers
    QPointF m_fingerFrom;  // where it came down
    bool m_sliding = false;  // on easy play a finger steers once it slides
    zephyra::Gamepads m_pads;
};
