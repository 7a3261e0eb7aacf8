#include "menu/grownups.h"

#include "base/error.h"
#include "platform/language.h"
#include "platform/centring.h"
#include "platform/sound.h"
#include "platform/x11.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

using zephyra::SavedKey;
using zephyra::SavedKind;
using zephyra::SavedSettings;

namespace {

// A language by its own name, as a grown-up who reads it looks for it.
QString ownName(const QString& language)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("en"), QStringLiteral("English")},   {QStringLiteral("ru"), QStringLiteral("Русский")},
        {QStringLiteral("de"), QStringLiteral("Deutsch")},   {QStringLiteral("fr"), QStringLiteral("Français")},
        {QStringLiteral("es"), QStringLiteral("Español")},   {QStringLiteral("uk"), QStringLiteral("Українська")}};
    return names.value(language, language);
}

}  // namespace

TGrownUps::TGrownUps(const SavedSettings& shown, zephyra::SoundOutput& sound, const QStringList& leftOut,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_shown(shown), m_sound(sound)
{
    setObjectName(QStringLiteral("GrownUps"));
    setWindowTitle(tr("Settings for grown-ups"));
    // The options dialog's look: its font, in pixels.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    // What the files did not give, said where the grown-up who can mend it looks.
    auto* leftOutLine = new QLabel(this);
    leftOutLine->setObjectName(QStringLiteral("LeftOut"));
    leftOutLine->setWordWrap(true);
    leftOutLine->setTextFormat(Qt::PlainText);
    if (!leftOut.isEmpty()) {
        QString text = tr("Left out when this window opened: %1").arg(leftOut.join(QLatin1String("; ")));
        if (const QString kept = zephyra::keptOnSave(zephyra::userSettingsFile()); !kept.isEmpty())
            text += QLatin1String(". ") + tr("Save keeps that file as %1 and writes a new one.").arg(kept);
        leftOutLine->setText(text);
    }
    leftOutLine->setVisible(!leftOut.isEmpty());

    auto* box = new QGroupBox(tr("For every start of the game"), this);
    box->setObjectName(QStringLiteral("Box"));
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    for (const SavedKey& row : zephyra::savedKeys())
        if (row.caption)
            AddRow(grid, row);

    auto* note = new QLabel(tr("A game that is running keeps its settings until it is closed."), this);
    note->setObjectName(QStringLiteral("Note"));
    m_trouble = new QLabel(this);
    m_trouble->setObjectName(QStringLiteral("Trouble"));
    m_trouble->setWordWrap(true);
    m_trouble->setTextFormat(Qt::PlainText);
    m_trouble->hide();

    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    auto* save = new QPushButton(tr("Save"), this);
    save->setObjectName(QStringLiteral("Save"));
    m_playNow = new QPushButton(tr("Play with these settings"), this);
    m_playNow->setObjectName(QStringLiteral("PlayNow"));
    m_playNow->hide();
    // As in the options dialog: neither is the default, and Enter does nothing.
    for (QPushButton* b : {cancel, save, m_playNow}) {
        b->setAutoDefault(false);
        b->setMinimumSize(161, 25);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_playNow);
    buttons->addWidget(cancel);
    buttons->addWidget(save);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(leftOutLine);
    layout->addWidget(box);
    layout->addWidget(note);
    layout->addWidget(m_trouble);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    zephyra::connectHandler(save, &QPushButton::clicked, this, &TGrownUps::SaveClick);
    zephyra::connectHandler(cancel, &QPushButton::clicked, this, &TGrownUps::CancelClick);
    zephyra::connectHandler(m_playNow, &QPushButton::clicked, this, &TGrownUps::PlayNowClick);
}

void TGrownUps::AddRow(QGridLayout* grid, const SavedKey& row)
{
    const int at = grid->rowCount();
    const QString caption = tr(row.caption);
    const QString name = QLatin1String(row.key);
    const int value = row.get(m_shown);
    if (row.kind == SavedKind::Switch) {
        auto* check = new QCheckBox(caption);
        check->setObjectName(name);
        check->setChecked(value != 0);
        grid->addWidget(check, at, 0, 1, 2);
        m_controls.emplace_back(&row, [check] { return int(check->isChecked()); });
        return;
    }
    auto* label = new QLabel(caption);
    label->setObjectName(name + QLatin1String("-caption"));
    grid->addWidget(label, at, 0);
    switch (row.kind) {
    case SavedKind::Number: {
        // Its "none" lies just below its range, so the box holds one run of numbers.
        auto* number = new QSpinBox(this);
        number->setObjectName(name);
        number->setRange(row.none >= 0 ? row.none : int(row.least), int(row.most));
        if (row.none >= 0)
            number->setSpecialValueText(tr("No limit"));
        number->setValue(value);
        label->setBuddy(number);
        grid->addWidget(number, at, 1, Qt::AlignLeft);
        // A text the box cannot take yet (emptied) shows the value kept again.
        m_controls.emplace_back(&row, [number] {
            if (!number->hasAcceptableInput())
                number->setValue(number->value());
            return number->value();
        });
        break;
    }
    case SavedKind::Language: {
        auto* languages = new QComboBox;
        languages->setObjectName(name);
        languages->addItem(tr("The desktop's language"), 0);
        const QStringList codes = zephyra::availableLanguages();
        for (int i = 0; i < codes.size(); ++i)
            languages->addItem(ownName(codes[i]), i + 1);
        languages->setCurrentIndex(languages->findData(value));
        label->setBuddy(languages);
        m_controls.emplace_back(&row, [languages] { return languages->currentData().toInt(); });
        grid->addWidget(languages, at, 1, Qt::AlignLeft);
        break;
    }
    case SavedKind::Level: {
        // From quiet to full, heard with Listen.
        auto* level = new QSlider(Qt::Horizontal);
        level->setObjectName(name);
        level->setRange(int(row.least), int(row.most));
        level->setSingleStep(10);
        level->setPageStep(10);
        level->setTickInterval(10);
        level->setTickPosition(QSlider::TicksBelow);
        level->setValue(value);
        level->setMinimumWidth(160);
        label->setBuddy(level);
        m_controls.emplace_back(&row, [level] { return level->value(); });
        auto* listen = new QPushButton(tr("Listen"));
        listen->setObjectName(QStringLiteral("Listen"));
        listen->setAutoDefault(false);
        zephyra::connectHandler(listen, &QPushButton::clicked, this, &TGrownUps::ListenClick);
        auto* line = new QHBoxLayout;
        auto* quiet = new QLabel(tr("Quiet"));
        quiet->setObjectName(name + QLatin1String("-quiet"));
        auto* full = new QLabel(tr("Full"));
        full->setObjectName(name + QLatin1String("-full"));
        line->addWidget(quiet);
        line->addWidget(level, 1);
        line->addWidget(full);
        line->addWidget(listen);
        grid->addLayout(line, at, 1);
        break;
    }
    case SavedKind::Switch:
    case SavedKind::Words: break;  // a switch has its own row; words are no corner's
    }
}

SavedSettings TGrownUps::Chosen() const
{
    SavedSettings chosen = m_shown;
    for (const auto& [row, shown] : m_controls)
        row->put(chosen, shown());
    return chosen;
}

void TGrownUps::SaveClick()
{
    const SavedSettings chosen = Chosen();
    // Options no longer remembered are forgotten.
    const QStringList forget = chosen.choices.rememberOptions ? QStringList()
                                                              : QStringList{QLatin1String(zephyra::kOptionsSection)};
    const zephyra::SaveTrouble trouble =
        zephyra::saveUserSettings(chosen, {QLatin1String(zephyra::kChoicesSection)}, forget);
    if (!trouble) {
        accept();
        return;
    }
    m_trouble->setText(tr("These settings cannot be kept in %1: %2. They can still be used for this start.")
                           .arg(zephyra::userSettingsFile(), zephyra::troubleText(trouble)));
    m_trouble->show();
    m_playNow->show();
}

void TGrownUps::CancelClick() { QDialog::reject(); }

void TGrownUps::ListenClick()
{
    for (const auto& [row, shown] : m_controls)
        if (row->kind == SavedKind::Level)
            m_sound.setLevel(shown());
    m_sound.play(zephyra::SoundId::Pop);
}

void TGrownUps::PlayNowClick()
{
    emit playRequested(Chosen().choices);
    accept();
}

void TGrownUps::reject()
{
    // The close box and the window system's close: like Cancel.
    zephyra::runHandler([this] { CancelClick(); });
}

void TGrownUps::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        // Centred on the primary screen by its outer frame, as the options dialog.
        const QMargins frame = zephyra::expectedFrameMargins(this);
        const QPoint client =
            zephyra::centredOnPrimaryScreen(size().grownBy(frame)) + QPoint(frame.left(), frame.top());
        setGeometry(QRect(client, size()));
        m_placed = true;
    }
    QDialog::showEvent(event);
}

void TGrownUps::keyPressEvent(QKeyEvent* event)
{
    // As in the options dialog, Esc does nothing: a window left by a stray
    // key is no place for choices.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
