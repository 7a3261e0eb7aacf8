// The grown-ups' choices: the command line and the settings for grown-ups
// that set them, the child lock of a round, the play time, and the options
// remembered between starts; what both windows say when their file cannot be
// kept (a full disk), and what the corner says was left out.
#include "app/commandline.h"
#include "app/session.h"
#include "assets/PngImageList.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "menu/grownups.h"
#include "menu/menu.h"
#include "play/UnitPlay.h"
#include "menu/statusline.h"
#include "platform/single.h"
#include "platform/x11.h"
#include "play/input.h"
#include "play/overlays.h"
#include "tests/fixture.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Ticks of the Esc hold: one short of leaving, and enough.
constexpr int kHoldTicks = zephyra::kHoldToLeaveMs / kTickMs;

void writeFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(text), text.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int balloonsInFlight()
{
    const auto& field = Play->Slots();
    return int(std::count_if(field.begin(), field.end(), [](const TImage* s) { return !s->isHidden(); }));
}

}  // namespace

class ParentTest : public QObject {
    Q_OBJECT
private slots:
    // No settings file outlives its case.
    void cleanup()
    {
        QFile::remove(m_config.filePath("zephyra/zephyra.conf"));
        QFile::remove(m_config.filePath("zephyra/zephyra.conf.old"));
        QDir(m_config.filePath("system")).removeRecursively();
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_CONFIG_DIRS");
    }
    void commandLine_data();
    void commandLine();
    void lockedRoundLeavesOnlyByEscHeldAlone();
    void lockedRoundRefusesTheWindowSystem_data();
    void lockedRoundRefusesTheWindowSystem();
    void playTimeEndsWithTheGoodnightPicture_data();
    void playTimeEndsWithTheGoodnightPicture();
    void sessionEndsWithGoodnight_data();
    void sessionEndsWithGoodnight();
    void theCornersChoicesHoldAtTheNextStart();
    void aCornerThatCannotSaveOffersThisStart();
    void aFullDiskKeepsTheFileAndBothWindowsSaySo();
    void aFileLeftOutWholeIsShownAndKeptBesideOnSave();
    void listenPlaysThePopAtTheChosenLevel();
    void thePlayTimeBoxShowsWhatItKeeps();
    void rememberedOptionsComeBackAtTheNextStart_data();
    void rememberedOptionsComeBackAtTheNextStart();
    void aLaterStartsChoicesOnlyAdd_data();
    void aLaterStartsChoicesOnlyAdd();
    void choicesTravelAsOneWord_data();
    void choicesTravelAsOneWord();
    void theCornersWholeSetReachesTheRunningGame();
    void aGameOfAnEarlierVersionComesForwardAndTheStartSaysSo();

private:
    QTemporaryDir m_config;
};

void ParentTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("beforeGui");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("lock");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("says");  // part of the text, if any

    using L = zephyra::CommandLine;
    QTest::newRow("nothing") << QStringList{} << false << int(L::Play) << false << 0 << "";
    QTest::newRow("lock") << QStringList{"--child-lock"} << false << int(L::Play) << true << 0 << "";
    QTest::newRow("both, one dash") << QStringList{"-minutes", "240", "-child-lock"} << false << int(L::Play) << true
                                    << 240 << "";
    QTest::newRow("one minute") << QStringList{"--minutes=1"} << true << int(L::Play) << false << 1 << "";
    const QString range = "--minutes takes a whole number from 1 to 240";
    for (const char* bad : {"0", "241", "-3", "abc", "1e2", " 5", "99999999999"})
        QTest::newRow(qPrintable(QString("minutes %1").arg(bad)))
            << QStringList{"--minutes", bad} << true << int(L::Refuse) << false << 0 << range + ", not '" + bad + "'";
    QTest::newRow("no value") << QStringList{"--minutes"} << true << int(L::Refuse) << false << 0 << "Missing value";
    QTest::newRow("unknown") << QStringList{"--lock"} << true << int(L::Refuse) << false << 0 << "'lock'";
    QTest::newRow("stray word") << QStringList{"now"} << false << int(L::Refuse) << false << 0 << "'now'";
    // Before the QApplication, Qt's own options are not ours to refuse.
    QTest::newRow("Qt's option") << QStringList{"-platform", "xcb"} << true << int(L::Undecided) << false << 0 << "";
    QTest::newRow("help") << QStringList{"--help"} << true << int(L::Answer) << false << 0 << "--minutes <N>";
    QTest::newRow("help names the lock") << QStringList{"-h"} << true << int(L::Answer) << false << 0
                                         << "Play with child lock";
    QTest::newRow("easy play, locked") << QStringList{"--easy", "-child-lock"} << false << int(L::Play) << true << 0
                                       << "";
    QTest::newRow("help names easy play") << QStringList{"--help"} << true << int(L::Answer) << false << 0
                                          << "\"Easy play\"";
    QTest::newRow("help says where the settings are") << QStringList{"--help"} << true << int(L::Answer) << false
                                                      << 0 << "/zephyra/zephyra.conf.";
}

void ParentTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, beforeGui);
    QFETCH(int, outcome);
    QFETCH(bool, lock);
    QFETCH(int, minutes);
    QFETCH(QString, says);
    const zephyra::CommandLine line = zephyra::readCommandLine(QStringList{"zephyra"} + arguments, beforeGui);
    QCOMPARE(int(line.outcome), outcome);
    QVERIFY2(line.text.contains(says), qPrintable(line.text));
    QCOMPARE(line.choices.childLock, lock);
    QCOMPARE(line.choices.easyPlay, arguments.contains("--easy"));
    QCOMPARE(line.choices.playTime, std::chrono::milliseconds(std::chrono::minutes(minutes)));
    // A refusal is one line, as the program prints it.
    if (outcome == zephyra::CommandLine::Refuse)
        QVERIFY(!line.text.trimmed().contains('\n'));
}

void ParentTest::lockedRoundLeavesOnlyByEscHeldAlone()
{
    fixture::freshGame(20240611, {.childLock = true});
    START->show();
    const bool ended = fixture::playRound([] {
        // Esc alone, as an unlocked round takes it: nothing.
        QTest::keyClick(Play, Qt::Key_Escape);
        QVERIFY(Play->isVisible());
        // Held not quite long enough, then let go: the cue goes, and the
        // next hold starts over.
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks - 1);
        QVERIFY(Play->Lock().EscCue->isVisible());
        QVERIFY(Play->Lock().EscCue->Progress() > 0.9);
        QTest::keyRelease(Play, Qt::Key_Escape);
        QVERIFY(!Play->Lock().EscCue->isVisible());
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks - 1);
        QVERIFY(Play->isVisible());
        // A second key down stops the hold; letting it go does not resume it.
        QTest::keyPress(Play, Qt::Key_A);
        QTest::keyRelease(Play, Qt::Key_A);
        fixture::holdEsc(kHoldTicks);
        QVERIFY(Play->isVisible());
        QTest::keyRelease(Play, Qt::Key_Escape);
        // Esc with a modifier, or after another key, is no hold.
        QTest::keyPress(Play, Qt::Key_Escape, Qt::ShiftModifier);
        fixture::holdEsc(kHoldTicks);
        QTest::keyRelease(Play, Qt::Key_Escape, Qt::ShiftModifier);
        QTest::keyPress(Play, Qt::Key_A);
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
        QTest::keyRelease(Play, Qt::Key_Escape);
        QTest::keyRelease(Play, Qt::Key_A);
        QVERIFY(Play->isVisible());
        // Alone, long enough: the round ends and the start screen is back.
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
    });
    QVERIFY(ended);
    QVERIFY(START->isVisible());
    QVERIFY(!Play->Timer_B1->isActive() && !Play->Lock().TimerEsc->isActive());
    QVERIFY(!START->PlayRefused());
}

void ParentTest::lockedRoundRefusesTheWindowSystem_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close") << "close";
    QTest::newRow("Alt+F4") << "Alt+F4";
    QTest::newRow("minimise") << "minimise";
    QTest::newRow("window mode") << "window mode";
}

