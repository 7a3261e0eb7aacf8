#include "settings/settingsfile.h"

#include "settings/languages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>

namespace zephyra {

namespace {

using std::chrono::minutes;

constexpr const char* kSizeWords[] = {"small", "medium", "large"};  // SizeChoice's order
constexpr const char* kPopWords[] = {"move", "left-click", "right-click"};  // TPopMode's order
static_assert(kHoldToLeaveMs == 3000, "the child lock's caption says 3 seconds");

// Each row's values pass through an int; a choice's field keeps its own type.
const SavedKey kKeys[] = {
    {.section = kChoicesSection, .key = "child-lock", .kind = SavedKind::Switch,
     .caption = QT_TRANSLATE_NOOP("TGrownUps", "Child lock: only Esc held for 3 seconds leaves a round"),
     .get = [](const SavedSettings& s) { return int(s.choices.childLock); },
     .put = [](SavedSettings& s, int v) { s.choices.childLock = v != 0; }},
    {.section = kChoicesSection, .key = "minutes", .kind = SavedKind::Number, .least = 5, .most = kMostMinutes,
     .none = 0, .caption = QT_TRANSLATE_NOOP("TGrownUps", "Play time in minutes"),
     .get = [](const SavedSettings& s) { return int(std::chrono::duration_cast<minutes>(s.choices.playTime).count()); },
     .put = [](SavedSettings& s, int v) { s.choices.playTime = minutes(v); }},
    {.section = kChoicesSection, .key = "easy-play", .kind = SavedKind::Switch,
     .caption = QT_TRANSLATE_NOOP("TGrownUps", "Easy play: any key, click, tap or gamepad button pops a balloon"),
     .get = [](const SavedSettings& s) { return int(s.choices.easyPlay); },
     .put = [](SavedSettings& s, int v) { s.choices.easyPlay = v != 0; }},
    {.section = kChoicesSection, .key = "language", .kind = SavedKind::Language,
     .caption = QT_TRANSLATE_NOOP("TGrownUps", "Language"),
     .get = [](const SavedSettings& s) { return int(availableLanguages().indexOf(s.choices.language) + 1); },
     .put = [](SavedSettings& s, int v) { s.choices.language = availableLanguages().value(v - 1); }},
    {.section = kChoicesSection, .key = "volume", .kind = SavedKind::Level, .least = 0, .most = kLoudest,
     .caption = QT_TRANSLATE_NOOP("TGrownUps", "Volume"),
     .get = [](const SavedSettings& s) { return s.choices.volume; },
     .put = [](SavedSettings& s, int v) { s.choices.volume = v; }},
    {.section = kChoicesSection, .key = "remember-options", .kind = SavedKind::Switch,
     .caption = QT_TRANSLATE_NOOP("TGrownUps", "Remember the options between starts"),
     .get = [](const SavedSettings& s) { return int(s.choices.rememberOptions); },
     .put = [](SavedSettings& s, int v) { s.choices.rememberOptions = v != 0; }},

    {.section = kOptionsSection, .key = "balloon-size", .kind = SavedKind::Words, .words = kSizeWords,
     .get = [](const SavedSettings& s) { return int(s.options.balloons); },
     .put = [](SavedSettings& s, int v) { s.options.balloons = SizeChoice(v); }},
    {.section = kOptionsSection, .key = "wasp-size", .kind = SavedKind::Words, .words = kSizeWords,
     .get = [](const SavedSettings& s) { return int(s.options.wasp); },
     .put = [](SavedSettings& s, int v) { s.options.wasp = SizeChoice(v); }},
    {.section = kOptionsSection, .key = "pop-mode", .kind = SavedKind::Words, .words = kPopWords,
     .get = [](const SavedSettings& s) { return int(s.options.popMode); },
     .put = [](SavedSettings& s, int v) { s.options.popMode = std::uint8_t(v); }},
    {.section = kOptionsSection, .key = "speed", .kind = SavedKind::Number, .least = 1, .most = 5,
     .get = [](const SavedSettings& s) { return s.options.speed; },
     .put = [](SavedSettings& s, int v) { s.options.speed = v; }},
    {.section = kOptionsSection, .key = "interval", .kind = SavedKind::Number, .least = 1, .most = 5,
     .get = [](const SavedSettings& s) { return s.options.interval; },
     .put = [](SavedSettings& s, int v) { s.options.interval = v; }},
    {.section = kOptionsSection, .key = "prize", .kind = SavedKind::Switch,
     .get = [](const SavedSettings& s) { return int(s.options.prize); },
     .put = [](SavedSettings& s, int v) { s.options.prize = v != 0; }},
    // Whatever the dialog took, 0 and below too.
    {.section = kOptionsSection, .key = "prize-after", .kind = SavedKind::Number,
     .least = std::numeric_limits<std::int32_t>::min(), .most = std::numeric_limits<std::int32_t>::max(),
     .get = [](const SavedSettings& s) { return int(s.options.prizeAfter); },
     .put = [](SavedSettings& s, int v) { s.options.prizeAfter = v; }},
    {.section = kOptionsSection, .key = "pop-sound", .kind = SavedKind::Switch,
     .get = [](const SavedSettings& s) { return int(s.options.popSound); },
     .put = [](SavedSettings& s, int v) { s.options.popSound = v != 0; }},
};

using QC = QCoreApplication;

// A piece of the file shown in a report: no control characters, not long.
QString shown(QStringView text)
{
    constexpr qsizetype kLongest = 24;
    QString out = text.left(kLongest).toString();
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::ReplacementCharacter)
            c = QLatin1Char('?');
    if (text.size() > kLongest)
        out += QChar(0x2026);
    return out;
}

struct Line {
    enum Kind { Nothing, Section, Setting, Junk } kind = Nothing;
    QString name;  // a section's or a key's, in lower case
    QString value;
};

// Blank lines and comments (from # or ;, also after a value) say nothing;
// "[name]" opens a section; "key = value" sets a key; anything else is no
// setting.
Line readLine(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes).trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char(';')))
        return {};
    if (text.startsWith(QLatin1Char('['))) {
        if (text.size() > 2 && text.endsWith(QLatin1Char(']')))
            return {Line::Section, text.mid(1, text.size() - 2).trimmed().toLower(), {}};
        return {Line::Junk, {}, {}};
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return {Line::Junk, {}, {}};
    QString value = text.mid(equals + 1);
    static const QRegularExpression commentStart(QStringLiteral("[#;]"));
    if (const qsizetype comment = value.indexOf(commentStart); comment >= 0)
        value.truncate(comment);
    return {Line::Setting, text.left(equals).trimmed().toLower(), value.trimmed()};
}

