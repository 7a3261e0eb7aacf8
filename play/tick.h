#pragma once
// The play field's beat: every step of a round, and the hold on Esc that
// leaves a locked one, count in ticks of this length.

#include <QTimer>

inline constexpr int kTickMs = 50;

// A timer of the field, found by its name as the layout names it.
inline QTimer* makeTimer(QObject* owner, const char* name, int intervalMs)
{
    auto* t = new QTimer(owner);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervalMs);
    // Game time is counted in ticks; a precise timer keeps their rhythm even.
    t->setTimerType(Qt::PreciseTimer);
    return t;
}
