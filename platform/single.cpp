#include "platform/single.h"

#include "settings/languages.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zephyra {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");
const QString kHandoverInterface = QStringLiteral("zephyra.OneGame");
const QString kStartupIdKey = QStringLiteral("desktop-startup-id");
// The socket's requests, one line each: "front <startup id>", "choose
// <choices> <startup id>" and "yield"; the answers "ok" (after a choice,
// perhaps with what could not be taken: "ok <why>") and "no".
const QByteArray kFront = QByteArrayLiteral("front");
const QByteArray kChoose = QByteArrayLiteral("choose");
const QByteArray kYield = QByteArrayLiteral("yield");
const QByteArray kOk = QByteArrayLiteral("ok\n");
const QByteArray kNo = QByteArrayLiteral("no\n");
// A grown-up's choices as one word: "child-lock,easy-play,play-time-ms=600000".
const QString kLockWord = QStringLiteral("child-lock");
const QString kEasyWord = QStringLiteral("easy-play");
const QString kPlayTimeWord = QStringLiteral("play-time-ms=");
const QString kVolumeWord = QStringLiteral("volume=");
const QString kLanguageWord = QStringLiteral("language=");
// What a grown-up hears when the running game is of an earlier version.
QString olderGame()
{
    return QCoreApplication::translate("zephyra", "it is an earlier version that cannot take these choices: "
                                                  "close it and start the game again");
}
// A request is one short line; a longer one is no request of ours.
constexpr qsizetype kLongestLine = 4096;

// The display this game shows on, as a name element: "x11_0" for DISPLAY=:0.
// Two desktops of one user (two seats, a remote session) each get a game.
QString displayKey()
{
    QString display;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        display = qEnvironmentVariable("DISPLAY");
        // ":0.0" and ":0" are one display; the screen number is not part of it.
        display.remove(QRegularExpression(QStringLiteral("\\.[0-9]+$")));
        if (display.startsWith(QLatin1Char(':')))
            display.remove(0, 1);
        display.prepend(QStringLiteral("x11_"));
    } else if (platform.startsWith(QLatin1String("wayland"))) {
        display = QStringLiteral("wayland_") + qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    } else {
        display = platform;
    }
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("_"));
    return display;
}

QString objectPath(const QString& appId)
{
    return QLatin1Char('/') + QString(appId).replace(QLatin1Char('.'), QLatin1Char('/'));
}

// Serves Activate for the game; a later start calls it.
class Adaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit Adaptor(OneGame* game) : QDBusAbstractAdaptor(game), m_game(game) {}

public slots:
    void Activate(const QVariantMap& platformData)
    {
        emit m_game->frontRequested(platformData.value(kStartupIdKey).toString());
    }

private:
    OneGame* m_game;
};

// Asked by a game that was taken over with a round on its screen, and by a
// later start that brings a grown-up's choices.
class Handover : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "zephyra.OneGame")
public:
    Handover(OneGame* game, std::function<bool()> giveWay, std::function<QString(const QString&)> choose)
        : QDBusAbstractAdaptor(game), m_game(game), m_giveWay(std::move(giveWay)), m_choose(std::move(choose))
    {
    }

public slots:
    bool GiveWay() { return m_giveWay(); }
    // Puts the choices in force and comes to the front; says what it could not take.
    QString Choose(const QVariantMap& platformData, const QString& choices)
    {
        const QString notTaken = m_choose(choices);
        emit m_game->frontRequested(platformData.value(kStartupIdKey).toString());
        return notTaken;
    }

private:
    OneGame* m_game;
    std::function<bool()> m_giveWay;
    std::function<QString(const QString&)> m_choose;
};

}  // namespace

QString encodeChoices(const ParentChoices& choices, bool wholeSet)
{
    QStringList words;
    if (choices.childLock)
        words << kLockWord;
    if (choices.easyPlay)
        words << kEasyWord;
    if (choices.playTime.count() > 0)
        words << kPlayTimeWord + QString::number(choices.playTime.count());
    if (wholeSet) {
        words << kVolumeWord + QString::number(choices.volume);
        if (!choices.language.isEmpty())
            words << kLanguageWord + choices.language;
    }
    return words.join(QLatin1Char(','));
}

