#pragma once
// The one place that builds the game's three windows, for the program and the
// tests alike.

namespace zephyra {

class SoundOutput;

// Creates the start screen, the play field and the options dialog, in this
// order (the first is the main window), and wires the play field's and the
// dialog's "my part is over" signals to showing the start screen. A damaged
// embedded picture raises Error; then nothing is left half-built. The play
// field plays its sounds on the given output, which outlives the windows.
void createWindows(SoundOutput& sound);
// Frees the three windows, the last created first.
void destroyWindows();

}  // namespace zephyra
