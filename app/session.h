#pragma once
// The login screen's session: the game alone inside a kiosk compositor
// (cage), on a child's own computer. `zephyra --kiosk` runs it. One process
// watches the game and starts it again after a crash; the start screen and
// the options stand centred on a backdrop of their own; leaving the game
// ends the session. Nothing of it runs on a plain start.

#include "base/error.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QLabel;

namespace zephyra {

// How often a game that crashed is started again before the session ends.
inline constexpr int kSessionRestarts = 3;
// How long the note under the banner stays.
inline constexpr int kNoWebPageNoteMs = 6000;

// Called before Qt starts. The game goes on in a process of its own, which
// gets nothing back and starts; this one watches it and gets the status the
// session ends with: 0 when the game ended well, 1 after a message once it
// crashed kSessionRestarts + 1 times (or with no X display to run on). A
// signal to end (the session's logout) goes to the game, which is not
// started again.
std::optional<int> superviseSession(int& argc, char** argv);

// The full-screen sky the session's windows stand on, at their own size.
// A kiosk compositor places and stacks X11 windows itself and tells
// XWayland nothing of it, so two windows of one program over each other
// take each other's clicks: the session's windows live inside the backdrop,
// the one window in the compositor's middle.
class TBackdrop : public QWidget {
public:
    TBackdrop();
    // Gives the embedded windows back, as they were.
    ~TBackdrop() override;
    // The window becomes part of the backdrop, kept in its middle at its
    // own size.
    void embed(QWidget* window);
    // A message box in the backdrop, shown until OK; the other windows in
    // it wait meanwhile.
    void showMessage(QMessageBox::Icon icon, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centre(QWidget* child);

    std::vector<std::pair<QPointer<QWidget>, Qt::WindowFlags>> m_embedded;
};

// The game's windows in the session, once they are built: the backdrop
// round the start screen, the options and the error box, the banner's web page not opened
// (a note says so), and the end of the session when play time's goodnight
// is over.
class Session : public QObject {
    Q_OBJECT
public:
    Session();
    ~Session() override;

    TBackdrop* Backdrop() const { return m_backdrop.get(); }
    QLabel* NoWebPageNote = nullptr;
    // Goodnight has fallen: the session ends once it has been seen.
    QTimer* TimerNightOver = nullptr;

signals:
    // The game is over for this session; the program ends with status 0.
    void ended();

private:
    void Image2Click();

    std::unique_ptr<TBackdrop> m_backdrop;
    QTimer m_noteShown;
    MessagePresenter m_plainMessages;
};

}  // namespace zephyra
