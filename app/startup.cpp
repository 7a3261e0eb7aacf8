#include "app/startup.h"

#include "assets/decode.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace zephyra {

namespace {

// Beyond 8 times its size the game's windows alone ask for gigabytes of
// buffers; at 0 or below Qt shows no window, and below 0.1 nothing is left
// to see.
constexpr double kMinScale = 0.1;
constexpr double kMaxScale = 8;
// The dots per inch Qt draws at scale 1; a higher QT_FONT_DPI scales by its share.
constexpr int kBaseDpi = 96;

constexpr char kScaleFactor[] = "QT_SCALE_FACTOR";
constexpr char kScreenFactors[] = "QT_SCREEN_SCALE_FACTORS";
constexpr char kFontDpi[] = "QT_FONT_DPI";

bool inScale(double factor) { return std::isfinite(factor) && factor >= kMinScale && factor <= kMaxScale; }

using Scales = std::pair<double, double>;  // the least and the greatest

// The factors a setting scales screens by, read the way Qt reads it, or
// nothing when a part of it is not a number Qt could use. Empty: scale 1.
std::optional<Scales> scalesOf(QByteArrayView name, const QByteArray& value)
{
    if (value.trimmed().isEmpty())
        return Scales{1, 1};
    bool ok = false;
    if (name == kFontDpi) {
        const int dpi = value.toInt(&ok, 0);
        if (!ok || dpi < 1)
            return std::nullopt;
        const double factor = std::max(1.0, double(dpi) / kBaseDpi);  // Qt never scales down for DPI
        return Scales{factor, factor};
    }
    if (name != kScreenFactors) {
        const double factor = value.toDouble(&ok);
        return ok ? std::optional(Scales{factor, factor}) : std::nullopt;
    }
    std::optional<Scales> all;
    for (const QByteArray& entry : value.split(';')) {
        if (entry.trimmed().isEmpty())  // desktops end the list with ';'
            continue;
        const double factor = entry.mid(entry.lastIndexOf('=') + 1).toDouble(&ok);
        if (!ok)
            return std::nullopt;
        all = all ? Scales{std::min(all->first, factor), std::max(all->second, factor)} : Scales{factor, factor};
    }
    return all ? all : Scales{1, 1};
}

// The value as one line of plain text, whatever bytes it holds.
QByteArray printable(const QByteArray& value)
{
    constexpr qsizetype kShown = 40;
    QByteArray text = value.left(kShown);
    for (char& c : text)
        if (c < ' ' || c > '~')
            c = '?';
    return value.size() > kShown ? text + "..." : text;
}

void refuse(const char* name, const char* why)
{
    std::fprintf(stderr, "zephyra: %s=%s refused (%s); starting at the desktop's own scale\n", name,
                 printable(qgetenv(name)).constData(), why);
    qunsetenv(name);
}

QtMessageHandler qtMessageHandler = nullptr;

void fatalIsExit(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    qtMessageHandler(type, context, message);
    if (type == QtFatalMsg)
        std::_Exit(1);  // Qt is half built: nothing of it may run on
}

// Watches a window until its first expose, then queues the work and goes.
class FirstExpose : public QObject {
public:
    FirstExpose(QWindow* window, std::function<void()> then) : QObject(window), m_then(std::move(then))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The window paints while it handles this event; the work queued
        // here runs after that.
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { m_then(); deleteLater(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

}  // namespace

bool scaleSettingAccepted(QByteArrayView name, const QByteArray& value)
{
    const std::optional<Scales> scales = scalesOf(name, value);
    return scales && inScale(scales->first) && inScale(scales->second);
}

void refuseBadScaleSettings()
{
    for (const char* name : {kScaleFactor, kScreenFactors, kFontDpi})
        if (qEnvironmentVariableIsSet(name) && !scaleSettingAccepted(name, qgetenv(name)))
            refuse(name, QByteArrayView(name) == kFontDpi ? "not a whole number from 1 to 768"
                                                          : "not a number from 0.1 to 8");
    // A screen's factor comes from its own list, else from the font DPI; the
    // global factor multiplies it.
    if (!qEnvironmentVariableIsSet(kScaleFactor))
        return;
    const Scales global = *scalesOf(kScaleFactor, qgetenv(kScaleFactor));
    const bool listed = qEnvironmentVariableIsSet(kScreenFactors);
    const char* screenSetting = listed ? kScreenFactors : kFontDpi;
    const Scales screen = scalesOf(screenSetting, qgetenv(screenSetting)).value_or(Scales{1, 1});
    if (!inScale(global.first * screen.first) || !inScale(global.second * screen.second))
        refuse(kScaleFactor, listed ? "times QT_SCREEN_SCALE_FACTORS it is outside 0.1 to 8"
                                    : "times QT_FONT_DPI's scale it is outside 0.1 to 8");
}

void TemporaryEnvironment::save(const char* name)
{
    const bool seen = std::any_of(m_saved.begin(), m_saved.end(), [name](const auto& entry) {
        return entry.first == name;
    });
    if (seen)
        return;  // the first value is the one to give back
    std::optional<QByteArray> before;
    if (qEnvironmentVariableIsSet(name))
        before = qgetenv(name);
    m_saved.emplace_back(name, std::move(before));
}

void TemporaryEnvironment::set(const char* name, const QByteArray& value)
{
    save(name);
    qputenv(name, value);
}

void TemporaryEnvironment::unset(const char* name)
{
    save(name);
    qunsetenv(name);
}

void TemporaryEnvironment::restore()
{
    for (const auto& [name, before] : m_saved) {
        if (before)
            qputenv(name.constData(), *before);
        else
            qunsetenv(name.constData());
    }
    m_saved.clear();
}

void exitOnFatalError(bool on)
{
    if (on)
        qtMessageHandler = qInstallMessageHandler(fatalIsExit);
    else if (qtMessageHandler)
        qInstallMessageHandler(std::exchange(qtMessageHandler, nullptr));
}

void afterFirstExpose(QWindow* window, std::function<void()> then) { new FirstExpose(window, std::move(then)); }

PictureCheck::PictureCheck(const QString& folder, std::function<void(const QString&)> onDamaged)
    : PictureCheck(picturesIn(folder), std::move(onDamaged))
{
}

PictureCheck::PictureCheck(const QStringList& pictures, std::function<void(const QString&)> onDamaged)
    // At normal priority: the whole check is a tenth of a second of work, and
    // at idle priority a busy machine left it waiting for many seconds.
    : m_worker([pictures, onDamaged = std::move(onDamaged)](std::stop_token stop) {
          const QString error = firstDamagedPicture(pictures, stop);
          if (!error.isEmpty())
              QMetaObject::invokeMethod(
                  QCoreApplication::instance(), [onDamaged, error] { onDamaged(error); },
                  Qt::QueuedConnection);
      })
{
}

PictureCheck::~PictureCheck()
{
    m_worker.request_stop();
    m_worker.join();
}

}  // namespace zephyra