// The file's lines, without their ends.
QList<QByteArrayView> linesOf(QByteArrayView text)
{
    QList<QByteArrayView> lines;
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf('\n');
        QByteArrayView line = end < 0 ? text : text.first(end);
        text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

bool isSection(const char* section, const QString& name) { return name == QLatin1String(section); }

bool knownSection(const QString& name)
{
    return isSection(kChoicesSection, name) || isSection(kOptionsSection, name);
}

QByteArray settingLine(const SavedKey& row, const SavedSettings& settings)
{
    return QByteArray(row.key) + '=' + savedText(row, row.get(settings)).toUtf8() + '\n';
}

}  // namespace

RememberedOptions rememberedFrom(const TGameSettings& settings)
{
    RememberedOptions o;
    o.balloons = balloonChoiceFor(settings.BalloonImageBase);
    o.wasp = waspChoiceFor(settings.WaspSizeIndex);
    // As the dialog shows it: any other mode is the right click.
    o.popMode = std::min<std::uint8_t>(settings.PopMode, PopByRightClick);
    o.speed = positionForFlightStep(settings.FlightStep) + 1;
    o.interval = positionForLaunchInterval(settings.LaunchInterval) + 1;
    o.prize = settings.PrizeEnabled;
    o.prizeAfter = settings.PrizeThreshold;
    o.popSound = settings.SoundEnabled;
    return o;
}

std::span<const SavedKey> savedKeys() { return kKeys; }

const SavedKey* savedKey(QStringView section, QStringView key)
{
    for (const SavedKey& row : kKeys)
        if (section == QLatin1String(row.section) && key == QLatin1String(row.key))
            return &row;
    return nullptr;
}

QString savedText(const SavedKey& row, int value)
{
    switch (row.kind) {
    case SavedKind::Switch: return value ? QStringLiteral("true") : QStringLiteral("false");
    case SavedKind::Number:
    case SavedKind::Level: return QString::number(value);
    case SavedKind::Words: return QLatin1String(row.words[std::size_t(value)]);
    case SavedKind::Language: return availableLanguages().value(value - 1);
    }
    return {};
}

