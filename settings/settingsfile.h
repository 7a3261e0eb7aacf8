#pragma once
// The grown-ups' choices and the remembered options, kept in a file a
// grown-up can read and write by hand: $XDG_CONFIG_HOME/zephyra/zephyra.conf
// over the system's in each of $XDG_CONFIG_DIRS. One table declares every
// kept setting (its section, key, kind, range and the corner's words); the
// reader, the writer and the corner all go by it. Plain data: it knows no
// window.

#include "settings/GameSettings.h"
#include "settings/parent.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <span>

namespace zephyra {

// The options dialog's choices as a start remembers them.
struct RememberedOptions {
    SizeChoice balloons = SizeChoice::Medium;
    SizeChoice wasp = SizeChoice::Medium;
    std::uint8_t popMode = PopByMove;
    int speed = 3;     // the slider's step, 1 (Min) to 5 (Max)
    int interval = 3;  // likewise
    bool prize = true;
    std::int32_t prizeAfter = 20;
    bool popSound = true;
};
// What the dialog would show for these settings.
RememberedOptions rememberedFrom(const TGameSettings& settings);

// Everything the files hold.
struct SavedSettings {
    ParentChoices choices;
    RememberedOptions options;
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
// a language its place in availableLanguages() plus one (0 the desktop's).
struct SavedKey {
    const char* section;
    const char* key;
    SavedKind kind;
    std::int64_t least = 0, most = 0;   // a number's range
    int none = -1;                      // a number outside the range that means none (-1: no such)
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
// The same from a file; a file that is not there says nothing.
QStringList readSettingsFile(const QString& path, SavedSettings& into);
// The report of a file that had something left out, one line with no end:
// "<path>: left out ...". Long lists name the first few.
QString leftOutLine(const QString& path, const QStringList& leftOut);

// The files in the order they count, the one that wins last: the system's
// ($XDG_CONFIG_DIRS, default /etc/xdg, the first named counting most), then
// the user's.
QStringList settingsFiles();
QString userSettingsFile();
// Reads them all over the start values; one report line for each file that
// had something left out.
SavedSettings readSettingsFiles(const QStringList& files, QStringList* reports);

// The text of a settings file with every key of `sections` set to what
// `settings` holds, and the sections in `forget` taken out. What else the
// old text holds stays as it was (comments, keys and sections the game does
// not know), but for lines that are no setting.
QByteArray updatedSettingsText(QByteArrayView old, const SavedSettings& settings, const QStringList& sections,
                               const QStringList& forget = {});
// Writes the user's file so, whole or not at all (a new file renamed over
// the old); false with the reason when the folder cannot be written.
bool writeSettingsFile(const QString& path, const SavedSettings& settings, const QStringList& sections,
                       const QStringList& forget, QString* why);

}  // namespace zephyra
