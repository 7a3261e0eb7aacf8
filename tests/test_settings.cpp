// The settings file: what it gives from damaged, unknown and impossible
// values and what it reports; what is no file, left out whole without
// waiting; the system's files, then the user's; a save that keeps what a
// grown-up wrote by hand and only what differs from the system's, goes
// through a link to a file, refuses in words what it cannot save and changes
// nothing then, and leaves a whole file and no leftovers when killed.
#include "settings/settingsfile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
    s.options.BalloonImageBase = balloonSizeRow(SizeChoice::Large).imageBase;
    return s;
}

const QStringList kBoth{zephyra::kChoicesSection, zephyra::kOptionsSection};

// Root passes every mode: a case about modes acts as nobody while this lives.
// Root's own groups go too: as a member of root's group (chroot --userspec
// gives root that), nobody would pass or fail by the group's bits.
class AnotherUser {
public:
    explicit AnotherUser(bool asked) : m_root(asked && ::geteuid() == 0)
    {
        if (!m_root)
            return;
        m_groups.resize(std::size_t(std::max(0, ::getgroups(0, nullptr))));
        if (::getgroups(int(m_groups.size()), m_groups.data()) != int(m_groups.size()) || ::setgroups(0, nullptr) != 0
            || ::setegid(65534) != 0 || ::seteuid(65534) != 0)
            qFatal("cannot act as another user");
    }
    ~AnotherUser()
    {
        if (m_root && (::seteuid(0) != 0 || ::setegid(0) != 0 || ::setgroups(m_groups.size(), m_groups.data()) != 0))
            qFatal("cannot act as root again");
    }

private:
    const bool m_root;
    std::vector<gid_t> m_groups;
};

