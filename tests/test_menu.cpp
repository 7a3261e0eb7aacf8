// The start screen (hover lighting, loading the options dialog, Play) and the
// options dialog (Save, Cancel, the close box, the prize-count conversion and
// its error box, the layout with the system font).
#include "app/session.h"
#include "assets/PngImageList.h"
#include "base/convert.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/sound.h"
#include "play/UnitPlay.h"
#include "settings/GameSettings.h"
#include "tests/fit.h"
#include "tests/fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QtTest>

namespace {

struct Box {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
};

int visibleWindows()
{
    return int(START->isVisible()) + int(Play->isVisible()) + int(Options->isVisible());
}

const QImage& buttonItem(int index)
{
    return START->PngImageCollectionButton->Items()->Items(index)->PngImage();
}

// The pictures the three buttons really hold, as item indexes (-1: none of them).
QList<int> buttonPictures()
{
    QList<int> result;
    for (TImage* b : {START->B_Play, START->B_Options, START->B_EXit}) {
        int found = -1;
        for (int i = 0; i < 6 && found < 0; ++i)
            if (b->Picture() == buttonItem(i))
                found = i;
        result << found;
    }
    return result;
}

// A real pointer move onto a control of the start screen. Qt drops a move to
// the position it already has, so every call lands on a fresh point.
void hover(QWidget* control, QPoint at = {})
{
    static int jitter = 0;
    jitter = (jitter + 1) % 5;
    const QPoint local = at.isNull() ? control->rect().center() + QPoint(jitter, 0) : at;
    QTest::mouseMove(control, local);
    QCOMPARE(QApplication::widgetAt(control->mapToGlobal(local)), control);
}

void checkRadio(QRadioButton* b) { b->setChecked(true); }

// Every control of the dialog, in one place, for setting up a Save.
struct DialogState {
    int balloon;  // 1 medium, 2 large, 3 small (RadioButton1..3)
    int wasp;     // 4 medium, 5 large, 6 small
    int intervalPos;
    int speedPos;
    int pop;  // 7, 8, 9
    bool prize;
    QString count;
    bool sound;
};

QRadioButton* radio(int n)
{
    QRadioButton* all[] = {fixture::option<QRadioButton>("RadioButton1"), fixture::option<QRadioButton>("RadioButton2"), fixture::option<QRadioButton>("RadioButton3"),
                           fixture::option<QRadioButton>("RadioButton4"), fixture::option<QRadioButton>("RadioButton5"), fixture::option<QRadioButton>("RadioButton6"),
                           fixture::option<QRadioButton>("RadioButton7"), fixture::option<QRadioButton>("RadioButton8"), fixture::option<QRadioButton>("RadioButton9")};
    return all[n - 1];
}

void setDialog(const DialogState& s)
{
    checkRadio(radio(s.balloon));
    checkRadio(radio(s.wasp));
    fixture::option<QSlider>("TrackBar2")->setValue(s.intervalPos);
    fixture::option<QSlider>("TrackBar1")->setValue(s.speedPos);
    checkRadio(radio(s.pop));
    fixture::option<QCheckBox>("CheckBox1")->setChecked(s.prize);
    fixture::option<QComboBox>("ComboBox1")->setEditText(s.count);
    fixture::option<QCheckBox>("CheckBox2")->setChecked(s.sound);
}

void compareSettings(const TGameSettings& a, const TGameSettings& e)
{
    QCOMPARE(a.BalloonImageBase, e.BalloonImageBase);
    QCOMPARE(a.BalloonWidth, e.BalloonWidth);
    QCOMPARE(a.BalloonHeight, e.BalloonHeight);
    QCOMPARE(a.FlightStep, e.FlightStep);
    QCOMPARE(a.SoundEnabled, e.SoundEnabled);
    QCOMPARE(a.BurstImageIndex, e.BurstImageIndex);
    QCOMPARE(a.WaspSizeIndex, e.WaspSizeIndex);
    QCOMPARE(a.StingLeft, e.StingLeft);
    QCOMPARE(a.StingRight, e.StingRight);
    QCOMPARE(a.StingTop, e.StingTop);
    QCOMPARE(a.StingBottom, e.StingBottom);
    QCOMPARE(a.WaspHotspot, e.WaspHotspot);
    QCOMPARE(a.PrizeEnabled, e.PrizeEnabled);
    QCOMPARE(a.PrizeThreshold, e.PrizeThreshold);
    QCOMPARE(a.PopMode, e.PopMode);
    QCOMPARE(a.LaunchInterval, e.LaunchInterval);
}

TGameSettings startValues()
{
    TGameSettings s;
    s.LaunchInterval = 1000;
    return s;
}

}  // namespace

