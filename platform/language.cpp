#include "platform/language.h"

#include "assets/decode.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
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

QString chooseLanguage(const QString& locale, const QString& languages)
{
    // The locale decides whether a language was asked for at all: Qt's own
    // system locale turns C as soon as LANGUAGE's first entry is one it does
    // not know, so it cannot be asked.
    static const QRegularExpression cLocale(QStringLiteral("^(C|POSIX)?([.@].*)?$"));
    // C.UTF-8 is a locale of its own, and gettext heeds the list under it;
    // under plain C and POSIX (any other codeset is none the C library has,
    // which leaves C) it does not.
    static const QRegularExpression cUtf8(QStringLiteral("^C\\.(?i:utf-?8)(@.*)?$"));
    const bool plainC = cLocale.match(locale).hasMatch();
    if (plainC && !cUtf8.match(locale).hasMatch())
        return {};
    static const QRegularExpression codeEnd(QStringLiteral("[_.@-]"));
    const QStringList ours = availableLanguages();
    QStringList wanted = languages.split(QLatin1Char(':'));
    if (!plainC)
        wanted << locale;
    for (const QString& name : wanted) {
        const QString code = name.section(codeEnd, 0, 0).toLower();
        if (ours.contains(code))
            return code;
    }
    // Under C.UTF-8 a list of languages we lack leaves the untranslated texts, as with gettext.
    return plainC ? QString() : ours.first();
}

QString installLanguage()
{
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(name);
        if (!locale.isEmpty())
            break;
    }
    return installLanguage(locale, qEnvironmentVariable("LANGUAGE"));
}

QString installLanguage(const QString& locale, const QString& languages)
{
    Installed& now = installed();
    if (now.translator)
        QCoreApplication::removeTranslator(now.translator.get());
    now.translator.reset();
    now.language = chooseLanguage(locale, languages);
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