// Unlocked, each of these ends the round (the flow test's rows).
void ParentTest::lockedRoundRefusesTheWindowSystem()
{
    QFETCH(QString, how);
    fixture::freshGame(20240611, {.childLock = true});
    START->show();
    const bool ended = fixture::playRound([how] {
        if (how == QLatin1String("close"))
            Play->close();
        else if (how == QLatin1String("Alt+F4"))
            QTest::keyClick(Play, Qt::Key_F4, Qt::AltModifier);
        else if (how == QLatin1String("minimise"))
            Play->setWindowState(Play->windowState() | Qt::WindowMinimized);
        else
            Play->showNormal();
        QTest::qWait(200);  // the field takes the screen back queued
        QVERIFY(Play->isVisible());
        QCOMPARE(Play->windowState() & (Qt::WindowMinimized | Qt::WindowFullScreen), Qt::WindowFullScreen);
        QVERIFY(Play->TickTimer()->isActive());
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
    });
    QVERIFY(ended);
}

void ParentTest::sessionEndsWithGoodnight_data()
{
    QTest::addColumn<bool>("escHeld");  // by a grown-up over goodnight
    QTest::newRow("goodnight seen") << false;
    QTest::newRow("Esc held over goodnight") << true;
}

void ParentTest::sessionEndsWithGoodnight()
{
    QFETCH(bool, escHeld);
    const zephyra::CommandLine line = zephyra::readCommandLine({"zephyra", "--kiosk", "--minutes", "1"}, false);
    QVERIFY(line.session && line.choices.childLock);
    fixture::freshGame(20240611, {.childLock = true, .playTime = 3s});
    zephyra::Session session;
    QSignalSpy ended(&session, &zephyra::Session::ended);
    START->show();
    fixture::playRound([&] {
        for (int ticks = 0; !Play->ImageNight->isVisible() && ticks < 1000; ++ticks)
            Play->Timer_B1Timer();
        QVERIFY(Play->ImageNight->isVisible());
        QVERIFY(session.TimerNightOver->isActive());
        QCOMPARE(session.TimerNightOver->interval(), kNightPauseMs);
        QCOMPARE(ended.count(), 0);
        if (!escHeld) {
            session.TimerNightOver->start(0);
            QTRY_COMPARE(ended.count(), 1);
            ended.clear();
        }
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
        QTest::keyRelease(Play, Qt::Key_Escape);
    });
    QCOMPARE(ended.count(), 1);
}

void ParentTest::playTimeEndsWithTheGoodnightPicture_data()
{
    QTest::addColumn<bool>("lock");
    QTest::addColumn<bool>("closed");  // by the window system, before the pause ends
    QTest::newRow("unlocked") << false << false;
    QTest::newRow("unlocked, closed") << false << true;
    QTest::newRow("locked") << true << false;
}