std::optional<int> savedValue(const SavedKey& row, QStringView text)
{
    const QString word = text.toString().toLower();
    switch (row.kind) {
    case SavedKind::Switch:
        if (word == QLatin1String("true") || word == QLatin1String("yes") || word == QLatin1String("on")
            || word == QLatin1String("1"))
            return 1;
        if (word == QLatin1String("false") || word == QLatin1String("no") || word == QLatin1String("off")
            || word == QLatin1String("0"))
            return 0;
        return std::nullopt;
    case SavedKind::Number:
    case SavedKind::Level: {
        // Decimal digits after at most one sign, nothing else.
        const qsizetype digits = word.startsWith(QLatin1Char('-')) || word.startsWith(QLatin1Char('+')) ? 1 : 0;
        if (word.size() == digits || word.size() > digits + 12
            || !std::all_of(word.begin() + digits, word.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return std::nullopt;
        const qint64 n = word.toLongLong();
        if ((n >= row.least && n <= row.most) || (row.none >= 0 && n == row.none))
            return int(n);
        return std::nullopt;
    }
    case SavedKind::Words:
        for (std::size_t i = 0; i < row.words.size(); ++i)
            if (word == QLatin1String(row.words[i]))
                return int(i);
        return std::nullopt;
    case SavedKind::Language:
        if (word.isEmpty())
            return 0;
        if (const qsizetype i = availableLanguages().indexOf(word); i >= 0)
            return int(i + 1);
        return std::nullopt;
    }
    return std::nullopt;
}

QString savedRange(const SavedKey& row)
{
    switch (row.kind) {
    case SavedKind::Switch: return QC::translate("zephyra", "true or false");
    case SavedKind::Number:
    case SavedKind::Level:
        if (row.none >= 0)
            return QC::translate("zephyra", "%1 to %2, or %3").arg(row.least).arg(row.most).arg(row.none);
        return QC::translate("zephyra", "%1 to %2").arg(row.least).arg(row.most);
    case SavedKind::Words: {
        QStringList words;
        for (const char* w : row.words)
            words << QLatin1String(w);
        return QC::translate("zephyra", "one of %1").arg(words.join(QLatin1String(", ")));
    }
    case SavedKind::Language:
        return QC::translate("zephyra", "empty or one of %1").arg(availableLanguages().join(QLatin1String(", ")));
    }
    return {};
}

QStringList readSettingsText(QByteArrayView text, SavedSettings& into)
{
    QStringList leftOut;
    QString section;
    int number = 0;
    for (const QByteArrayView bytes : linesOf(text)) {
        ++number;
        const Line line = readLine(bytes);
        switch (line.kind) {
        case Line::Nothing: break;
        case Line::Junk:
            leftOut << QC::translate("zephyra", "a line that is no setting (line %1)").arg(number);
            break;
        case Line::Section:
            section = line.name;
            if (!knownSection(section))
                leftOut << QC::translate("zephyra", "unknown section [%1] (line %2)").arg(shown(section)).arg(number);
            break;
        case Line::Setting:
            if (section.isEmpty()) {
                leftOut << QC::translate("zephyra", "%1 before any section (line %2)").arg(shown(line.name)).arg(number);
                break;
            }
            if (!knownSection(section))
                break;  // said once, with its section
            if (const SavedKey* row = savedKey(section, line.name)) {
                if (const std::optional<int> value = savedValue(*row, line.value)) {
                    row->put(into, *value);
                    into.optionsGiven = into.optionsGiven || isSection(kOptionsSection, section);
                } else {
                    leftOut << QC::translate("zephyra", "%1=%2 (line %3: not %4)")
                                   .arg(QLatin1String(row->key), shown(line.value))
                                   .arg(number)
                                   .arg(savedRange(*row));
                }
            } else {
                leftOut << QC::translate("zephyra", "unknown key %1 (line %2)").arg(shown(line.name)).arg(number);
            }
            break;
        }
    }
    return leftOut;
}

QStringList readSettingsFile(const QString& path, SavedSettings& into)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (file.size() > kLargestSettingsFile)
        return {QC::translate("zephyra", "the whole file (larger than %1 KB)").arg(kLargestSettingsFile / 1024)};
    // A read is bounded too: a file may grow, or be no file (a pipe).
    if (!file.open(QIODevice::ReadOnly))
        return {QC::translate("zephyra", "the whole file (it cannot be read: %1)").arg(file.errorString())};
    const QByteArray text = file.read(kLargestSettingsFile + 1);
    if (text.size() > kLargestSettingsFile)
        return {QC::translate("zephyra", "the whole file (larger than %1 KB)").arg(kLargestSettingsFile / 1024)};
    return readSettingsText(text, into);
}

QString leftOutLine(const QString& path, const QStringList& leftOut)
{
    constexpr qsizetype kNamed = 5;
    QString what = leftOut.mid(0, kNamed).join(QLatin1String(", "));
    if (leftOut.size() > kNamed)
        what = QC::translate("zephyra", "%1 and %2 more").arg(what).arg(leftOut.size() - kNamed);
    return QC::translate("zephyra", "%1: left out %2").arg(path, what);
}

QString userSettingsFile()
{
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG base directories ignore a relative path.
    if (!QDir::isAbsolutePath(folder))
        folder = QDir::homePath() + QLatin1String("/.config");
    return QDir::cleanPath(folder + QLatin1String("/zephyra/zephyra.conf"));
}

QStringList settingsFiles()
{
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':')))
        if (QDir::isAbsolutePath(folder))
            folders << folder;
    if (folders.isEmpty())
        folders << QStringLiteral("/etc/xdg");
    QStringList files;
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder)
        files << QDir::cleanPath(*folder + QLatin1String("/zephyra/zephyra.conf"));
    files << userSettingsFile();
    return files;
}

