#pragma once
// The start screen: the program's main window, a 700 x 500 borderless
// picture with three picture buttons that light up under the mouse and a web
// banner.

#include "assets/lettering.h"
#include "settings/parent.h"

#include <QScreen>
#include <QWidget>

#include <vector>

class TImage;
class TPngImageCollection;
class TStatusLine;

class TSTART : public QWidget {
    Q_OBJECT
public:
    explicit TSTART(QWidget* parent = nullptr);

    void FormCreate();
    void B_PlayMouseMove();
    void B_OptionsMouseMove();
    void B_EXitMouseMove();
    void Image1MouseMove();
    void B_PlayClick();
    void B_OptionsClick();
    void B_EXitClick();
    void Image2Click();
    // Play time is over under the child lock: Play stays closed until the
    // program starts again, and a friendly picture says so.
    void RefusePlay();
    // Says in one line what a grown-up has put in force: the lock (and
    // whether it can hold on this desktop), the play time left, easy play.
    // Nothing in force shows nothing.
    void ShowInForce(const zephyra::ParentChoices& inForce, bool lockHolds);

    // The words the start screen writes over its picture: the line above the
    // panel (Image1's accessible name), the panel's headline and its lines
    // (its description), where the drawing leaves room for them.
    std::vector<zephyra::Words> backgroundWords() const;

    bool ButtonsLit() const { return m_buttonsLit; }
    bool PlayRefused() const { return m_playRefused; }

    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TImage* B_Play = nullptr;
    TImage* B_Options = nullptr;
    TImage* B_EXit = nullptr;
    TImage* ImageRest = nullptr;
    TStatusLine* StatusLine = nullptr;
    TPngImageCollection* PngImageCollectionButton = nullptr;

signals:
    // The start screen has hidden itself for a round on the given screen (the
    // one it stood on), or for the options; whoever built the windows shows
    // what follows. Play returns once the round is over.
    void playRequested(QScreen* screen);
    void optionsRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadBackground();
    void SetButtonPicture(TImage* button, int index);
    void LightButton(TImage* button, int litIndex);

    bool m_buttonsLit = false;
    bool m_placed = false;
    bool m_playRefused = false;
};

extern TSTART* START;
