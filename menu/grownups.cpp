#include "menu/grownups.h"

#include "base/error.h"
#include "platform/language.h"
#include "platform/centring.h"
#include "platform/sound.h"
#include "platform/x11.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
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

// A number of the table, or its "none": one between the two is not taken, so
// typing it is unfinished, and a step goes over it.
class NumberBox final : public QSpinBox {
public:
    NumberBox(const SavedKey& row, QWidget* parent) : QSpinBox(parent), m_row(row)
    {
        setRange(row.none >= 0 ? row.none : int(row.least), int(row.most));
        setSingleStep(int(std::max<std::int64_t>(row.least, 1)));
        if (row.none >= 0)
            setSpecialValueText(TGrownUps::tr("No limit"));
    }

    void stepBy(int steps) override
    {
        int value = this->value() + steps * singleStep();
        if (between(value))
            value = steps > 0 ? int(m_row.least) : m_row.none;
        setValue(value);
    }

protected:
    QValidator::State validate(QString& text, int& position) const override
    {
        const QValidator::State state = QSpinBox::validate(text, position);
        if (state == QValidator::Acceptable && between(valueFromText(text)))
            return QValidator::Intermediate;
        return state;
    }

private:
    bool between(int value) const { return m_row.none >= 0 && value > m_row.none && value < m_row.least; }

    const SavedKey& m_row;
};

}  // namespace

TGrownUps::TGrownUps(const SavedSettings& shown, zephyra::SoundOutput& sound, QWidget* parent)
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
        return;
    }
    auto* label = new QLabel(caption);
    label->setObjectName(name + QLatin1String("-caption"));
    grid->addWidget(label, at, 0);
    switch (row.kind) {
    case SavedKind::Number: {
        auto* number = new NumberBox(row, this);
        number->setObjectName(name);
        number->setValue(value);
        label->setBuddy(number);
        grid->addWidget(number, at, 1, Qt::AlignLeft);
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
    for (const SavedKey& row : zephyra::savedKeys()) {
        if (!row.caption)
            continue;
        const QString name = QLatin1String(row.key);
        if (const auto* check = findChild<QCheckBox*>(name))
            row.put(chosen, check->isChecked());
        else if (const auto* number = findChild<QSpinBox*>(name))
            row.put(chosen, number->value());
        else if (const auto* level = findChild<QSlider*>(name))
            row.put(chosen, level->value());
        else if (const auto* languages = findChild<QComboBox*>(name))
            row.put(chosen, languages->currentData().toInt());
    }
    return chosen;
}

void TGrownUps::SaveClick()
{
    const SavedSettings chosen = Chosen();
    // Options no longer remembered are forgotten.
    const QStringList forget = chosen.choices.rememberOptions ? QStringList()
                                                              : QStringList{QLatin1String(zephyra::kOptionsSection)};
    const QString file = zephyra::userSettingsFile();
    QString why;
    if (zephyra::writeSettingsFile(file, chosen, {QLatin1String(zephyra::kChoicesSection)}, forget, &why)) {
        accept();
        return;
    }
    m_trouble->setText(tr("These settings cannot be kept: the folder %1 cannot be written (%2). "
                          "They can still be used for this start.")
                           .arg(QFileInfo(file).absolutePath(), why));
    m_trouble->show();
    m_playNow->show();
}

void TGrownUps::CancelClick() { QDialog::reject(); }

void TGrownUps::ListenClick()
{
    if (const auto* level = findChild<QSlider*>(QStringLiteral("volume")))
        m_sound.setLevel(level->value());
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
