#include "play/input.h"

#include "base/error.h"
#include "controls/TImage.h"
#include "platform/pointer.h"
#include "settings/GameSettings.h"

#include <QKeyEvent>
#include <QTouchEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

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
    const QRect field = m_field.rect();
    int best = -1;
    qint64 bestDistance = 0;
    int bestTop = 0;
    for (int i = 0; i < int(m_hooks.balloons.size()); ++i) {
        const TImage* slot = m_hooks.balloons[std::size_t(i)];
        if (slot->isHidden() || m_hooks.bursting(i) || !field.contains(slot->geometry()))
            continue;
        const QPoint d = slot->geometry().center() - sting;
        const qint64 distance = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
        // Of two as near, the higher leaves the field first.
        if (best < 0 || distance < bestDistance || (distance == bestDistance && slot->y() < bestTop)) {
            best = i;
            bestDistance = distance;
            bestTop = slot->y();
        }
    }
    return best;
}

std::optional<TPlayInput::Flight> TPlayInput::FlyFrom(QPoint sting) const
{
    const int slot = Choose(sting);
    if (slot < 0)
        return std::nullopt;
    return Flight{slot, QPointF(Aim()), 0};
}

void TPlayInput::Press(std::optional<QPoint> at)
{
    // Not in the prize pause, nor once play time is up.
    if (!m_easy || !m_hooks.playing())
        return;
    if (m_flight) {
        m_kept = true;
        return;
    }
    m_flight = FlyFrom(at.value_or(StingAt(Aim())));
    m_put.reset();
}

void TPlayInput::Land()
{
    m_flight.reset();
    m_kept = false;
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
    if (!m_flight && m_kept) {
        m_kept = false;
        m_flight = FlyFrom(StingAt(Aim()));
    }
    if (!m_flight)
        return;
    const int target = m_flight->slot;
    if (m_hooks.bursting(target)) {
        // Popped on the way (the sting touched it): this press is served.
        const bool kept = m_kept;
        Land();
        m_kept = kept;
        return;
    }
    if (m_hooks.balloons[std::size_t(target)]->isHidden()) {
        // It left the field before the wasp came: the nearest other one.
        const bool kept = m_kept;
        m_flight = FlyFrom(StingAt(Aim()));
        m_kept = kept;
        if (!m_flight)
            return Land();
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
