// The settings file: what it gives from damaged, unknown and impossible
// values and what it reports; the system's files, then the user's; a save
// that keeps what a grown-up wrote by hand, fails in words where the folder
// cannot be written, and leaves a whole file when killed.
#include "settings/settingsfile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace std::chrono_literals;
using zephyra::SavedSettings;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The two settings the killed saver writes in turn: of different length and
// neither the start values, so a file cut off or empty is neither.
SavedSettings savedInTurn(int turn)
{
    SavedSettings s;
    s.choices.volume = turn % 2 ? 80 : 40;
    s.choices.childLock = turn % 2;
    s.choices.playTime = turn % 2 ? 30min : 0min;
    s.choices.language = turn % 2 ? QStringLiteral("uk") : QString();
    s.choices.rememberOptions = turn % 2;
    s.options.balloons = SizeChoice::Large;
    return s;
}

const QStringList kBoth{zephyra::kChoicesSection, zephyra::kOptionsSection};

// Run as a child by saveKilledMidwayLeavesAWholeFile: saves for ever.
int saveForever(const QString& path)
{
    for (int turn = 0;; ++turn) {
        QString why;
        const bool remember = turn % 2;
        zephyra::writeSettingsFile(path, savedInTurn(turn), remember ? kBoth : QStringList{zephyra::kChoicesSection},
                                   remember ? QStringList{} : QStringList{zephyra::kOptionsSection}, &why);
    }
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void aFileGivesWhatItCanTrust_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("lock");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("volume");
        QTest::addColumn<QStringList>("leftOut");  // each item, in part

        const QStringList none;
        QTest::newRow("empty") << QByteArray() << false << 0 << "" << 100 << none;
        QTest::newRow("every key")
            << QByteArray("[grown-ups]\nchild-lock=true\nminutes=30\nlanguage=de\nvolume=70\nremember-options=false\n")
            << true << 30 << "de" << 70 << none;
        QTest::newRow("by hand: spaces, capitals, comments, CRLF")
            << QByteArray("# ours\r\n [Grown-Ups] \r\n  Child-Lock = Yes # on\r\n; off\r\nMINUTES = 240;\r\nlanguage =\r\n")
            << true << 240 << "" << 100 << none;
        QTest::newRow("no limit") << QByteArray("[grown-ups]\nminutes=0\n") << false << 0 << "" << 100 << none;
        QTest::newRow("impossible values")
            << QByteArray("[grown-ups]\nminutes=10000\nvolume=-3\nlanguage=xx\nchild-lock=maybe\nminutes=4\nvolume=7O\n")
            << false << 0 << "" << 100
            << QStringList{"minutes=10000 (line 2: not 5 to 240, or 0)", "volume=-3 (line 3: not 0 to 100)",
                           "language=xx (line 4: not empty or one of en, ru, de, fr, es, uk)",
                           "child-lock=maybe (line 5: not true or false)", "minutes=4 (line 6", "volume=7O (line 7"};
        QTest::newRow("the last good value wins")
            << QByteArray("[grown-ups]\nvolume=40\nvolume=1000\n[grown-ups]\nvolume=60\n") << false << 0 << ""
            << 60 << QStringList{"volume=1000 (line 3"};
        QTest::newRow("unknown keys and sections")
            << QByteArray("child-lock=true\n[grown-ups]\ncolour=red\nvolume=50\n[sound]\nloud=1\nlouder=2\n")
            << false << 0 << "" << 50
            << QStringList{"child-lock before any section (line 1)", "unknown key colour (line 3)",
                           "unknown section [sound] (line 5)"};
        QTest::newRow("lines that are no setting")
            << QByteArray("[grown-ups\nchild-lock true\n=5\n[]\n[grown-ups]\nminutes=15") << false << 15 << "" << 100
            << QStringList{"no setting (line 1)", "no setting (line 2)", "no setting (line 3)", "no setting (line 4)"};
        QByteArray junk(4000, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char(i * 37 % 255 + 1);
        junk.replace('\n', 'x').replace('=', 'y');
        QTest::newRow("binary junk, then good lines")
            << junk + "\n[grown-ups]\nlanguage=uk\n" << false << 0 << "uk" << 100
            << QStringList{"no setting (line 1)"};
        QTest::newRow("a long key is cut in the report")
            << QByteArray("[grown-ups]\n") + QByteArray(200, 'k') + "=\x01\n" << false << 0 << "" << 100
            << QStringList{"unknown key kkkkkkkkkkkkkkkkkkkkkkkk\u2026 (line 2)"};
    }
    void aFileGivesWhatItCanTrust()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, lock);
        QFETCH(int, minutes);
        QFETCH(QString, language);
        QFETCH(int, volume);
        QFETCH(QStringList, leftOut);
        SavedSettings s;
        const QStringList said = zephyra::readSettingsText(text, s);
        QCOMPARE(s.choices.childLock, lock);
        QCOMPARE(s.choices.playTime, std::chrono::milliseconds(std::chrono::minutes(minutes)));
        QCOMPARE(s.choices.language, language);
        QCOMPARE(s.choices.volume, volume);
        QCOMPARE(said.size(), leftOut.size());
        for (int i = 0; i < said.size(); ++i)
            QVERIFY2(said[i].contains(leftOut[i]), qPrintable(said[i]));
    }

    // The README's example names every key and reads as it stands.
    void theReadmeShowsEveryKey()
    {
        QFile readme(QStringLiteral(ZEPHYRA_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype from = text.indexOf(QLatin1String("\n    [grown-ups]\n"));
        QVERIFY(from > 0);
        QByteArray example;
        for (const QString& line : text.mid(from + 1).split(QLatin1Char('\n'))) {
            if (!line.isEmpty() && !line.startsWith(QLatin1String("    ")))
                break;
            example += line.mid(4).toUtf8() + '\n';
        }
        SavedSettings s;
        QCOMPARE(zephyra::readSettingsText(example, s), QStringList());
        for (const zephyra::SavedKey& row : zephyra::savedKeys())
            QVERIFY2(example.contains('\n' + QByteArray(row.key) + '='), row.key);
    }

    // What cannot be a settings file is left out whole, in one line naming it.
    void aFileLeftOutWholeIsNamedInOneLine_data()
    {
        QTest::addColumn<QByteArray>("text");  // empty: a folder in the file's place
        QTest::addColumn<QString>("says");
        QTest::newRow("1 MB of junk") << QByteArray(1 << 20, '\x9c') << "the whole file (larger than 64 KB)";
        QTest::newRow("a folder") << QByteArray() << "the whole file (it cannot be read";
    }
    void aFileLeftOutWholeIsNamedInOneLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zephyra/zephyra.conf"));
        if (text.isEmpty())
            QVERIFY(QDir().mkpath(path));
        else
            writeAll(path, "[grown-ups]\nchild-lock=true\n" + text);
        QStringList reports;
        const SavedSettings s = zephyra::readSettingsFiles({path}, &reports);
        QVERIFY(!s.choices.childLock);
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports[0].startsWith(path + QStringLiteral(": left out ")) && reports[0].contains(says),
                 qPrintable(reports[0]));
        QVERIFY(!reports[0].contains(QLatin1Char('\n')));
    }

    void aLongReportNamesTheFirstFew()
    {
        const QString line = zephyra::leftOutLine(QStringLiteral("/f"), {"a", "b", "c", "d", "e", "f", "g"});
        QCOMPARE(line, QStringLiteral("/f: left out a, b, c, d, e and 2 more"));
    }

    // $XDG_CONFIG_DIRS' first folder counts most of the system's, the user's
    // file more than all of them.
    void theUsersFileWinsOverTheSystems()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath("first"), second = dir.filePath("second"), home = dir.filePath("home");
        qputenv("XDG_CONFIG_DIRS", (first + ":relative:" + second).toUtf8());
        qputenv("XDG_CONFIG_HOME", home.toUtf8());
        const QStringList files = zephyra::settingsFiles();
        QCOMPARE(files, (QStringList{second + "/zephyra/zephyra.conf", first + "/zephyra/zephyra.conf",
                                     home + "/zephyra/zephyra.conf"}));
        writeAll(files[0], "[grown-ups]\nchild-lock=true\nminutes=30\nvolume=20\n");
        writeAll(files[1], "[grown-ups]\nminutes=60\n");
        writeAll(files[2], "[grown-ups]\nchild-lock=false\n");
        QStringList reports;
        const SavedSettings s = zephyra::readSettingsFiles(files, &reports);
        QVERIFY(!s.choices.childLock);
        QCOMPARE(s.choices.playTime, std::chrono::milliseconds(60min));
        QCOMPARE(s.choices.volume, 20);
        QVERIFY(reports.isEmpty());

        // Unset or relative: the XDG base directories' defaults.
        qunsetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_HOME", "relative");
        QCOMPARE(zephyra::settingsFiles(),
                 (QStringList{"/etc/xdg/zephyra/zephyra.conf", QDir::homePath() + "/.config/zephyra/zephyra.conf"}));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void aSaveKeepsWhatWasWrittenByHand_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QStringList>("forget");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray choices =
            "child-lock=true\nminutes=30\neasy-play=true\nlanguage=de\nvolume=70\nremember-options=true\n";
        const QByteArray options = "balloon-size=large\nwasp-size=medium\npop-mode=right-click\nspeed=3\ninterval=3\n"
                                   "prize=true\nprize-after=20\npop-sound=true\n";
        const QStringList grownUps{zephyra::kChoicesSection}, optionsOnly{zephyra::kOptionsSection};
        QTest::newRow("a new file")
            << QByteArray() << grownUps << QStringList()
            << "# ZEPHYRA's settings for grown-ups (zephyra --grown-ups); its README names every key.\n[grown-ups]\n"
                   + choices;
        QTest::newRow("comments and unknown keys stay; values change in place; junk and repeats go")
            << QByteArray("# school\n[grown-ups]\nvolume=5\ncolour=red\nno setting\nvolume=9\n\n# end\n[other]\nx=1")
            << grownUps << QStringList()
            << QByteArray("# school\n[grown-ups]\nvolume=70\ncolour=red\nchild-lock=true\nminutes=30\neasy-play=true\n"
                   "language=de\nremember-options=true\n\n# end\n[other]\nx=1\n");
        QTest::newRow("options added after the choices")
            << QByteArray("[grown-ups]\n") + choices << optionsOnly << QStringList()
            << "[grown-ups]\n" + choices + "\n[options]\n" + options;
        QTest::newRow("options forgotten")
            << QByteArray("[options]\nspeed=1\n[grown-ups]\nminutes=5\n") << grownUps << optionsOnly
            << QByteArray("[grown-ups]\nminutes=30\nchild-lock=true\neasy-play=true\nlanguage=de\nvolume=70\n"
                          "remember-options=true\n");
    }
    void aSaveKeepsWhatWasWrittenByHand()
    {
        QFETCH(QByteArray, old);
        QFETCH(QStringList, sections);
        QFETCH(QStringList, forget);
        QFETCH(QByteArray, saved);
        SavedSettings s;
        s.choices = {.childLock = true, .playTime = 30min, .language = QStringLiteral("de"), .volume = 70,
                     .rememberOptions = true, .easyPlay = true};
        s.options.balloons = SizeChoice::Large;
        s.options.popMode = PopByRightClick;
        const QByteArray text = zephyra::updatedSettingsText(old, s, sections, forget);
        QCOMPARE(text, saved);
        SavedSettings back;
        zephyra::readSettingsText(text, back);
        QCOMPARE(back.choices.childLock, true);
        QCOMPARE(back.choices.easyPlay, true);
        QCOMPARE(back.choices.volume, 70);
    }

    // A save where the folder cannot be written (here a file stands in its
    // place, which stops root too) says why and changes nothing.
    void aFolderThatCannotBeWrittenSaysWhy()
    {
        QTemporaryDir dir;
        writeAll(dir.filePath("file"), "not a folder");
        QString why;
        QVERIFY(!zephyra::writeSettingsFile(dir.filePath("file/zephyra/zephyra.conf"), savedInTurn(1),
                                            {zephyra::kChoicesSection}, {}, &why));
        QVERIFY2(why.contains(QLatin1String("Not a directory")), qPrintable(why));
        QCOMPARE(readAll(dir.filePath("file")), QByteArray("not a folder"));
    }

    // Killed at any moment of saving, the file is the one before or the one
    // after, whole.
    void saveKilledMidwayLeavesAWholeFile()
    {
        if (qEnvironmentVariableIsSet("ZEPHYRA_NO_CHILD_PROCESSES"))
            QSKIP("this root cannot start a process (tools/check-arch)");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zephyra/zephyra.conf"));
        for (int kill = 0; kill < 40; ++kill) {
            QProcess saver;
            saver.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-forever"), path});
            QVERIFY(saver.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 10000);
            QTest::qWait(QRandomGenerator::global()->bounded(5, 40));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished());
            SavedSettings s;
            QVERIFY(zephyra::readSettingsFile(path, s).isEmpty());
            const SavedSettings expected = savedInTurn(s.choices.childLock);
            QCOMPARE(s.choices.volume, expected.choices.volume);
            QCOMPARE(s.choices.playTime, expected.choices.playTime);
            QCOMPARE(s.choices.language, expected.choices.language);
            QCOMPARE(s.optionsGiven, s.choices.rememberOptions);
            QCOMPARE(s.choices.rememberOptions, expected.choices.rememberOptions);
        }
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--save-forever") == 0)
        return saveForever(QString::fromLocal8Bit(argv[2]));
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings.moc"