void ParentTest::playTimeEndsWithTheGoodnightPicture()
{
    QFETCH(bool, lock);
    QFETCH(bool, closed);
    fixture::freshGame(20240611, {.childLock = lock, .playTime = 3s});
    START->show();
    const bool ended = fixture::playRound([lock, closed] {
        // Play until the time is up, with balloons in flight.
        int ticks = 0;
        while (!Play->TimeIsUp() && ticks++ < 1000)
            Play->Timer_B1Timer();
        QVERIFY(Play->TimeIsUp());
        QCOMPARE(ticks, 3000 / kTickMs);
        int flying = balloonsInFlight();
        QVERIFY(flying > 0);
        QVERIFY(!Play->ImageNight->isVisible());
        // None rises, and all are gone within the float-away ticks.
        for (int i = 0; i <= kFloatAwayTicks && Play->Timer_B1->isActive(); ++i) {
            Play->Timer_B1Timer();
            QVERIFY(balloonsInFlight() <= flying);
            flying = balloonsInFlight();
        }
        QCOMPARE(balloonsInFlight(), 0);
        QVERIFY(!Play->Timer_B1->isActive());
        QVERIFY(Play->Dusk->isVisible() && Play->ImageNight->isVisible());
        QVERIFY(!Play->ImageNight->Picture().isNull());
        QCOMPARE(fixture::sounds().back(), zephyra::SoundId::Lullaby);
        // Without the lock it goes after its pause; with it, it stays.
        QCOMPARE(Play->TimerNight->isActive(), !lock);
        QCOMPARE(Play->TimerNight->interval(), kNightPauseMs);
        if (closed)
            Play->close();
        else if (!lock)
            Play->TimerNightTimer();
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
    });
    QVERIFY(ended);
    QVERIFY(START->isVisible());
    QVERIFY(!Play->ImageNight->isVisible() && !Play->Dusk->isVisible());
    // With the lock, Play stays closed and the start screen says why, and
    // speaks of no play time left; without it, the next one is all there.
    QCOMPARE(START->PlayRefused(), lock);
    QCOMPARE(START->ImageRest->isVisible(), lock);
    QCOMPARE(START->StatusLine->Text().contains("Play time left: 1 min"), !lock);
    QTest::keyRelease(Play, Qt::Key_Escape);
    if (lock) {
        START->B_PlayClick();
        QVERIFY(START->isVisible() && !Play->isVisible());
        // Play looks closed: grey, faded, and it never lights.
        START->B_PlayMouseMove();
        QVERIFY(!START->ButtonsLit());
        const QImage closed = START->B_Play->Picture();
        QCOMPARE(closed.size(), START->PngImageCollectionButton->Items()->Items(0)->PngImage().size());
        int mostInk = 0;
        for (int y = 0; y < closed.height(); ++y)
            for (int x = 0; x < closed.width(); ++x) {
                const QRgb p = closed.pixel(x, y);
                QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
                mostInk = std::max(mostInk, qAlpha(p));
            }
        QVERIFY(mostInk > 0 && mostInk < 128);
        return;
    }
    // Without it, the next round begins a new play time.
    bool played = false;
    QTimer::singleShot(0, Play, [&played] {
        played = Play->isVisible() && !Play->TimeIsUp();
        Play->close();
    });
    START->B_PlayClick();
    QVERIFY(played);
}

// A grown-up sets the lock, easy play and types 3 minutes, and saves; the
// next start reads them as the program does, and its round is locked and
// ends after 3 minutes. The school's volume is not copied into the user's
// file, so its later change still reaches the user.
void ParentTest::theCornersChoicesHoldAtTheNextStart()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    qputenv("XDG_CONFIG_DIRS", m_config.filePath("system").toUtf8());
    const QString system = m_config.filePath("system/zephyra/zephyra.conf");
    writeFile(system, "[grown-ups]\nvolume=20\n");
    {
        TGrownUps corner(zephyra::readSettingsFiles(zephyra::settingsFiles(), nullptr), fixture::recorder());
        corner.show();
        corner.findChild<QCheckBox*>("child-lock")->setChecked(true);
        auto* minutes = corner.findChild<QSpinBox*>("minutes");
        minutes->selectAll();
        QTest::keyClicks(minutes, "3");
        QCOMPARE(minutes->text(), "3");
        corner.findChild<QCheckBox*>("easy-play")->setChecked(true);
        corner.findChild<QPushButton*>("Save")->click();
        QCOMPARE(corner.result(), int(QDialog::Accepted));
        QVERIFY(!corner.isVisible());
    }
    QVERIFY(!readFile(zephyra::userSettingsFile()).contains("volume"));
    writeFile(system, "[grown-ups]\nvolume=30\n");
    QStringList reports;
    const zephyra::SavedSettings saved = zephyra::readSettingsFiles(zephyra::settingsFiles(), &reports);
    QVERIFY(reports.isEmpty());
    QCOMPARE(saved.choices.volume, 30);
    const zephyra::CommandLine line = zephyra::readCommandLine({"zephyra"}, false, saved.choices);
    QVERIFY(line.choices.easyPlay);
    // The command line's play time wins over the file's.
    QCOMPARE(zephyra::readCommandLine({"zephyra", "--minutes", "2"}, false, saved.choices).choices.playTime,
             std::chrono::milliseconds(2min));
    fixture::freshGame(20240611, line.choices);
    START->show();
    int ticks = 0;
    const bool ended = fixture::playRound([&ticks] {
        while (!Play->TimeIsUp() && ticks < 20000) {
            Play->Timer_B1Timer();
            ++ticks;
        }
        QTest::keyClick(Play, Qt::Key_Escape);
        QVERIFY(Play->isVisible());
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
    });
    QVERIFY(ended);
    QCOMPARE(ticks, 3 * 60 * 1000 / kTickMs);
    QVERIFY(START->PlayRefused());
}