// Stands in for the desktop's browser: records the addresses it is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class MenuTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void hoverLightsOnlyTheFirstButtonUntilTheBackground();
    void hoverStateSurvivesHideAndShow();
    void bannerOpensTheWebPageAndChangesNothing();
    void sessionCentresItsWindowsOnTheBackdropAndOpensNoWebPage();
    void playHidesTheStartScreenAndEscBringsItBack_data();
    void playHidesTheStartScreenAndEscBringsItBack();

    void loadingPutsEverySettingIntoItsControl_data();
    void loadingPutsEverySettingIntoItsControl();
    void prizeBoxFollowsTheCheckBoxOnClick();

    void saveWritesEveryControl_data();
    void saveWritesEveryControl();
    void saveWithTheSameSizesStillResizesAndReassigns();
    void typedCountIsSavedAndShownAgain_data();
    void typedCountIsSavedAndShownAgain();
    void prizeOffKeepsTheOldCountInTheDisabledBox();
    void cancelCloseBoxAndEscWriteNothing_data();
    void cancelCloseBoxAndEscWriteNothing();
    void badCountStopsSaveAfterThePrizeFlag();

    void conversionAcceptsTheSpecifiedForms_data();
    void conversionAcceptsTheSpecifiedForms();
    void conversionRejectsEverythingElse_data();
    void conversionRejectsEverythingElse();

    void everyCaptionFitsItsControl();

private:
    QList<Box> m_boxes;
};

void MenuTest::initTestCase()
{
    zephyra::setMessagePresenter([this](QMessageBox::Icon icon, const QString& caption, const QString& text) {
        m_boxes.append({icon, caption, text});
    });
}

void MenuTest::init()
{
    m_boxes.clear();
    fixture::freshGame();
    START->show();
    QVERIFY(QTest::qWaitForWindowExposed(START));
    QCOMPARE(visibleWindows(), 1);
}

void MenuTest::hoverLightsOnlyTheFirstButtonUntilTheBackground()
{
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 4}));
    QVERIFY(!START->ButtonsLit());

    // The transparent margin of the normal picture counts as the button.
    hover(START->B_Play, QPoint(2, 2));
    QCOMPARE(buttonPictures(), QList<int>({1, 2, 4}));
    QVERIFY(START->ButtonsLit());

    // Straight onto the next button: the first stays lit, the second normal.
    hover(START->B_Options);
    QCOMPARE(buttonPictures(), QList<int>({1, 2, 4}));
    hover(START->B_EXit);
    QCOMPARE(buttonPictures(), QList<int>({1, 2, 4}));

    // While lit, further moves over a button set nothing: a picture put in
    // behind the handler's back stays.
    const QImage foreign = buttonItem(5);
    START->B_Play->setPicture(foreign);
    hover(START->B_Play);
    QCOMPARE(START->B_Play->Picture(), foreign);
    START->B_Play->setPicture(buttonItem(1));

    // The banner is not the background.
    hover(START->Image2);
    QCOMPARE(buttonPictures(), QList<int>({1, 2, 4}));

    hover(START->Image1, QPoint(350, 100));
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 4}));
    QVERIFY(!START->ButtonsLit());

    // Lit again from the background, and the background puts out whichever is lit.
    hover(START->B_EXit);
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 5}));
    hover(START->Image1, QPoint(20, 300));
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 4}));
    hover(START->B_Options, QPoint(218, 49));
    QCOMPARE(buttonPictures(), QList<int>({0, 3, 4}));
}

void MenuTest::hoverStateSurvivesHideAndShow()
{
    hover(START->B_EXit);
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 5}));
    START->hide();
    START->show();
    QVERIFY(QTest::qWaitForWindowExposed(START));
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 5}));
    QVERIFY(START->ButtonsLit());
    // Still "some button lit": another button does not light.
    hover(START->B_Play);
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 5}));

    // The same across a visit to the options dialog.
    START->B_OptionsClick();
    Options->Button2Click();
    QCOMPARE(buttonPictures(), QList<int>({0, 2, 5}));
}

