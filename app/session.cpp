#include "app/session.h"

#include "app/startup.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "menu/Unit_options.h"
#include "menu/menu.h"
#include "platform/centring.h"
#include "platform/language.h"
#include "play/UnitPlay.h"
#include "settings/settingsfile.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <tuple>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zephyra {

namespace {

// ---- Watching the game

// The game being watched, for the signal handler that passes an end on.
std::atomic<pid_t> watchedGame{0};
volatile std::sig_atomic_t endAsked = 0;

// A message box's width; its words wrap within.
constexpr int kMessageWidth = 480;

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

void passEndOn(int signal)
{
    endAsked = 1;
    if (const pid_t game = watchedGame.load(); game > 0)
        kill(game, signal);
}

void handleEndSignals(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int signal : kEndSignals)
        sigaction(signal, &action, nullptr);
}

// Status as a shell reports it: the exit code, or 128 and the signal.
int shellStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

void sayOnTerminal(const QByteArray& line) { std::fprintf(stderr, "zephyra: %s\n", line.constData()); }

// The words a grown-up reads when the game cannot go on, on the backdrop.
void showSessionEnd(int& argc, char** argv)
{
    QGuiApplication::setDesktopSettingsAware(false);
    exitOnFatalError(true);
    QApplication app(argc, argv);
    exitOnFatalError(false);
    QCoreApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
    installLanguage();
    if (const QString language = readSettingsFiles(settingsFiles(), nullptr).choices.language; !language.isEmpty())
        installLanguage(language);
    TBackdrop backdrop;
    backdrop.showFullScreen();
    backdrop.showMessage(QMessageBox::Information,
                         QCoreApplication::translate("zephyra", "ZEPHYRA stopped unexpectedly and could not be "
                                                                "started again. This session ends now: at the login "
                                                                "screen a grown-up can choose it again, or another one."));
}

// ---- The backdrop

struct Puff {
    double x, y, size;  // the centre, in parts of the backdrop; the size in parts of its height
};

// Clouds along the edges, where the start screen leaves the sky free.
constexpr Puff kClouds[] = {{0.10, 0.16, 1.0}, {0.90, 0.10, 0.8}, {0.06, 0.80, 0.9},
                            {0.93, 0.74, 1.1}, {0.50, 0.05, 0.6}, {0.52, 0.96, 0.7}};

struct Balloon {
    Puff place;
    QRgb colour;
};

// The start screen's balloon colours: red, yellow, green, blue.
constexpr Balloon kBalloons[] = {{{0.05, 0.45, 0.16}, 0xffe8414b},
                                 {{0.95, 0.40, 0.14}, 0xfff7c938},
                                 {{0.20, 0.90, 0.12}, 0xff4cbf4f},
                                 {{0.80, 0.93, 0.13}, 0xff3d8fe0}};

void paintCloud(QPainter& p, QPointF centre, double unit)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xcf, 0xe2, 0xf2));
    p.drawEllipse(centre + QPointF(0, 12 * unit), 78 * unit, 22 * unit);
    p.setBrush(Qt::white);
    for (const auto& [dx, dy, r] : {std::tuple{-42, 0, 26}, {-10, -16, 36}, {30, -6, 30}, {58, 6, 20}})
        p.drawEllipse(centre + QPointF(dx * unit, dy * unit), r * unit, r * unit);
    p.drawEllipse(centre + QPointF(4 * unit, 10 * unit), 70 * unit, 14 * unit);
}

void paintBalloon(QPainter& p, QPointF centre, double height, QColor colour)
{
    const double rx = height * 0.41;
    const double ry = height / 2;
    p.setPen(QPen(QColor(255, 255, 255, 170), height / 90));
    p.drawLine(centre + QPointF(0, ry), centre + QPointF(height * 0.05, ry + height * 0.7));
    QRadialGradient shine(centre - QPointF(rx * 0.35, ry * 0.4), ry * 1.2);
    shine.setColorAt(0, colour.lighter(150));
    shine.setColorAt(0.5, colour);
    shine.setColorAt(1, colour.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(centre, rx, ry);
    p.setBrush(colour.darker(115));
    QPainterPath knot;
    knot.moveTo(centre + QPointF(-height * 0.03, ry - 1));
    knot.lineTo(centre + QPointF(height * 0.03, ry - 1));
    knot.lineTo(centre + QPointF(height * 0.05, ry + height * 0.06));
    knot.lineTo(centre + QPointF(-height * 0.05, ry + height * 0.06));
    p.drawPath(knot);
}

}  // namespace

