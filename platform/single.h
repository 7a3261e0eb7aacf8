#pragma once
// One game at a time on each display: a second start brings the running game
// to the front and ends.

#include "settings/parent.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <QByteArray>

#include <functional>
#include <memory>
#include <vector>

#include <sys/types.h>

class QDBusServiceWatcher;
class QDeadlineTimer;
class QSocketNotifier;

namespace zephyra {

// What a later start hands the running game: the choices, and whether their
// volume and language were chosen for it (the settings for grown-ups' "Play
// with these settings" hands the whole set; a start from the menu only what
// can add to the lock, the play time and easy play).
struct HandedChoices {
    ParentChoices choices;
    bool withVolume = false;
    bool withLanguage = false;
};

// The choices as one word between two starts, empty when nothing travels.
// Read back, whatever another process says that is not such a word is left out.
QString encodeChoices(const ParentChoices& choices, bool wholeSet = false);
HandedChoices decodeChoices(const QString& text);

// Whether this process has a session bus to ask: an address, or the usual
// socket in the user's runtime folder. Without one, asking would make the bus
// library start a bus of its own for the X display, which outlives the game.
bool sessionBusExpected();

// The first start takes a name on the session bus (the application id with
// the display, serving org.freedesktop.Application's Activate), or, with no
// session bus, a local socket in the user's runtime folder, with a lock file
// beside it so that two starts at once do not both take it. A later start
// asks the game holding it to come to the front. Nothing left by a game that
// crashed stops a start: the bus lets a name go with its owner, the kernel a
// lock with its holder, and a game that does not answer within kAnswerMs
// (stopped, or stalled) is taken over. When neither way works the game
// simply runs.
//
// A later start hands the game what a grown-up chose with it (a lock, a play
// time, easy play): the game takes what adds to its own and says what it
// could not take, which that start passes on.
//
// A game that was taken over learns it when it runs again, within moments.
// Without a round on its screen it gives way (replaced()): the start that
// took its place shows the same start screen. With a round, the child's
// round is worth keeping: it asks the start in its place to give way, which
// that one does unless it has a round of its own, the newer one the child is
// at; then the older game gives way.
class OneGame : public QObject {
    Q_OBJECT
public:
    // How long a start waits for the running game to answer.
    static constexpr int kAnswerMs = 3000;
    // A caller has this long to say what it wants before it is let go.
    static constexpr int kRequestMs = 1000;
    // Callers served at once; more wait in the listen queue or at their own
    // connect, so no caller can use up the game's descriptors.
    static constexpr int kMostCallers = 4;
    // A refused accept (out of descriptors, say) rests the socket this long
    // rather than being woken at once for the same caller again.
    static constexpr int kAcceptRestMs = 250;
    // How often the socket's holder looks that its place is still its own;
    // after a stall or a stop the look is due, so it comes at once.
    static constexpr int kLookMs = 1000;

    // roundShown tells whether the child has a round on the screen;
    // takeChoices puts a later start's choices in force and says what it
    // could not (empty when all of them hold).
    using TakeChoices = std::function<QString(const HandedChoices&)>;
    explicit OneGame(const QString& appId, std::function<bool()> roundShown = {}, TakeChoices takeChoices = {});
    ~OneGame() override;

    // True when this start is the game; false when a running game has taken
    // the request to come to the front (with the launcher's startup id, which
    // may be empty) and this start should end. Handed choices that add
    // something go to the running game, and *notTaken says what it could not
    // take of them.
    bool claim(const QString& startupId, const ParentChoices& handed = {}, QString* notTaken = nullptr,
               bool wholeSet = false);
    // Lets the name or the socket go before the program ends, so a start
    // made meanwhile is not handed to a game on its way out.
    void release();

signals:
    // A later start asks this game to come to the front.
    void frontRequested(const QString& startupId);
    // Another start has this game's place and keeps it: this game should end.
    void replaced();

private:
    // Unheard: the game took the line and closed without a word, as a game
    // of an earlier version does with a request it does not know.
    enum class Reply { Yes, No, Silent, Nobody, Unheard };

    bool claimOnBus(const QString& startupId, const QString& choices, bool* decided, QString* notTaken);
    bool claimBySocket(const QString& startupId, const QString& choices, QString* notTaken);
    QString take(const QString& choices);
    void nameMoved(const QString& newOwner);
    void openLock(const QByteArray& path);
    void serve();
    void stopServing();
    bool placeIsOurs() const;
    void lookAtPlace();
    void acceptCaller();
    void updateListening();
    struct Caller;
    void hear(Caller* caller, bool lastChance);
    void answer(Caller* caller, const QByteArray& line);
    void letGo(Caller* caller);
    bool giveWay();
    void takenOver();
    Reply askHolder(const QByteArray& request, int waitMs);
    // What the game at path says to request (a line; empty only knocks, to
    // learn whether a game listens there), waiting no longer than deadline.
    // What follows "ok " in the answer goes to *said.
    static Reply askAt(const QByteArray& path, const QByteArray& request, const QDeadlineTimer& deadline,
                       QByteArray* said = nullptr);

    QString m_appId;
    std::function<bool()> m_roundShown;
    TakeChoices m_takeChoices;
    QString m_busName;  // set while this game holds it
    std::unique_ptr<QDBusServiceWatcher> m_nameWatcher;
    QByteArray m_socketPath;
    int m_lock = -1;
    bool m_locked = false;
    int m_listener = -1;
    dev_t m_placeDevice = 0;  // the socket file this game bound
    ino_t m_placeInode = 0;
    std::unique_ptr<QSocketNotifier> m_listening;
    QTimer m_acceptRest;
    QTimer m_look;
    std::vector<std::unique_ptr<Caller>> m_callers;
};

}  // namespace zephyra