void MenuTest::bannerOpensTheWebPageAndChangesNothing()
{
    const QUrl address(QStringLiteral(ZEPHYRA_WEB_ADDRESS));
    QVERIFY(address.isValid() && !address.scheme().isEmpty());
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(address.scheme(), &browser, "open");
    hover(START->B_Options);
    QTest::mouseClick(START->Image2, Qt::LeftButton, {}, QPoint(125, 17));
    QDesktopServices::unsetUrlHandler(address.scheme());
    QCOMPARE(browser.opened, QList<QUrl>{address});
    QVERIFY(START->isVisible());
    QCOMPARE(buttonPictures(), QList<int>({0, 3, 4}));
    QVERIFY(m_boxes.isEmpty());
}

void MenuTest::sessionCentresItsWindowsOnTheBackdropAndOpensNoWebPage()
{
    zephyra::Session session;
    START->show();
    // The start screen, the options and an error box at their own size in
    // the middle of the full-screen backdrop, the one window there is.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(session.Backdrop()->geometry(), screen);
    QVERIFY(session.Backdrop()->isVisible() && START->isVisible());
    QCOMPARE(START->window(), session.Backdrop());
    QCOMPARE(START->geometry(), QRect(QPoint((screen.width() - 700) / 2, (screen.height() - 500) / 2), QSize(700, 500)));
    QVERIFY(!Options->isVisible());
    START->B_OptionsClick();
    QCOMPARE(Options->window(), session.Backdrop());
    QCOMPARE(Options->geometry().center(), session.Backdrop()->rect().center());
    // Its own background, not the sky through it.
    QCOMPARE(session.Backdrop()->grab().toImage().pixelColor(Options->geometry().topLeft() + QPoint(4, 4)),
             Options->palette().color(QPalette::Window));
    QRect boxShown;
    bool optionsWaited = false;
    QTimer::singleShot(0, [&] {
        auto* box = session.Backdrop()->findChild<QWidget*>(QStringLiteral("Message"));
        if (!box)
            return;
        boxShown = box->isVisible() ? box->geometry() : QRect();
        optionsWaited = !Options->isEnabled();
        box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    zephyra::showStandardError(QStringLiteral("'abc' is not a valid integer value"));
    QVERIFY2((boxShown.center() - session.Backdrop()->rect().center()).manhattanLength() <= 4,
             qPrintable(QStringLiteral("box at %1,%2").arg(boxShown.x()).arg(boxShown.y())));
    QVERIFY(optionsWaited && Options->isEnabled());
    Options->Button2Click();
    // A round and back keep it there.
    QVERIFY(fixture::playRound([this] {
        QVERIFY(!START->isVisible());
        // Over a round an error box stands over the field, as on any start.
        zephyra::showStandardError(QStringLiteral("damaged"));
        QCOMPARE(m_boxes.size(), 1);
        m_boxes.clear();
        Play->close();
    }));
    QVERIFY(START->isVisible());
    QCOMPARE(START->geometry().center(), session.Backdrop()->rect().center());

    const QUrl address(QStringLiteral(ZEPHYRA_WEB_ADDRESS));
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(address.scheme(), &browser, "open");
    QTest::mouseClick(START->Image2, Qt::LeftButton, {}, QPoint(125, 17));
    QDesktopServices::unsetUrlHandler(address.scheme());
    QVERIFY(browser.opened.isEmpty());
    // A note says so, over the panel, the banner left in sight.
    QVERIFY(session.NoWebPageNote->isVisible());
    QVERIFY(session.NoWebPageNote->text().contains(address.host().replace('-', QChar(0x2011))));
    QVERIFY(START->rect().contains(session.NoWebPageNote->geometry()));
    QVERIFY(!session.NoWebPageNote->geometry().intersects(START->Image2->geometry()));
    QVERIFY(session.NoWebPageNote->heightForWidth(session.NoWebPageNote->width())
            <= session.NoWebPageNote->height());
    QVERIFY(m_boxes.isEmpty());
}

void MenuTest::playHidesTheStartScreenAndEscBringsItBack_data()
{
    QTest::addColumn<int>("popMode");
    QTest::newRow("by movement") << 0;
    QTest::newRow("left click") << 1;
    QTest::newRow("any other mode") << 7;
}

void MenuTest::playHidesTheStartScreenAndEscBringsItBack()
{
    QFETCH(int, popMode);
    GameSettings.PopMode = static_cast<std::uint8_t>(popMode);
    hover(START->B_Play);
    bool ranInside = false;
    // Play blocks in the play field's loop: look inside it, then leave by Esc.
    int insideVisible = 0;
    bool insidePlay = false, insideB1 = false, insideClick = false;
    QTimer::singleShot(0, [&] {
        ranInside = true;
        insideVisible = visibleWindows();
        insidePlay = Play->isVisible();
        insideB1 = Play->Timer_B1->isActive();
        insideClick = Play->TimerClick->isActive();
        Play->FormKeyPress(27);
    });
    QTest::mouseClick(START->B_Play, Qt::LeftButton, {}, QPoint(60, 20));
    QVERIFY(ranInside);
    QCOMPARE(insideVisible, 1);
    QVERIFY(insidePlay);
    QCOMPARE(insideB1, popMode == 0);
    QCOMPARE(insideClick, popMode != 0);
    QVERIFY(START->isVisible());
    QCOMPARE(visibleWindows(), 1);
    QVERIFY(!Play->Timer_B1->isActive() && !Play->TimerClick->isActive());
    // The clicked button still shows its lit picture.
    QCOMPARE(buttonPictures(), QList<int>({1, 2, 4}));
}

void MenuTest::loadingPutsEverySettingIntoItsControl_data()
{
    QTest::addColumn<int>("imageBase");
    QTest::addColumn<int>("waspIndex");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("popMode");
    QTest::addColumn<bool>("prize");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<bool>("sound");
    // Expected: checked balloon radio, wasp radio, TrackBar2, TrackBar1, pop radio.
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("start values") << 4 << 1 << 1000 << 10 << 0 << true << 20 << true
                                  << QList<int>{1, 4, 2, 2, 7};
    QTest::newRow("large, small wasp, first rows") << 0 << 0 << 300 << 2 << 1 << false << 35 << false
                                                   << QList<int>{2, 6, 0, 0, 8};
    QTest::newRow("small, large wasp, second rows") << 8 << 2 << 600 << 6 << 2 << true << -5 << true
                                                    << QList<int>{3, 5, 1, 1, 9};
    QTest::newRow("fourth rows") << 4 << 1 << 1300 << 20 << 0 << true << 0 << false
                                 << QList<int>{1, 4, 3, 3, 7};
    QTest::newRow("last rows as Save writes them") << 8 << 2 << 1600 << 30 << 1 << true << 1000 << true
                                                   << QList<int>{3, 5, 4, 4, 8};
    QTest::newRow("values Save never writes") << 5 << 7 << 0 << 15 << 7 << false << 2147483647 << true
                                              << QList<int>{3, 5, 4, 4, 9};
}

void MenuTest::loadingPutsEverySettingIntoItsControl()
{
    QFETCH(int, imageBase);
    QFETCH(int, waspIndex);
    QFETCH(int, interval);
    QFETCH(int, step);
    QFETCH(int, popMode);
    QFETCH(bool, prize);
    QFETCH(int, threshold);
    QFETCH(bool, sound);
    QFETCH(QList<int>, expected);

    // Leave every control in some other state first, so nothing is right by chance.
    checkRadio(radio(expected[0] == 3 ? 1 : 3));
    checkRadio(radio(expected[1] == 5 ? 4 : 5));
    fixture::option<QSlider>("TrackBar2")->setValue((expected[2] + 1) % 5);
    fixture::option<QSlider>("TrackBar1")->setValue((expected[3] + 1) % 5);
    checkRadio(radio(expected[4] == 9 ? 7 : 9));
    fixture::option<QCheckBox>("CheckBox1")->setChecked(!prize);
    fixture::option<QComboBox>("ComboBox1")->setEditText(QStringLiteral("stale"));
    fixture::option<QCheckBox>("CheckBox2")->setChecked(!sound);

    GameSettings.BalloonImageBase = static_cast<std::uint8_t>(imageBase);
    GameSettings.WaspSizeIndex = static_cast<std::uint8_t>(waspIndex);
    GameSettings.LaunchInterval = interval;
    GameSettings.FlightStep = step;
    GameSettings.PopMode = static_cast<std::uint8_t>(popMode);
    GameSettings.PrizeEnabled = prize;
    GameSettings.PrizeThreshold = threshold;
    GameSettings.SoundEnabled = sound;
    const TGameSettings before = GameSettings;

    QTest::mouseClick(START->B_Options, Qt::LeftButton, {}, QPoint(100, 25));

    for (int n : {expected[0], expected[1], expected[4]})
        QVERIFY2(radio(n)->isChecked(), qPrintable(QStringLiteral("RadioButton%1").arg(n)));
    int checkedCount = 0;
    for (int n = 1; n <= 9; ++n)
        checkedCount += radio(n)->isChecked();
    QCOMPARE(checkedCount, 3);
    QCOMPARE(fixture::option<QSlider>("TrackBar2")->value(), expected[2]);
    QCOMPARE(fixture::option<QSlider>("TrackBar1")->value(), expected[3]);
    QCOMPARE(fixture::option<QCheckBox>("CheckBox1")->isChecked(), prize);
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->isEnabled(), prize);
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->currentText(), QString::number(threshold));
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->count(), 9);
    QCOMPARE(fixture::option<QCheckBox>("CheckBox2")->isChecked(), sound);

    // Loading reads, never writes.
    compareSettings(GameSettings, before);
    QVERIFY(Options->isVisible());
    QVERIFY(START->isHidden());
    QCOMPARE(visibleWindows(), 1);
}

