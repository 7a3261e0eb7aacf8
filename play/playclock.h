#pragma once
// The play time a grown-up sets, counted over the rounds in the field's ticks
// and pauses only. Without a limit it counts nothing and is never up.

#include <QElapsedTimer>

#include <chrono>

namespace zephyra {

// A step of play time counts at most this much beyond its nominal length.
inline constexpr int kLongestLateMs = 1000;

class PlayClock {
public:
    explicit PlayClock(std::chrono::milliseconds limit) : m_limit(limit) {}

    bool isUp() const { return m_limit.count() > 0 && m_played >= m_limit; }
    // Play time left, or the next play time's length once this one is up;
    // zero without a limit.
    std::chrono::milliseconds left() const;
    // A grown-up asks for a play time while the game runs: at most that much
    // is left from now, never more than was left already. Once the play time
    // is up it stays up; the next one is at most that long.
    void limitFromNow(std::chrono::milliseconds limit);
    // A round begins: the time on the start screen is not play time, and
    // once a play time is over, a round after it begins a new one.
    void startRound();
    // A tick or a pause of ms has passed in play.
    void step(int ms);

private:
    std::chrono::milliseconds m_limit;
    std::chrono::milliseconds m_played{0};
    std::chrono::milliseconds m_nextLimit{0};  // for the play time after one that is up
    QElapsedTimer m_sinceStep;
};

}  // namespace zephyra
