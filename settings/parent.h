#pragma once
// What a grown-up chooses for the game (the command line, the desktop
// entry's actions, the settings for grown-ups and their file). Nothing is
// chosen by default, and then the game plays as it always has.

#include <QString>

#include <chrono>

namespace zephyra {

// The loudest level of the sounds: as recorded.
inline constexpr int kLoudest = 100;

struct ParentChoices {
    // During a round only Esc held for kHoldToLeaveMs leaves the play field;
    // the window system cannot close, minimise or cover it.
    bool childLock = false;
    // Play time, counted over the rounds, before the closing picture; zero
    // for no limit.
    std::chrono::milliseconds playTime{0};
    // One of availableLanguages(); empty for the desktop's.
    QString language;
    // The sounds' own level, 0 (silent) to kLoudest (as recorded).
    int volume = kLoudest;
    // Each start loads the options dialog's settings its last Save kept.
    bool rememberOptions = false;
    // Easy play: any key but Esc, any mouse button, a tap or a gamepad
    // button sends the wasp to the nearest balloon, and it pops it.
    bool easyPlay = false;
};

// How long Esc must be held, alone, to leave a locked round; the locked
// field's hint says it in words.
inline constexpr int kHoldToLeaveMs = 3000;
// How long a locked round's game may stop answering before it lets go of the
// keyboard and the pointer: a busy or swapping machine can stall a well game
// for seconds, and opening the lock then would hand the desktop to the child.
inline constexpr std::chrono::milliseconds kLockedStallMs{10000};
// The play times a grown-up can set, on the command line, in the file and in
// the corner alike, and what the desktop offers.
inline constexpr int kLeastMinutes = 1;
inline constexpr int kMostMinutes = 240;
inline constexpr int kDesktopMinutes = ZEPHYRA_DESKTOP_MINUTES;  // CMakeLists.txt

}  // namespace zephyra
