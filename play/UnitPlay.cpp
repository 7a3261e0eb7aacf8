#include "play/UnitPlay.h"

#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "lcd/LCDScreen.h"
#include "platform/pointer.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "play/counters.h"
#include "play/input.h"
#include "play/overlays.h"
#include "settings/GameSettings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWheelEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <bitset>
#include <utility>

TPlayState PlayState;
TPlay* Play = nullptr;

namespace {

// Half the prize picture's height (520). The same number is taken on both
// axes, so the picture's centre stands 84 px right of the window's centre.
constexpr int kPrizeOffset = 260;

const QString kPrizePicture = QStringLiteral(":/pictures/prize.png");
const QString kNightPicture = QStringLiteral(":/pictures/goodnight.png");

// Each size has a picture in every colour: blue, green, red, yellow.
constexpr int kBalloonColours = 4;

// How long an unmapped field waits before its round ends: long enough for a
// mapping already on its way to come.
constexpr int kHiddenSettleMs = 100;

// The captions are looked up on every count: a hash lookup, far cheaper than
// the display's own redraw that follows. The count stays in decimal digits.
QString launchedLine(std::int32_t count)
{
    return QCoreApplication::translate("TPlay", "ВЫЛЕТЕЛО - ") + QString::number(count);
}

QString poppedLine(std::int32_t count)
{
    return QCoreApplication::translate("TPlay", "СБИТО - ") + QString::number(count);
}

TPngImageCollection* makeList(QObject* owner, const char* name, const QStringList& pictures)
{
    auto* list = new TPngImageCollection(owner);
    list->setObjectName(QString::fromLatin1(name));
    QStringList paths;
    for (const QString& n : pictures)
        paths << QStringLiteral(":/pictures/%1.png").arg(n);
    list->LoadFromResources(paths);
    return list;
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

// A copy of item index of the list; Error when it cannot be decoded.
QImage listPicture(const TPngImageCollection* list, int index)
{
    const auto* item = list->Items()->Items(index);
    return item ? item->PngImage() : QImage();
}

}  // namespace

void PopWave(zephyra::SoundOutput& sound) { sound.play(zephyra::SoundId::Pop); }

TPlay::TPlay(zephyra::SoundOutput& sound, const zephyra::ParentChoices& choices, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_sound(sound),
      m_clock(choices.playTime)
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

    static const QPoint slotPositions[kSlotCount] = {{48, 40},   {72, 56},   {96, 80},   {120, 104},
                                                     {144, 128}, {168, 152}, {192, 176}, {224, 200}};
    for (int i = 0; i < kSlotCount; ++i) {
        auto* slot = new TImage(this, QStringLiteral("Ball%1").arg(i + 1));
        slot->setGeometry(QRect(slotPositions[i], QSize(kMediumBalloons.width, kMediumBalloons.height)));
        slot->hide();
        m_slots[static_cast<std::size_t>(i)] = slot;
    }

    PngImageCollection1 = makeList(this, "PngImageCollection1",
        {QStringLiteral("balloon-large-blue"), QStringLiteral("balloon-large-green"),
         QStringLiteral("balloon-large-red"), QStringLiteral("balloon-large-yellow"),
         QStringLiteral("balloon-medium-blue"), QStringLiteral("balloon-medium-green"),
         QStringLiteral("balloon-medium-red"), QStringLiteral("balloon-medium-yellow"),
         QStringLiteral("balloon-small-blue"), QStringLiteral("balloon-small-green"),
         QStringLiteral("balloon-small-red"), QStringLiteral("balloon-small-yellow")});
    PngImageCollectionBoom = makeList(this, "PngImageCollectionBoom",
        {QStringLiteral("burst-small"), QStringLiteral("burst-medium"), QStringLiteral("burst-large")});
    PngImageCollection2 = makeList(this, "PngImageCollection2",
        {QStringLiteral("wasp-small"), QStringLiteral("wasp-medium"), QStringLiteral("wasp-large")});

    ImageBee = new TImage(this, QStringLiteral("ImageBee"));
    ImageBee->setGeometry(360, 88, kMediumWasp.side, kMediumWasp.side);
    ImageBee->setPicture(listPicture(PngImageCollection2, kMediumWasp.index));
    zephyra::connectHandler(ImageBee, &TImage::mouseDown, this, &TPlay::ImageBeeMouseDown);

    LCDScreen1 = makeDisplay(this, "LCDScreen1", QRect(8, 8, 485, 65), launchedLine(0));
    LCDScreen2 = makeDisplay(this, "LCDScreen2", QRect(536, 8, 365, 65), poppedLine(0));

    ImagePriz = new TImage(this, QStringLiteral("ImagePriz"));
    ImagePriz->setGeometry(480, 120, 688, 520);
    // The prize is decoded when it is won and let go when it is hidden: it is
    // on screen ten seconds a round, not worth 1.4 MB for the whole run.
    ImagePriz->hide();

    // When play time is up: evening over the field, the sleepy wasp over it.
    Dusk = new TDusk(this);
    ImageNight = new TImage(this, QStringLiteral("ImageNight"));
    ImageNight->setAccessibleName(tr("Good night, little wasp"));
    ImageNight->hide();
    // Last, so its cue shows over everything.
    m_lock = std::make_unique<zephyra::ChildLock>(choices.childLock, this);
    SetBackground();

    Timer_B1 = makeTimer(this, "Timer_B1", kTickMs);
    TimerPriz = makeTimer(this, "TimerPriz", kPrizePauseMs);
    TimerClick = makeTimer(this, "TimerClick", kTickMs);
    zephyra::connectHandler(Timer_B1, &QTimer::timeout, this, &TPlay::Timer_B1Timer);
    zephyra::connectHandler(TimerPriz, &QTimer::timeout, this, &TPlay::TimerPrizTimer);
    zephyra::connectHandler(TimerClick, &QTimer::timeout, this, &TPlay::TimerClickTimer);
    TimerNight = makeTimer(this, "TimerNight", kNightPauseMs);
    zephyra::connectHandler(TimerNight, &QTimer::timeout, this, &TPlay::TimerNightTimer);
    zephyra::connectHandler(m_lock.get(), &zephyra::ChildLock::escHeld, this, &TPlay::EscHeld);
    Input = new TPlayInput(
        *this, choices.easyPlay,
        {.balloons = {m_slots.begin(), m_slots.end()},
         .bursting = [](int i) { return PlayState.BurstPhase[static_cast<std::size_t>(i)] != 0; },
         .playing = [this] { return TickTimer()->isActive() && !TimeIsUp(); },
         .placeWasp = [this] { WaspStep(); },
         .click = [this] {
             ImageBeeMouseDown(GameSettings.PopMode == PopByRightClick ? Qt::RightButton : Qt::LeftButton);
         },
         .launch = [this] { return Launch(); }});
    // Fingers steer and tap on the field itself, wherever they land.
    setAttribute(Qt::WA_AcceptTouchEvents);
    m_hiddenCheck.setSingleShot(true);
    m_hiddenCheck.setInterval(kHiddenSettleMs);
    connect(&m_hiddenCheck, &QTimer::timeout, this, &TPlay::EndHiddenRound);

    FormCreate();
}

TPlay::~TPlay() = default;

void TPlay::SetBackground()
{
    // The hint drawn in the background, for screen readers; the lock says how to leave.
    Image1->setAccessibleName(m_lock->hint());
    Image1->setPictureSource([hint = m_lock->hint()](QSize fill) { return fieldBackground(hint, fill); });
}

void TPlay::TakeChoices(const zephyra::ParentChoices& choices)
{
    if (choices.childLock && !m_lock->isOn()) {
        m_lock->TurnOn();
        SetBackground();
        // The goodnight picture of a locked game stays until a grown-up holds Esc.
        TimerNight->stop();
    }
    m_clock.limitFromNow(choices.playTime);
    if (choices.easyPlay)
        Input->EasyFromNextRound();
}

void TPlay::SetVolume(int level) { m_sound.setLevel(level); }

zephyra::ParentChoices TPlay::InForce() const
{
    zephyra::ParentChoices now;
    now.childLock = m_lock->isOn();
    now.playTime = m_clock.left();
    now.easyPlay = Input->EasyNextRound();
    return now;
}

void TPlay::FormCreate()
{
    zephyra::seedRandomFromClock();
    // Qt paints every window from an off-screen buffer, so the double
    // buffering the play field needs is already there.
    // The play window shows no pointer at all: the wasp stands in for it, and
    // the children keep the default shape so they show the window's.
    setCursor(Qt::BlankCursor);
    zephyra::followPointer();
    GameSettings.SoundEnabled = true;
    PlayState.BurstPhase.fill(0);
    GameSettings.LaunchInterval = kStartLaunchInterval;
    PlayState.LaunchElapsed = 0;
    PlayState.LaunchedCount = 0;
    PlayState.PoppedCount = 0;
}

void TPlay::ShowModal(QScreen* screen)
{
    // Without a window manager, full screen alone leaves the window at its
    // old size; give it the screen's geometry first.
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->geometry());
    setWindowModality(Qt::ApplicationModal);
    // Until the pointer moves over the field no event says where it is (it
    // may rest on another monitor): the wasp starts from the position asked
    // for once here.
    zephyra::takePointerPos();
    showFullScreen();
    windowHandle()->installEventFilter(this);
    raise();
    activateWindow();
    m_lock->hold();
    // Once a play time is over, a round after it (without the lock, which
    // keeps Play closed) begins a new one, however the last one was left.
    m_clock.startRound();
    Input->RoundStarted();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
}