// Where the folder cannot be written (a file stands in its place), the
// window says so and offers the choices for this start.
void ParentTest::aCornerThatCannotSaveOffersThisStart()
{
    QFile file(m_config.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", m_config.filePath("file").toUtf8());
    TGrownUps corner({}, fixture::recorder());
    corner.show();
    QSignalSpy play(&corner, &TGrownUps::playRequested);
    corner.findChild<QCheckBox*>("child-lock")->setChecked(true);
    corner.findChild<QPushButton*>("Save")->click();
    QVERIFY(corner.isVisible());
    const QLabel* trouble = corner.findChild<QLabel*>("Trouble");
    QVERIFY(trouble->isVisible());
    QVERIFY2(trouble->text().contains(m_config.filePath("file") + " is a file, not a folder"),
             qPrintable(trouble->text()));
    QVERIFY(play.isEmpty());
    corner.findChild<QPushButton*>("PlayNow")->click();
    QCOMPARE(play.size(), 1);
    QVERIFY(play[0][0].value<zephyra::ParentChoices>().childLock);
    QVERIFY(!corner.isVisible());
}

// A full disk: the corner's Save and the options' Save (which a child can
// reach) leave the file as it was, byte for byte, and each says so where
// the one who saved looks.
void ParentTest::aFullDiskKeepsTheFileAndBothWindowsSaySo()
{
    const QString disk = m_config.filePath("disk");
    QVERIFY(QDir().mkpath(disk));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", disk}) != 0)
        QSKIP("a small disk cannot be mounted here (the suite mounts a tmpfs as root)");
    const auto unmount = qScopeGuard([&disk] { QProcess::execute("umount", {disk}); });
    qputenv("XDG_CONFIG_HOME", disk.toUtf8());
    qputenv("XDG_CONFIG_DIRS", m_config.filePath("none").toUtf8());
    const QString file = zephyra::userSettingsFile();
    const QByteArray kept = "[grown-ups]\nchild-lock=true\nminutes=30\nremember-options=true\n"
                            "[options]\nballoon-size=large\n";
    writeFile(file, kept);
    QFile filler(disk + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'x')) == 512) {
    }
    const zephyra::SavedSettings saved = zephyra::readSettingsFiles(zephyra::settingsFiles(), nullptr);
    {
        TGrownUps corner(saved, fixture::recorder());
        corner.show();
        corner.findChild<QSlider*>("volume")->setValue(40);
        corner.findChild<QPushButton*>("Save")->click();
        QVERIFY(corner.isVisible());
        const QString said = corner.findChild<QLabel*>("Trouble")->text();
        QVERIFY2(said.contains(file + ": the disk is full."), qPrintable(said));
    }
    QCOMPARE(readFile(file), kept);

    QStringList boxes;
    zephyra::setMessagePresenter([&boxes](QMessageBox::Icon, const QString&, const QString& text) { boxes << text; });
    const auto presenter = qScopeGuard([] { zephyra::setMessagePresenter({}); });
    fixture::freshGame(20240611, saved.choices, &saved.options);
    START->B_OptionsClick();
    QVERIFY(fixture::option<QRadioButton>("RadioButton2")->isChecked());
    fixture::option<QRadioButton>("RadioButton3")->setChecked(true);
    fixture::option<QPushButton>("Button1")->click();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(file + ": the disk is full"), qPrintable(boxes[0]));
    QCOMPARE(GameSettings.BalloonWidth, 80);  // in force until the game ends
    QCOMPARE(readFile(file), kept);
    QCOMPARE(QDir(disk + "/zephyra").entryList(QDir::Files), QStringList{"zephyra.conf"});
}