void MenuTest::prizeBoxFollowsTheCheckBoxOnClick()
{
    START->B_OptionsClick();
    QVERIFY(fixture::option<QComboBox>("ComboBox1")->isEnabled());
    QTest::mouseClick(fixture::option<QCheckBox>("CheckBox1"), Qt::LeftButton);
    QVERIFY(!fixture::option<QCheckBox>("CheckBox1")->isChecked());
    QVERIFY(!fixture::option<QComboBox>("ComboBox1")->isEnabled());
    QTest::mouseClick(fixture::option<QCheckBox>("CheckBox1"), Qt::LeftButton);
    QVERIFY(fixture::option<QComboBox>("ComboBox1")->isEnabled());
}

void MenuTest::saveWritesEveryControl_data()
{
    QTest::addColumn<int>("balloon");
    QTest::addColumn<int>("wasp");
    QTest::addColumn<int>("intervalPos");
    QTest::addColumn<int>("speedPos");
    QTest::addColumn<int>("pop");
    QTest::addColumn<bool>("prize");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("step");

    QTest::newRow("large, large wasp, shortest, slowest, left")
        << 2 << 5 << 0 << 0 << 8 << true << "10" << false << 300 << 2;
    QTest::newRow("small, small wasp, 1, 1, right") << 3 << 6 << 1 << 1 << 9 << true << "500" << true << 600 << 6;
    QTest::newRow("medium, medium wasp, 2, 2, move") << 1 << 4 << 2 << 2 << 7 << true << "20" << true << 1000 << 10;
    QTest::newRow("position 3 is 1300 ms and 20 px") << 2 << 6 << 3 << 3 << 7 << false << "x" << true << 1300 << 20;
    QTest::newRow("position 4 is 1600 ms and 30 px") << 3 << 5 << 4 << 4 << 8 << true << "-3" << false << 1600 << 30;
}

