#pragma once
// The options dialog: edits the game settings between rounds. Each opening
// shows the settings in force; Save writes them back; Cancel and the close box
// return without writing.

#include <QDialog>

#include <memory>

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

signals:
    // The dialog has done its part: the start screen comes back.
    void returnedToStart();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadSettings();
    void BackToStart();

    std::unique_ptr<Ui::TOptions> ui;
    bool m_placed = false;
};

extern TOptions* Options;
