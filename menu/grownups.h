#pragma once
// The settings for grown-ups: the child lock, the play time, the language,
// how loud the game plays and whether it remembers the options, kept in the
// user's settings file for every start. Opened only from outside the game
// (zephyra --grown-ups, the desktop entry's action), never from the start
// screen or the play field, so a child cannot reach it. One control per row
// of the settings table that has the corner's words.

#include "settings/settingsfile.h"

#include <QDialog>

#include <functional>
#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;

namespace zephyra {
class SoundOutput;
}

class TGrownUps : public QDialog {
    Q_OBJECT
public:
    // Shows `shown`, what the files hold now, and in one line what reading
    // them left out (`leftOut`, a report line each); Listen plays on `sound`.
    TGrownUps(const zephyra::SavedSettings& shown, zephyra::SoundOutput& sound, const QStringList& leftOut = {},
              QWidget* parent = nullptr);

    // The choices as the controls show them.
    zephyra::SavedSettings Chosen() const;

    void SaveClick();
    void CancelClick();
    void ListenClick();
    void PlayNowClick();
    void reject() override;

signals:
    // The choices could not be kept, and the grown-up starts the game with
    // them, for this start only.
    void playRequested(const zephyra::ParentChoices& choices);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddRow(QGridLayout* grid, const zephyra::SavedKey& row);

    zephyra::SavedSettings m_shown;
    zephyra::SoundOutput& m_sound;
    // Each row the corner shows, with what its control says now.
    std::vector<std::pair<const zephyra::SavedKey*, std::function<int()>>> m_controls;
    QLabel* m_trouble = nullptr;
    QPushButton* m_playNow = nullptr;
    bool m_placed = false;
};