void MenuTest::saveWritesEveryControl()
{
    QFETCH(int, balloon);
    QFETCH(int, wasp);
    QFETCH(int, intervalPos);
    QFETCH(int, speedPos);
    QFETCH(int, pop);
    QFETCH(bool, prize);
    QFETCH(QString, count);
    QFETCH(bool, sound);
    QFETCH(int, interval);
    QFETCH(int, step);

    START->B_OptionsClick();
    setDialog({balloon, wasp, intervalPos, speedPos, pop, prize, count, sound});
    QTest::mouseClick(fixture::option<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(m_boxes.isEmpty());

    TGameSettings e = startValues();
    const SizeChoice bc = balloon == 1 ? SizeChoice::Medium : balloon == 2 ? SizeChoice::Large : SizeChoice::Small;
    const SizeChoice wc = wasp == 4 ? SizeChoice::Medium : wasp == 5 ? SizeChoice::Large : SizeChoice::Small;
    const BalloonSizeRow br = balloonSizeRow(bc);
    const WaspSizeRow wr = waspSizeRow(wc);
    e.BalloonImageBase = br.imageBase;
    e.BalloonWidth = br.width;
    e.BalloonHeight = br.height;
    e.BurstImageIndex = br.burstIndex;
    e.WaspSizeIndex = wr.index;
    e.StingLeft = wr.stingLeft;
    e.StingRight = wr.stingRight;
    e.StingTop = wr.stingTop;
    e.StingBottom = wr.stingBottom;
    e.WaspHotspot = wr.hotspot;
    e.SoundEnabled = sound;
    e.LaunchInterval = interval;
    e.FlightStep = step;
    e.PrizeEnabled = prize;
    e.PrizeThreshold = prize ? count.toInt() : 20;
    e.PopMode = static_cast<std::uint8_t>(pop - 7);
    compareSettings(GameSettings, e);
    // Spot checks against the fixed table, independent of the row functions.
    if (bc == SizeChoice::Small)
        QCOMPARE(QSize(GameSettings.BalloonWidth, GameSettings.BalloonHeight), QSize(80, 103));
    if (wc == SizeChoice::Large)
        QCOMPARE(GameSettings.WaspHotspot, 55);

    for (TImage* slot : Play->Slots())
        QCOMPARE(slot->size(), QSize(br.width, br.height));
    QCOMPARE(Play->ImageBee->size(), QSize(wr.side, wr.side));
    QCOMPARE(Play->ImageBee->Picture(), Play->PngImageCollection2->Items()->Items(wr.index)->PngImage());

    QVERIFY(START->isVisible());
    QVERIFY(Options->isHidden());
    QCOMPARE(visibleWindows(), 1);
}

void MenuTest::saveWithTheSameSizesStillResizesAndReassigns()
{
    for (int round = 0; round < 2; ++round) {
        START->B_OptionsClick();
        setDialog({1, 4, 2, 2, 7, true, "20", true});
        // Disturb the play field behind Save's back: Save must put it right.
        for (TImage* slot : Play->Slots())
            slot->resize(3, 4);
        Play->ImageBee->resize(9, 9);
        Play->ImageBee->setPicture(QImage());
        Options->Button1Click();
        for (TImage* slot : Play->Slots())
            QCOMPARE(slot->size(), QSize(130, 168));
        QCOMPARE(Play->ImageBee->size(), QSize(64, 64));
        QCOMPARE(Play->ImageBee->Picture(), Play->PngImageCollection2->Items()->Items(1)->PngImage());
    }
}

void MenuTest::typedCountIsSavedAndShownAgain_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("not in the list") << QStringLiteral("7");
    // The start of list items ("50", "500", "10"): nothing completes them.
    QTest::newRow("start of 50") << QStringLiteral("5");
    QTest::newRow("start of 10") << QStringLiteral("1");
}

