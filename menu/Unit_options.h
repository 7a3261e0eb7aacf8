#pragma once
// The options dialog: edits the game settings between rounds. Each opening
// shows the settings in force; Save writes them back; Cancel and the close box
// return without writing.

#include "settings/GameSettings.h"

#include <QDialog>
#include <QMargins>
#include <QTimer>

#include <memory>
#include <optional>

namespace Ui {
class TOptions;
}

class TOptions : public QDialog {
    Q_OBJECT
public:
    explicit TOptions(QWidget* parent = nullptr);
    ~TOptions() override;

    void Button1Click();
    void Button2Click();
    void CheckBox1Click();
    void reject() override;
    // Puts remembered options in force as Save would, the dialog closed.
    void LoadRemembered(const TGameSettings& remembered);

signals:
    // The dialog has done its part: the start screen comes back.
    void returnedToStart();
    // Save has put every setting in force.
    void settingsSaved();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // How long the first opening waits for a frame the window manager did
    // not announce: checked every kFrameCheckMs, kFrameChecks times.
    static constexpr int kFrameCheckMs = 20;
    static constexpr int kFrameChecks = 25;

    void LoadSettings();
    void ShowOptions(const TGameSettings& settings);
    void StoreSettings();
    void BackToStart();
    void CentreBy(const QMargins& frame);
    void CentreByFrame();

    std::unique_ptr<Ui::TOptions> ui;
    bool m_placed = false;
    QTimer m_awaitFrame;
    int m_frameChecks = 0;
    std::optional<QMargins> m_centredBy;  // the frame it was last centred by
};

extern TOptions* Options;
