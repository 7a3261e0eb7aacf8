#include "app/services/single.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
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
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zephyra {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");
const QString kStartupIdKey = QStringLiteral("desktop-startup-id");
const QByteArray kRequest = QByteArrayLiteral("front ");
const QByteArray kAnswer = QByteArrayLiteral("ok\n");

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

}  // namespace

bool sessionBusExpected()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFile::exists(runtime + QStringLiteral("/bus"));
}

OneGame::OneGame(const QString& appId) : m_appId(appId) {}

OneGame::~OneGame() { release(); }

bool OneGame::claim(const QString& startupId)
{
    bool decided = false;
    if (sessionBusExpected()) {
        const bool first = claimOnBus(startupId, &decided);
        if (decided)
            return first;
    }
    return claimBySocket(startupId);
}

bool OneGame::claimOnBus(const QString& startupId, bool* decided)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;
    const QString name = m_appId + QLatin1Char('.') + displayKey();
    const QString path = objectPath(m_appId);
    // Served before the name is taken, so a start that finds the name finds the game.
    new Adaptor(this);
    if (!bus.registerObject(path, this, QDBusConnection::ExportAdaptors))
        return true;
    const auto take = [&](QDBusConnectionInterface::ServiceQueueOptions how) {
        const auto reply = bus.interface()->registerService(name, how, QDBusConnectionInterface::AllowReplacement);
        return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    };
    *decided = true;
    if (take(QDBusConnectionInterface::DontQueueService)) {
        m_busName = name;
        return true;
    }
    QDBusMessage front = QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("Activate"));
    front << QVariantMap{{kStartupIdKey, startupId}};
    if (bus.call(front, QDBus::Block, kAnswerMs).type() == QDBusMessage::ReplyMessage) {
        bus.unregisterObject(path);
        return false;
    }
    // Gone meanwhile, or hung: this start becomes the game.
    if (take(QDBusConnectionInterface::ReplaceExistingService))
        m_busName = name;
    return true;
}

namespace {

// A Unix socket at path, in the state `connect` or `bind` leaves it; -1 when
// the path does not fit or the call fails.
int unixSocket(const QByteArray& path, bool listen)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return -1;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | (listen ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0)
        return -1;
    const auto* at = reinterpret_cast<const sockaddr*>(&address);
    const bool ok = listen ? ::bind(fd, at, sizeof address) == 0 && ::listen(fd, 4) == 0
                           : ::connect(fd, at, sizeof address) == 0;
    if (!ok) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Asks the game listening at path to come to the front; true once it says it will.
bool askToFront(const QByteArray& path, const QString& startupId, const QDeadlineTimer& deadline)
{
    const int fd = unixSocket(path, false);
    if (fd < 0)
        return false;
    const QByteArray request = kRequest + startupId.toUtf8() + '\n';
    bool answered = ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) == request.size();
    QByteArray answer;
    while (answered && !answer.contains('\n') && !deadline.hasExpired()) {
        pollfd wait{fd, POLLIN, 0};
        char buffer[64];
        const ssize_t got = ::poll(&wait, 1, int(deadline.remainingTime())) == 1 ? ::read(fd, buffer, sizeof buffer) : -1;
        if (got <= 0)
            answered = false;
        else
            answer.append(buffer, got);
    }
    ::close(fd);
    return answered && answer.startsWith(kAnswer);
}

}  // namespace

// One start asking to come to the front: its line, read as it arrives.
struct OneGame::Caller {
    int fd;
    QByteArray line;
    QSocketNotifier notifier;
    explicit Caller(int socket) : fd(socket), notifier(socket, QSocketNotifier::Read) {}
    ~Caller() { ::close(fd); }
};

bool OneGame::claimBySocket(const QString& startupId)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !QDir().mkpath(runtime))
        return true;
    const QString base = runtime + QLatin1Char('/') + m_appId + QLatin1Char('.') + displayKey();
    m_socketPath = QFile::encodeName(base + QStringLiteral(".socket"));
    m_lock = ::open(QFile::encodeName(base + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lock < 0)
        return true;
    // The kernel lets the lock go with the process however it ends, so a
    // held lock means a live game; the socket file may be left from any.
    if (::flock(m_lock, LOCK_EX | LOCK_NB) == 0) {
        serve();
        return true;
    }
    ::close(std::exchange(m_lock, -1));
    // The holder may be a moment away from listening: ask until it answers.
    const QDeadlineTimer deadline(kAnswerMs);
    while (!deadline.hasExpired()) {
        if (askToFront(m_socketPath, startupId, deadline))
            return false;
        QThread::msleep(50);
    }
    // A game that holds the lock but does not answer is hung: this one runs
    // and answers the next starts in its place.
    serve();
    return true;
}

void OneGame::serve()
{
    ::unlink(m_socketPath.constData());
    // Only this user may ask.
    const mode_t mask = ::umask(0077);
    m_listener = unixSocket(m_socketPath, true);
    ::umask(mask);
    if (m_listener < 0)
        return;
    m_listening = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    QObject::connect(m_listening.get(), &QSocketNotifier::activated, this, [this] {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        auto* caller = new Caller(fd);
        m_callers.emplace_back(caller);
        QObject::connect(&caller->notifier, &QSocketNotifier::activated, this, [this, caller] { hear(caller); });
    });
}

void OneGame::hear(Caller* caller)
{
    char buffer[256];
    const ssize_t got = ::read(caller->fd, buffer, sizeof buffer);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;  // woken with nothing to read yet
    if (got > 0)
        caller->line.append(buffer, got);
    const qsizetype end = caller->line.indexOf('\n');
    // A line is short; anything else, or a caller gone, is let go.
    if (end < 0 && got > 0 && caller->line.size() < 4096)
        return;
    if (end >= 0 && caller->line.startsWith(kRequest.trimmed())) {
        ::send(caller->fd, kAnswer.constData(), size_t(kAnswer.size()), MSG_NOSIGNAL);
        emit frontRequested(QString::fromUtf8(caller->line.left(end).mid(kRequest.size()).trimmed()));
    }
    caller->notifier.setEnabled(false);
    // Not from within its own notifier's signal.
    QMetaObject::invokeMethod(
        this,
        [this, caller] {
            std::erase_if(m_callers, [caller](const std::unique_ptr<Caller>& c) { return c.get() == caller; });
        },
        Qt::QueuedConnection);
}

void OneGame::release()
{
    if (!m_busName.isEmpty()) {
        QDBusConnection::sessionBus().unregisterService(m_busName);
        QDBusConnection::sessionBus().unregisterObject(objectPath(m_appId));
        m_busName.clear();
    }
    if (m_listener >= 0) {
        m_callers.clear();
        m_listening.reset();
        ::close(std::exchange(m_listener, -1));
        ::unlink(m_socketPath.constData());
    }
    if (m_lock >= 0)
        ::close(std::exchange(m_lock, -1));
}

}  // namespace zephyra

#include "single.moc"
