#pragma once
// One game at a time on each display: a second start brings the running game
// to the front and ends.

#include <QObject>
#include <QString>

#include <QByteArray>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace zephyra {

// Whether this process has a session bus to ask: an address, or the usual
// socket in the user's runtime folder. Without one, asking would make the bus
// library start a bus of its own for the X display, which outlives the game.
bool sessionBusExpected();

// The first start takes a name on the session bus (the application id with
// the display, serving org.freedesktop.Application's Activate), or, with no
// session bus, a lock and a local socket in the user's runtime folder. A
// later start asks the game holding it to come to the front. Nothing left by
// a game that crashed stops a start: the bus lets a name go with its owner,
// the kernel a lock with its holder, and a game that does not answer within
// kAnswerMs is taken over. When neither way works the game simply runs.
class OneGame : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnswerMs = 3000;

    explicit OneGame(const QString& appId);
    ~OneGame() override;

    // True when this start is the game; false when a running game has taken
    // the request to come to the front (with the launcher's startup id, which
    // may be empty) and this start should end.
    bool claim(const QString& startupId);
    // Lets the name or the socket go before the program ends, so a start
    // made meanwhile is not handed to a game on its way out.
    void release();

signals:
    // A later start asks this game to come to the front.
    void frontRequested(const QString& startupId);

private:
    bool claimOnBus(const QString& startupId, bool* decided);
    bool claimBySocket(const QString& startupId);
    void serve();
    struct Caller;
    void hear(Caller* caller);

    QString m_appId;
    QString m_busName;  // set while this game holds it
    QByteArray m_socketPath;
    int m_lock = -1;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_listening;
    std::vector<std::unique_ptr<Caller>> m_callers;
};

}  // namespace zephyra