void MenuTest::typedCountIsSavedAndShownAgain()
{
    QFETCH(QString, typed);
    START->B_OptionsClick();
    // Typed with the focus in the box, as a player types: completion acts only then.
    Options->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Options));
    fixture::option<QComboBox>("ComboBox1")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), fixture::option<QComboBox>("ComboBox1"));
    fixture::option<QComboBox>("ComboBox1")->lineEdit()->clear();
    QTest::keyClicks(fixture::option<QComboBox>("ComboBox1")->lineEdit(), typed);
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->currentText(), typed);
    QTest::keyClick(fixture::option<QComboBox>("ComboBox1")->lineEdit(), Qt::Key_Return);
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->count(), 9);  // typing does not grow the list
    QVERIFY(Options->isVisible());               // Enter is no Save
    QTest::mouseClick(fixture::option<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(GameSettings.PrizeThreshold, typed.toInt());
    QVERIFY(START->isVisible());

    fixture::option<QComboBox>("ComboBox1")->setEditText(QStringLiteral("999"));
    START->B_OptionsClick();
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->currentText(), typed);
}

void MenuTest::prizeOffKeepsTheOldCountInTheDisabledBox()
{
    GameSettings.PrizeThreshold = 40;
    START->B_OptionsClick();
    QTest::mouseClick(fixture::option<QCheckBox>("CheckBox1"), Qt::LeftButton);
    // Not converted while the prize is off, so no error.
    fixture::option<QComboBox>("ComboBox1")->setEditText(QStringLiteral("abc"));
    QTest::mouseClick(fixture::option<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(m_boxes.isEmpty());
    QVERIFY(!GameSettings.PrizeEnabled);
    QCOMPARE(GameSettings.PrizeThreshold, 40);

    START->B_OptionsClick();
    QVERIFY(!fixture::option<QCheckBox>("CheckBox1")->isChecked());
    QVERIFY(!fixture::option<QComboBox>("ComboBox1")->isEnabled());
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->currentText(), QStringLiteral("40"));

    // Checked again, the old count comes back into force.
    QTest::mouseClick(fixture::option<QCheckBox>("CheckBox1"), Qt::LeftButton);
    QVERIFY(fixture::option<QComboBox>("ComboBox1")->isEnabled());
    Options->Button1Click();
    QVERIFY(GameSettings.PrizeEnabled);
    QCOMPARE(GameSettings.PrizeThreshold, 40);
}

