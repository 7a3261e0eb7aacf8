#include "settings/GameSettings.h"

TGameSettings GameSettings;

BalloonSizeRow balloonSizeRow(SizeChoice choice)
{
    switch (choice) {
    case SizeChoice::Large: return {0, 170, 220, 2};
    case SizeChoice::Small: return {8, 80, 103, 0};
    case SizeChoice::Medium: break;
    }
    return kMediumBalloons;
}

WaspSizeRow waspSizeRow(SizeChoice choice)
{
    switch (choice) {
    case SizeChoice::Large: return {2, 110, 5, 12, 86, 94, 55};
    case SizeChoice::Small: return {0, 32, 0, 5, 18, 28, 16};
    case SizeChoice::Medium: break;
    }
    return kMediumWasp;
}

namespace {

constexpr int kLastPosition = int(std::tuple_size_v<TrackBarTable>) - 1;

// The positions before the last have their own value; any other position takes the last.
std::int32_t valueAt(const TrackBarTable& table, int position)
{
    return table[static_cast<std::size_t>(position >= 0 && position < kLastPosition ? position : kLastPosition)];
}

// The positions before the last by value; anything else is the last position.
int positionIn(const TrackBarTable& table, std::int32_t value)
{
    for (int i = 0; i < kLastPosition; ++i)
        if (table[static_cast<std::size_t>(i)] == value)
            return i;
    return kLastPosition;
}

}  // namespace

std::int32_t flightStepForPosition(int position) { return valueAt(kFlightSteps, position); }

std::int32_t launchIntervalForPosition(int position) { return valueAt(kLaunchIntervals, position); }

int positionForFlightStep(std::int32_t step) { return positionIn(kFlightSteps, step); }

int positionForLaunchInterval(std::int32_t interval) { return positionIn(kLaunchIntervals, interval); }

SizeChoice balloonChoiceFor(std::uint8_t imageBase)
{
    if (imageBase == balloonSizeRow(SizeChoice::Large).imageBase)
        return SizeChoice::Large;
    if (imageBase == kMediumBalloons.imageBase)
        return SizeChoice::Medium;
    return SizeChoice::Small;
}

SizeChoice waspChoiceFor(std::uint8_t sizeIndex)
{
    if (sizeIndex == waspSizeRow(SizeChoice::Small).index)
        return SizeChoice::Small;
    if (sizeIndex == kMediumWasp.index)
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