HandedChoices decodeChoices(const QString& text)
{
    HandedChoices handed;
    ParentChoices& choices = handed.choices;
    constexpr qint64 kLongest = qint64(kMostMinutes) * 60 * 1000;
    const auto number = [](const QString& word, const QString& key) {
        bool ok = false;
        const qint64 n = word.mid(key.size()).toLongLong(&ok);
        return ok ? n : -1;
    };
    for (const QString& word : text.split(QLatin1Char(','))) {
        choices.childLock = choices.childLock || word == kLockWord;
        choices.easyPlay = choices.easyPlay || word == kEasyWord;
        if (word.startsWith(kPlayTimeWord)) {
            const qint64 ms = number(word, kPlayTimeWord);
            if (ms > 0 && ms <= kLongest)
                choices.playTime = std::chrono::milliseconds(ms);
        } else if (word.startsWith(kVolumeWord)) {
            const qint64 level = number(word, kVolumeWord);
            handed.withVolume = level >= 0 && level <= kLoudest;
            choices.volume = handed.withVolume ? int(level) : kLoudest;
        } else if (word.startsWith(kLanguageWord) && availableLanguages().contains(word.mid(kLanguageWord.size()))) {
            choices.language = word.mid(kLanguageWord.size());
            handed.withLanguage = true;
        }
    }
    return handed;
}

bool sessionBusExpected()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFile::exists(runtime + QStringLiteral("/bus"));
}

OneGame::OneGame(const QString& appId, std::function<bool()> roundShown, TakeChoices takeChoices)
    : m_appId(appId), m_roundShown(std::move(roundShown)), m_takeChoices(std::move(takeChoices))
{
    m_acceptRest.setSingleShot(true);
    m_acceptRest.setInterval(kAcceptRestMs);
    connect(&m_acceptRest, &QTimer::timeout, this, &OneGame::updateListening);
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &OneGame::lookAtPlace);
}

OneGame::~OneGame() { release(); }

bool OneGame::claim(const QString& startupId, const ParentChoices& handed, QString* notTaken, bool wholeSet)
{
    const QString choices = encodeChoices(handed, wholeSet);
    bool decided = false;
    if (sessionBusExpected()) {
        const bool first = claimOnBus(startupId, choices, &decided, notTaken);
        if (decided)
            return first;
    }
    return claimBySocket(startupId, choices, notTaken);
}

QString OneGame::take(const QString& choices)
{
    return m_takeChoices ? m_takeChoices(decodeChoices(choices)) : QString();
}

bool OneGame::claimOnBus(const QString& startupId, const QString& choices, bool* decided, QString* notTaken)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;
    const QString name = m_appId + QLatin1Char('.') + displayKey();
    const QString path = objectPath(m_appId);
    // Served before the name is taken, so a start that finds the name finds the game.
    new Adaptor(this);
    new Handover(this, [this] { return giveWay(); }, [this](const QString& c) { return take(c); });
    if (!bus.registerObject(path, this, QDBusConnection::ExportAdaptors))
        return true;
    // Watched before the name is taken, so no later start taking it goes unseen.
    m_nameWatcher = std::make_unique<QDBusServiceWatcher>(name, bus, QDBusServiceWatcher::WatchForOwnerChange);
    connect(m_nameWatcher.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { nameMoved(newOwner); });
    const auto take = [&](QDBusConnectionInterface::ServiceQueueOptions how) {
        const auto reply = bus.interface()->registerService(name, how, QDBusConnectionInterface::AllowReplacement);
        return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    };
    *decided = true;
    if (take(QDBusConnectionInterface::DontQueueService)) {
        m_busName = name;
        return true;
    }
    const QVariantMap platformData{{kStartupIdKey, startupId}};
    QDBusMessage front = choices.isEmpty()
                             ? QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("Activate"))
                                   << platformData
                             : QDBusMessage::createMethodCall(name, path, kHandoverInterface, QStringLiteral("Choose"))
                                   << platformData << choices;
    QDBusMessage reply = bus.call(front, QDBus::Block, kAnswerMs);
    // A game of an earlier version knows no choices: it comes forward, and
    // the grown-up hears that their choice did not reach it.
    bool older = false;
    if (reply.type() == QDBusMessage::ErrorMessage && !choices.isEmpty()
        && (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")
            || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface"))) {
        older = true;
        reply = bus.call(QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("Activate"))
                             << platformData,
                         QDBus::Block, kAnswerMs);
    }
    if (reply.type() == QDBusMessage::ReplyMessage) {
        if (notTaken && !choices.isEmpty())
            *notTaken = older ? olderGame() : reply.arguments().value(0).toString();
        m_nameWatcher.reset();
        bus.unregisterObject(path);
        return false;
    }
    // Gone meanwhile, or hung: this start becomes the game.
    if (take(QDBusConnectionInterface::ReplaceExistingService))
        m_busName = name;
    return true;
}

