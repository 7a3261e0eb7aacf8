#include "settings/settingsfile.h"

#include "settings/languages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace zephyra {

namespace {

using std::chrono::minutes;

constexpr const char* kSizeWords[] = {"small", "medium", "large"};  // SizeChoice's order
constexpr const char* kPopWords[] = {"move", "left-click", "right-click"};  // TPopMode's order
static_assert(kHoldToLeaveMs == 3000, "the child lock's caption says 3 seconds");

// Each row's values pass through an int; a choice's field keeps its own type.
constexpr SavedKey kKeys[] = {
    {.section = kChoicesSection, .key = "child-lock", .kind = SavedKind::Switch,
     .caption = QT_TRANSLATE_NOOP("TGrownUps", "Child lock: only Esc held for 3 seconds leaves a round"),
     .get = [](const SavedSettings& s) { return int(s.choices.childLock); },
     .put = [](SavedSettings& s, int v) { s.choices.childLock = v != 0; }},
    {.section = kChoicesSection, .key = "minutes", .kind = SavedKind::Number, .least = kLeastMinutes, .most = kMostMinutes,
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

    // As the options dialog reads GameSettings back, and as its Save stores them.
    {.section = kOptionsSection, .key = "balloon-size", .kind = SavedKind::Words, .words = kSizeWords,
     .get = [](const SavedSettings& s) { return int(balloonChoiceFor(s.options.BalloonImageBase)); },
     .put = [](SavedSettings& s, int v) {
         const BalloonSizeRow row = balloonSizeRow(SizeChoice(v));
         s.options.BalloonImageBase = row.imageBase;
         s.options.BalloonWidth = row.width;
         s.options.BalloonHeight = row.height;
         s.options.BurstImageIndex = row.burstIndex;
     }},
    {.section = kOptionsSection, .key = "wasp-size", .kind = SavedKind::Words, .words = kSizeWords,
     .get = [](const SavedSettings& s) { return int(waspChoiceFor(s.options.WaspSizeIndex)); },
     .put = [](SavedSettings& s, int v) {
         const WaspSizeRow row = waspSizeRow(SizeChoice(v));
         s.options.WaspSizeIndex = row.index;
         s.options.StingLeft = row.stingLeft;
         s.options.StingRight = row.stingRight;
         s.options.StingTop = row.stingTop;
         s.options.StingBottom = row.stingBottom;
         s.options.WaspHotspot = row.hotspot;
     }},
    // Any other mode shows as the right click.
    {.section = kOptionsSection, .key = "pop-mode", .kind = SavedKind::Words, .words = kPopWords,
     .get = [](const SavedSettings& s) { return int(std::min<std::uint8_t>(s.options.PopMode, PopByRightClick)); },
     .put = [](SavedSettings& s, int v) { s.options.PopMode = std::uint8_t(v); }},
    {.section = kOptionsSection, .key = "speed", .kind = SavedKind::Number, .least = 1, .most = 5,
     .get = [](const SavedSettings& s) { return positionForFlightStep(s.options.FlightStep) + 1; },
     .put = [](SavedSettings& s, int v) { s.options.FlightStep = flightStepForPosition(v - 1); }},
    {.section = kOptionsSection, .key = "interval", .kind = SavedKind::Number, .least = 1, .most = 5,
     .get = [](const SavedSettings& s) { return positionForLaunchInterval(s.options.LaunchInterval) + 1; },
     .put = [](SavedSettings& s, int v) { s.options.LaunchInterval = launchIntervalForPosition(v - 1); }},
    {.section = kOptionsSection, .key = "prize", .kind = SavedKind::Switch,
     .get = [](const SavedSettings& s) { return int(s.options.PrizeEnabled); },
     .put = [](SavedSettings& s, int v) { s.options.PrizeEnabled = v != 0; }},
    // Whatever the dialog took, 0 and below too.
    {.section = kOptionsSection, .key = "prize-after", .kind = SavedKind::Number,
     .least = std::numeric_limits<std::int32_t>::min(), .most = std::numeric_limits<std::int32_t>::max(),
     .get = [](const SavedSettings& s) { return int(s.options.PrizeThreshold); },
     .put = [](SavedSettings& s, int v) { s.options.PrizeThreshold = v; }},
    {.section = kOptionsSection, .key = "pop-sound", .kind = SavedKind::Switch,
     .get = [](const SavedSettings& s) { return int(s.options.SoundEnabled); },
     .put = [](SavedSettings& s, int v) { s.options.SoundEnabled = v != 0; }},
};

// A number's box shows its range and its "none" as one run of numbers, so
// it can never show a number that is not kept.
constexpr bool noneNextToRange()
{
    for (const SavedKey& row : kKeys)
        if (row.none >= 0 && row.none != row.least - 1)
            return false;
    return true;
}
static_assert(noneNextToRange());

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

// A line of the file as written: its text, and its end ("\n", "\r\n" or none).
struct RawLine {
    QByteArrayView body;
    QByteArrayView end;
};
QList<RawLine> linesOf(QByteArrayView text)
{
    QList<RawLine> lines;
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf('\n');
        QByteArrayView body = end < 0 ? text : text.first(end);
        text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
        qsizetype endSize = end < 0 ? 0 : 1;
        if (body.endsWith('\r')) {
            body.chop(1);
            ++endSize;
        }
        lines.append({body, QByteArrayView(body.data() + body.size(), endSize)});
    }
    return lines;
}

bool isSection(const char* section, const QString& name) { return name == QLatin1String(section); }

bool knownSection(const QString& name)
{
    return isSection(kChoicesSection, name) || isSection(kOptionsSection, name);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// A key's line with its value replaced, everything around it as it was.
QByteArray withValue(QByteArrayView body, const QByteArray& value)
{
    const qsizetype equals = body.indexOf('=');
    qsizetype comment = body.size();
    for (qsizetype i = equals + 1; i < body.size(); ++i)
        if (body[i] == '#' || body[i] == ';') {
            comment = i;
            break;
        }
    qsizetype start = equals + 1, end = comment;
    while (start < end && isBlank(body[start]))
        ++start;
    while (end > start && isBlank(body[end - 1]))
        --end;
    QByteArray line = body.first(start).toByteArray() + value;
    if (end == comment && comment < body.size())
        line += ' ';
    return line + body.sliced(end).toByteArray();
}

QByteArray settingLine(const SavedKey& row, const SavedSettings& settings)
{
    return QByteArray(row.key) + '=' + savedText(row, row.get(settings)).toUtf8();
}

// What a file left out whole is, for its one line.
QString wholeLeftOut(const WholeFile& file)
{
    switch (file.status) {
    case WholeFile::Missing:
    case WholeFile::Read: break;
    case WholeFile::TooLarge:
        return QC::translate("zephyra", "the whole file (larger than %1 KB)").arg(kLargestSettingsFile / 1024);
    case WholeFile::Folder: return QC::translate("zephyra", "the whole file (it is a folder)");
    case WholeFile::NoFile: return QC::translate("zephyra", "the whole file (it is no regular file)");
    case WholeFile::LinkNowhere: return QC::translate("zephyra", "the whole file (a link that leads nowhere)");
    case WholeFile::Unreadable:
        return QC::translate("zephyra", "the whole file (it cannot be read: %1)").arg(errorText(file.error));
    }
    return {};
}

bool isLeftOutWhole(const WholeFile& file) { return file.status != WholeFile::Missing && file.status != WholeFile::Read; }

// The user's home: $HOME, else the password database's.
QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(home))
        return home;
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(std::size_t(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir
        && found->pw_dir[0] == '/')
        return QFile::decodeName(found->pw_dir);
    return QDir::homePath();
}

}  // namespace

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
    for (const RawLine& raw : linesOf(text)) {
        ++number;
        const Line line = readLine(raw.body);
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
    const WholeFile file = readWholeFile(path, kLargestSettingsFile);
    if (isLeftOutWhole(file))
        return {wholeLeftOut(file)};
    return readSettingsText(file.text, into);
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
        folder = homeFolder() + QLatin1String("/.config");
    return QDir::cleanPath(folder + QLatin1String("/zephyra/zephyra.conf"));
}

