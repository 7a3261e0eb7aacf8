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

#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QTouchEvent;
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

    // A press of easy play: a key, a mouse button, a gamepad button, or a tap
    // (at: where, in the field; the balloon nearest to it). Starts a flight to
    // the nearest balloon wholly on the field; during a flight it is kept for
    // the next one, at most one. With no balloon, or while no tick runs, it
    // does nothing.
    void Press(std::optional<QPoint> at = {});
    // The first step of every tick, before the wasp step: a gamepad's stick
    // and buttons, then the flight's next place. Puts the pointer there.
    void Step();
    // The slot a flight reached in this tick's Step, or -1.
    int Arrived() const { return m_arrived; }
    bool Flying() const { return m_flight.has_value(); }
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
    std::optional<Flight> FlyFrom(QPoint sting) const;
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
    bool m_kept = false;
    int m_arrived = -1;
    std::optional<QPoint> m_put;  // where a flight last put the pointer
    std::optional<int> m_finger;  // the touch point that steers
    QPointF m_fingerFrom;  // where it came down
    bool m_sliding = false;  // on easy play a finger steers once it slides
    zephyra::Gamepads m_pads;
};