// A file too large to be a settings file (notes kept in it) is named in the
// corner's one line; its Save keeps the old file beside the new one.
void ParentTest::aFileLeftOutWholeIsShownAndKeptBesideOnSave()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    qputenv("XDG_CONFIG_DIRS", m_config.filePath("none").toUtf8());
    const QString file = zephyra::userSettingsFile();
    const QByteArray notes = "[grown-ups]\nchild-lock=true\n" + QByteArray(135073 - 28, '#');
    writeFile(file, notes);
    QStringList reports;
    TGrownUps corner(zephyra::readSettingsFiles(zephyra::settingsFiles(), &reports), fixture::recorder(), reports);
    corner.show();
    const QLabel* line = corner.findChild<QLabel*>("LeftOut");
    QVERIFY(line->isVisible());
    QCOMPARE(line->text(), "Left out when this window opened: " + file
                               + ": left out the whole file (larger than 64 KB). Save keeps that file as " + file
                               + ".old and writes a new one.");
    corner.findChild<QPushButton*>("Save")->click();
    QCOMPARE(corner.result(), int(QDialog::Accepted));
    QCOMPARE(readFile(file + ".old"), notes);
    reports.clear();
    zephyra::readSettingsFiles(zephyra::settingsFiles(), &reports);
    QVERIFY(reports.isEmpty());
}

void ParentTest::listenPlaysThePopAtTheChosenLevel()
{
    TGrownUps corner({}, fixture::recorder());
    fixture::clearSounds();
    corner.findChild<QSlider*>("volume")->setValue(40);
    corner.findChild<QPushButton*>("Listen")->click();
    QCOMPARE(fixture::recorder().level, 40);
    QCOMPARE(fixture::sounds(), std::vector<zephyra::SoundId>{zephyra::SoundId::Pop});
}

// None, or 1 to 240; a text it cannot take (emptied) shows again what it keeps.
void ParentTest::thePlayTimeBoxShowsWhatItKeeps()
{
    TGrownUps corner({}, fixture::recorder());
    auto* minutes = corner.findChild<QSpinBox*>("minutes");
    QCOMPARE(minutes->text(), "No limit");
    minutes->stepUp();
    QCOMPARE(minutes->value(), 1);
    minutes->selectAll();
    QTest::keyClicks(minutes, "45");
    QTest::keyClick(minutes, Qt::Key_Backspace);
    QTest::keyClick(minutes, Qt::Key_Backspace);
    QCOMPARE(minutes->text(), "");
    QCOMPARE(corner.Chosen().choices.playTime, std::chrono::milliseconds(4min));
    QCOMPARE(minutes->text(), "4");
}

void ParentTest::rememberedOptionsComeBackAtTheNextStart_data()
{
    QTest::addColumn<bool>("remember");
    QTest::newRow("remembered") << true;
    QTest::newRow("not remembered: the start values") << false;
}

void ParentTest::rememberedOptionsComeBackAtTheNextStart()
{
    QFETCH(bool, remember);
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    qputenv("XDG_CONFIG_DIRS", m_config.filePath("none").toUtf8());
    // Large balloons and the left click, saved in the options dialog.
    fixture::freshGame(20240611, {.rememberOptions = remember});
    START->B_OptionsClick();
    fixture::option<QRadioButton>("RadioButton2")->setChecked(true);
    fixture::option<QRadioButton>("RadioButton8")->setChecked(true);
    fixture::option<QPushButton>("Button1")->click();
    QCOMPARE(QFile::exists(zephyra::userSettingsFile()), remember);
    // A start with the remembering on in the file, whatever this one had.
    zephyra::SavedSettings saved = zephyra::readSettingsFiles(zephyra::settingsFiles(), nullptr);
    saved.choices.rememberOptions = true;
    fixture::freshGame(20240611, saved.choices, saved.optionsGiven ? &saved.options : nullptr);
    QCOMPARE(Play->Slots()[0]->width(), remember ? 170 : 130);
    QCOMPARE(GameSettings.PopMode, remember ? PopByLeftClick : PopByMove);
    QCOMPARE(GameSettings.LaunchInterval, 1000);
    START->B_OptionsClick();
    QCOMPARE(fixture::option<QRadioButton>("RadioButton2")->isChecked(), remember);
    fixture::option<QPushButton>("Button2")->click();
}

