#pragma once
// The child lock over a round, the one place the play field asks about it:
// a held keyboard and pointer, the field kept at the front, Esc held alone to
// leave with its cue, and the window system's close and minimise refused.
// Without the lock a round still holds the keyboard, so Esc reaches the field
// whatever window took the focus (a message popping up, a click on a second
// monitor) and no key a child mashes leaves the game.

#include "platform/x11.h"

#include <QObject>
#include <QSet>
#include <QString>

class QKeyEvent;
class QTimer;
class QWidget;
class TEscCue;

namespace zephyra {

class ChildLock : public QObject {
    Q_OBJECT
public:
    // Its cue is made on the field now: made after the field's other
    // controls, it shows over all of them.
    ChildLock(bool on, QWidget* field);
    ~ChildLock() override;

    bool isOn() const { return m_on; }
    // A grown-up locks the game while it runs: a round under way is held
    // from now on, as one begun locked. There is no turning it off.
    void TurnOn();
    // The field's hint, written in its background and said to screen
    // readers: under the lock a press does nothing, so it says to hold Esc.
    QString hint() const;

    // A round begins (the field is shown) and ends.
    void hold();
    void release();
    // Under the lock the field hands it every key as it goes down and up;
    // true when the lock took the key.
    bool takeKey(QKeyEvent* event, bool down);
    // The window system changed the field's state. Under the lock a field made
    // anything but full screen takes the screen back, queued so the change
    // completes first; true when the lock answered.
    bool answerStateChange();
    // With the child lock, Esc held alone for kHoldToLeaveMs leaves.
    void TimerEscTimer();

    TEscCue* EscCue = nullptr;
    QTimer* TimerEsc = nullptr;

signals:
    // Esc was held alone long enough: the grown-up leaves the round.
    void escHeld();

private:
    // Keys as they go down and up, and the hold on Esc.
    void LockedKey(QKeyEvent* event, bool down);
    void StopEscHold();
    void TakeScreenBack();
    void Hold();

    QWidget* m_field;
    bool m_on;
    bool m_holding = false;  // from hold() to release()
    int m_escHeldMs = 0;
    QSet<int> m_keysDown;  // under the lock, as the field saw them go down
    InputGrab m_grab;
    FrontGuard m_front;
};

}  // namespace zephyra
