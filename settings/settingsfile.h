#pragma once
// The grown-ups' choices and the remembered options, kept in a file a
// grown-up can read and write by hand: $XDG_CONFIG_HOME/zephyra/zephyra.conf
// over the system's in each of $XDG_CONFIG_DIRS. One table declares every
// kept setting (its section, key, kind, range and the corner's words); the
// reader, the writer and the corner all go by it. Plain data: it knows no
// window.

#include "settings/GameSettings.h"
#include "settings/parent.h"
#include "settings/wholefile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <span>

namespace zephyra {

// The options a start begins with: the play field's creation gives the
// launch interval its start value.
inline TGameSettings startOptions()
{
    TGameSettings options;
    options.LaunchInterval = kStartLaunchInterval;
    return options;
}

// Everything the files hold: the grown-up's choices and the options
// remembered, in the game's own records.
struct SavedSettings {
    ParentChoices choices;
    TGameSettings options = startOptions();
    bool optionsGiven = false;  // some file gave a remembered option
};

enum class SavedKind {
    Switch,    // true or false
    Number,    // a whole number in its range, or its "none"
    Level,     // a number from 0 to 100, heard in the corner
    Words,     // one of its words
    Language,  // empty for the desktop's, or one the game speaks
};

// A kept setting. Every value is an int: a switch 0 or 1, a word its index,
// a language its place in availableLanguages() plus one (0 the desktop's),
// an option as the dialog shows it (a slider's step from 1).
struct SavedKey {
    const char* section;
    const char* key;
    SavedKind kind;
    std::int64_t least = 0, most = 0;   // a number's range
    int none = -1;                      // the number just below the range that means none (-1: no such)
    std::span<const char* const> words{};  // a word row's words, by value
    const char* caption = nullptr;      // the corner's words for it (context "TGrownUps"); null: not in the corner
    int (*get)(const SavedSettings&) = nullptr;
    void (*put)(SavedSettings&, int) = nullptr;
};

inline constexpr char kChoicesSection[] = "grown-ups";
inline constexpr char kOptionsSection[] = "options";
// The table, the corner's rows in the order it shows them.
std::span<const SavedKey> savedKeys();
const SavedKey* savedKey(QStringView section, QStringView key);

// A value as the file writes it, and read back; nothing for a text the row
// cannot take.
QString savedText(const SavedKey& row, int value);
std::optional<int> savedValue(const SavedKey& row, QStringView text);
// What the row takes, in words ("0 to 100"), for the report of a value left out.
QString savedRange(const SavedKey& row);

// A larger file is no settings file: it is left out whole.
inline constexpr qint64 kLargestSettingsFile = 64 * 1024;

// Reads a file's text over `into`: what it says wins. Returns what it left
// out, one item each (a value it cannot take, a key or section it does not
// know, a line that is no setting), in the installed language.
QStringList readSettingsText(QByteArrayView text, SavedSettings& into);
// The same from a file, read without waiting; a file that is not there says
// nothing, and one that is no regular file or too large is left out whole.
QStringList readSettingsFile(const QString& path, SavedSettings& into);
// The report of a file that had something left out, one line with no end:
// "<path>: left out ...". Long lists name the first few.
QString leftOutLine(const QString& path, const QStringList& leftOut);

// The files in the order they count, the one that wins last: the system's
// ($XDG_CONFIG_DIRS, default /etc/xdg, the first named counting most), then
// the user's (in $XDG_CONFIG_HOME, default ~/.config; the home folder from
// the password database when $HOME is not set).
QStringList systemSettingsFiles();
QString userSettingsFile();
QStringList settingsFiles();
// Reads them all over the start values; one report line for each file that
// had something left out.
SavedSettings readSettingsFiles(const QStringList& files, QStringList* reports);

// The text of a settings file with the keys of `sections` set to what
// `settings` holds, and the keys of the sections in `forget` taken out. Only
// the keys the old text sets, and those whose value differs from `base` (what
// the system's files give), are written, so a later change of a system file
// still reaches this user. A key's line keeps its place, its spelling and
// its comment; what else the old text holds stays byte for byte, line ends
// included (comments, notes, keys and sections the game does not know).
QByteArray updatedSettingsText(QByteArrayView old, const SavedSettings& settings, const QStringList& sections,
                               const QStringList& forget = {}, const SavedSettings& base = {});
// Writes the file so, whole or not at all (writeWholeFile). A file that was
// left out whole is kept beside the new one (keptOnSave).
SaveTrouble writeSettingsFile(const QString& path, const SavedSettings& settings, const QStringList& sections,
                              const QStringList& forget, const SavedSettings& base);
// Where a save of `path` keeps the file there now, as it was left out whole
// when read; empty when it keeps none.
QString keptOnSave(const QString& path);
// Saves `settings` in the user's file over what the system's files give.
SaveTrouble saveUserSettings(const SavedSettings& settings, const QStringList& sections,
                             const QStringList& forget = {});

}  // namespace zephyra
