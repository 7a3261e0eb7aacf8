#pragma once
// The one place that builds the game's three windows, for the program and the
// tests alike.

#include "platform/single.h"
#include "settings/parent.h"
#include "settings/GameSettings.h"

#include <QString>

namespace zephyra {

class SoundOutput;

// Creates the start screen, the play field and the options dialog, in this
// order (the first is the main window), and wires the play field's and the
// dialog's "my part is over" signals to showing the start screen. A damaged
// embedded picture raises Error; then nothing is left half-built. The play
// field plays its sounds on the given output, which outlives the windows, and
// follows the grown-up's choices. Options remembered from an earlier start
// are put in force as the dialog's Save would; while the choices remember
// them, each Save keeps them in the user's settings file, or says in the
// standard error box why it cannot.
void createWindows(SoundOutput& sound, const ParentChoices& choices = {},
                   const TGameSettings* remembered = nullptr);
// Brings the window the game shows now to the front: the play field during a
// round, the options dialog while open, else the start screen. startupId is
// the launch asking for it, as zephyra::bringToFront takes it.
void bringGameToFront(const QString& startupId);
// Whether a round is on the screen: the play field shows (with the prize or
// the goodnight picture too).
bool roundShown();
// A later start's choices put in force in the running game, as far as they
// add to its own (TPlay::TakeChoices), and said on its start screen. Returns
// what could not be taken and why, in one line; empty when all of it holds.
QString takeChoices(const HandedChoices& handed);
// Why a child lock cannot hold on this desktop, in one line; empty where it holds.
QString lockCannotHold();
// One line on stderr, after the program's name.
void sayOnTerminal(const QString& line);
// A later start's choices that the running game could not take: why, on
// stderr and in a message box.
void sayNotTaken(const QString& why);
// Frees the three windows, the last created first.
void destroyWindows();

}  // namespace zephyra
