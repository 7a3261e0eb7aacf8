#include "play/UnitPlay.h"

#include "app/GameSettings.h"
#include "app/TImage.h"
#include "app/services.h"
#include "app/sound.h"
#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "lcd/LCDScreen.h"
#include "menu/menu.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

TPlayState PlayState;
TPlay* Play = nullptr;

namespace {

const char* const kLaunchedText = "ВЫЛЕТЕЛО - ";
const char* const kPoppedText = "СБИТО - ";

QString launchedLine(std::int32_t count)
{
    return QString::fromUtf8(kLaunchedText) + QString::number(count);
}

QString poppedLine(std::int32_t count)
{
    return QString::fromUtf8(kPoppedText) + QString::number(count);
}

QStringList picturePaths(const QStringList& names)
{
    QStringList paths;
    for (const QString& n : names)
        paths << QStringLiteral(":/pictures/%1.png").arg(n);
    return paths;
}

QTimer* makeTimer(QObject* owner, const char* name, int intervalMs)
{
    auto* t = new QTimer(owner);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervalMs);
    // Game time is counted in ticks; a precise timer keeps their rhythm even.
    t->setTimerType(Qt::PreciseTimer);
    return t;
}

TLCDScreen* makeDisplay(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& line)
{
    auto* d = new TLCDScreen(parent);
    d->setObjectName(QString::fromLatin1(name));
    configureCounterDisplay(d);
    d->setGeometry(geometry);
    d->Lines()->Assign({line});
    return d;
}

}  // namespace

void PopWave() { zephyra::SoundPlayer::instance().play(zephyra::SoundId::Pop); }

TPlay::TPlay(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint
                                                    | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Play"));
    setWindowTitle(QStringLiteral("ZEPHYRA"));
    resize(1297, 641);

    // Children are painted in creation order: background, slots, wasp,
    // displays, prize.
    Image1 = new TImage(this, QStringLiteral("Image1"));
    Image1->setStretch(true);
    Image1->setOpaque(true);
    Image1->setAlignClient(true);
    Image1->setPictureSource([](QSize fill) { return zephyra::loadPicture(QStringLiteral(":/pictures/play-background.jpg"), fill); });

    static const QPoint slotPositions[8] = {{48, 40},   {72, 56},   {96, 80},   {120, 104},
                                            {144, 128}, {168, 152}, {192, 176}, {224, 200}};
    for (int i = 0; i < 8; ++i) {
        auto* slot = new TImage(this, QStringLiteral("Ball%1").arg(i + 1));
        slot->setGeometry(QRect(slotPositions[i], QSize(130, 168)));
        slot->hide();
        m_slots[static_cast<std::size_t>(i)] = slot;
    }

    PngImageCollection1 = new TPngImageCollection(this);
    PngImageCollection1->setObjectName(QStringLiteral("PngImageCollection1"));
    PngImageCollection1->LoadFromResources(picturePaths({
        QStringLiteral("balloon-large-blue"), QStringLiteral("balloon-large-green"),
        QStringLiteral("balloon-large-red"), QStringLiteral("balloon-large-yellow"),
        QStringLiteral("balloon-medium-blue"), QStringLiteral("balloon-medium-green"),
        QStringLiteral("balloon-medium-red"), QStringLiteral("balloon-medium-yellow"),
        QStringLiteral("balloon-small-blue"), QStringLiteral("balloon-small-green"),
        QStringLiteral("balloon-small-red"), QStringLiteral("balloon-small-yellow")}));
    PngImageCollectionBoom = new TPngImageCollection(this);
    PngImageCollectionBoom->setObjectName(QStringLiteral("PngImageCollectionBoom"));
    PngImageCollectionBoom->LoadFromResources(picturePaths(
        {QStringLiteral("burst-small"), QStringLiteral("burst-medium"), QStringLiteral("burst-large")}));
    PngImageCollection2 = new TPngImageCollection(this);
    PngImageCollection2->setObjectName(QStringLiteral("PngImageCollection2"));
    PngImageCollection2->LoadFromResources(picturePaths(
        {QStringLiteral("wasp-small"), QStringLiteral("wasp-medium"), QStringLiteral("wasp-large")}));

    ImageBee = new TImage(this, QStringLiteral("ImageBee"));
    ImageBee->setGeometry(360, 88, 64, 64);
    ImageBee->setPicture(PngImageCollection2->Items()->Items(1)->PngImage());
    connect(ImageBee, &TImage::mouseDown, this, [this](Qt::MouseButton button, QPoint) {
        zephyra::runHandler([&] { ImageBeeMouseDown(button); });
    });

    LCDScreen1 = makeDisplay(this, "LCDScreen1", QRect(8, 8, 485, 65), launchedLine(0));
    LCDScreen2 = makeDisplay(this, "LCDScreen2", QRect(536, 8, 365, 65), poppedLine(0));

    ImagePriz = new TImage(this, QStringLiteral("ImagePriz"));
    ImagePriz->setGeometry(480, 120, 688, 520);
    // The prize is decoded when it is won and let go when it is hidden: it is
    // on screen ten seconds a round, not worth 1.4 MB for the whole run.
    ImagePriz->hide();

    Timer_B1 = makeTimer(this, "Timer_B1", kTickMs);
    TimerPriz = makeTimer(this, "TimerPriz", 10000);
    TimerClick = makeTimer(this, "TimerClick", kTickMs);
    connect(Timer_B1, &QTimer::timeout, this, [this] { zephyra::runHandler([this] { Timer_B1Timer(); }); });
    connect(TimerPriz, &QTimer::timeout, this, [this] { zephyra::runHandler([this] { TimerPrizTimer(); }); });
    connect(TimerClick, &QTimer::timeout, this, [this] { zephyra::runHandler([this] { TimerClickTimer(); }); });

    FormCreate();
}