SavedSettings readSettingsFiles(const QStringList& files, QStringList* reports)
{
    SavedSettings settings;
    for (const QString& path : files)
        if (const QStringList leftOut = readSettingsFile(path, settings); !leftOut.isEmpty() && reports)
            *reports << leftOutLine(path, leftOut);
    return settings;
}

QByteArray updatedSettingsText(QByteArrayView old, const SavedSettings& settings, const QStringList& sections,
                               const QStringList& forget)
{
    QByteArray out;
    QString section;
    bool firstOfSection = false;
    qsizetype endOfSettings = 0;  // where a section's missing keys go: after its last setting
    QSet<QString> seen, written;  // sections; "section/key"
    const auto keyOf = [](const QString& s, const char* key) { return s + QLatin1Char('/') + QLatin1String(key); };
    // The keys of a section to set, not yet written, go at the end of its first appearance.
    const auto completeSection = [&] {
        if (!firstOfSection || !sections.contains(section))
            return;
        QByteArray missing;
        for (const SavedKey& row : kKeys)
            if (isSection(row.section, section) && !written.contains(keyOf(section, row.key))) {
                missing += settingLine(row, settings);
                written << keyOf(section, row.key);
            }
        out.insert(endOfSettings, missing);
    };
    for (const QByteArrayView bytes : linesOf(old)) {
        const Line line = readLine(bytes);
        if (line.kind == Line::Section) {
            completeSection();
            section = line.name;
            firstOfSection = !seen.contains(section);
            seen << section;
            if (forget.contains(section))
                continue;
            out += bytes.toByteArray() + '\n';
            endOfSettings = out.size();
            continue;
        }
        if (forget.contains(section) || line.kind == Line::Junk)
            continue;
        if (line.kind == Line::Setting && sections.contains(section)) {
            const SavedKey* row = savedKey(section, line.name);
            // A key set here is written once, where it first stood.
            if (row && !written.contains(keyOf(section, row->key))) {
                out += settingLine(*row, settings);
                written << keyOf(section, row->key);
                endOfSettings = out.size();
                continue;
            }
            if (row)
                continue;
        }
        out += bytes.toByteArray() + '\n';
        if (line.kind == Line::Setting)
            endOfSettings = out.size();
    }
    completeSection();
    for (const QString& name : sections) {
        if (seen.contains(name))
            continue;
        if (out.isEmpty())
            out += "# ZEPHYRA's settings for grown-ups (zephyra --grown-ups); its README names every key.\n";
        else if (!out.endsWith("\n\n"))
            out += '\n';
        out += '[' + name.toUtf8() + "]\n";
        for (const SavedKey& row : kKeys)
            if (isSection(row.section, name))
                out += settingLine(row, settings);
    }
    return out;
}

bool writeSettingsFile(const QString& path, const SavedSettings& settings, const QStringList& sections,
                       const QStringList& forget, QString* why)
{
    // A file that was left out whole is written anew.
    QByteArray old;
    QFile file(path);
    if (file.size() <= kLargestSettingsFile && file.open(QIODevice::ReadOnly))
        old = file.read(kLargestSettingsFile + 1);
    if (old.size() > kLargestSettingsFile)
        old.clear();
    file.close();

    std::error_code error;
    std::filesystem::create_directories(QFileInfo(path).absolutePath().toStdString(), error);
    if (error) {
        *why = QString::fromLocal8Bit(error.message());
        return false;
    }
    const QByteArray text = updatedSettingsText(old, settings, sections, forget);
    // Written to a new file that is renamed over the old only when whole.
    QSaveFile saved(path);
    if (!saved.open(QIODevice::WriteOnly) || saved.write(text) != text.size() || !saved.commit()) {
        *why = saved.errorString();
        return false;
    }
    return true;
}

}  // namespace zephyra