void MenuTest::cancelCloseBoxAndEscWriteNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("close box") << "close";
    QTest::newRow("Esc") << "esc";
}

void MenuTest::cancelCloseBoxAndEscWriteNothing()
{
    QFETCH(QString, how);
    const TGameSettings before = GameSettings;
    START->B_OptionsClick();
    setDialog({2, 6, 0, 4, 9, false, "77", false});
    Options->move(37, 41);  // where the player dragged it

    if (how == "cancel") {
        QTest::mouseClick(fixture::option<QPushButton>("Button2"), Qt::LeftButton);
    } else if (how == "close") {
        QVERIFY(Options->close());
    } else {
        // Neither button is the cancel button: Esc leaves the dialog open.
        QTest::keyClick(Options, Qt::Key_Escape);
        QVERIFY(Options->isVisible());
        QVERIFY(START->isHidden());
        QTest::mouseClick(fixture::option<QPushButton>("Button2"), Qt::LeftButton);
    }
    compareSettings(GameSettings, before);
    for (TImage* slot : Play->Slots())
        QCOMPARE(slot->size(), QSize(130, 168));
    QVERIFY(START->isVisible());
    QVERIFY(Options->isHidden());
    QCOMPARE(visibleWindows(), 1);

    // The next opening shows the unchanged settings again, where it was left.
    START->B_OptionsClick();
    QCOMPARE(Options->pos(), QPoint(37, 41));
    QVERIFY(fixture::option<QRadioButton>("RadioButton1")->isChecked());
    QVERIFY(fixture::option<QRadioButton>("RadioButton4")->isChecked());
    QCOMPARE(fixture::option<QSlider>("TrackBar2")->value(), 2);
    QCOMPARE(fixture::option<QSlider>("TrackBar1")->value(), 2);
    QVERIFY(fixture::option<QRadioButton>("RadioButton7")->isChecked());
    QVERIFY(fixture::option<QCheckBox>("CheckBox1")->isChecked());
    QCOMPARE(fixture::option<QComboBox>("ComboBox1")->currentText(), QStringLiteral("20"));
    QVERIFY(fixture::option<QCheckBox>("CheckBox2")->isChecked());
}

void MenuTest::badCountStopsSaveAfterThePrizeFlag()
{
    GameSettings.PrizeEnabled = false;
    GameSettings.PrizeThreshold = 33;
    START->B_OptionsClick();
    setDialog({3, 5, 0, 3, 8, true, "12 ", false});
    QTest::mouseClick(fixture::option<QPushButton>("Button1"), Qt::LeftButton);

    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(m_boxes[0].caption, QStringLiteral("ZEPHYRA"));
    QCOMPARE(m_boxes[0].text, QStringLiteral("'12 ' is not a valid integer value."));

    // Steps 1 to 5 and the prize flag are in force, the count and the pop mode not.
    QCOMPARE(GameSettings.BalloonImageBase, std::uint8_t(8));
    for (TImage* slot : Play->Slots())
        QCOMPARE(slot->size(), QSize(80, 103));
    QVERIFY(!GameSettings.SoundEnabled);
    QCOMPARE(GameSettings.LaunchInterval, 300);
    QCOMPARE(GameSettings.WaspSizeIndex, std::uint8_t(2));
    QCOMPARE(Play->ImageBee->size(), QSize(110, 110));
    QCOMPARE(GameSettings.StingTop, 86);
    QCOMPARE(GameSettings.FlightStep, 20);
    QVERIFY(GameSettings.PrizeEnabled);
    QCOMPARE(GameSettings.PrizeThreshold, 33);
    QCOMPARE(GameSettings.PopMode, std::uint8_t(PopByMove));
    QVERIFY(Options->isVisible());
    QVERIFY(START->isHidden());
    QCOMPARE(visibleWindows(), 1);

    // Corrected, Save completes every step.
    fixture::option<QComboBox>("ComboBox1")->setEditText(QStringLiteral("$10"));
    QTest::mouseClick(fixture::option<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(GameSettings.PrizeThreshold, 16);
    QCOMPARE(GameSettings.PopMode, std::uint8_t(PopByLeftClick));
    QVERIFY(START->isVisible());
    QVERIFY(Options->isHidden());

    // Cancel after a failed Save keeps what was already stored.
    START->B_OptionsClick();
    setDialog({2, 4, 4, 0, 9, true, "", true});
    QTest::mouseClick(fixture::option<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[1].text, QStringLiteral("'' is not a valid integer value."));
    QTest::mouseClick(fixture::option<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(GameSettings.BalloonImageBase, std::uint8_t(0));
    QCOMPARE(GameSettings.LaunchInterval, 1600);
    QCOMPARE(GameSettings.WaspSizeIndex, std::uint8_t(1));
    QCOMPARE(GameSettings.FlightStep, 2);
    QVERIFY(GameSettings.SoundEnabled);
    QCOMPARE(GameSettings.PrizeThreshold, 16);
    QCOMPARE(GameSettings.PopMode, std::uint8_t(PopByLeftClick));
    QVERIFY(START->isVisible());
}

void MenuTest::conversionAcceptsTheSpecifiedForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("leading blanks") << " 42" << 42;
    QTest::newRow("several blanks and a sign") << "   -8" << -8;
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("dollar hex") << "$1F" << 31;
    QTest::newRow("0x hex") << "0x1f" << 31;
    QTest::newRow("0X hex") << "0XfF" << 255;
    QTest::newRow("x hex") << "x10" << 16;
    QTest::newRow("negative hex") << "-$10" << -16;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483647 - 1);
    QTest::newRow("largest hex") << "$7FFFFFFF" << 2147483647;
    QTest::newRow("smallest hex") << "-0x80000000" << int(-2147483647 - 1);
}

