#pragma once
// The grown-ups' settings at start-up: what their files hold, and their
// window run on its own.

#include "settings/settingsfile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zephyra {

// Reads the settings files; each one that had something left out says so in
// one line on stderr, and in `reports`.
SavedSettings readSavedSettings(QStringList* reports = nullptr);

// Runs the settings for grown-ups alone, one window at a time on the display
// (another start brings it to the front); it shows what reading the files
// left out. Returns the choices to start the game with when the grown-up
// asks for it, else nothing.
std::optional<ParentChoices> runGrownUps(const SavedSettings& saved, const QStringList& leftOut,
                                         const QString& startupId);

}  // namespace zephyra