TPlay::~TPlay() = default;

void TPlay::FormCreate()
{
    zephyra::seedRandomFromClock();
    // Qt paints every window from an off-screen buffer, so the double
    // buffering the play field needs is already there.
    // The play window shows no pointer at all: the wasp stands in for it, and
    // the children keep the default shape so they show the window's.
    setCursor(Qt::BlankCursor);
    GameSettings.SoundEnabled = true;
    PlayState.BurstPhase.fill(0);
    GameSettings.LaunchInterval = 1000;
    PlayState.LaunchElapsed = 0;
    PlayState.LaunchedCount = 0;
    PlayState.PoppedCount = 0;
}

void TPlay::ShowModal()
{
    // Without a window manager, full screen alone leaves the window at its
    // old size; give it the screen's geometry first.
    QScreen* screen = QGuiApplication::primaryScreen();
    if (START && START->screen())
        screen = START->screen();
    if (screen)
        setGeometry(screen->geometry());
    setWindowModality(Qt::ApplicationModal);
    showFullScreen();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
}

void TPlay::ReplaceLine(TLCDScreen* display, const QString& text)
{
    display->Lines()->Insert(0, text);
    display->Lines()->Delete(1);
}

void TPlay::ClearRound()
{
    Timer_B1->stop();
    TimerClick->stop();
    for (TImage* slot : m_slots)
        slot->hide();
    ReplaceLine(LCDScreen2, poppedLine(0));
    ReplaceLine(LCDScreen1, launchedLine(0));
    PlayState.LaunchedCount = 0;
    PlayState.PoppedCount = 0;
}

void TPlay::FormKeyPress(int key)
{
    if (key != 27)
        return;
    if (!Timer_B1->isActive() && !TimerClick->isActive())
        return;  // the prize pause cannot be cut short
    ClearRound();
    m_closingByEsc = true;
    close();
    m_closingByEsc = false;
    if (START)
        START->show();
}