QTEST_MAIN(ParentTest)
void ParentTest::aLaterStartsChoicesOnlyAdd_data()
{
    using zephyra::ParentChoices;
    QTest::addColumn<ParentChoices>("started");
    QTest::addColumn<ParentChoices>("handed");
    QTest::addColumn<bool>("duringRound");
    QTest::addColumn<bool>("locked");     // the round, from when they are handed
    QTest::addColumn<int>("ticksLeft");   // until play time is up, from then; 0: no limit
    QTest::addColumn<bool>("easyLater");  // easy play in the next round

    const ParentChoices none;
    QTest::newRow("lock, on the start screen") << none << ParentChoices{.childLock = true} << false << true << 0
                                               << false;
    QTest::newRow("lock, in a round under way") << none << ParentChoices{.childLock = true} << true << true << 0
                                                << false;
    QTest::newRow("a plain start keeps the lock") << ParentChoices{.childLock = true} << none << true << true << 0
                                                  << false;
    QTest::newRow("play time, in a round under way") << none << ParentChoices{.playTime = 1min} << true << false
                                                     << 60000 / kTickMs << false;
    QTest::newRow("a longer play time adds none") << ParentChoices{.playTime = 3s} << ParentChoices{.playTime = 20min}
                                                  << true << false << 3000 / kTickMs << false;
    QTest::newRow("easy play, from the next round") << none << ParentChoices{.easyPlay = true} << true << false << 0
                                                    << true;
}

// What a later start hands the running game (zephyra::takeChoices, as the
// one-game channel calls it) adds to what is in force and never takes away;
// the start screen says what is on.
void ParentTest::aLaterStartsChoicesOnlyAdd()
{
    QFETCH(zephyra::ParentChoices, started);
    QFETCH(zephyra::ParentChoices, handed);
    QFETCH(bool, duringRound);
    QFETCH(bool, locked);
    QFETCH(int, ticksLeft);
    QFETCH(bool, easyLater);
    fixture::freshGame(20240611, started);
    START->show();
    // Nothing chosen, nothing said: the start screen as it always was.
    QCOMPARE(START->StatusLine->isVisible(), started.childLock || started.playTime.count() > 0);
    QString notTaken;
    const auto hand = [&] { notTaken = zephyra::takeChoices({handed}); };
    if (!duringRound)
        hand();
    const bool ended = fixture::playRound([&] {
        const bool easyBefore = Play->Input->EasyPlay();
        if (duringRound)
            hand();
        QCOMPARE(Play->Lock().isOn(), locked);
        QCOMPARE(Play->Input->EasyPlay(), easyBefore);
        if (locked) {
            QTest::keyClick(Play, Qt::Key_Escape);
            QTest::keyClick(Play, Qt::Key_F4, Qt::AltModifier);
            QVERIFY(Play->isVisible());
            QTest::keyPress(Play, Qt::Key_Escape);
            fixture::holdEsc(kHoldTicks);
            return;
        }
        int ticks = 0;
        while (ticksLeft && !Play->TimeIsUp() && ticks < 2 * ticksLeft) {
            Play->Timer_B1Timer();
            ++ticks;
        }
        QCOMPARE(ticks, ticksLeft);
        QTest::keyClick(Play, Qt::Key_Escape);
    });
    QVERIFY(ended);
    // The lock says where it cannot hold, and only there.
    QCOMPARE(notTaken.isEmpty(), !handed.childLock || zephyra::inputHoldsPossible());
    const QString line = START->StatusLine->Text();
    QCOMPARE(line.contains("Child lock on"), locked);
    QCOMPARE(line.contains("Easy play"), easyLater);
    QCOMPARE(Play->InForce().easyPlay, easyLater);
    bool easyNext = false;
    QTimer::singleShot(0, Play, [&easyNext] {
        easyNext = Play->Input->EasyPlay();
        QTest::keyPress(Play, Qt::Key_Escape);
        fixture::holdEsc(kHoldTicks);
        QTest::keyClick(Play, Qt::Key_Escape);
    });
    START->B_PlayClick();
    QCOMPARE(easyNext, easyLater);
}

void ParentTest::choicesTravelAsOneWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("lock");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("easy");
    using zephyra::encodeChoices;
    QTest::newRow("nothing") << encodeChoices({}) << false << 0 << false;
    QTest::newRow("all") << encodeChoices({.childLock = true, .playTime = 20min, .easyPlay = true}) << true << 20
                         << true;
    QTest::newRow("minutes alone") << encodeChoices({.playTime = 240min}) << false << 240 << false;
    // Another process's word: nothing it does not say right comes through.
    QTest::newRow("too long a play time") << "play-time-ms=14400001" << false << 0 << false;
    QTest::newRow("a negative one") << "play-time-ms=-5,easy-play" << false << 0 << true;
    QTest::newRow("not a number") << "play-time-ms=1e9,child-lock" << true << 0 << false;
    QTest::newRow("words unknown or half") << "child-lockx,easy,,=" << false << 0 << false;
    QTest::newRow("a volume and a language we lack") << "volume=101,language=xx,volume=x" << false << 0 << false;
}