QStringList systemSettingsFiles()
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
    return files;
}

QStringList settingsFiles() { return systemSettingsFiles() << userSettingsFile(); }

SavedSettings readSettingsFiles(const QStringList& files, QStringList* reports)
{
    SavedSettings settings;
    for (const QString& path : files)
        if (const QStringList leftOut = readSettingsFile(path, settings); !leftOut.isEmpty() && reports)
            *reports << leftOutLine(path, leftOut);
    return settings;
}

QByteArray updatedSettingsText(QByteArrayView old, const SavedSettings& settings, const QStringList& sections,
                               const QStringList& forget, const SavedSettings& base)
{
    const QList<RawLine> lines = linesOf(old);
    const QByteArray eol = lines.isEmpty() || lines[0].end.isEmpty() ? QByteArray("\n") : lines[0].end.toByteArray();
    // The keys this file sets stay set; others only where they differ from the system's.
    QSet<const SavedKey*> set;
    QString section;
    for (const RawLine& raw : lines) {
        const Line line = readLine(raw.body);
        if (line.kind == Line::Section)
            section = line.name;
        else if (line.kind == Line::Setting)
            if (const SavedKey* row = savedKey(section, line.name))
                set << row;
    }
    const auto wanted = [&](const SavedKey& row) {
        return sections.contains(QLatin1String(row.section)) && (set.contains(&row) || row.get(settings) != row.get(base));
    };

    section.clear();
    QByteArray out;
    const auto append = [&out, &eol](QByteArrayView body, QByteArrayView end) {
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += eol;
        out += body.toByteArray() + end.toByteArray();
    };
    bool firstOfSection = false;
    qsizetype endOfSettings = 0;  // where a section's missing keys go: after its last setting
    QSet<QString> seen;
    QSet<const SavedKey*> written;
    // The keys of a section to set, not yet written, go at the end of its first appearance.
    const auto completeSection = [&] {
        if (!firstOfSection || !sections.contains(section))
            return;
        QByteArray missing;
        if (endOfSettings > 0 && out[endOfSettings - 1] != '\n')
            missing += eol;
        for (const SavedKey& row : kKeys)
            if (isSection(row.section, section) && !written.contains(&row) && wanted(row)) {
                missing += settingLine(row, settings) + eol;
                written << &row;
            }
        out.insert(endOfSettings, missing);
    };
    // A forgotten section loses the keys it had; the rest of it stays.
    QByteArray forgottenHeader, forgottenRest;
    bool forgottenKept = false;
    const auto endForgotten = [&] {
        if (forgottenKept)
            append(forgottenHeader + forgottenRest, {});
        forgottenHeader.clear();
        forgottenRest.clear();
        forgottenKept = false;
    };
    for (const RawLine& raw : lines) {
        const Line line = readLine(raw.body);
        const QByteArray whole = raw.body.toByteArray() + raw.end.toByteArray();
        if (line.kind == Line::Section) {
            completeSection();
            endForgotten();
            section = line.name;
            firstOfSection = !seen.contains(section);
            seen << section;
            if (forget.contains(section)) {
                forgottenHeader = whole;
                continue;
            }
            append(raw.body, raw.end);
            endOfSettings = out.size();
            continue;
        }
        const SavedKey* row = line.kind == Line::Setting ? savedKey(section, line.name) : nullptr;
        if (forget.contains(section)) {
            if (!row) {
                forgottenRest += whole;
                forgottenKept = forgottenKept || !raw.body.trimmed().isEmpty();
            }
            continue;
        }
        if (row && sections.contains(section)) {
            // A key is written once, where it first stood; a value that reads
            // as the one chosen stays as it was spelt.
            if (written.contains(row))
                continue;
            written << row;
            const int value = row->get(settings);
            if (savedValue(*row, line.value) == value)
                append(raw.body, raw.end);
            else
                append(withValue(raw.body, savedText(*row, value).toUtf8()), raw.end);
            endOfSettings = out.size();
            continue;
        }
        append(raw.body, raw.end);
        if (line.kind == Line::Setting)
            endOfSettings = out.size();
    }
    completeSection();
    endForgotten();
    for (const QString& name : sections) {
        if (seen.contains(name))
            continue;
        QByteArray keys;
        for (const SavedKey& row : kKeys)
            if (isSection(row.section, name) && wanted(row))
                keys += settingLine(row, settings) + eol;
        if (keys.isEmpty())
            continue;
        if (out.isEmpty())
            out += "# ZEPHYRA's settings for grown-ups (zephyra --grown-ups); its README names every key." + eol;
        else if (!out.endsWith(eol + eol))
            append({}, eol);
        out += '[' + name.toUtf8() + ']' + eol + keys;
    }
    if (out.isEmpty() && old.isEmpty())
        out += "# ZEPHYRA's settings for grown-ups (zephyra --grown-ups); its README names every key." + eol;
    return out;
}

