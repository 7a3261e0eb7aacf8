#include "settings/GameSettings.h"

TGameSettings GameSettings;

BalloonSizeRow balloonSizeRow(SizeChoice choice)
{
    switch (choice) {
    case SizeChoice::Large: return {0, 170, 220, 2};
    case SizeChoice::Small: return {8, 80, 103, 0};
    case SizeChoice::Medium: break;
    }
    return {4, 130, 168, 1};
}

WaspSizeRow waspSizeRow(SizeChoice choice)
{
    switch (choice) {
    case SizeChoice::Large: return {2, 110, 5, 12, 86, 94, 55};
    case SizeChoice::Small: return {0, 32, 0, 5, 18, 28, 16};
    case SizeChoice::Medium: break;
    }
    return {1, 64, 0, 10, 48, 56, 32};
}

namespace {

using TrackBarTable = std::array<std::int32_t, 5>;

// Positions 0 to 3 have their own value; any other position takes the last.
std::int32_t valueAt(const TrackBarTable& table, int position)
{
    return table[static_cast<std::size_t>(position >= 0 && position < 4 ? position : 4)];
}

// The first four positions by value; anything else is the last position.
int positionIn(const TrackBarTable& table, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        if (table[static_cast<std::size_t>(i)] == value)
            return i;
    return 4;
}

}  // namespace

std::int32_t flightStepForPosition(int position) { return valueAt(kFlightSteps, position); }

std::int32_t launchIntervalForPosition(int position) { return valueAt(kLaunchIntervals, position); }

int positionForFlightStep(std::int32_t step) { return positionIn(kFlightSteps, step); }

int positionForLaunchInterval(std::int32_t interval) { return positionIn(kLaunchIntervals, interval); }

SizeChoice balloonChoiceFor(std::uint8_t imageBase)
{
    if (imageBase == 0)
        return SizeChoice::Large;
    if (imageBase == 4)
        return SizeChoice::Medium;
    return SizeChoice::Small;
}

SizeChoice waspChoiceFor(std::uint8_t sizeIndex)
{
    if (sizeIndex == 0)
        return SizeChoice::Small;
    if (sizeIndex == 1)
        return SizeChoice::Medium;
    return SizeChoice::Large;
}

bool stingInsideBalloon(int waspLeft, int waspTop, int balloonLeft, int balloonTop)
{
    const TGameSettings& s = GameSettings;
    return balloonTop < waspTop + s.StingTop
        && waspTop + s.StingBottom < balloonTop + s.BalloonHeight
        && balloonLeft < waspLeft + s.StingLeft
        && waspLeft + s.StingRight < balloonLeft + s.BalloonWidth;
}
