#pragma once
// The one set of game settings shared by all three windows for the whole run,
// with the tables that turn the options' choices into values. Plain data: it
// knows no window. Every start begins with these start values, unless a
// grown-up has the options remembered (settings/settingsfile.h).

#include <array>
#include <cstdint>

enum TPopMode : std::uint8_t { PopByMove = 0, PopByLeftClick = 1, PopByRightClick = 2 };

enum class SizeChoice { Small, Medium, Large };

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

// The medium sizes, which a fresh start gives.
inline constexpr BalloonSizeRow kMediumBalloons{4, 130, 168, 1};
inline constexpr WaspSizeRow kMediumWasp{1, 64, 0, 10, 48, 56, 32};

// Track bar positions 0..4 to values; any other position takes the last.
using TrackBarTable = std::array<std::int32_t, 5>;
inline constexpr TrackBarTable kFlightSteps{2, 6, 10, 20, 30};
inline constexpr TrackBarTable kLaunchIntervals{300, 600, 1000, 1300, 1600};
// Both track bars start in the middle.
inline constexpr int kStartPosition = 2;
inline constexpr std::int32_t kStartLaunchInterval = kLaunchIntervals[kStartPosition];

struct TGameSettings {
    std::uint8_t BalloonImageBase = kMediumBalloons.imageBase;
    std::int32_t BalloonWidth = kMediumBalloons.width;
    std::int32_t BalloonHeight = kMediumBalloons.height;
    std::int32_t FlightStep = kFlightSteps[kStartPosition];
    bool SoundEnabled = true;
    std::uint8_t BurstImageIndex = kMediumBalloons.burstIndex;
    std::uint8_t WaspSizeIndex = kMediumWasp.index;
    std::int32_t StingLeft = kMediumWasp.stingLeft;
    std::int32_t StingRight = kMediumWasp.stingRight;
    std::int32_t StingTop = kMediumWasp.stingTop;
    std::int32_t StingBottom = kMediumWasp.stingBottom;
    std::int32_t WaspHotspot = kMediumWasp.hotspot;
    bool PrizeEnabled = true;
    std::int32_t PrizeThreshold = 20;
    std::uint8_t PopMode = PopByMove;
    // Given its start value (kStartLaunchInterval) by the play field's creation.
    std::int32_t LaunchInterval = 0;
};

extern TGameSettings GameSettings;

BalloonSizeRow balloonSizeRow(SizeChoice choice);
WaspSizeRow waspSizeRow(SizeChoice choice);

std::int32_t flightStepForPosition(int position);
std::int32_t launchIntervalForPosition(int position);
// The inverses, as the options dialog reads the settings back; values not in
// the table fall to the last position.
int positionForFlightStep(std::int32_t step);
int positionForLaunchInterval(std::int32_t interval);
SizeChoice balloonChoiceFor(std::uint8_t imageBase);
SizeChoice waspChoiceFor(std::uint8_t sizeIndex);

// The sting rectangle lies strictly inside the balloon's rectangle; the four
// comparisons are evaluated in this order and stop at the first that fails.
bool stingInsideBalloon(int waspLeft, int waspTop, int balloonLeft, int balloonTop);