QString keptOnSave(const QString& path)
{
    const SaveTarget target = saveTarget(path);
    if (target.trouble || !isLeftOutWhole(readWholeFile(target.path, kLargestSettingsFile)))
        return {};
    return keptBeside(target.path);
}

SaveTrouble writeSettingsFile(const QString& path, const SavedSettings& settings, const QStringList& sections,
                              const QStringList& forget, const SavedSettings& base)
{
    const SaveTarget target = saveTarget(path);
    if (target.trouble)
        return target.trouble;
    const WholeFile old = readWholeFile(target.path, kLargestSettingsFile);
    // A file left out whole is written anew, with the old one kept beside it.
    const bool keepOld = isLeftOutWhole(old);
    const QByteArray text = updatedSettingsText(old.text, settings, sections, forget, base);
    // A save that changes nothing writes nothing: it holds on a full disk too.
    if (!keepOld && old.status == WholeFile::Read && text == old.text)
        return {};
    return writeWholeFile(path, text, keepOld);
}

SaveTrouble saveUserSettings(const SavedSettings& settings, const QStringList& sections, const QStringList& forget)
{
    return writeSettingsFile(userSettingsFile(), settings, sections, forget,
                             readSettingsFiles(systemSettingsFiles(), nullptr));
}

}  // namespace zephyra
