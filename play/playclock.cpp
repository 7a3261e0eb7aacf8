#include "play/playclock.h"

#include <algorithm>

namespace zephyra {

void PlayClock::startRound()
{
    m_sinceStep.start();
    if (isUp())
        m_played = std::chrono::milliseconds(0);
}

void PlayClock::step(int ms)
{
    if (m_limit.count() <= 0)
        return;
    // Ticks come late on a busy machine: the clock says how long the step
    // really took, so twenty minutes stay twenty. A process stopped for a
    // while (a debugger, a frozen desktop) is not counted as play.
    const qint64 real = m_sinceStep.isValid() ? m_sinceStep.restart() : ms;
    m_played += std::chrono::milliseconds(std::clamp<qint64>(real, ms, ms + kLongestLateMs));
}

}  // namespace zephyra
