#include "play/childlock.h"

#include "base/error.h"
#include "play/overlays.h"
#include "play/tick.h"
#include "settings/parent.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <bitset>
#include <optional>

namespace zephyra {

ChildLock::ChildLock(bool on, QWidget* field) : m_field(field), m_on(on)
{
    // Over everything, so the grown-up sees it in every part of the round.
    EscCue = new TEscCue(field);
    EscCue->setAccessibleName(QCoreApplication::translate("TPlay", "Keep holding Esc to leave"));
    TimerEsc = makeTimer(field, "TimerEsc", kTickMs);
    connectHandler(TimerEsc, &QTimer::timeout, this, &ChildLock::TimerEscTimer);
}

ChildLock::~ChildLock() = default;

QString ChildLock::hint() const
{
    return m_on ? QCoreApplication::translate("TPlay", "EXIT - hold key ESCAPE for 3 seconds")
                : QCoreApplication::translate("TPlay", "EXIT - press key ESCAPE");
}

void ChildLock::hold()
{
    m_keysDown.clear();
    Hold();
    m_holding = true;
}

void ChildLock::Hold()
{
    if (m_on)
        m_grab.hold(m_field->windowHandle(),
                    {.pointer = true, .stallLimit = kLockedStallMs, .overDesktopShortcuts = true});
    else
        m_grab.hold(m_field->windowHandle());
    if (m_on)
        m_front.hold(m_field);
}

void ChildLock::TurnOn()
{
    if (m_on)
        return;
    m_on = true;
    if (m_holding)
        Hold();
}

void ChildLock::release()
{
    m_holding = false;
    StopEscHold();
    m_front.release();
    m_grab.release();
}

bool ChildLock::takeKey(QKeyEvent* event, bool down)
{
    if (!m_on)
        return false;
    LockedKey(event, down);
    return true;
}

bool ChildLock::answerStateChange()
{
    if (!m_on)
        return false;
    if ((m_field->windowState() & (Qt::WindowMinimized | Qt::WindowFullScreen)) != Qt::WindowFullScreen)
        QMetaObject::invokeMethod(this, &ChildLock::TakeScreenBack, Qt::QueuedConnection);
    return true;
}

void ChildLock::LockedKey(QKeyEvent* event, bool down)
{
    if (event->isAutoRepeat())
        return;
    // A key held down repeats as a release and a press; where the X server
    // says the key is still down, the release was one of those.
    const quint32 code = event->nativeScanCode();
    const std::optional<std::bitset<256>> keymap = keymapNow();
    const int id = code ? int(code) : event->key();
    if (!down) {
        if (keymap && code < keymap->size() && keymap->test(code))
            return;
        m_keysDown.remove(id);
        StopEscHold();
        return;
    }
    if (m_keysDown.contains(id))
        return;  // the press after a repeated release
    m_keysDown.insert(id);
    // Alone: the X server also knows keys held since before the round
    // began; elsewhere the field's own record tells.
    const std::size_t keysDown = keymap ? keymap->count() : std::size_t(m_keysDown.size());
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier || keysDown != 1) {
        StopEscHold();  // a palm on the keyboard never counts
        return;
    }
    m_escHeldMs = 0;
    EscCue->setProgress(0);
    EscCue->place();
    EscCue->show();
    TimerEsc->start();
}

void ChildLock::StopEscHold()
{
    TimerEsc->stop();
    m_escHeldMs = 0;
    EscCue->hide();
}

void ChildLock::TimerEscTimer()
{
    m_escHeldMs += kTickMs;
    EscCue->setProgress(double(m_escHeldMs) / kHoldToLeaveMs);
    if (m_escHeldMs < kHoldToLeaveMs)
        return;
    StopEscHold();
    emit escHeld();
}

void ChildLock::TakeScreenBack()
{
    if (!m_holding)
        return;
    m_field->showFullScreen();
    bringToFront(m_field);
}

}  // namespace zephyra
