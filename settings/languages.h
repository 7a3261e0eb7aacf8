#pragma once
// The languages the game speaks: plain data, for the settings file that
// names one and for the catalogue that is installed.

#include <QStringList>

namespace zephyra {

// The languages with a catalogue, English first: the one a desktop gets when
// it asks only for languages we lack.
inline QStringList availableLanguages()
{
    return {QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("de"),
            QStringLiteral("fr"), QStringLiteral("es"), QStringLiteral("uk")};
}

}  // namespace zephyra
