#include "play/input.h"

#include "base/error.h"
#include "controls/TImage.h"
#include "platform/pointer.h"
#include "settings/GameSettings.h"

#include <QKeyEvent>
#include <QTouchEvent>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace zephyra {

QPoint waspTarget(const QWidget* field)
{
    // The pointer is mapped into the window, so the wasp sits under it on
    // any monitor, not only on one whose corner is the desktop's.
    return field->mapFromGlobal(pointerScreenPos());
}

int keyCharacter(const QKeyEvent* event)
{
    // By its character, so Ctrl+[, which types Esc too, also leaves.
    return event->key() == Qt::Key_Escape ? kEscChar
           : event->text().isEmpty()      ? 0
                                          : event->text().at(0).unicode();
}

}  // namespace zephyra

namespace {

// A finger that slides this far on easy play steers; less is a tap.
constexpr int kSlideDistance = 12;
// A pointer put somewhere comes back from the window system rounded to its
// device pixels; a mouse that moved is farther off than that.
constexpr int kPutSlack = 2;

QPoint stingMiddle()
{
    return {(GameSettings.StingLeft + GameSettings.StingRight) / 2,
            (GameSettings.StingTop + GameSettings.StingBottom) / 2};
}

// Slow at both ends, so the eye can follow the wasp off and in.
double ease(double t) { return t * t * (3 - 2 * t); }

}  // namespace

TPlayInput::TPlayInput(QWidget& field, bool easyPlay, TFieldHooks hooks)
    : QObject(&field), m_field(field), m_easy(easyPlay), m_hooks(std::move(hooks))
{
}

void TPlayInput::RoundStarted()
{
    m_easy = m_easy || m_easyNext;
    m_keysDown.clear();  // keys let go between rounds told the field nothing
    m_pads.watch(true);
    m_pads.read();  // what was pressed before the round stays there
}

void TPlayInput::RoundEnded()
{
    m_pads.watch(false);
    Land();
    m_finger.reset();
}

QPoint TPlayInput::Aim() const { return zephyra::waspTarget(&m_field); }

void TPlayInput::PutAim(QPoint aim) { zephyra::putPointer(m_field.mapToGlobal(aim)); }

QPoint TPlayInput::StingAt(QPoint aim) const
{
    return aim - QPoint(GameSettings.WaspHotspot, GameSettings.WaspHotspot) + stingMiddle();
}

QPoint TPlayInput::AimFor(QPoint sting) const
{
    return sting + QPoint(GameSettings.WaspHotspot, GameSettings.WaspHotspot) - stingMiddle();
}

int TPlayInput::Choose(QPoint sting) const
{
    int best = -1;
    std::tuple<int, qint64, int> bestKey;
    for (int i = 0; i < int(m_hooks.balloons.size()); ++i) {
        const TImage* slot = m_hooks.balloons[std::size_t(i)];
        if (slot->isHidden() || m_hooks.bursting(i))
            continue;
        const int ticks = TicksToField(slot->geometry());
        if (ticks < 0)
            continue;
        const QPoint d = slot->geometry().center() - sting;
        // The soonest wholly on the field, the nearest of those; of two as
        // near, the higher, which leaves the field first.
        const std::tuple key{ticks, qint64(d.x()) * d.x() + qint64(d.y()) * d.y(), slot->y()};
        if (best < 0 || key < bestKey) {
            best = i;
            bestKey = key;
        }
    }
    return best;
}

int TPlayInput::TicksToField(const QRect& balloon) const
{
    const QRect field = m_field.rect();
    if (field.contains(balloon))
        return 0;
    // Only one still below the bottom edge rises wholly onto it; one leaving
    // at the top, or larger than the field, never does.
    if (balloon.left() < field.left() || balloon.right() > field.right() || balloon.top() < field.top()
        || balloon.height() > field.height())
        return -1;
    const int step = std::max(1, GameSettings.FlightStep);
    return (balloon.bottom() - field.bottom() + step - 1) / step;
}

std::optional<TPlayInput::Flight> TPlayInput::FlyFrom(QPoint sting)
{
    int slot = Choose(sting);
    if (slot < 0)
        slot = m_hooks.launch();  // nothing to go for: a balloon rises for the press
    if (slot < 0)
        return std::nullopt;
    return Flight{slot, QPointF(Aim()), 0};
}

void TPlayInput::Press(std::optional<QPoint> at)
{
    // Not in the prize pause, nor once play time is up.
    if (!m_easy || !m_hooks.playing())
        return;
    if (int(m_flight.has_value()) + m_waiting >= 2)
        return;
    if (!m_flight && m_waiting == 0) {
        m_pressAt = at;
        m_put.reset();  // where the mouse went before the press is where it flies from
    }
    ++m_waiting;
}

void TPlayInput::Key(const QKeyEvent* event)
{
    if (!m_easy || event->key() == Qt::Key_Escape || event->isAutoRepeat())
        return;
    const int id = event->nativeScanCode() ? int(event->nativeScanCode()) : event->key();
    if (event->type() == QEvent::KeyRelease) {
        m_keysDown.remove(id);
        m_lastRelease = {id, event->timestamp()};
        return;
    }
    // A held key repeats. The X server sends a repeat as a release and a
    // press of the same moment, which Qt marks only when it reads both at
    // once: a press of a key already down, or of the moment it went up, is one.
    const bool repeat = m_keysDown.contains(id)
                        || (event->timestamp() != 0 && m_lastRelease == std::pair{id, event->timestamp()});
    m_keysDown.insert(id);
    if (!repeat)
        Press();
}