void OneGame::nameMoved(const QString& newOwner)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_busName.isEmpty() || newOwner == bus.baseService())
        return;
    // A change seen late may be an old one: the bus says who holds the name now.
    const auto owner = bus.interface()->serviceOwner(m_busName);
    if (owner.isValid() && owner.value() == bus.baseService())
        return;
    takenOver();
}

namespace {

// A Unix socket at path, bound and listening, or connected without waiting
// (EAGAIN when the listener's queue is full); -1 with the reason in *error.
int unixSocket(const QByteArray& path, bool listen, int* error = nullptr)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    int failed = ENAMETOOLONG;
    int fd = -1;
    if (path.size() < qsizetype(sizeof address.sun_path)) {
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const auto* at = reinterpret_cast<const sockaddr*>(&address);
        const bool ok = fd >= 0
                        && (listen ? ::bind(fd, at, sizeof address) == 0 && ::listen(fd, 4) == 0
                                   : ::connect(fd, at, sizeof address) == 0);
        failed = errno;
        if (!ok && fd >= 0)
            ::close(std::exchange(fd, -1));
    }
    if (fd < 0 && error)
        *error = failed;
    return fd;
}

}  // namespace

void OneGame::openLock(const QByteArray& path)
{
    // Only a plain file is opened: a FIFO or a device in its place could
    // block the open or act on it.
    struct stat found {};
    const bool there = ::stat(path.constData(), &found) == 0;
    if (!there || S_ISREG(found.st_mode))
        m_lock = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (m_lock >= 0)
        return;
    const char* why = there && !S_ISREG(found.st_mode) ? "not a file" : std::strerror(errno);
    std::fprintf(stderr, "zephyra: %s cannot be the lock (%s); one game at a time is kept by the socket alone\n",
                 path.constData(), why);
}

bool OneGame::claimBySocket(const QString& startupId, const QString& choices, QString* notTaken)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !QDir().mkpath(runtime))
        return true;
    const QString base = runtime + QLatin1Char('/') + m_appId + QLatin1Char('.') + displayKey();
    m_socketPath = QFile::encodeName(base + QStringLiteral(".socket"));
    // The kernel lets the lock go with the process however it ends, so a
    // held lock means a live game; the socket file may be left from any.
    openLock(QFile::encodeName(base + QStringLiteral(".lock")));
    m_locked = m_lock >= 0 && ::flock(m_lock, LOCK_EX | LOCK_NB) == 0;
    const auto line = [&](const QByteArray& words) { return words + ' ' + startupId.toUtf8() + '\n'; };
    const QByteArray request = line(choices.isEmpty() ? kFront : kChoose + ' ' + choices.toUtf8());
    const QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        QByteArray said;
        Reply reply = askAt(m_socketPath, request, deadline, &said);
        // A game of an earlier version knows no choices: it comes forward,
        // and the grown-up hears that their choice did not reach it.
        if (reply == Reply::Unheard && !choices.isEmpty()) {
            reply = askAt(m_socketPath, line(kFront), deadline, &said);
            said = olderGame().toUtf8();
        }
        if (reply == Reply::Yes) {
            if (m_lock >= 0)
                ::close(std::exchange(m_lock, -1));
            if (notTaken)
                *notTaken = QString::fromUtf8(said);
            return false;
        }
        // No one listens. The lock held elsewhere means a game a moment away
        // from listening; holding it, or with no lock at all, nothing is.
        if (deadline.hasExpired() || (reply == Reply::Nobody && (m_locked || m_lock < 0)))
            break;
        QThread::msleep(50);
    }
    // A game that holds the place but does not answer is stopped or hung:
    // this one runs and answers the next starts in its place.
    serve();
    return true;
}

