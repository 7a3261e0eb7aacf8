#pragma once
// The language the game speaks. The texts in the code and the pictures are
// the game's own, shown as they are under the C locale; every other language
// comes from a catalogue (translations/zephyra_LANG.ts, embedded as .qm) and
// from pictures rendered for it (":/pictures/LANG/NAME").

#include <QLocale>
#include <QString>
#include <QStringList>

namespace zephyra {

// The languages with a catalogue, English first: the one a desktop gets when
// it asks only for languages we lack.
QStringList availableLanguages();

// The catalogue for a locale: empty for the C locale (the game's own texts),
// else the first of the locale's languages we have, else English.
QString chooseLanguage(const QLocale& locale);

// Loads and installs the catalogue chosen for the locale (replacing one
// installed before); the C locale installs none. Returns the language.
QString installLanguage(const QLocale& locale = QLocale::system());

// The language installed last; empty for the game's own texts.
QString currentLanguage();

// ":/pictures/NAME" in the current language: its own picture when it has
// one, else the game's.
QString localisedPicture(const QString& path);

// Every picture of the folder as the current language shows it.
QStringList picturesInUse(const QString& folder = QStringLiteral(":/pictures"));

}  // namespace zephyra
