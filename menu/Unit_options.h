#pragma once
// The options dialog: edits the game settings between rounds. Save writes
// them back; Cancel and the close box return without writing.

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSlider;

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

    QRadioButton* RadioButton1() const;
    QRadioButton* RadioButton2() const;
    QRadioButton* RadioButton3() const;
    QRadioButton* RadioButton4() const;
    QRadioButton* RadioButton5() const;
    QRadioButton* RadioButton6() const;
    QRadioButton* RadioButton7() const;
    QRadioButton* RadioButton8() const;
    QRadioButton* RadioButton9() const;
    QSlider* TrackBar1() const;
    QSlider* TrackBar2() const;
    QCheckBox* CheckBox1() const;
    QCheckBox* CheckBox2() const;
    QComboBox* ComboBox1() const;
    QPushButton* Button1() const;
    QPushButton* Button2() const;

signals:
    // The dialog has done its part: the start screen comes back.
    void returnedToStart();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BackToStart();

    std::unique_ptr<Ui::TOptions> ui;
    bool m_placed = false;
};

extern TOptions* Options;