OneGame::Reply OneGame::askAt(const QByteArray& path, const QByteArray& request, const QDeadlineTimer& deadline,
                              QByteArray* said)
{
    int error = 0;
    const int fd = unixSocket(path, false, &error);
    if (fd < 0)
        return error == EAGAIN || error == EINTR ? Reply::Silent : Reply::Nobody;
    QByteArray answer;
    bool open = !request.isEmpty()
                && ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) == request.size();
    bool closedByGame = false;
    while (open && !answer.contains('\n') && answer.size() <= kLongestLine && !deadline.hasExpired()) {
        pollfd wait{fd, POLLIN, 0};
        char buffer[64];
        const bool ready = ::poll(&wait, 1, int(deadline.remainingTime())) == 1;
        const ssize_t got = ready ? ::read(fd, buffer, sizeof buffer) : 0;
        open = got > 0 || (got < 0 && errno == EAGAIN);
        closedByGame = ready && got == 0;
        if (got > 0)
            answer.append(buffer, got);
    }
    ::close(fd);
    if (request.isEmpty())
        return Reply::Yes;
    const QByteArray line = answer.left(answer.indexOf('\n'));
    if (line == kOk.trimmed() || line.startsWith(kOk.trimmed() + ' ')) {
        if (said)
            *said = line.mid(kOk.size()).trimmed();
        return Reply::Yes;
    }
    if (answer.startsWith(kNo))
        return Reply::No;
    return closedByGame && answer.isEmpty() ? Reply::Unheard : Reply::Silent;
}

// One start asking something of this game: its line, read as it arrives,
// and the time it has left to send it.
struct OneGame::Caller {
    int fd;
    QByteArray line;
    QSocketNotifier notifier;
    QTimer deadline;
    bool done = false;
    explicit Caller(int socket) : fd(socket), notifier(socket, QSocketNotifier::Read) { deadline.setSingleShot(true); }
    ~Caller() { ::close(fd); }
};

void OneGame::serve()
{
    m_listening.reset();
    if (m_listener >= 0)
        ::close(std::exchange(m_listener, -1));
    // Bound under a name of its own, then moved into the place in one step:
    // of several starts taking the place at once, each knows its own socket
    // file for sure, and the one that moved last holds the place.
    const QByteArray own = m_socketPath + '.' + QByteArray::number(::getpid());
    ::unlink(own.constData());
    // Only this user may ask.
    const mode_t mask = ::umask(0077);
    m_listener = unixSocket(own, true);
    ::umask(mask);
    struct stat bound {};
    if (m_listener < 0 || ::stat(own.constData(), &bound) != 0
        || ::rename(own.constData(), m_socketPath.constData()) != 0) {
        ::unlink(own.constData());
        if (m_listener >= 0)
            ::close(std::exchange(m_listener, -1));
        return;
    }
    m_placeDevice = bound.st_dev;
    m_placeInode = bound.st_ino;
    m_listening = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_listening.get(), &QSocketNotifier::activated, this, &OneGame::acceptCaller);
    updateListening();
    m_look.start();
}

void OneGame::stopServing()
{
    if (!m_busName.isEmpty()) {
        QDBusConnection::sessionBus().unregisterService(m_busName);
        m_busName.clear();
    }
    m_look.stop();
    if (m_listener >= 0) {
        m_listening.reset();
        // The file may be another game's by now.
        if (placeIsOurs())
            ::unlink(m_socketPath.constData());
        ::close(std::exchange(m_listener, -1));
    }
}

bool OneGame::placeIsOurs() const
{
    struct stat now {};
    return m_listener >= 0 && ::stat(m_socketPath.constData(), &now) == 0 && now.st_dev == m_placeDevice
           && now.st_ino == m_placeInode;
}

void OneGame::lookAtPlace()
{
    if (m_listener < 0)
        return;
    // The game that held the lock has ended: the next starts find this one by it.
    if (m_lock >= 0 && !m_locked)
        m_locked = ::flock(m_lock, LOCK_EX | LOCK_NB) == 0;
    if (!placeIsOurs())
        takenOver();
}

void OneGame::takenOver()
{
    const bool round = m_roundShown && m_roundShown();
    // With a round on the screen, the game in this one's place is asked to
    // give way; a place no one holds any more is simply taken back.
    const Reply reply = askHolder(round ? kYield : QByteArray(), kAnswerMs);
    if (reply == Reply::Nobody || (round && reply != Reply::No)) {
        if (m_busName.isEmpty()) {
            serve();
        } else {
            QDBusConnection::sessionBus().interface()->registerService(
                m_busName, QDBusConnectionInterface::ReplaceExistingService,
                QDBusConnectionInterface::AllowReplacement);
        }
        if (round)
            emit frontRequested(QString());
        return;
    }
    stopServing();
    emit replaced();
}

