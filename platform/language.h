#pragma once
// The language the game speaks. The texts in the code and the pictures are
// the game's own, shown as they are under the C locale; every other language
// comes from a catalogue (translations/zephyra_LANG.ts, embedded as .qm) and
// from pictures rendered for it (":/pictures/LANG/NAME").

#include "settings/languages.h"

#include <QString>
#include <QStringList>

namespace zephyra {

// The catalogue for a desktop whose locale is `locale` ("de_DE.UTF-8", as
// LC_ALL, LC_MESSAGES or LANG name it) and whose list of languages is
// `languages` (LANGUAGE: "pt:fr"). Empty for the plain C or POSIX locale (the
// game's own texts; as with gettext, the list then counts for nothing); else
// the first language we have among the list's entries and then the locale's,
// skipping those we lack; else English. Under C.UTF-8, as with gettext, the
// list counts and the locale names no language: without one we have, the
// game's own texts.
QString chooseLanguage(const QString& locale, const QString& languages = {});

// Loads and installs the catalogue chosen for the desktop's environment, or
// for the given locale and list (replacing one installed before); the C
// locale installs none. Returns the language.
QString installLanguage();
QString installLanguage(const QString& locale, const QString& languages = {});

// The language installed last; empty for the game's own texts.
QString currentLanguage();

// ":/pictures/NAME" in the current language: its own picture when it has
// one, else the game's.
QString localisedPicture(const QString& path);

// Every picture of the folder as the current language shows it.
QStringList picturesInUse(const QString& folder = QStringLiteral(":/pictures"));

}  // namespace zephyra