std::optional<int> superviseSession(int& argc, char** argv)
{
    // Without XWayland the compositor gives no X display, and the game has
    // nothing to show on: the session ends at once instead of standing black.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        sayOnTerminal("the session needs XWayland (the xwayland package): no X display");
        return 1;
    }
    // The compositor ending ends the watch too.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    handleEndSignals(passEndOn);
    for (int crashes = 0;;) {
        const pid_t game = fork();
        if (game == 0) {
            handleEndSignals(SIG_DFL);
            return std::nullopt;
        }
        if (game < 0) {
            // Unwatched is better than not at all.
            handleEndSignals(SIG_DFL);
            return std::nullopt;
        }
        watchedGame = game;
        if (endAsked)
            kill(game, SIGTERM);
        int status = 0;
        while (waitpid(game, &status, 0) < 0 && errno == EINTR) {
        }
        watchedGame = 0;
        if (endAsked)
            return shellStatus(status);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            return 0;
        ++crashes;
        const QByteArray how = WIFSIGNALED(status) ? "crashed (signal " + QByteArray::number(WTERMSIG(status)) + ")"
                                                   : "ended with status " + QByteArray::number(WEXITSTATUS(status));
        if (crashes <= kSessionRestarts) {
            sayOnTerminal("the game " + how + "; starting it again (" + QByteArray::number(crashes) + " of "
                          + QByteArray::number(kSessionRestarts) + ")");
            continue;
        }
        sayOnTerminal("the game " + how + " again; the session ends");
        handleEndSignals(SIG_DFL);
        showSessionEnd(argc, argv);
        return 1;
    }
}

