// The floor that bench/pacing.sh holds the play field against: a bare Qt
// window doing the same drawing in the plainest way. Frameless and full
// screen, the play background scaled once, eight 130 x 168 balloons and one
// 64 x 64 wasp moved on a 50 ms precise timer, each move repainting only the
// rectangles it touched. It asks the server for nothing while it runs.
//
// Usage: pacing_reference <pictures folder>   (the window is "pacing reference")

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdio>

namespace {

constexpr int kTickMs = 50;
constexpr int kRise = 10;

class Field : public QWidget {
public:
    Field(const QString& pictures, const QRect& screen)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    {
        setWindowTitle(QStringLiteral("pacing reference"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(screen);
        m_background = QImage(pictures + QStringLiteral("/play-background.jpg"))
                           .scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_RGB32);
        static const char* colours[] = {"blue", "green", "red", "yellow"};
        for (int i = 0; i < int(m_balloons.size()); ++i) {
            m_balloons[i].picture =
                QImage(pictures + QStringLiteral("/balloon-medium-%1.png").arg(QLatin1String(colours[i % 4])))
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            m_balloons[i].at = QRect(60 + i * (screen.width() - 200) / 8, screen.height() - 168 - i * 110, 130, 168);
        }
        m_wasp.picture = QImage(pictures + QStringLiteral("/wasp-medium.png"))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        m_wasp.at = QRect(screen.width() / 2, screen.height() / 2, 64, 64);
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kTickMs);
        connect(&m_timer, &QTimer::timeout, this, &Field::tick);
        m_timer.start();
    }

    bool loaded() const
    {
        bool ok = !m_background.isNull() && !m_wasp.picture.isNull();
        for (const Sprite& b : m_balloons)
            ok = ok && !b.picture.isNull();
        return ok;
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        for (const QRect& r : event->region())
            p.drawImage(r.topLeft(), m_background, r);
        for (const Sprite& b : m_balloons)
            if (event->region().intersects(b.at))
                p.drawImage(b.at.topLeft(), b.picture);
        if (event->region().intersects(m_wasp.at))
            p.drawImage(m_wasp.at.topLeft(), m_wasp.picture);
    }

private:
    struct Sprite {
        QImage picture;
        QRect at;
    };

    void moveTo(Sprite& s, QPoint to)
    {
        update(s.at);
        s.at.moveTo(to);
        update(s.at);
    }

    void tick()
    {
        ++m_ticks;
        for (Sprite& b : m_balloons)
            moveTo(b, b.at.top() > -b.at.height() ? b.at.topLeft() - QPoint(0, kRise)
                                                  : QPoint(b.at.left(), height()));
        // The wasp wanders as a pointer moved five times a second would.
        if (m_ticks % 4 == 0)
            moveTo(m_wasp, QPoint((m_ticks * 37) % (width() - 64), 100 + (m_ticks * 23) % (height() - 200)));
    }

    QImage m_background;
    std::array<Sprite, 8> m_balloons;
    Sprite m_wasp;
    QTimer m_timer;
    int m_ticks = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pacing_reference <pictures folder>\n");
        return 2;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    Field field(QString::fromLocal8Bit(argv[1]), screen->geometry());
    if (!field.loaded()) {
        std::fprintf(stderr, "pacing_reference: pictures not found in %s\n", argv[1]);
        return 1;
    }
    field.showFullScreen();
    return app.exec();
}
