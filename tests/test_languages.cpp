// Every language the game speaks: its catalogue holds every text of the code
// and the windows show it; every text fits its control and every counter
// caption its display, in the display's code page; the C locale keeps the
// game's own texts.
#include "assets/decode.h"
#include "base/convert.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "lcd/LCDScreen.h"
#include "lcd/LCDText.h"
#include "menu/Unit_options.h"
#include "menu/grownups.h"
#include "menu/menu.h"
#include "platform/language.h"
#include "play/UnitPlay.h"
#include "play/counters.h"
#include "play/overlays.h"
#include "tests/fit.h"
#include "tests/fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString kSource = QStringLiteral(ZEPHYRA_SOURCE_DIR);
// How far the C locale's written hint may stray from the drawing that had it
// in: letters' edges smoothed a little otherwise, none out of place (one
// pixel off strays three times as far).
constexpr double kHintMean = 5;
constexpr int kHintApart = 500;

QString key(const QString& context, const QString& source) { return context + QLatin1Char('\n') + source; }

// context + "\n" + source -> translation; empty when unfinished.
QHash<QString, QString> readCatalogue(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QString> catalogue;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            const QString text = xml.readElementText();
            catalogue.insert(key(context, source), finished ? text : QString());
        }
    }
    return catalogue;
}

// The settings for grown-ups as a grown-up sees them at their widest: with
// what their file left out, after a Save that could not be kept (a file
// stands where the folder should).
std::unique_ptr<TGrownUps> cornerInTrouble(const QTemporaryDir& dir)
{
    QFile file(dir.filePath(QStringLiteral("file")));
    file.open(QIODevice::WriteOnly);
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("file/config")).toUtf8());
    zephyra::SavedSettings read;
    const QString leftOut = zephyra::leftOutLine(dir.filePath(QStringLiteral("zephyra.conf")),
                                                 zephyra::readSettingsText("[grown-ups]\nvolume=-3\n", read));
    auto corner = std::make_unique<TGrownUps>(read, fixture::recorder(), QStringList{leftOut});
    corner->SaveClick();
    corner->show();
    corner->layout()->activate();
    qunsetenv("XDG_CONFIG_HOME");
    return corner;
}

// What the windows show in words, by window and control: captions, titles,
// the words their pictures stand for, the counters' captions (the count
// taken off). The game's name is not translated.
QMap<QString, QString> shownTexts()
{
    QMap<QString, QString> texts;
    QTemporaryDir dir;
    const std::unique_ptr<TGrownUps> corner = cornerInTrouble(dir);
    for (QWidget* window : std::initializer_list<QWidget*>{START, Play, Options, corner.get()}) {
        const QString context = QString::fromLatin1(window->metaObject()->className());
        const auto add = [&](const QWidget* w, const char* what, const QString& text) {
            if (!text.isEmpty() && !text.contains(QLatin1String("ZEPHYRA")) && !text.contains(dir.path()))
                texts.insert(context + QLatin1Char('/') + w->objectName() + QLatin1Char('/')
                                 + QLatin1String(what),
                             text);
        };
        add(window, "title", window->windowTitle());
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                add(w, "text", b->text());
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                add(w, "title", g->title());
            else if (auto* l = qobject_cast<QLabel*>(w))
                add(w, "text", l->text());
            else if (auto* d = qobject_cast<TLCDScreen*>(w))
                add(w, "caption", d->linesText().value(0).remove(QRegularExpression(QStringLiteral("\\d+$"))));
            add(w, "name", w->accessibleName());
            const QStringList lines = w->accessibleDescription().split(QLatin1Char('\n'));
            for (int i = 0; i < lines.size(); ++i)
                add(w, qPrintable(QStringLiteral("description%1").arg(i)), lines[i]);
        }
    }
    return texts;
}

}  // namespace

class LanguagesTest : public QObject {
    Q_OBJECT

    QMap<QString, QString> m_ownTexts;  // shown under the C locale
    QSet<QString> m_codeTexts;          // every text the code gives for translation
    QHash<QByteArray, QByteArray> m_environment;  // the locale's variables as the suite got them

private slots:
    void initTestCase()
    {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
            m_environment.insert(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        fixture::freshGame();
        m_ownTexts = shownTexts();
        zephyra::destroyWindows();
        QVERIFY(m_ownTexts.size() > 30);

        // Gathered afresh from the code, so a text added since the catalogues
        // were last updated is found.
        QTemporaryDir dir;
        const QString gathered = dir.filePath(QStringLiteral("gathered.ts"));
        QProcess lupdate;
        lupdate.setWorkingDirectory(kSource);
        lupdate.start(QStringLiteral(ZEPHYRA_LUPDATE),
                      QStringList{QStringLiteral("-silent"), QStringLiteral("-I"), kSource}
                          + QStringLiteral(ZEPHYRA_CODE_FOLDERS).split(QLatin1Char(' '))
                          + QStringList{QStringLiteral("-ts"), gathered});
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);
        const QHash<QString, QString> code = readCatalogue(gathered);
        m_codeTexts = QSet<QString>(code.keyBegin(), code.keyEnd());
        QVERIFY(m_codeTexts.size() > 30);

        // Every catalogue in the repository is one the game offers.
        QStringList files = QDir(kSource + QStringLiteral("/translations"))
                                .entryList({QStringLiteral("zephyra_*.ts")}, QDir::Files, QDir::Name);
        files.replaceInStrings(QRegularExpression(QStringLiteral("^zephyra_(.*)\\.ts$")), QStringLiteral("\\1"));
        QStringList offered = zephyra::availableLanguages();
        offered.sort();
        QCOMPARE(files, offered);
    }