void TPlay::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        zephyra::runHandler([this] { FormKeyPress(27); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPlay::closeEvent(QCloseEvent* event)
{
    if (!m_closingByEsc) {
        // A close from the window system (Alt+F4) ends the round as Esc does,
        // also during the prize pause, so no timer ticks behind a hidden window
        // and no prize is left standing for the next round.
        ClearRound();
        if (TimerPriz->isActive()) {
            TimerPriz->stop();
            ImagePriz->hide();
            ImagePriz->setPicture(QImage());
        }
        if (START)
            START->show();
    }
    event->accept();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void TPlay::LaunchStep()
{
    if (PlayState.LaunchElapsed < GameSettings.LaunchInterval) {
        PlayState.LaunchElapsed += kTickMs;
        return;
    }
    const int picture = zephyra::randomInt(4) + GameSettings.BalloonImageBase;
    const int column = zephyra::randomInt(6);
    for (int n = 1; n <= 8; ++n) {
        auto* slot = findChild<TImage*>(QStringLiteral("Ball%1").arg(n), Qt::FindDirectChildrenOnly);
        if (!slot || !slot->isHidden())
            continue;
        if (auto* item = PngImageCollection1->Items()->Items(picture))
            slot->setPicture(item->PngImage());
        const int top = height() - GameSettings.BalloonHeight;
        // A window narrower than a balloon would give a negative column
        // width and push balloons off the left edge; it starts them at 0.
        const int q = std::max(0, (width() - GameSettings.BalloonWidth) / 6);
        const int r = zephyra::randomInt(q);
        slot->move(r + q * column, top);
        slot->show();
        ++PlayState.LaunchedCount;
        ReplaceLine(LCDScreen1, launchedLine(PlayState.LaunchedCount));
        PlayState.LaunchElapsed = 0;
        return;
    }
    // Every slot flies: the credit is kept and the next tick tries again.
}

void TPlay::WaspStep()
{
    // The pointer is mapped into the window, so the wasp sits under it on
    // any monitor, not only on one whose corner is the desktop's.
    const QPoint p = mapFromGlobal(zephyra::pointerScreenPos());
    ImageBee->move(p.x() - GameSettings.WaspHotspot, p.y() - GameSettings.WaspHotspot);
}

void TPlay::RiseStep(TImage* slot)
{
    if (slot->y() > -GameSettings.BalloonHeight)
        slot->move(slot->x(), slot->y() - GameSettings.FlightStep);
    else
        slot->hide();
}

bool TPlay::HitTest(int index)
{
    const TImage* slot = m_slots[static_cast<std::size_t>(index)];
    if (!stingInsideBalloon(ImageBee->x(), ImageBee->y(), slot->x(), slot->y()))
        return false;
    PlayState.BurstPhase[static_cast<std::size_t>(index)] = 1;
    return true;
}

void TPlay::BurstStep(int index)
{
    std::uint8_t& phase = PlayState.BurstPhase[static_cast<std::size_t>(index)];
    TImage* slot = m_slots[static_cast<std::size_t>(index)];
    if (phase == 0)
        return;
    if (phase == 1) {
        if (auto* item = PngImageCollectionBoom->Items()->Items(GameSettings.BurstImageIndex))
            slot->setPicture(item->PngImage());
        phase = 2;
    } else if (phase < 6) {
        ++phase;
    } else {
        slot->hide();
        phase = 0;
    }
}

void TPlay::Timer_B1Timer()
{
    LaunchStep();
    WaspStep();
    bool popped = false;
    for (int i = 0; i < 8; ++i) {
        TImage* slot = m_slots[static_cast<std::size_t>(i)];
        if (slot->isHidden() || PlayState.BurstPhase[static_cast<std::size_t>(i)] != 0)
            continue;
        RiseStep(slot);
        // Tested at the position after the rise, even if the rise hid it.
        if (HitTest(i))
            popped = true;
    }
    for (int i = 0; i < 8; ++i)
        BurstStep(i);
    // However many balloons burst in this tick, they count as one pop.
    if (popped)
        CountPop(Timer_B1);
}

void TPlay::CountPop(QTimer* tickTimer)
{
    ++PlayState.PoppedCount;
    ReplaceLine(LCDScreen2, poppedLine(PlayState.PoppedCount));
    if (GameSettings.PrizeEnabled && PlayState.PoppedCount >= GameSettings.PrizeThreshold) {
        ShowPrize(tickTimer);  // the winning pop plays the fanfare only
        return;
    }
    if (GameSettings.SoundEnabled)
        PopWave();
}

void TPlay::ShowPrize(QTimer* tickTimer)
{
    tickTimer->stop();
    for (TImage* slot : m_slots)
        slot->hide();
    ImagePriz->move(width() / 2 - 260, height() / 2 - 260);
    if (ImagePriz->Picture().isNull())
        ImagePriz->setPicture(zephyra::loadPicture(QStringLiteral(":/pictures/prize.png")));
    ImagePriz->show();
    PrizWave();
    TimerPriz->start();
}

void TPlay::PrizWave() { zephyra::SoundPlayer::instance().play(zephyra::SoundId::Prize); }

void TPlay::TimerPrizTimer()
{
    ImagePriz->hide();
    ImagePriz->setPicture(QImage());
    TimerPriz->stop();
    ReplaceLine(LCDScreen2, poppedLine(0));
    ReplaceLine(LCDScreen1, launchedLine(0));
    PlayState.LaunchedCount = 0;
    PlayState.PoppedCount = 0;
    if (!isVisible())
        return;
    if (GameSettings.PopMode == PopByMove)
        Timer_B1->start();
    else
        TimerClick->start();
}

void TPlay::TimerClickTimer()
{
    LaunchStep();
    WaspStep();
    for (int i = 0; i < 8; ++i) {
        TImage* slot = m_slots[static_cast<std::size_t>(i)];
        if (!slot->isHidden() && PlayState.BurstPhase[static_cast<std::size_t>(i)] == 0)
            RiseStep(slot);
    }
    // The click already put up the burst picture; the tick only counts phases.
    for (int i = 0; i < 8; ++i) {
        std::uint8_t& phase = PlayState.BurstPhase[static_cast<std::size_t>(i)];
        if (phase == 0)
            continue;
        if (phase < 6) {
            ++phase;
        } else {
            m_slots[static_cast<std::size_t>(i)]->hide();
            phase = 0;
        }
    }
}

void TPlay::ImageBeeMouseDown(Qt::MouseButton button)
{
    if (GameSettings.PopMode == PopByMove)
        return;
    const bool chosen = (GameSettings.PopMode == PopByLeftClick && button == Qt::LeftButton)
                        || (GameSettings.PopMode == PopByRightClick && button == Qt::RightButton);
    if (!chosen)
        return;
    for (int i = 0; i < 8; ++i) {
        TImage* slot = m_slots[static_cast<std::size_t>(i)];
        std::uint8_t& phase = PlayState.BurstPhase[static_cast<std::size_t>(i)];
        if (!stingInsideBalloon(ImageBee->x(), ImageBee->y(), slot->x(), slot->y())
            || slot->isHidden() || phase != 0)
            continue;
        if (auto* item = PngImageCollectionBoom->Items()->Items(GameSettings.BurstImageIndex))
            slot->setPicture(item->PngImage());
        phase = 1;
        WorkClick();
    }
}

void TPlay::WorkClick() { CountPop(TimerClick); }