TBackdrop::TBackdrop() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Backdrop"));
    setWindowTitle(QStringLiteral("ZEPHYRA backdrop"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Without a window manager full screen alone keeps the default size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
}

TBackdrop::~TBackdrop()
{
    for (const auto& [window, flags] : m_embedded)
        if (window) {
            window->removeEventFilter(this);
            window->setParent(nullptr, flags);
        }
}

void TBackdrop::embed(QWidget* window)
{
    std::erase_if(m_embedded, [](const auto& embedded) { return !embedded.first; });  // messages gone
    m_embedded.emplace_back(window, window->windowFlags());
    const bool shown = window->isVisible();
    window->setParent(this);
    window->setVisible(shown);  // a hidden one stays hidden when the backdrop shows
    // A window's background was the window system's to paint; the sky must
    // not show through.
    window->setAutoFillBackground(true);
    window->installEventFilter(this);
    centre(window);
}

void TBackdrop::showMessage(QMessageBox::Icon icon, const QString& text)
{
    // A panel, not a dialog: a modal dialog in another window's place would
    // get a native window of its own, which the compositor does not size.
    QFrame box(this);
    box.setObjectName(QStringLiteral("Message"));
    box.setFrameShape(QFrame::StyledPanel);
    auto* picture = new QLabel(&box);
    const QStyle::StandardPixmap kind = icon == QMessageBox::Critical  ? QStyle::SP_MessageBoxCritical
                                        : icon == QMessageBox::Warning ? QStyle::SP_MessageBoxWarning
                                                                       : QStyle::SP_MessageBoxInformation;
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    picture->setPixmap(style()->standardIcon(kind).pixmap(side, side));
    auto* words = new QLabel(text, &box);
    words->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    auto* layout = new QGridLayout(&box);
    layout->addWidget(picture, 0, 0, Qt::AlignTop);
    layout->addWidget(words, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(16);
    box.setFixedWidth(kMessageWidth);
    box.setFixedHeight(box.heightForWidth(kMessageWidth));
    std::vector<QPointer<QWidget>> waiting;
    for (const auto& [window, flags] : m_embedded)
        if (window && window->isEnabled()) {
            window->setEnabled(false);
            waiting.emplace_back(window);
        }
    embed(&box);
    box.show();
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    QEventLoop shown;
    connect(buttons, &QDialogButtonBox::accepted, &shown, &QEventLoop::quit);
    shown.exec();
    for (const QPointer<QWidget>& window : waiting)
        if (window)
            window->setEnabled(true);
}

void TBackdrop::centre(QWidget* child) { child->move(centredIn(rect(), child->size())); }

void TBackdrop::resizeEvent(QResizeEvent* event)
{
    for (QObject* child : children())
        if (auto* widget = qobject_cast<QWidget*>(child))
            centre(widget);
    QWidget::resizeEvent(event);
}

bool TBackdrop::eventFilter(QObject* watched, QEvent* event)
{
    // Whatever places or sizes an embedded window (its own first showing),
    // it stays in the middle.
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        centre(static_cast<QWidget*>(watched));
    return QWidget::eventFilter(watched, event);
}

void TBackdrop::paintEvent(QPaintEvent*)
{
    // Drawn, not a scaled picture: sharp at every size and density.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x7c, 0xc2, 0xf4));
    sky.setColorAt(0.55, QColor(0xbf, 0xe3, 0xfb));
    sky.setColorAt(1, QColor(0xe8, 0xf6, 0xff));
    p.fillRect(rect(), sky);
    const double unit = height() / 720.0;
    for (const Puff& cloud : kClouds)
        paintCloud(p, QPointF(cloud.x * width(), cloud.y * height()), unit * cloud.size);
    for (const Balloon& balloon : kBalloons)
        paintBalloon(p, QPointF(balloon.place.x * width(), balloon.place.y * height()),
                     balloon.place.size * height(), QColor::fromRgba(balloon.colour));
}

Session::Session() : m_backdrop(std::make_unique<TBackdrop>())
{
    m_backdrop->embed(START);
    m_backdrop->embed(Options);
    m_backdrop->showFullScreen();
    m_plainMessages = setMessagePresenter([this](QMessageBox::Icon icon, const QString& caption, const QString& text) {
        // Over a round the box stands over the field, as on any start.
        if (Play->isVisible()) {
            MessagePresenter session = setMessagePresenter(m_plainMessages);
            showMessage(icon, caption, text);
            setMessagePresenter(std::move(session));
            return;
        }
        m_backdrop->showMessage(icon, text);
    });

    // The child cannot leave for a browser: the banner says so instead.
    NoWebPageNote = new QLabel(START);
    NoWebPageNote->setObjectName(QStringLiteral("NoWebPageNote"));
    // The address is not broken at its hyphens.
    NoWebPageNote->setText(
        QCoreApplication::translate("zephyra", "The web page does not open here. A grown-up can visit %1 on "
                                               "another computer.")
            .arg(QUrl(QStringLiteral(ZEPHYRA_WEB_ADDRESS)).host().replace(QLatin1Char('-'), QChar(0x2011))));
    NoWebPageNote->setWordWrap(true);
    NoWebPageNote->setAlignment(Qt::AlignCenter);
    NoWebPageNote->setStyleSheet(QStringLiteral("QLabel { background: rgba(16, 58, 140, 230); color: white; "
                                                "border-radius: 10px; padding: 4px 14px; font-weight: bold; }"));
    // Over the panel's last lines of text, the banner left in sight.
    NoWebPageNote->setGeometry(80, 384, 540, 58);
    NoWebPageNote->hide();
    m_noteShown.setSingleShot(true);
    m_noteShown.setInterval(kNoWebPageNoteMs);
    connect(&m_noteShown, &QTimer::timeout, NoWebPageNote, &QWidget::hide);
    QObject::disconnect(START->Image2, &TImage::clicked, START, nullptr);
    connectHandler(START->Image2, &TImage::clicked, this, &Session::Image2Click);

    // Play time is over: after goodnight, back to the login screen. Under
    // the lock a grown-up holding Esc over it ends the session at once.
    TimerNightOver = new QTimer(this);
    TimerNightOver->setObjectName(QStringLiteral("TimerNightOver"));
    TimerNightOver->setSingleShot(true);
    TimerNightOver->setInterval(kNightPauseMs);
    connect(Play, &TPlay::nightFell, TimerNightOver, qOverload<>(&QTimer::start));
    connect(TimerNightOver, &QTimer::timeout, this, &Session::ended);
    connect(Play, &TPlay::playTimeOver, this, &Session::ended);
}

Session::~Session() { setMessagePresenter(std::move(m_plainMessages)); }

void Session::Image2Click()
{
    NoWebPageNote->show();
    NoWebPageNote->raise();
    m_noteShown.start();
}

}  // namespace zephyra