    void cleanup()
    {
        for (auto [name, value] : m_environment.asKeyValueRange())
            value.isNull() ? qunsetenv(name.constData()) : qputenv(name.constData(), value);
        zephyra::destroyWindows();
        zephyra::installLanguage(QStringLiteral("C"));
        zephyra::setMessagePresenter({});
    }

    void theDesktopChoosesTheLanguage_data()
    {
        QTest::addColumn<QString>("locale");     // LANG, with LC_ALL and LC_MESSAGES unset
        QTest::addColumn<QString>("languages");  // LANGUAGE
        QTest::addColumn<QString>("language");
        QTest::newRow("C") << "C" << "" << "";
        QTest::newRow("POSIX") << "POSIX" << "" << "";
        QTest::newRow("no locale") << "" << "" << "";
        QTest::newRow("C with a list: as gettext, the list counts for nothing") << "C" << "de" << "";
        QTest::newRow("POSIX with a codeset and a list: nothing") << "POSIX.UTF-8" << "de" << "";
        QTest::newRow("C.UTF-8 with a list: as gettext, the list counts") << "C.UTF-8" << "xx:de" << "de";
        QTest::newRow("C.utf8 with a list we lack: the game's own") << "C.utf8" << "xx" << "";
        QTest::newRow("German in Austria") << "de_AT.UTF-8" << "" << "de";
        QTest::newRow("British English") << "en_GB" << "" << "en";
        QTest::newRow("Ukrainian") << "uk_UA" << "" << "uk";
        QTest::newRow("Russian") << "ru_RU" << "" << "ru";
        QTest::newRow("one we lack: English") << "pt_BR" << "" << "en";
        QTest::newRow("list: one we lack is skipped") << "de_DE.UTF-8" << "xx:ru" << "ru";
        QTest::newRow("list: the first we have wins") << "de_DE.UTF-8" << "xx:ru:de" << "ru";
        QTest::newRow("list: then the locale") << "de_DE.UTF-8" << "pt_BR:sr@latin" << "de";
        QTest::newRow("list and locale we lack: English") << "pt_BR" << "xx:sr@latin" << "en";
    }
    void theDesktopChoosesTheLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, languages);
        QFETCH(QString, language);
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", locale.toUtf8());
        qputenv("LANGUAGE", languages.toUtf8());
        QCOMPARE(zephyra::installLanguage(), language);
        QCOMPARE(zephyra::currentLanguage(), language);
        const QString play = QStringLiteral(":/pictures/button-play.png");
        // English words the pictures as the game does; the others have their own.
        QCOMPARE(zephyra::localisedPicture(play) == play, language.isEmpty() || language == QLatin1String("en"));
        // One picture of each, the language's where it has one: no other is decoded.
        QCOMPARE(zephyra::picturesInUse().size(), zephyra::picturesIn(QStringLiteral(":/pictures")).size());
        QVERIFY(zephyra::picturesInUse().contains(zephyra::localisedPicture(play)));
    }

    void theCLocaleKeepsTheGamesOwnTexts()
    {
        zephyra::installLanguage(QStringLiteral("de_DE"));
        zephyra::installLanguage(QStringLiteral("C"));
        fixture::freshGame();
        QCOMPARE(Play->LCDScreen1->linesText(), QStringList{QStringLiteral("ВЫЛЕТЕЛО - 0")});
        QCOMPARE(Play->LCDScreen2->linesText(), QStringList{QStringLiteral("СБИТО - 0")});
        QCOMPARE(Options->windowTitle(), QStringLiteral("Options"));
        QCOMPARE(fixture::option<QPushButton>("Button1")->text(), QStringLiteral("Сохранить настройки"));
        QCOMPARE(fixture::option<QCheckBox>("CheckBox2")->text(), QStringLiteral("Воспризводить звук лопнувшего шара"));
        QCOMPARE(shownTexts(), m_ownTexts);
        QCOMPARE(zephyra::picturesInUse(), zephyra::picturesIn(QStringLiteral(":/pictures")));
    }

    void everyLanguage_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& language : zephyra::availableLanguages())
            QTest::newRow(qPrintable(language)) << language;
    }

    void theCatalogueIsCompleteAndShown_data() { everyLanguage_data(); }
    void theCatalogueIsCompleteAndShown()
    {
        QFETCH(QString, language);
        const auto catalogue =
            readCatalogue(kSource + QStringLiteral("/translations/zephyra_%1.ts").arg(language));
        for (const QString& text : m_codeTexts)
            QVERIFY2(!catalogue.value(text).isEmpty(), qPrintable(QStringLiteral("untranslated: ") + text));

        QCOMPARE(zephyra::installLanguage(language), language);
        fixture::freshGame();
        const QMap<QString, QString> shown = shownTexts();
        for (auto own = m_ownTexts.cbegin(); own != m_ownTexts.cend(); ++own) {
            const QString translated = catalogue.value(key(own.key().section(QLatin1Char('/'), 0, 0), own.value()));
            QVERIFY2(!translated.isEmpty(), qPrintable(QStringLiteral("not in the catalogue: ") + own.key()));
            QCOMPARE(shown.value(own.key()), translated);
        }
        // An error box speaks the language too.
        QString box;
        zephyra::setMessagePresenter([&](QMessageBox::Icon, const QString&, const QString& text) { box = text; });
        fixture::option<QComboBox>("ComboBox1")->setEditText(QStringLiteral("x"));
        fixture::option<QPushButton>("Button1")->click();
        QCOMPARE(box, zephyra::errorBoxText(
                          catalogue.value(key(QStringLiteral("zephyra"), QStringLiteral("'%1' is not a valid integer value")))
                              .arg(QLatin1Char('x'))));
    }

    void everyTextFits_data() { everyLanguage_data(); }
    void everyTextFits()
    {
        QFETCH(QString, language);
        zephyra::installLanguage(language);
        fixture::freshGame();
        const fixture::CaptionFit fit = fixture::captionFit(Options);
        QVERIFY2(fit.overflowing.isEmpty(), qPrintable(fit.overflowing.join(QLatin1String(", "))));
        QCOMPARE(fit.measured, 22);
        qInfo("%s dialog: tightest \"%s\", %d px to spare; longest \"%s\", %d px", qPrintable(language),
              qPrintable(fit.tightest), fit.margin, qPrintable(fit.longest), fit.longestRoom);
        // The settings for grown-ups grow to their texts, but no wider than
        // the smallest screen the game plays on.
        QTemporaryDir dir;
        const std::unique_ptr<TGrownUps> corner = cornerInTrouble(dir);
        const fixture::CaptionFit cornerFit = fixture::captionFit(corner.get());
        QVERIFY2(cornerFit.overflowing.isEmpty(), qPrintable(cornerFit.overflowing.join(QLatin1String(", "))));
        QCOMPARE(cornerFit.measured, 16);
        QVERIFY2(corner->frameGeometry().width() <= 640, qPrintable(QString::number(corner->frameGeometry().width())));
        qInfo("%s settings for grown-ups: %d px wide; tightest \"%s\", %d px to spare", qPrintable(language),
              corner->frameGeometry().width(), qPrintable(cornerFit.tightest), cornerFit.margin);

        const QRawFont font = QRawFont::fromFont(lcdCounterFont());
        for (TLCDScreen* display : {Play->LCDScreen1, Play->LCDScreen2}) {
            const QString caption = display->linesText().value(0).chopped(1);  // "... 0"
            // The display keeps single-byte cells: every letter has its code and its glyph.
            const QByteArray cells = TLCDText::toCodePage(caption);
            QCOMPARE(cells.size(), caption.size());
            for (int i = 0; i < caption.size(); ++i) {
                QCOMPARE(TLCDText::fromCodePage(quint8(cells[i])), caption[i]);
                QVERIFY2(font.supportsCharacter(caption[i]), qPrintable(caption));
            }
            TPlay::ReplaceLine(display, caption + QStringLiteral("99999"));
            QVERIFY2(display->textImageSize().width() <= display->GridColumns(), qPrintable(caption));
            qInfo("%s %s: \"%s99999\", %d dot columns to spare", qPrintable(language),
                  qPrintable(display->objectName()), qPrintable(caption),
                  display->GridColumns() - display->textImageSize().width());
        }
    }

    // The words the game writes over its pictures (the start screen's panel,
    // the field's hint free and locked) fit where the drawing leaves room for
    // them, each letter in the lettering's own face.
    void theWordsOverThePicturesFit_data() { everyLanguage_data(); }
    void theWordsOverThePicturesFit()
    {
        QFETCH(QString, language);
        zephyra::installLanguage(language);
        std::vector<zephyra::Words> words;
        for (const bool locked : {false, true}) {
            fixture::freshGame(20240611, {.childLock = locked});
            words.push_back(fieldHint(Play->Image1->accessibleName()));
        }
        QCOMPARE(START->backgroundWords().size(), std::size_t(6));
        // The start screen shows them: white lines over the blue panel.
        const QImage start = START->Image1->Picture();
        int white = 0;
        for (int y = 352; y < 440; ++y)
            for (int x = 80; x < 650; ++x)
                white += qGray(start.pixel(x, y)) > 230;
        QVERIFY2(white > 2000, qPrintable(QString::number(white)));
        std::ranges::copy(START->backgroundWords(), std::back_inserter(words));
        for (const zephyra::Words& w : words) {
            const qreal width = zephyra::wordsWidth(w);
            QVERIFY2(width <= w.maxWidth, qPrintable(QStringLiteral("%1: %2 wide").arg(w.text).arg(width)));
            const QRawFont face = QRawFont::fromFont(w.font);
            for (const QChar letter : w.text)
                QVERIFY2(letter.isSpace() || face.supportsCharacter(letter), qPrintable(w.text));
            qInfo("%s \"%s\": %.0f of %.0f", qPrintable(language), qPrintable(w.text), width, w.maxWidth);
        }
    }

    // The field's hint, written over its picture in every language: white
    // letters at the upper left, other words under the lock; under the C
    // locale the very look the picture had when it carried the words.
    void theFieldWritesItsHint_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("C") << QString();
        everyLanguage_data();
    }
    void theFieldWritesItsHint()
    {
        QFETCH(QString, language);
        zephyra::installLanguage(language.isEmpty() ? QStringLiteral("C") : language);
        const QRect area(16, 140, 448, 56);
        QImage hints[2];
        for (const bool locked : {false, true}) {
            fixture::freshGame(20240611, {.childLock = locked});
            hints[locked] = fieldBackground(Play->Image1->accessibleName(), {2560, 1600})
                                .copy(area).convertToFormat(QImage::Format_RGB32);
        }
        QVERIFY(hints[0] != hints[1]);
        const QRect letters(QPoint(9, 10), QPoint(424, 45));
        int white = 0;
        for (int y = letters.top(); y <= letters.bottom(); ++y)
            for (int x = letters.left(); x <= letters.right(); ++x)
                white += qGray(hints[0].pixel(x, y)) > 225;
        const int all = letters.width() * letters.height();
        QVERIFY2(white > all / 12 && white < all * 3 / 4, qPrintable(QString::number(white)));
        if (!language.isEmpty())
            return;
        const QImage before(kSource + QStringLiteral("/tests/data/field-hint.png"));
        QCOMPARE(before.size(), area.size());
        double sum = 0;
        int apart = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x) {
                const QRgb a = hints[0].pixel(x, y), b = before.pixel(x, y);
                const int d = std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
                sum += d;
                apart += d > 64;
            }
        const double mean = sum / (area.width() * area.height());
        qInfo("C hint against the picture's own: mean difference %.2f, %d of %d pixels apart by more than 64", mean,
              apart, area.width() * area.height());
        QVERIFY2(mean < kHintMean && apart < kHintApart, qPrintable(QString::number(mean)));
    }

    // Run once more by ctest with the package's font as the only one there is.
    void everyDialogLetterHasAGlyph_data() { everyLanguage_data(); }
    void everyDialogLetterHasAGlyph()
    {
        QFETCH(QString, language);
        zephyra::installLanguage(language);
        fixture::freshGame();
        const QString counters = QRawFont::fromFont(lcdCounterFont()).familyName();
        int letters = 0;
        QTemporaryDir dir;
        const std::unique_ptr<TGrownUps> corner = cornerInTrouble(dir);
        for (const QWidget* control : Options->findChildren<QWidget*>() + corner->findChildren<QWidget*>()) {
            QStringList texts;
            if (const auto* button = qobject_cast<const QAbstractButton*>(control))
                texts << button->text();
            else if (const auto* group = qobject_cast<const QGroupBox*>(control))
                texts << group->title();
            else if (const auto* label = qobject_cast<const QLabel*>(control))
                texts << label->text();
            for (const QString& text : std::as_const(texts)) {
                QTextLayout layout(text, control->font());
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                letters += text.size();
                // Glyph 0 is a font's box for a missing letter; the counters'
                // own font, which Qt would borrow, is not meant for the dialog.
                for (const QGlyphRun& run : layout.glyphRuns())
                    QVERIFY2(!run.glyphIndexes().contains(0) && run.rawFont().familyName() != counters,
                             qPrintable(QStringLiteral("%1 in %2: \"%3\"")
                                            .arg(run.rawFont().familyName(), control->objectName(), text)));
            }
        }
        QVERIFY(letters > 200);
    }
};

QTEST_MAIN(LanguagesTest)
#include "test_languages.moc"