OneGame::Reply OneGame::askHolder(const QByteArray& request, int waitMs)
{
    if (m_busName.isEmpty())
        return askAt(m_socketPath, request.isEmpty() ? request : request + '\n', QDeadlineTimer(waitMs));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (request.isEmpty())
        return bus.interface()->isServiceRegistered(m_busName).value() ? Reply::Yes : Reply::Nobody;
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(m_busName, objectPath(m_appId), kHandoverInterface, QStringLiteral("GiveWay")),
        QDBus::Block, waitMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return reply.arguments().value(0).toBool() ? Reply::Yes : Reply::No;
    return bus.interface()->isServiceRegistered(m_busName).value() ? Reply::Silent : Reply::Nobody;
}

bool OneGame::giveWay()
{
    if (m_roundShown && m_roundShown())
        return false;
    // The place is free before the asker hears so.
    stopServing();
    QMetaObject::invokeMethod(this, &OneGame::replaced, Qt::QueuedConnection);
    return true;
}

void OneGame::acceptCaller()
{
    const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
        // Any refusal but a caller gone meanwhile (out of descriptors above
        // all) would wake the game at once for the same caller again.
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            m_acceptRest.start();
        updateListening();
        return;
    }
    auto* caller = new Caller(fd);
    m_callers.emplace_back(caller);
    connect(&caller->notifier, &QSocketNotifier::activated, this, [this, caller] { hear(caller, false); });
    connect(&caller->deadline, &QTimer::timeout, this, [this, caller] { hear(caller, true); });
    caller->deadline.start(kRequestMs);
    updateListening();
}

void OneGame::updateListening()
{
    if (m_listening)
        m_listening->setEnabled(!m_acceptRest.isActive() && m_callers.size() < size_t(kMostCallers));
}

void OneGame::hear(Caller* caller, bool lastChance)
{
    if (caller->done)
        return;
    char buffer[256];
    const ssize_t got = ::read(caller->fd, buffer, sizeof buffer);
    if (got > 0)
        caller->line.append(buffer, got);
    const qsizetype end = caller->line.indexOf('\n');
    if (end >= 0) {
        answer(caller, caller->line.left(end));
        letGo(caller);
        return;
    }
    // Woken with nothing to read yet, or with part of the line: it has
    // until its deadline. A caller gone or talking too long is let go.
    const bool more = got > 0 || (got < 0 && (errno == EAGAIN || errno == EINTR));
    if (!more || lastChance || caller->line.size() > kLongestLine)
        letGo(caller);
}

void OneGame::answer(Caller* caller, const QByteArray& line)
{
    const auto say = [caller](const QByteArray& what) {
        return ::send(caller->fd, what.constData(), size_t(what.size()), MSG_NOSIGNAL) == what.size();
    };
    const qsizetype space = line.indexOf(' ');
    const QByteArray verb = space < 0 ? line : line.left(space);
    if (verb == kYield) {
        say(giveWay() ? kOk : kNo);
    } else if (verb == kFront || verb == kChoose) {
        QByteArray rest = line.mid(verb.size() + 1);
        QByteArray reply = kOk;
        if (verb == kChoose) {
            const qsizetype end = rest.indexOf(' ');
            const QString notTaken = take(QString::fromUtf8(rest.left(end < 0 ? rest.size() : end)));
            rest = end < 0 ? QByteArray() : rest.mid(end + 1);
            if (!notTaken.isEmpty())
                reply = kOk.trimmed() + ' ' + notTaken.simplified().toUtf8() + '\n';
        }
        // A caller that stopped waiting may have taken this game's place.
        if (say(reply))
            emit frontRequested(QString::fromUtf8(rest.trimmed()));
        else
            QMetaObject::invokeMethod(this, &OneGame::lookAtPlace, Qt::QueuedConnection);
    }
}

void OneGame::letGo(Caller* caller)
{
    caller->done = true;
    caller->notifier.setEnabled(false);
    caller->deadline.stop();
    // Not from within its own notifier's signal.
    QMetaObject::invokeMethod(
        this,
        [this, caller] {
            std::erase_if(m_callers, [caller](const std::unique_ptr<Caller>& c) { return c.get() == caller; });
            updateListening();
        },
        Qt::QueuedConnection);
}

void OneGame::release()
{
    stopServing();
    if (m_nameWatcher) {
        m_nameWatcher.reset();
        QDBusConnection::sessionBus().unregisterObject(objectPath(m_appId));
    }
    m_callers.clear();
    if (m_lock >= 0)
        ::close(std::exchange(m_lock, -1));
    m_locked = false;
}

}  // namespace zephyra

#include "single.moc"