// Run as a child by saveKilledMidwayLeavesAWholeFile: saves for ever.
int saveForever(const QString& path)
{
    for (int turn = 0;; ++turn) {
        const bool remember = turn % 2;
        zephyra::writeSettingsFile(path, savedInTurn(turn), remember ? kBoth : QStringList{zephyra::kChoicesSection},
                                   remember ? QStringList{} : QStringList{zephyra::kOptionsSection}, {});
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
            << QByteArray("[grown-ups]\nminutes=3\nminutes=10000\nvolume=-3\nlanguage=xx\nchild-lock=maybe\nminutes=-1\n"
                          "volume=7O\n")
            << false << 3 << "" << 100
            << QStringList{"minutes=10000 (line 3: not 1 to 240, or 0)", "volume=-3 (line 4: not 0 to 100)",
                           "language=xx (line 5: not empty or one of en, ru, de, fr, es, uk)",
                           "child-lock=maybe (line 6: not true or false)", "minutes=-1 (line 7", "volume=7O (line 8"};
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

    // What cannot be a settings file is left out whole, in one line naming
    // it, at once: a pipe or a device is never opened.
    void aFileLeftOutWholeIsNamedInOneLine_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("1 MB of junk") << "junk" << "the whole file (larger than 64 KB)";
        QTest::newRow("a folder") << "folder" << "the whole file (it is a folder)";
        QTest::newRow("a pipe") << "pipe" << "the whole file (it is no regular file)";
        QTest::newRow("a link to a device") << "device" << "the whole file (it is no regular file)";
        QTest::newRow("a loop of links") << "loop" << "the whole file (a link that leads nowhere)";
    }
    void aFileLeftOutWholeIsNamedInOneLine()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zephyra/zephyra.conf"));
        QVERIFY(QDir().mkpath(dir.filePath("zephyra")));
        if (kind == "junk")
            writeAll(path, "[grown-ups]\nchild-lock=true\n" + QByteArray(1 << 20, '\x9c'));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "pipe")
            QCOMPARE(::mkfifo(qPrintable(path), 0644), 0);
        else if (kind == "device")
            QVERIFY(QFile::link("/dev/zero", path));
        else
            QVERIFY(QFile::link(path, path));
        QStringList reports;
        const SavedSettings s = zephyra::readSettingsFiles({path}, &reports);
        QVERIFY(!s.choices.childLock);
        QCOMPARE(reports, QStringList{path + ": left out " + says});
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
        // No $HOME: the user's home as the password database has it, not "/".
        const QByteArray homeVariable = qgetenv("HOME");
        qunsetenv("HOME");
        const QString file = zephyra::userSettingsFile();
        qputenv("HOME", homeVariable);
        QCOMPARE(file, QFile::decodeName(::getpwuid(::getuid())->pw_dir) + "/.config/zephyra/zephyra.conf");
    }

    void aSaveKeepsWhatWasWrittenByHand_data()
    {
        QTest::addColumn<QByteArray>("system");  // what the system's file says
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QStringList>("forget");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray choices =
            "child-lock=true\nminutes=30\neasy-play=true\nlanguage=de\nvolume=70\nremember-options=true\n";
        const QStringList grownUps{zephyra::kChoicesSection}, optionsOnly{zephyra::kOptionsSection};
        QTest::newRow("a new file")
            << QByteArray() << QByteArray() << grownUps << QStringList()
            << "# ZEPHYRA's settings for grown-ups (zephyra --grown-ups); its README names every key.\n[grown-ups]\n"
                   + choices;
        QTest::newRow("comments, notes and unknown keys stay; values change in place; repeats go")
            << QByteArray()
            << QByteArray("# school\n[grown-ups]\nvolume=5\ncolour=red\nno setting\nvolume=9\n\n# end\n[other]\nx=1")
            << grownUps << QStringList()
            << QByteArray("# school\n[grown-ups]\nvolume=70\ncolour=red\nchild-lock=true\nminutes=30\neasy-play=true\n"
                          "language=de\nremember-options=true\nno setting\n\n# end\n[other]\nx=1");
        QTest::newRow("by hand: spelling, a comment after a value, CRLF, a key before any section")
            << QByteArray()
            << QByteArray("# ours\r\nvolume=1\r\n[Grown-Ups]\r\n  Child-Lock = Yes # on\r\nMinutes = 5   ; short\r\n"
                          "language=;x\r\n")
            << grownUps << QStringList()
            << QByteArray("# ours\r\nvolume=1\r\n[Grown-Ups]\r\n  Child-Lock = Yes # on\r\nMinutes = 30   ; short\r\n"
                          "language=de ;x\r\neasy-play=true\r\nvolume=70\r\nremember-options=true\r\n");
        QTest::newRow("options: only those not at their start values")
            << QByteArray() << QByteArray("[grown-ups]\n") + choices << optionsOnly << QStringList()
            << "[grown-ups]\n" + choices + "\n[options]\nballoon-size=large\npop-mode=right-click\n";
        QTest::newRow("options forgotten; what else their section held stays")
            << QByteArray() << QByteArray("[options]\n# kept by hand\nspeed=1\n[grown-ups]\nminutes=5\n") << grownUps
            << optionsOnly
            << QByteArray("[options]\n# kept by hand\n[grown-ups]\nminutes=30\nchild-lock=true\neasy-play=true\n"
                          "language=de\nvolume=70\nremember-options=true\n");
        // What the system gives is not written, unless this file already sets it.
        QTest::newRow("only what differs from the system's")
            << QByteArray("[grown-ups]\nchild-lock=true\nminutes=30\nlanguage=de\n")
            << QByteArray("[grown-ups]\nlanguage=de\n") << grownUps << QStringList()
            << QByteArray("[grown-ups]\nlanguage=de\neasy-play=true\nvolume=70\nremember-options=true\n");
    }
    void aSaveKeepsWhatWasWrittenByHand()
    {
        QFETCH(QByteArray, system);
        QFETCH(QByteArray, old);
        QFETCH(QStringList, sections);
        QFETCH(QStringList, forget);
        QFETCH(QByteArray, saved);
        SavedSettings s;
        s.choices = {.childLock = true, .playTime = 30min, .language = QStringLiteral("de"), .volume = 70,
                     .rememberOptions = true, .easyPlay = true};
        s.options.BalloonImageBase = balloonSizeRow(SizeChoice::Large).imageBase;
        s.options.PopMode = PopByRightClick;
        SavedSettings base;
        zephyra::readSettingsText(system, base);
        const QByteArray text = zephyra::updatedSettingsText(old, s, sections, forget, base);
        QCOMPARE(text, saved);
        // Read over the system's, it gives every value saved.
        SavedSettings back = base;
        zephyra::readSettingsText(text, back);
        for (const zephyra::SavedKey& row : zephyra::savedKeys())
            if (sections.contains(row.section))
                QCOMPARE(row.get(back), row.get(s));
    }

    // A link to a file, as dotfile managers keep settings, is saved through:
    // the link stays, its file gets the settings and keeps its notes, and
    // its owner when root saves it.
    void aLinkToAFileIsSavedThrough()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("dotfiles/zephyra.conf"), path = dir.filePath("config/zephyra.conf");
        writeAll(target, "# mine\n[grown-ups]\nvolume=40\n");
        const uint owner = ::geteuid() == 0 ? 65534 : ::geteuid();
        QCOMPARE(::chown(qPrintable(target), owner, gid_t(-1)), 0);
        QVERIFY(QDir().mkpath(dir.filePath("config")));
        QVERIFY(QFile::link("../dotfiles/zephyra.conf", path));
        QVERIFY(!zephyra::writeSettingsFile(path, savedInTurn(1), {zephyra::kChoicesSection}, {}, {}));
        QCOMPARE(QFileInfo(path).symLinkTarget(), target);
        QCOMPARE(QFileInfo(target).ownerId(), owner);
        QVERIFY(readAll(target).startsWith("# mine\n[grown-ups]\nvolume=80\nchild-lock=true\n"));
        QCOMPARE(QDir(dir.filePath("dotfiles")).entryList(QDir::Files), QStringList{"zephyra.conf"});
    }

    // What a save cannot do it refuses, naming the true cause, and the file,
    // the link or the device stays as it was.
    void aSaveThatCannotBeMadeSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");  // %1: the temporary folder
        QTest::newRow("a file where the folder should be") << "file" << "%1/file is a file, not a folder";
        QTest::newRow("a folder in the file's place") << "folder" << "%1/zephyra.conf is a folder, not a file";
        QTest::newRow("a link to a device") << "device" << "it is a link to /dev/null, which is no regular file";
        QTest::newRow("a link that leads nowhere") << "nowhere" << "%1/zephyra.conf is a link that leads nowhere";
        QTest::newRow("a read-only file") << "read-only" << "the file %1/zephyra.conf is read-only";
        QTest::newRow("a folder that cannot be written") << "locked" << "the folder %1 cannot be written";
    }
    void aSaveThatCannotBeMadeSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                              | QFile::ExeOther);
        QString path = dir.filePath("zephyra.conf");
        const QByteArray old = "# by hand\n[grown-ups]\nvolume=5\n";
        if (kind == "file") {
            writeAll(dir.filePath("file"), old);
            path = dir.filePath("file/zephyra/zephyra.conf");
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == "device") {
            QVERIFY(QFile::link("/dev/null", path));
        } else if (kind == "nowhere") {
            QVERIFY(QFile::link(dir.filePath("gone"), path));
        } else {
            writeAll(path, old);
            if (kind == "locked")
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::WriteOther));
            QVERIFY(QFile::setPermissions(kind == "read-only" ? path : dir.path(),
                                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        }
        const QFileInfo before(path);
        zephyra::SaveTrouble trouble;
        {
            const AnotherUser other(kind == "read-only" || kind == "locked");
            trouble = zephyra::writeSettingsFile(path, savedInTurn(1), {zephyra::kChoicesSection}, {}, {});
        }
        QCOMPARE(zephyra::troubleText(trouble), says.contains("%1") ? says.arg(dir.path()) : says);
        const QFileInfo after(path);
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(after.isDir(), before.isDir());
        QVERIFY(QFileInfo("/dev/null").isFile() == false && QFileInfo("/dev/null").exists());
        if (kind == "read-only" || kind == "locked" || kind == "file")
            QCOMPARE(readAll(kind == "file" ? dir.filePath("file") : path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 1);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
        // The next save clears what a killed one left, but not the new file
        // of a save still under way (it holds its lock).
        const QDir folder(dir.filePath("zephyra"));
        writeAll(folder.filePath("zephyra.conf.Left01"), "left by a killed save");
        QFile live(folder.filePath("zephyra.conf.Live01"));
        QVERIFY(live.open(QIODevice::WriteOnly));
        QCOMPARE(::flock(live.handle(), LOCK_EX), 0);
        SavedSettings other;
        other.choices.volume = 55;
        QVERIFY(!zephyra::writeSettingsFile(path, other, kBoth, {}, {}));
        QCOMPARE(folder.entryList(QDir::Files), (QStringList{"zephyra.conf", "zephyra.conf.Live01"}));
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
