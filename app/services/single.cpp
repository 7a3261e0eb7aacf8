#include "app/services/single.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

// Without an address or the usual socket there is no bus to ask, and asking
// would make the bus library start one of its own for the X display.
bool sessionBusExpected()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFile::exists(runtime + QStringLiteral("/bus"));
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

bool OneGame::claimBySocket(const QString& startupId)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !QDir().mkpath(runtime))
        return true;
    const QString base = runtime + QLatin1Char('/') + m_appId + QLatin1Char('.') + displayKey();
    m_socketPath = base + QStringLiteral(".socket");
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
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kRequest + startupId.toUtf8() + '\n');
            while (socket.waitForReadyRead(int(deadline.remainingTime())))
                if (socket.readAll().startsWith(kAnswer))
                    return false;
        }
        QThread::msleep(50);
    }
    // A game that holds the lock but does not answer is hung: this one runs
    // and answers the next starts in its place.
    serve();
    return true;
}

void OneGame::serve()
{
    QLocalServer::removeServer(m_socketPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine().trimmed();
                if (!line.startsWith(kRequest.trimmed()))
                    return;
                socket->write(kAnswer);
                socket->flush();
                emit frontRequested(QString::fromUtf8(line.mid(kRequest.size())));
            });
        }
    });
    if (!m_server->listen(m_socketPath))
        m_server.reset();
}

void OneGame::release()
{
    if (!m_busName.isEmpty()) {
        QDBusConnection::sessionBus().unregisterService(m_busName);
        QDBusConnection::sessionBus().unregisterObject(objectPath(m_appId));
        m_busName.clear();
    }
    if (m_server) {
        m_server->close();  // removes the socket file
        m_server.reset();
    }
    if (m_lock >= 0)
        ::close(std::exchange(m_lock, -1));
}

}  // namespace zephyra

#include "single.moc"
