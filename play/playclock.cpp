#include "play/playclock.h"

#include <algorithm>
#include <utility>

namespace zephyra {

void PlayClock::startRound()
{
    m_sinceStep.start();
    if (isUp()) {
        m_played = std::chrono::milliseconds(0);
        if (m_nextLimit.count() > 0)
            m_limit = std::exchange(m_nextLimit, std::chrono::milliseconds(0));
    }
}

std::chrono::milliseconds PlayClock::left() const
{
    if (m_limit.count() <= 0)
        return m_limit;
    if (isUp())
        return m_nextLimit.count() > 0 ? m_nextLimit : m_limit;
    return m_limit - m_played;
}

void PlayClock::limitFromNow(std::chrono::milliseconds limit)
{
    if (limit.count() <= 0)
        return;  // no limit weakens none
    if (isUp()) {
        const std::chrono::milliseconds next = m_nextLimit.count() > 0 ? m_nextLimit : m_limit;
        m_nextLimit = std::min(next, limit);
        return;
    }
    m_limit = m_limit.count() > 0 ? std::min(m_limit, m_played + limit) : m_played + limit;
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
