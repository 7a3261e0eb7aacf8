#include "app/corner.h"

#include "platform/single.h"
#include "platform/sound.h"
#include "platform/x11.h"
#include "menu/grownups.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace zephyra {

SavedSettings readSavedSettings(QStringList* said)
{
    QStringList reports;
    const SavedSettings saved = readSettingsFiles(settingsFiles(), &reports);
    if (said)
        *said = reports;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const QString& report : reports)
        std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(report));
    return saved;
}

std::optional<ParentChoices> runGrownUps(const SavedSettings& saved, const QStringList& leftOut,
                                         const QString& startupId)
{
    OneGame oneWindow(QStringLiteral(ZEPHYRA_APP_ID ".GrownUps"));
    if (!oneWindow.claim(startupId))
        return std::nullopt;
    PulseSound sound;
    sound.setLevel(saved.choices.volume);
    TGrownUps window(saved, sound, leftOut);
    std::optional<ParentChoices> playWith;
    QObject::connect(&window, &TGrownUps::playRequested, [&playWith](const ParentChoices& c) { playWith = c; });
    QObject::connect(&oneWindow, &OneGame::frontRequested, &window,
                     [&window](const QString& id) { bringToFront(&window, id); });
    window.exec();
    oneWindow.release();
    return playWith;
}

}  // namespace zephyra
