#pragma once
// The one set of game settings shared by all three windows for the whole run,
// with the tables that turn the options' choices into values. Plain data: it
// knows no window. Nothing is persisted: every start begins with these start
// values.

#include <array>
#include <cstdint>

enum TPopMode : std::uint8_t { PopByMove = 0, PopByLeftClick = 1, PopByRightClick = 2 };

enum class SizeChoice { Small, Medium, Large };

struct TGameSettings {
    std::uint8_t BalloonImageBase = 4;
    std::int32_t BalloonWidth = 130;
    std::int32_t BalloonHeight = 168;
    std::int32_t FlightStep = 10;
    bool SoundEnabled = true;
    std::uint8_t BurstImageIndex = 1;
    std::uint8_t WaspSizeIndex = 1;
    std::int32_t StingLeft = 0;
    std::int32_t StingRight = 10;
    std::int32_t StingTop = 48;
    std::int32_t StingBottom = 56;
    std::int32_t WaspHotspot = 32;
    bool PrizeEnabled = true;
    std::int32_t PrizeThreshold = 20;
    std::uint8_t PopMode = PopByMove;
    // Given its start value by the play field's creation.
    std::int32_t LaunchInterval = 0;
};

extern TGameSettings GameSettings;

struct BalloonSizeRow {
    std::uint8_t imageBase;
    std::int32_t width;
    std::int32_t height;
    std::uint8_t burstIndex;
};
struct WaspSizeRow {
    std::uint8_t index;
    std::int32_t side;
    std::int32_t stingLeft, stingRight, stingTop, stingBottom;
    std::int32_t hotspot;
};

BalloonSizeRow balloonSizeRow(SizeChoice choice);
WaspSizeRow waspSizeRow(SizeChoice choice);

// Track bar positions 0..4 to values; any other position takes the last.
inline constexpr std::array<std::int32_t, 5> kFlightSteps{2, 6, 10, 20, 30};
inline constexpr std::array<std::int32_t, 5> kLaunchIntervals{300, 600, 1000, 1300, 1600};
std::int32_t flightStepForPosition(int position);
std::int32_t launchIntervalForPosition(int position);
// The inverses, as the options dialog reads the settings back; values not in
// the table fall to position 4.
int positionForFlightStep(std::int32_t step);
int positionForLaunchInterval(std::int32_t interval);
SizeChoice balloonChoiceFor(std::uint8_t imageBase);
SizeChoice waspChoiceFor(std::uint8_t sizeIndex);

// The sting rectangle lies strictly inside the balloon's rectangle; the four
// comparisons are evaluated in this order and stop at the first that fails.
bool stingInsideBalloon(int waspLeft, int waspTop, int balloonLeft, int balloonTop);