void TPlay::StartRound(QScreen* screen)
{
    TickTimer()->start();
    ShowModal(screen);
}

QTimer* TPlay::TickTimer() const { return GameSettings.PopMode == PopByMove ? Timer_B1 : TimerClick; }

void TPlay::ReplaceLine(TLCDScreen* display, const QString& text)
{
    display->Lines()->Insert(0, text);
    display->Lines()->Delete(1);
}

void TPlay::ResetCounters()
{
    ReplaceLine(LCDScreen2, poppedLine(0));
    ReplaceLine(LCDScreen1, launchedLine(0));
    PlayState.LaunchedCount = 0;
    PlayState.PoppedCount = 0;
}

void TPlay::HideSlots()
{
    for (TImage* slot : m_slots)
        slot->hide();
}

void TPlay::ClearRound()
{
    Timer_B1->stop();
    TimerClick->stop();
    HideSlots();
    ResetCounters();
}

void TPlay::EndPauses()
{
    if (TimerPriz->isActive()) {
        TimerPriz->stop();
        ImagePriz->hide();
        ImagePriz->setPicture(QImage());
    }
    TimerNight->stop();
    if (ImageNight->isVisible()) {
        ImageNight->hide();
        ImageNight->setPicture(QImage());
        Dusk->hide();
    }
}

