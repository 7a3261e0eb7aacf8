#include "menu/Unit_options.h"

#include "base/convert.h"
#include "base/error.h"
#include "platform/centring.h"
#include "platform/x11.h"
#include "play/UnitPlay.h"
#include "settings/GameSettings.h"
#include "ui_Unit_options.h"

#include <QCloseEvent>
#include <QKeyEvent>

TOptions* Options = nullptr;

TOptions::TOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TOptions>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("Options"));
    // The layout is in pixels, laid out for an 11-pixel dialog font; a font
    // given in pixels keeps every caption inside its control whatever the
    // screen's DPI setting. The family stays the system's sans font.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    setFixedSize(size());
    setModal(false);
    // The prize count is taken exactly as typed: no completion from the list
    // turns "5" into "50".
    ui->ComboBox1->setCompleter(nullptr);
    m_awaitFrame.setInterval(kFrameCheckMs);
    connect(&m_awaitFrame, &QTimer::timeout, this, &TOptions::CentreByFrame);

    zephyra::connectHandler(ui->Button1, &QPushButton::clicked, this, &TOptions::Button1Click);
    zephyra::connectHandler(ui->Button2, &QPushButton::clicked, this, &TOptions::Button2Click);
    // Also runs when loading the dialog changes the box from code.
    zephyra::connectHandler(ui->CheckBox1, &QCheckBox::toggled, this, &TOptions::CheckBox1Click);
}

TOptions::~TOptions() = default;

void TOptions::Button1Click()
{
    StoreSettings();
    emit settingsSaved();
    BackToStart();
}

void TOptions::StoreSettings()
{
    if (ui->RadioButton1->isChecked())
        ApplyBalloonSize(SizeChoice::Medium);
    else if (ui->RadioButton2->isChecked())
        ApplyBalloonSize(SizeChoice::Large);
    else
        ApplyBalloonSize(SizeChoice::Small);
    GameSettings.SoundEnabled = ui->CheckBox2->isChecked();
    GameSettings.LaunchInterval = launchIntervalForPosition(ui->TrackBar2->value());
    if (ui->RadioButton4->isChecked())
        ApplyWaspSize(SizeChoice::Medium);
    else if (ui->RadioButton5->isChecked())
        ApplyWaspSize(SizeChoice::Large);
    else
        ApplyWaspSize(SizeChoice::Small);
    GameSettings.FlightStep = flightStepForPosition(ui->TrackBar1->value());
    if (ui->CheckBox1->isChecked()) {
        GameSettings.PrizeEnabled = true;
        // A text that is no number stops Save here, with the dialog open.
        GameSettings.PrizeThreshold = zephyra::StrToInt(ui->ComboBox1->currentText());
    } else {
        GameSettings.PrizeEnabled = false;
    }
    if (ui->RadioButton7->isChecked())
        GameSettings.PopMode = PopByMove;
    else if (ui->RadioButton8->isChecked())
        GameSettings.PopMode = PopByLeftClick;
    else
        GameSettings.PopMode = PopByRightClick;
}

void TOptions::Button2Click() { BackToStart(); }

void TOptions::CheckBox1Click() { ui->ComboBox1->setEnabled(ui->CheckBox1->isChecked()); }

void TOptions::BackToStart()
{
    emit returnedToStart();
    hide();
}

void TOptions::LoadSettings() { ShowOptions(GameSettings); }

void TOptions::LoadRemembered(const TGameSettings& remembered)
{
    ShowOptions(remembered);
    StoreSettings();
}

void TOptions::ShowOptions(const TGameSettings& settings)
{
    switch (balloonChoiceFor(settings.BalloonImageBase)) {
    case SizeChoice::Large: ui->RadioButton2->setChecked(true); break;
    case SizeChoice::Medium: ui->RadioButton1->setChecked(true); break;
    case SizeChoice::Small: ui->RadioButton3->setChecked(true); break;
    }
    switch (waspChoiceFor(settings.WaspSizeIndex)) {
    case SizeChoice::Small: ui->RadioButton6->setChecked(true); break;
    case SizeChoice::Medium: ui->RadioButton4->setChecked(true); break;
    case SizeChoice::Large: ui->RadioButton5->setChecked(true); break;
    }
    ui->TrackBar2->setValue(positionForLaunchInterval(settings.LaunchInterval));
    ui->TrackBar1->setValue(positionForFlightStep(settings.FlightStep));
    if (settings.PopMode == PopByMove)
        ui->RadioButton7->setChecked(true);
    else if (settings.PopMode == PopByLeftClick)
        ui->RadioButton8->setChecked(true);
    else
        ui->RadioButton9->setChecked(true);
    ui->CheckBox1->setChecked(settings.PrizeEnabled);
    ui->ComboBox1->setEnabled(settings.PrizeEnabled);
    ui->ComboBox1->setEditText(QString::number(settings.PrizeThreshold));
    ui->CheckBox2->setChecked(settings.SoundEnabled);
}

void TOptions::showEvent(QShowEvent* event)
{
    // Each opening shows the settings in force, whatever a Cancel left in the
    // controls; a window system's own showing (after a minimise) keeps them.
    if (!event->spontaneous())
        LoadSettings();
    if (!m_placed) {
        // Centred on the primary screen once, by its outer frame; later it
        // reopens where the player left it.
        const QMargins frame = zephyra::expectedFrameMargins(this);
        CentreBy(frame);
        m_placed = true;
        // Some window managers (fluxbox) say their frame only once the window
        // is on screen, or then say another: it is centred again by the frame
        // it got.
        if (!frame.isNull())
            m_centredBy = frame;
        m_awaitFrame.start();
    }
    QDialog::showEvent(event);
}

void TOptions::CentreBy(const QMargins& frame)
{
    // The client area is placed: the frame's top-left plus its edges. (What
    // move() places on a framed window differs between Qt releases.)
    const QPoint client = zephyra::centredOnPrimaryScreen(size().grownBy(frame)) + QPoint(frame.left(), frame.top());
    setGeometry(QRect(client, size()));
}

void TOptions::CentreByFrame()
{
    // The frame asked for before showing may not be the one given (fluxbox
    // on Debian 13 announces a bottom handle a dialog does not get): centred
    // again on each change while the checks last. No window manager: no
    // frame, nothing to do.
    if (const auto frame = zephyra::frameMarginsNow(this); frame && !frame->isNull() && frame != m_centredBy) {
        CentreBy(*frame);
        m_centredBy = frame;
    }
    if (++m_frameChecks >= kFrameChecks)
        m_awaitFrame.stop();
}

void TOptions::changeEvent(QEvent* event)
{
    // A window manager may offer a minimise button (openbox does for every
    // dialog, whatever its hints): with the start screen hidden, a minimised
    // dialog would leave nothing of the game on screen. It acts as the close
    // box instead. Queued, so the state change completes first.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && isVisible())
        QMetaObject::invokeMethod(
            this,
            [this] {
                // Not minimised when it opens next.
                setWindowState(windowState() & ~Qt::WindowMinimized);
                close();
            },
            Qt::QueuedConnection);
    QDialog::changeEvent(event);
}

void TOptions::closeEvent(QCloseEvent* event)
{
    // The close box behaves like Cancel.
    zephyra::runHandler([this] { BackToStart(); });
    event->accept();
}

void TOptions::reject()
{
    // A request to close the dialog: like Cancel.
    zephyra::runHandler([this] { BackToStart(); });
}

void TOptions::keyPressEvent(QKeyEvent* event)
{
    // Neither button is the dialog's default or cancel button, so Enter and
    // Esc do nothing here (QDialog would close the dialog on Esc).
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
