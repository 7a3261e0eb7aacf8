#include "app/services/language.h"

#include "assets/decode.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <memory>

namespace zephyra {

namespace {

struct Installed {
    QString language;
    std::unique_ptr<QTranslator> translator;
};

Installed& installed()
{
    static Installed i;
    return i;
}

}  // namespace

QStringList availableLanguages()
{
    return {QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("de"),
            QStringLiteral("fr"), QStringLiteral("es"), QStringLiteral("uk")};
}

QString chooseLanguage(const QLocale& locale)
{
    // As gettext does: under C or POSIX the desktop asked for no language,
    // whatever LANGUAGE says.
    if (locale.language() == QLocale::C)
        return {};
    const QStringList ours = availableLanguages();
    for (const QString& wanted : locale.uiLanguages()) {
        const QString code = QLocale(wanted).name().section(QLatin1Char('_'), 0, 0);
        if (ours.contains(code))
            return code;
    }
    return ours.first();
}

QString installLanguage(const QLocale& locale)
{
    Installed& now = installed();
    if (now.translator)
        QCoreApplication::removeTranslator(now.translator.get());
    now.translator.reset();
    now.language = chooseLanguage(locale);
    if (now.language.isEmpty())
        return {};
    auto translator = std::make_unique<QTranslator>();
    // Embedded, so it loads in place. One that fails leaves the game's own
    // texts and pictures, never a mix of two languages.
    if (!translator->load(QStringLiteral(":/i18n/zephyra_%1.qm").arg(now.language))) {
        now.language.clear();
        return {};
    }
    QCoreApplication::installTranslator(translator.get());
    now.translator = std::move(translator);
    return now.language;
}

QString currentLanguage() { return installed().language; }

QString localisedPicture(const QString& path)
{
    const QString& language = installed().language;
    if (language.isEmpty())
        return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString own = path.left(slash + 1) + language + path.mid(slash);
    return QFile::exists(own) ? own : path;
}

QStringList picturesInUse(const QString& folder)
{
    QStringList paths = picturesIn(folder);
    for (QString& path : paths)
        path = localisedPicture(path);
    return paths;
}

}  // namespace zephyra