void TPlayInput::Wheel(const QWheelEvent* event)
{
    if (!m_easy || (event->angleDelta().isNull() && event->pixelDelta().isNull()))
        return;  // a touchpad's scroll ending turns nothing
    const quint64 at = event->timestamp();
    const bool sameTurn = m_lastNotch && at - *m_lastNotch < quint64(kWheelTurnMs);
    m_lastNotch = at;
    if (!sameTurn)
        Press();
}

void TPlayInput::Land()
{
    m_flight.reset();
    m_waiting = 0;
    m_pressAt.reset();
    m_put.reset();
}

void TPlayInput::Step()
{
    m_arrived = -1;
    GamepadStep();
    // Once play time is up nothing pops any more.
    if (m_easy && m_hooks.playing())
        FlightStep();
}

void TPlayInput::GamepadStep()
{
    if (!m_pads.isLoaded())
        return;
    const zephyra::GamepadRead pad = m_pads.read();
    if (!pad.steer.isNull()) {
        Land();  // the child steers
        const double speed = double(m_field.width()) / kStickCrossTicks;
        const QPoint aim = Aim() + (pad.steer * speed).toPoint();
        PutAim({std::clamp(aim.x(), 0, m_field.width() - 1), std::clamp(aim.y(), 0, m_field.height() - 1)});
    }
    if (m_easy) {
        for (int i = 0; i < pad.presses; ++i)
            Press();
    } else if (GameSettings.PopMode != PopByMove) {
        for (int i = 0; i < pad.facePresses; ++i)
            m_hooks.click();
    }
}

void TPlayInput::FlightStep()
{
    // The mouse moved since the flight put the pointer: the child steers.
    if (m_put && (Aim() - *m_put).manhattanLength() > kPutSlack)
        Land();
    if (!m_flight && m_waiting > 0) {
        m_flight = FlyFrom(m_pressAt.value_or(StingAt(Aim())));
        if (!m_flight)
            return;  // every slot flies and none can be reached: it waits for one
        --m_waiting;
        m_pressAt.reset();
    }
    if (!m_flight)
        return;
    if (m_hooks.bursting(m_flight->slot)) {
        // Popped on the way (the sting touched it): this press is served.
        m_flight.reset();
        m_put.reset();
        return;
    }
    if (m_hooks.balloons[std::size_t(m_flight->slot)]->isHidden()) {
        // It left the field before the wasp came: another one.
        m_flight = FlyFrom(StingAt(Aim()));
        if (!m_flight)
            return;
    }
    Flight& g = *m_flight;
    ++g.tick;
    // Where the balloon stands after this tick's rise; the sting goes to its
    // middle, kept on the field while the balloon leaves at the top.
    const QRect balloon = m_hooks.balloons[std::size_t(g.slot)]->geometry().translated(0, -GameSettings.FlightStep);
    const int halfSting = (GameSettings.StingBottom - GameSettings.StingTop) / 2 + 1;
    const QPoint sting(balloon.center().x(),
                       std::min(std::max(balloon.center().y(), halfSting), balloon.bottom() - halfSting));
    const QPointF to(AimFor(sting));
    const QPointF now = g.from + (to - g.from) * ease(double(g.tick) / kFlightTicks);
    const QPoint aim = now.toPoint();
    PutAim(aim);
    m_put = aim;
    if (g.tick >= kFlightTicks) {
        m_arrived = g.slot;
        m_flight.reset();
        // The pointer stays with the wasp; a kept press flies on from there.
    }
}

bool TPlayInput::Touch(QTouchEvent* event)
{
    if (event->type() == QEvent::TouchCancel) {
        m_finger.reset();
        return true;
    }
    for (const QEventPoint& p : event->points()) {
        const QPoint at = m_field.mapFromGlobal(p.globalPosition().toPoint());
        switch (p.state()) {
        case QEventPoint::Pressed:
            if (!m_finger) {
                m_finger = p.id();
                m_fingerFrom = p.globalPosition();
                m_sliding = !m_easy;
                if (!m_easy)
                    PutAim(at);
            }
            if (m_easy) {
                Press(at);  // every finger that comes down is a press
            } else if (*m_finger == p.id() && GameSettings.PopMode != PopByMove) {
                // The tap is the click: the wasp goes under the finger first.
                zephyra::runHandler([&] {
                    m_hooks.placeWasp();
                    m_hooks.click();
                });
            }
            break;
        case QEventPoint::Updated:
            if (m_finger != p.id())
                break;
            // Once sliding, it steers all the way.
            m_sliding = m_sliding || (p.globalPosition() - m_fingerFrom).manhattanLength() >= kSlideDistance;
            if (m_sliding)
                PutAim(at);
            break;
        case QEventPoint::Released:
            if (m_finger == p.id())
                m_finger.reset();
            break;
        default:
            break;
        }
    }
    event->accept();
    return true;
}