void MenuTest::conversionAcceptsTheSpecifiedForms()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(zephyra::StrToInt(text), value);
}

void MenuTest::conversionRejectsEverythingElse_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("letters") << "abc";
    QTest::newRow("trailing blank") << "12 ";
    QTest::newRow("one past the largest") << "2147483648";
    QTest::newRow("one past the smallest") << "-2147483649";
    QTest::newRow("far too large") << "99999999999999999999";
    QTest::newRow("exponent") << "1e3";
    QTest::newRow("prefix only") << "0x";
    QTest::newRow("dollar only") << "$";
    QTest::newRow("two signs") << "--1";
    QTest::newRow("sign only") << "-";
    QTest::newRow("blank after sign") << "- 1";
    QTest::newRow("sign after prefix") << "$-1";
    QTest::newRow("hex digit in decimal") << "1F";
    QTest::newRow("hex past the range") << "$80000000";
    QTest::newRow("decimal point") << "1.0";
    QTest::newRow("tab before") << "\t5";
    QTest::newRow("non-ASCII digits") << QStringLiteral("\u0661\u0662");
    QTest::newRow("a NUL inside, named whole") << QStringLiteral("1") + QChar(u'\0') + QStringLiteral("2");
}

void MenuTest::conversionRejectsEverythingElse()
{
    QFETCH(QString, text);
    try {
        const int v = zephyra::StrToInt(text);
        QFAIL(qPrintable(QStringLiteral("accepted as %1").arg(v)));
    } catch (const zephyra::Error& e) {
        QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

void MenuTest::everyCaptionFitsItsControl()
{
    START->B_OptionsClick();
    QVERIFY(QTest::qWaitForWindowExposed(Options));
    const fixture::CaptionFit fit = fixture::captionFit(Options);
    QVERIFY2(fit.overflowing.isEmpty(), qPrintable(fit.overflowing.join(QLatin1String(", "))));
    QCOMPARE(fit.measured, 11 + 2 + 5 + 4);

    // Widened controls stay inside their parents and overlap no sibling.
    const QRegularExpression named(QStringLiteral("^(RadioButton|Label|TrackBar|CheckBox|ComboBox|Button|GroupBox)\\d$"));
    QList<QWidget*> controls;
    for (QWidget* w : Options->findChildren<QWidget*>())
        if (named.match(w->objectName()).hasMatch())
            controls << w;
    QCOMPARE(controls.size(), 9 + 2 + 4 + 2 + 1 + 2 + 5);
    for (QWidget* w : controls) {
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
        for (QWidget* s : controls)
            if (s != w && s->parentWidget() == w->parentWidget())
                QVERIFY2(!s->geometry().intersects(w->geometry()),
                         qPrintable(w->objectName() + QLatin1String(" / ") + s->objectName()));
    }
}

QTEST_MAIN(MenuTest)
#include "test_menu.moc"