void ParentTest::choicesTravelAsOneWord()
{
    QFETCH(QString, word);
    QFETCH(bool, lock);
    QFETCH(int, minutes);
    QFETCH(bool, easy);
    QVERIFY(!word.contains(' '));
    const zephyra::HandedChoices read = zephyra::decodeChoices(word);
    QCOMPARE(read.choices.childLock, lock);
    QCOMPARE(read.choices.playTime, std::chrono::milliseconds(std::chrono::minutes(minutes)));
    QCOMPARE(read.choices.easyPlay, easy);
    QVERIFY(!read.withVolume && !read.withLanguage);
}

// "Play with these settings" hands the whole set: the volume holds at once,
// and the running game says it keeps its language.
void ParentTest::theCornersWholeSetReachesTheRunningGame()
{
    fixture::freshGame();
    START->show();
    const QString word = zephyra::encodeChoices({.language = "de", .volume = 30}, true);
    const QString notTaken = zephyra::takeChoices(zephyra::decodeChoices(word));
    QCOMPARE(fixture::recorder().level, 30);
    QVERIFY2(notTaken.contains("keeps its language"), qPrintable(notTaken));
    // Nothing else was chosen: the start screen says nothing.
    QVERIFY(!START->StatusLine->isVisible());
    QVERIFY(zephyra::takeChoices(zephyra::decodeChoices(zephyra::encodeChoices({.volume = 0}, true))).isEmpty());
    QCOMPARE(fixture::recorder().level, 0);
}

// A game of an earlier version knows "front" and no choices: it closes on
// them without a word. The later start brings it forward all the same and
// says that its choices did not reach it, instead of ending silently.
void ParentTest::aGameOfAnEarlierVersionComesForwardAndTheStartSaysSo()
{
    QTemporaryDir runtime;
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtimeWas = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&] {
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
        qputenv("XDG_RUNTIME_DIR", runtimeWas);
    });
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString appId = QStringLiteral("test.zephyra.earlier");
    QStringList sockets;
    {
        zephyra::OneGame place(appId, [] { return false; });
        QVERIFY(place.claim(QString()));
        sockets = QDir(runtime.path()).entryList({QStringLiteral("*.socket")}, QDir::System);
        place.release();
    }
    QCOMPARE(sockets.size(), 1);
    const QByteArray path = QFile::encodeName(runtime.filePath(sockets.first()));
    QFile::remove(QFile::decodeName(path));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QVERIFY(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
    QVERIFY(::listen(listener, 4) == 0);
    // The earlier game: "ok" to "front", a closed socket to anything else.
    QByteArrayList heard;
    std::thread earlier([&] {
        pollfd wait{listener, POLLIN, 0};
        while (heard.size() < 20 && ::poll(&wait, 1, 5000) == 1) {
            const int caller = ::accept(listener, nullptr, nullptr);
            char line[256] = {};
            const ssize_t got = ::read(caller, line, sizeof line - 1);
            heard << QByteArray(line, int(std::max<ssize_t>(got, 0))).split(' ').first();
            if (heard.last() == "front" && ::write(caller, "ok\n", 3) == 3) {
                ::close(caller);
                break;
            }
            ::close(caller);
        }
    });
    zephyra::OneGame later(appId, [] { return false; }, [](const zephyra::HandedChoices&) { return QString(); });
    QString notTaken;
    const bool claimed = later.claim(QString(), {.childLock = true}, &notTaken);
    earlier.join();
    later.release();
    ::close(listener);
    QVERIFY(!claimed);
    QCOMPARE(heard, (QByteArrayList{"choose", "front"}));
    QVERIFY2(notTaken.contains("earlier version"), qPrintable(notTaken));
}

#include "test_parent.moc"