void TPlay::LeaveRound()
{
    ClearRound();
    EndPauses();
    m_leaving = true;
    close();
    m_leaving = false;
    emit roundEnded();
}

void TPlay::FormKeyPress(int key)
{
    // Under the child lock only a held Esc leaves.
    if (key != zephyra::kEscChar || m_lock->isOn())
        return;
    if (!Timer_B1->isActive() && !TimerClick->isActive())
        return;  // the prize pause cannot be cut short
    LeaveRound();
}

void TPlay::keyPressEvent(QKeyEvent* event)
{
    // On easy play any key but Esc is a press, under the lock too.
    Input->Key(event);
    if (m_lock->takeKey(event, true))
        return;
    // The round holds the keyboard, so the window manager never sees Alt+F4:
    // the field takes it as the close it asks for.
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier) {
        close();
        return;
    }
    const int character = zephyra::keyCharacter(event);
    zephyra::runHandler([&] { FormKeyPress(character); });
}

void TPlay::keyReleaseEvent(QKeyEvent* event)
{
    Input->Key(event);
    m_lock->takeKey(event, false);
    QWidget::keyReleaseEvent(event);
}

void TPlay::EscHeld()
{
    if (TimeIsUp())
        emit playTimeOver();
    LeaveRound();
}

void TPlay::closeEvent(QCloseEvent* event)
{
    if (!m_leaving) {
        // Under the child lock the window system cannot end the round.
        if (m_lock->isOn() && m_modalLoop) {
            event->ignore();
            return;
        }
        // A close from the window system (Alt+F4) ends the round as Esc does,
        // also during the prize pause, so no timer ticks behind a hidden window
        // and no prize is left standing for the next round.
        ClearRound();
        EndPauses();
        emit roundEnded();
    }
    m_lock->release();
    Input->RoundEnded();
    m_hiddenCheck.stop();
    event->accept();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void TPlay::changeEvent(QEvent* event)
{
    // Minimised by the window system ("show desktop", a minimise request):
    // the round ends as on a window-system close, so the program never runs
    // on with no window on screen; under the child lock the field takes the
    // screen back instead. Queued, so the state change completes first.
    if (event->type() == QEvent::WindowStateChange && m_modalLoop && !m_lock->answerStateChange()
        && (windowState() & Qt::WindowMinimized))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    QWidget::changeEvent(event);
}

bool TPlay::eventFilter(QObject* watched, QEvent* event)
{
    // Qt hears of the field's unmapping (another desktop shown, "show
    // desktop") as an exposure to nothing; of its own hiding too, but then
    // it no longer counts the field as mapped. Looked at again a moment
    // later, so the late unmapping of a round just left and begun again is
    // not taken for one. The child lock brings a hidden field back itself.
    if (event->type() == QEvent::Expose && watched == windowHandle() && !windowHandle()->isExposed()
        && m_modalLoop && !m_lock->isOn() && testAttribute(Qt::WA_Mapped))
        m_hiddenCheck.start();
    // On easy play any mouse button is a press, wherever the pointer is; it
    // does not also click. So is a turn of the wheel.
    if (Input->EasyPlay() && watched == windowHandle()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Input->Press();
            return true;
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::Wheel:
            Input->Wheel(static_cast<QWheelEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TPlay::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return Input->Touch(static_cast<QTouchEvent*>(event));
    default:
        return QWidget::event(event);
    }
}

void TPlay::EndHiddenRound()
{
    if (m_modalLoop && isVisible() && !windowHandle()->isExposed())
        close();
}

void TPlay::PutPicture(TImage* control, const std::function<QImage()>& picture)
{
    try {
        control->setPicture(picture());
    } catch (const zephyra::Error&) {
        control->setPicture(QImage());
        if (!m_pictureFailure)
            m_pictureFailure = std::current_exception();
    }
}

void TPlay::FinishHandler()
{
    if (std::exception_ptr failure = std::exchange(m_pictureFailure, nullptr))
        std::rethrow_exception(failure);
}

void TPlay::LaunchStep()
{
    if (PlayState.LaunchElapsed < GameSettings.LaunchInterval) {
        PlayState.LaunchElapsed += kTickMs;
        return;
    }
    Launch();  // with every slot in flight the credit is kept and the next tick tries again
}

int TPlay::Launch()
{
    const int picture = zephyra::randomInt(kBalloonColours) + GameSettings.BalloonImageBase;
    const int column = zephyra::randomInt(kLaunchColumns);
    for (int n = 1; n <= kSlotCount; ++n) {
        // By name, as the layout names the slots; the per-tick loops use the
        // cached m_slots, this runs once a launch.
        auto* slot = findChild<TImage*>(QStringLiteral("Ball%1").arg(n), Qt::FindDirectChildrenOnly);
        if (!slot || !slot->isHidden())
            continue;
        PutPicture(slot, [&] { return listPicture(PngImageCollection1, picture); });
        const int top = height() - GameSettings.BalloonHeight;
        // A window narrower than a balloon would give a negative column
        // width and push balloons off the left edge; it starts them at 0.
        const int q = std::max(0, (width() - GameSettings.BalloonWidth) / kLaunchColumns);
        const int r = zephyra::randomInt(q);
        slot->move(r + q * column, top);
        slot->show();
        ++PlayState.LaunchedCount;
        ReplaceLine(LCDScreen1, launchedLine(PlayState.LaunchedCount));
        PlayState.LaunchElapsed = 0;
        return n - 1;
    }
    return -1;
}

void TPlay::WaspStep()
{
    const QPoint p = zephyra::waspTarget(this);
    ImageBee->move(p.x() - GameSettings.WaspHotspot, p.y() - GameSettings.WaspHotspot);
}

void TPlay::RiseStep(TImage* slot, int step)
{
    if (slot->y() > -GameSettings.BalloonHeight)
        slot->move(slot->x(), slot->y() - step);
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

void TPlay::PutBurstPicture(TImage* slot)
{
    PutPicture(slot, [this] { return listPicture(PngImageCollectionBoom, GameSettings.BurstImageIndex); });
}

void TPlay::CountDownBurst(int index)
{
    std::uint8_t& phase = PlayState.BurstPhase[static_cast<std::size_t>(index)];
    if (phase == 0)
        return;
    if (phase < kLastBurstPhase) {
        ++phase;
    } else {
        m_slots[static_cast<std::size_t>(index)]->hide();
        phase = 0;
    }
}

void TPlay::BurstStep(int index)
{
    // A pop found by the sting gets its burst picture here; a click puts it
    // up itself, and its tick only counts down.
    if (PlayState.BurstPhase[static_cast<std::size_t>(index)] == 1)
        PutBurstPicture(m_slots[static_cast<std::size_t>(index)]);
    CountDownBurst(index);
}

void TPlay::Timer_B1Timer() { Tick(Timer_B1); }

void TPlay::TimerClickTimer() { Tick(TimerClick); }

void TPlay::Tick(QTimer* tickTimer)
{
    if (TimeIsUp()) {
        FloatAwayStep();
        return;
    }
    LaunchStep();
    Input->Step();
    WaspStep();
    std::bitset<kSlotCount> risen;
    for (int i = 0; i < kSlotCount; ++i) {
        TImage* slot = m_slots[static_cast<std::size_t>(i)];
        if (slot->isHidden() || PlayState.BurstPhase[static_cast<std::size_t>(i)] != 0)
            continue;
        RiseStep(slot, GameSettings.FlightStep);
        risen.set(static_cast<std::size_t>(i));
    }
    PopStep(tickTimer, risen);
    m_clock.step(kTickMs);
    FinishHandler();
}

void TPlay::PopStep(QTimer* tickTimer, std::bitset<kSlotCount> risen)
{
    if (tickTimer != Timer_B1) {
        // A click finds and counts its pops itself (ImageBeeMouseDown); the
        // tick runs the bursts down, then an easy-play flight's arrival is
        // the click, so its burst lasts as long as a click's.
        for (int i = 0; i < kSlotCount; ++i)
            CountDownBurst(i);
        if (const int index = EasyArrival(); index >= 0)
            ClickPop(index);
        return;
    }
    // By movement the sting finds the balloons that rose into it, tested at
    // their place after the rise even if the rise hid them.
    bool popped = false;
    for (int i = 0; i < kSlotCount; ++i)
        if (risen.test(static_cast<std::size_t>(i)) && !Input->PassesBy(i) && HitTest(i))
            popped = true;
    if (const int index = EasyArrival(); index >= 0) {
        PlayState.BurstPhase[static_cast<std::size_t>(index)] = 1;  // its burst step puts up the picture
        popped = true;
    }
    for (int i = 0; i < kSlotCount; ++i)
        BurstStep(i);
    // However many balloons burst in this tick, they count as one pop.
    if (popped)
        CountPop(Timer_B1);
}

int TPlay::EasyArrival() const
{
    const int index = Input->Arrived();
    if (index < 0 || m_slots[static_cast<std::size_t>(index)]->isHidden()
        || PlayState.BurstPhase[static_cast<std::size_t>(index)] != 0)
        return -1;  // it left the field, or the sting's touch popped it already
    return index;
}

void TPlay::ClickPop(int index)
{
    PutBurstPicture(m_slots[static_cast<std::size_t>(index)]);
    PlayState.BurstPhase[static_cast<std::size_t>(index)] = 1;
    WorkClick();
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
        PopWave(m_sound);
}

void TPlay::ShowPrize(QTimer* tickTimer)
{
    tickTimer->stop();
    Input->Land();  // a flight and a kept press end with the round's balloons
    HideSlots();
    ImagePriz->move(width() / 2 - kPrizeOffset, height() / 2 - kPrizeOffset);
    if (ImagePriz->Picture().isNull())
        PutPicture(ImagePriz, [] { return zephyra::loadPicture(kPrizePicture); });
    ImagePriz->show();
    PrizWave();
    TimerPriz->start();
}

void TPlay::PrizWave() { m_sound.play(zephyra::SoundId::Prize); }

void TPlay::TimerPrizTimer()
{
    ImagePriz->hide();
    ImagePriz->setPicture(QImage());
    TimerPriz->stop();
    ResetCounters();
    m_clock.step(kPrizePauseMs);
    if (isVisible())
        TickTimer()->start();
}

void TPlay::FloatAwayStep()
{
    // The wasp still flies; nothing pops any more.
    Input->Step();
    WaspStep();
    // Fast enough to clear the tallest screen in kFloatAwayTicks, never slower than play.
    const int step = std::max(GameSettings.FlightStep, (height() + GameSettings.BalloonHeight) / kFloatAwayTicks + 1);
    bool flying = false;
    for (int i = 0; i < kSlotCount; ++i) {
        TImage* slot = m_slots[static_cast<std::size_t>(i)];
        if (slot->isHidden())
            continue;
        if (PlayState.BurstPhase[static_cast<std::size_t>(i)] != 0)
            CountDownBurst(i);
        else
            RiseStep(slot, step);
        flying = flying || !slot->isHidden();
    }
    if (!flying)
        ShowNight();
    FinishHandler();
}

void TPlay::ShowNight()
{
    Timer_B1->stop();
    TimerClick->stop();
    Dusk->setGeometry(rect());
    Dusk->show();
    if (ImageNight->Picture().isNull())
        PutPicture(ImageNight, [] { return zephyra::loadPicture(kNightPicture); });
    const QSize size = ImageNight->Picture().deviceIndependentSize().toSize();
    ImageNight->setGeometry(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
    ImageNight->show();
    m_sound.play(zephyra::SoundId::Lullaby);
    emit nightFell();
    // Under the lock it stays until a grown-up holds Esc.
    if (!m_lock->isOn())
        TimerNight->start();
}

void TPlay::TimerNightTimer()
{
    TimerNight->stop();
    LeaveRound();
}

void TPlay::ImageBeeMouseDown(Qt::MouseButton button)
{
    if (GameSettings.PopMode == PopByMove)
        return;
    const bool chosen = (GameSettings.PopMode == PopByLeftClick && button == Qt::LeftButton)
                        || (GameSettings.PopMode == PopByRightClick && button == Qt::RightButton);
    if (!chosen)
        return;
    for (int i = 0; i < kSlotCount; ++i) {
        TImage* slot = m_slots[static_cast<std::size_t>(i)];
        if (!slot->isHidden() && PlayState.BurstPhase[static_cast<std::size_t>(i)] == 0 && HitTest(i))
            ClickPop(i);
    }
    FinishHandler();
}

void TPlay::WorkClick() { CountPop(TimerClick); }

void ApplyBalloonSize(SizeChoice choice)
{
    const BalloonSizeRow row = balloonSizeRow(choice);
    GameSettings.BalloonImageBase = row.imageBase;
    GameSettings.BalloonWidth = row.width;
    GameSettings.BalloonHeight = row.height;
    if (Play) {
        // Width first, then height, each a change of its own, as for the wasp
        // below: whatever watches a size sees the same two steps every time.
        for (TImage* slot : Play->Slots()) {
            slot->resize(GameSettings.BalloonWidth, slot->height());
            slot->resize(slot->width(), GameSettings.BalloonHeight);
        }
    }
    GameSettings.BurstImageIndex = row.burstIndex;
}

void ApplyWaspSize(SizeChoice choice)
{
    const WaspSizeRow row = waspSizeRow(choice);
    GameSettings.WaspSizeIndex = row.index;
    if (Play) {
        TImage* bee = Play->ImageBee;
        bee->resize(row.side, bee->height());
        bee->resize(bee->width(), row.side);
        if (auto* item = Play->PngImageCollection2->Items()->Items(GameSettings.WaspSizeIndex))
            bee->setPicture(item->PngImage());
    }
    GameSettings.StingLeft = row.stingLeft;
    GameSettings.StingRight = row.stingRight;
    GameSettings.StingTop = row.stingTop;
    GameSettings.StingBottom = row.stingBottom;
    GameSettings.WaspHotspot = row.hotspot;
}
