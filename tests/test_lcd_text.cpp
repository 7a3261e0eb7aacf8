// The dot-matrix display in text mode, checked on the pixels it shows.

#include "base/error.h"
#include "lcd/LCDScreen.h"
#include "play/counters.h"

#include <QFontMetrics>
#include <QMetaProperty>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor kLit(0, 192, 0);
const QColor kUnlit(0, 128, 0);

struct Message {
    QMessageBox::Icon icon;
    QString caption, text;
};

// Reads the composed frame back into one character per dot: '#' where the
// dot shows `lit`, '.' where it shows `unlit`, '?' for anything else.
QStringList dotsOf(const QImage& frame, const TLCDScreen& d, QColor lit = kLit,
                   QColor unlit = kUnlit)
{
    const int border = d.BorderSpace(), stepX = d.PixelWidth() + d.PixelSpacing(),
              stepY = d.PixelHeight() + d.PixelSpacing();
    QStringList rows;
    for (int r = 0; r < d.GridRows(); ++r) {
        QString row;
        for (int c = 0; c < d.GridColumns(); ++c) {
            const QColor px = frame.pixelColor(border + c * stepX + d.PixelWidth() / 2,
                                               border + r * stepY + d.PixelHeight() / 2);
            row += px == lit ? '#' : px == unlit ? '.' : '?';
        }
        rows << row;
    }
    return rows;
}

// The expected dots, drawn independently: the whole string in one call,
// no anti-aliasing, placed at the top-left of a grid of the given size.
QStringList expectedDots(const QFont& font, const QString& text, int columns, int rows,
                         bool inverted = false)
{
    QFont f = font;
    f.setStyleStrategy(QFont::NoAntialias);
    QImage img(columns, rows, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const QFontMetrics fm(f, &img);
    if (inverted)
        p.fillRect(0, 0, fm.horizontalAdvance(text), fm.height(), Qt::black);
    p.setFont(f);
    p.setPen(inverted ? Qt::white : Qt::black);
    p.drawText(0, fm.ascent(), text);
    p.end();
    QStringList out;
    for (int y = 0; y < rows; ++y) {
        QString row;
        for (int x = 0; x < columns; ++x)
            row += qGray(img.pixel(x, y)) < 128 ? '#' : '.';
        out << row;
    }
    return out;
}

bool allLit(const QStringList& rows, int r0, int r1, int c0, int c1, QChar what)
{
    for (int r = r0; r < r1; ++r)
        for (int c = c0; c < c1; ++c)
            if (rows[r][c] != what)
                return false;
    return true;
}

// A display with the play field's settings.
std::unique_ptr<TLCDScreen> counterDisplay(int width, const QString& line)
{
    auto d = std::make_unique<TLCDScreen>();
    configureCounterDisplay(d.get());
    d->setGeometry(0, 0, width, 65);
    d->Lines()->Assign({line});
    return d;
}

// A display of single-pixel dots (no spacing), so a grid cell is one pixel.
std::unique_ptr<TLCDScreen> fineDisplay(int width, int height, const QFont& font)
{
    auto d = std::make_unique<TLCDScreen>();
    configureCounterDisplay(d.get());
    d->setPixelSize(TLCDScreen::pixCustom);
    d->setPixelWidth(1);
    d->setPixelHeight(1);
    d->setPixelSpacing(0);
    d->setBorderSpace(0);
    d->setBorderStyle(TLCDScreen::bsNone);
    d->setFont(font);
    d->resize(width, height);
    return d;
}

QFont scalableFont(int pixels)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    return f;
}

}  // namespace

class TestLcdText : public QObject {
    Q_OBJECT

    std::vector<Message> messages;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
        zephyra::setMessagePresenter([this](QMessageBox::Icon i, const QString& c, const QString& t) {
            messages.push_back({i, c, t});
        });
    }
    void init() { messages.clear(); }

    void propertiesAreNamedAndOrdered()
    {
        TLCDScreen d;
        const QStringList expected = {
            "About", "AnimationDelay", "AnimationEnabled", "AnimationRepeating", "Bitmap",
            "BitmapCopyMode", "BitmapAnimMode", "BitmapXOffset", "BitmapYOffset", "BorderSpace",
            "BorderStyle", "Color", "DisplayMode", "Enabled", "Font", "FontColor", "Intensity",
            "LCDAnimator",
            "Lines", "LinesAnimMode", "LinesXOffset", "LinesYOffset", "PixelHeight", "PixelOff",
            "PixelShape", "PixelSize", "PixelSpacing", "PixelWidth", "ShowHint",
            "SpecialEffects", "Visible"};
        const QMetaObject* mo = d.metaObject();
        QStringList names;
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            names << QString::fromLatin1(mo->property(i).name());
        QCOMPARE(names, expected);

        // Driven by name, as tools do.
        QVERIFY(d.setProperty("PixelSize", "pix4x4"));
        QCOMPARE(d.PixelSize(), TLCDScreen::pix4x4);
        QVERIFY(d.setProperty("Intensity", -5));
        QCOMPARE(int(d.Intensity()), -5);
        QVERIFY(d.setProperty("Lines", QStringList{"x", "y"}));
        QCOMPARE(d.Lines()->Count(), 2);
        QVERIFY(d.setProperty("About", "changed"));
        QVERIFY(d.About() != "changed");
    }

    void defaultsSnapToWholeDots()
    {
        TLCDScreen d;
        QCOMPARE(d.size(), QSize(143, 65));
        QCOMPARE(d.GridColumns(), 46);
        QCOMPARE(d.GridRows(), 20);
        // The last dot column ends one border inside the right edge.
        const QImage f = d.composeFrame();
        QCOMPARE(f.size(), QSize(143, 65));
        QCOMPARE(f.pixelColor(143 - 4, 10), d.UnlitColor());
        QCOMPARE(f.pixelColor(143 - 3, 10), d.Color());
    }

    void playFieldDisplaysKeepTheirSizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("line");
        QTest::newRow("launched") << 485 << 96 << QStringLiteral("ВЫЛЕТЕЛО - 99999");
        QTest::newRow("popped") << 365 << 72 << QStringLiteral("СБИТО - 9999");
    }
    void playFieldDisplaysKeepTheirSizes()
    {
        QFETCH(int, width);
        QFETCH(int, columns);
        QFETCH(QString, line);
        auto d = counterDisplay(width, line);
        const QImage frame = d->composeFrame();
        QCOMPARE(d->size(), QSize(width, 65));
        QCOMPARE(d->GridColumns(), columns);
        QCOMPARE(d->GridRows(), 12);
        // The longest count fits the grid exactly, glyph for glyph.
        QCOMPARE(d->textImageSize(), QSize(columns, 12));
        const QStringList shown = dotsOf(frame, *d);
        QCOMPARE(shown, expectedDots(lcdCounterFont(), line, columns, 12));
        // Every letter and digit left some ink (no substitute glyphs).
        for (int c = 0; c < line.size(); ++c) {
            if (line[c] == ' ')
                continue;
            bool ink = false;
            for (const QString& row : shown)
                ink |= row.mid(c * 6, 6).contains('#');
            QVERIFY2(ink, qPrintable(QString("character %1").arg(line[c])));
        }
        // Gaps between dots and the margin show the black panel.
        QCOMPARE(frame.pixelColor(3 + 4, 10), QColor(Qt::black));
        QCOMPARE(frame.pixelColor(2, 30), QColor(Qt::black));
    }

    void dotColoursAndTheirSwap()
    {
        auto d = counterDisplay(485, QStringLiteral("ВЫЛЕТЕЛО - 0"));
        QCOMPARE(d->LitColor(), kLit);  // 192, not 191
        const QStringList before = dotsOf(d->composeFrame(), *d);
        QVERIFY(!before.join("").contains('?'));
        QVERIFY(before.join("").contains('#'));
        d->setIntensity(-127);
        const QStringList after = dotsOf(d->composeFrame(), *d, kUnlit, kLit);
        QCOMPARE(after, before);

        // MulDiv rounds to nearest; a negative difference wraps to its low byte.
        d->setFontColor(QColor(0, 0, 0));
        d->setPixelOff(QColor(200, 10, 255));
        d->setIntensity(100);  // factor 155: 121.57 -> 122, 6.08 -> 6, 155
        QCOMPARE(d->LitColor(), QColor(122, 6, 155));
        d->setFontColor(QColor(255, 255, 255));
        d->setPixelOff(QColor(0, 0, 0));
        d->setIntensity(-128);  // factor 127: -127 wraps to 129
        QCOMPARE(d->UnlitColor(), QColor(129, 129, 129));
        QCOMPARE(d->LitColor(), QColor(0, 0, 0));
        const QImage f = d->composeFrame();
        QCOMPARE(f.pixelColor(3, 3), QColor(129, 129, 129));
    }

    void markupTags()
    {
        const QFont font = scalableFont(16);
        const auto show = [&](const QStringList& lines, TSpecialEffects effects) {
            auto d = fineDisplay(120, 60, font);
            d->setSpecialEffects(effects);
            d->Lines()->Assign(lines);
            return dotsOf(d->composeFrame(), *d);
        };
        const QStringList plain = show({"8"}, 0);
        QCOMPARE(plain, expectedDots(font, "8", 120, 60));
        // Bold only where the effect is allowed.
        QCOMPARE(show({"<b>8</b>"}, 0), plain);
        QFont bold = font;
        bold.setBold(true);
        const QStringList boldDots = show({"<b>8</b>"}, TLCDScreen::effectBit(TLCDScreen::spBold));
        QVERIFY(boldDots != plain);
        QCOMPARE(boldDots, expectedDots(bold, "8", 120, 60));
        // Unknown and upper-case tags are text (a fixed-pitch font, so the
        // whole string drawn at once gives the same pixels).
        const QFont mono = lcdCounterFont();
        const auto showMono = [&](const QString& line) {
            auto d = fineDisplay(60, 12, mono);
            d->setSpecialEffects(0xFF);
            d->Lines()->Assign({line});
            return dotsOf(d->composeFrame(), *d);
        };
        QCOMPARE(showMono("a<b"), expectedDots(mono, "a<b", 60, 12));
        QCOMPARE(showMono("<B>8"), expectedDots(mono, "<B>8", 60, 12));
        QCOMPARE(showMono("<b>8</b>x<i"), expectedDots(mono, "8x<i", 60, 12));

        auto d = fineDisplay(120, 60, font);
        d->Lines()->Assign({"a<b", "<B><u>x"});
        QCOMPARE(d->cellCode(0, 1), quint8('a'));
        QCOMPARE(d->cellCode(0, 2), quint8('<'));
        QCOMPARE(d->cellCode(0, 3), quint8('b'));
        QCOMPARE(d->cellCode(0, 4), quint8(0));
        QCOMPARE(d->cellCode(1, 3), quint8('>'));
        QCOMPARE(d->cellCode(1, 4), quint8('x'));
        QCOMPARE(d->cellFlags(1, 4), quint8(TLCDText::cfUnderline));
    }

    void inverseRunsAcrossStrings()
    {
        const QFont font = lcdCounterFont();
        auto d = fineDisplay(60, 36, font);
        d->setSpecialEffects(TLCDScreen::effectBit(TLCDScreen::spInverse));
        d->Lines()->Assign({"AB<inv>", "CD", "E</inv>F"});
        const QStringList shown = dotsOf(d->composeFrame(), *d);
        QCOMPARE(shown.mid(0, 12), expectedDots(font, "AB", 60, 12));
        QCOMPARE(shown.mid(12, 12), expectedDots(font, "CD", 60, 12, true));
        const QStringList e = expectedDots(font, "E", 60, 12, true);
        const QStringList f = expectedDots(font, "F", 60, 12);
        for (int r = 0; r < 12; ++r) {
            QCOMPARE(shown[24 + r].left(6), e[r].left(6));
            QCOMPARE(shown[24 + r].mid(6, 6), f[r].left(6));
        }
        // Without the effect the flag is carried but not drawn.
        d->setSpecialEffects(0);
        QCOMPARE(dotsOf(d->composeFrame(), *d).mid(12, 12), expectedDots(font, "CD", 60, 12));
        QCOMPARE(d->cellFlags(1, 1), quint8(TLCDText::cfInverse));
    }

    void emptyStringLeavesBandOfFontHeight()
    {
        QFont font = scalableFont(11);
        const int lineHeight = QFontMetrics(font).height();
        QVERIFY(lineHeight != 11);  // so the band cannot pass as a line height
        auto d = fineDisplay(40, 80, font);
        d->Lines()->Assign({"H", "", "H"});
        QCOMPARE(d->textImageSize().height(), 2 * lineHeight + 11);
        const QStringList shown = dotsOf(d->composeFrame(), *d);
        const QStringList h = expectedDots(font, "H", 40, lineHeight);
        QCOMPARE(shown.mid(0, lineHeight), h);
        QVERIFY(allLit(shown, lineHeight, lineHeight + 11, 0, 40, '.'));
        QCOMPARE(shown.mid(lineHeight + 11, lineHeight), h);
    }

    void fontStyleIsIgnored()
    {
        auto d = counterDisplay(485, QStringLiteral("ВЫЛЕТЕЛО - 0"));
        const QImage before = d->composeFrame().copy();
        QFont f = d->Font();
        f.setBold(true);
        f.setItalic(true);
        f.setUnderline(true);
        d->setFont(f);
        QCOMPARE(d->composeFrame(), before);
        QFont big = scalableFont(16);
        big.setBold(true);
        auto b = fineDisplay(60, 30, big);
        b->Lines()->Assign({"8"});
        QCOMPARE(dotsOf(b->composeFrame(), *b), expectedDots(scalableFont(16), "8", 60, 30));
    }

    void pixelWidthRules()
    {
        auto d = counterDisplay(485, QStringLiteral("1"));
        d->setPixelWidth(5);  // ignored: a preset size rules
        QCOMPARE(d->PixelWidth(), qint8(4));
        QVERIFY(messages.empty());

        d->setPixelSize(TLCDScreen::pixCustom);
        d->setPixelWidth(0);
        QCOMPARE(d->PixelWidth(), qint8(4));
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].text, QStringLiteral("Value must be between 1 and 255."));
        QCOMPARE(messages[0].caption, QStringLiteral("ZEPHYRA"));
        QCOMPARE(messages[0].icon, QMessageBox::Critical);
        d->setPixelHeight(-3);
        QCOMPARE(d->PixelHeight(), qint8(4));
        QCOMPARE(messages.size(), size_t(2));

        // A custom width of 2: dots 2 wide, 3 apart, and the size snaps.
        d->setPixelWidth(2);
        QCOMPARE(d->GridColumns(), 160);
        QCOMPARE(d->width(), 160 * 2 + 6 + 159);
        const QImage f = d->composeFrame();
        QCOMPARE(f.pixelColor(4, 10), kUnlit);
        QCOMPARE(f.pixelColor(5, 10), QColor(Qt::black));
        QCOMPARE(f.pixelColor(6, 10), kUnlit);
    }

    void disabledAndBevel()
    {
        auto d = counterDisplay(485, QStringLiteral("ВЫЛЕТЕЛО - 0"));
        QPalette pal = d->palette();
        pal.setColor(QPalette::Light, QColor(250, 250, 250));
        pal.setColor(QPalette::Dark, QColor(60, 60, 60));
        d->setPalette(pal);
        const QColor light(250, 250, 250), dark(60, 60, 60);
        QImage f = d->composeFrame();
        const int w = f.width(), h = f.height();
        QCOMPARE(f.pixelColor(w - 1, 0), dark);  // top-right ends as the shadow
        QCOMPARE(f.pixelColor(0, h - 1), light);
        QCOMPARE(f.pixelColor(0, 0), dark);
        QCOMPARE(f.pixelColor(w - 1, h - 1), light);
        QCOMPARE(f.pixelColor(w - 1, 30), light);
        QCOMPARE(f.pixelColor(40, 0), dark);

        d->setBorderStyle(TLCDScreen::bsRaised);
        f = d->composeFrame();
        QCOMPARE(f.pixelColor(w - 1, 0), light);
        QCOMPARE(f.pixelColor(0, h - 1), dark);
        QCOMPARE(f.pixelColor(40, h - 1), dark);

        // Disabled, the display keeps its bevel: the disabled group's colours never show.
        pal.setColor(QPalette::Disabled, QPalette::Light, Qt::red);
        pal.setColor(QPalette::Disabled, QPalette::Dark, Qt::blue);
        d->setPalette(pal);
        d->setBorderStyle(TLCDScreen::bsNone);
        d->setEnabled(false);
        f = d->composeFrame();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (f.pixelColor(x, y) != QColor(Qt::black))
                    QFAIL(qPrintable(QString("pixel %1,%2 not the panel colour").arg(x).arg(y)));
        d->setBorderStyle(TLCDScreen::bsLowered);
        f = d->composeFrame();
        QCOMPARE(f.pixelColor(0, 0), dark);
        QCOMPARE(f.pixelColor(0, h - 1), light);
        QCOMPARE(f.pixelColor(3, 3), QColor(Qt::black));  // no dots while disabled
        QVERIFY(!d->Enabled());

        // Enabled is the display's own flag: a disabled parent leaves its dots on.
        QWidget parent;
        auto* child = new TLCDScreen(&parent);
        configureCounterDisplay(child);
        child->setGeometry(0, 0, 485, 65);
        child->Lines()->Assign({QStringLiteral("8")});
        parent.setEnabled(false);
        QVERIFY(child->Enabled());
        QVERIFY(dotsOf(child->composeFrame(), *child).join("").contains('#'));
    }

    void codePageConversionKeepsNoStateBetweenTexts()
    {
        // An unpaired surrogate ending one text must not reach the next, in any display.
        auto first = counterDisplay(485, QStringLiteral("A") + QChar(0xD800));
        auto second = counterDisplay(365, QStringLiteral("B"));
        QCOMPARE(second->cellCode(0, 1), quint8('B'));
        QCOMPARE(second->cellCode(0, 2), quint8(0));
        first->Lines()->Assign({QStringLiteral("C")});
        QCOMPARE(first->cellCode(0, 1), quint8('C'));
        QCOMPARE(first->cellCode(0, 2), quint8(0));
    }

    void scrollWrapsAround()
    {
        auto d = counterDisplay(485, QStringLiteral("В1"));
        const int wt = d->textImageSize().width();
        QCOMPARE(wt, 12);
        d->setLinesXOffset(qint8(-(wt + 1)));
        const QStringList shown = dotsOf(d->composeFrame(), *d);
        QCOMPARE(d->ScrollX(), wt + 96);
        // The text starts in the last column: its first column shows there.
        const QStringList text = expectedDots(lcdCounterFont(), "В1", 96, 12);
        for (int r = 0; r < 12; ++r) {
            QCOMPARE(shown[r].left(95), QString(95, '.'));
            QCOMPARE(shown[r][95], text[r][0]);
        }
        QVERIFY(shown.join("").contains('#'));
        // Static placement ignores the scroll position.
        d->setLinesAnimMode(TLCDScreen::amStatic);
        d->setLinesXOffset(0);
        QCOMPARE(dotsOf(d->composeFrame(), *d), text);
    }

    void roundDots()
    {
        auto d = counterDisplay(485, QStringLiteral("ВЫЛЕТЕЛО - 0"));
        d->setPixelShape(TLCDScreen::psRound);
        const QImage f = d->composeFrame();
        const QStringList shown = dotsOf(f, *d);
        int litRow = -1, litCol = -1, unlitCol = -1;
        for (int c = 0; c < 96 && litRow < 0; ++c)
            for (int r = 0; r < 12; ++r)
                if (shown[r][c] == '#') {
                    litRow = r;
                    litCol = c;
                    break;
                }
        unlitCol = shown[litRow].indexOf('.');
        QVERIFY(litCol >= 0 && unlitCol >= 0);
        const int x = 3 + litCol * 5, y = 3 + litRow * 5;
        QCOMPARE(f.pixelColor(x, y), kUnlit);          // corner of the square
        QCOMPARE(f.pixelColor(x + 3, y + 3), kUnlit);
        QCOMPARE(f.pixelColor(x + 1, y), kLit);        // the circle
        QCOMPARE(f.pixelColor(x + 1, y + 1), kLit);
        QCOMPARE(f.pixelColor(x + 4, y + 1), QColor(Qt::black));  // gap
        const int ux = 3 + unlitCol * 5;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                QCOMPARE(f.pixelColor(ux + i, y + j), kUnlit);
    }

    void lineReplacementShowsOnlyTheNewText()
    {
        auto d = counterDisplay(365, QStringLiteral("СБИТО - 0"));
        QSignalSpy spy(d->Lines(), &TStrings::changed);
        d->Lines()->Insert(0, QStringLiteral("СБИТО - 17"));
        QCOMPARE(d->Lines()->Count(), 2);
        QCOMPARE(d->textImageSize().height(), 24);  // the old line lies below the grid
        const QStringList expected = expectedDots(lcdCounterFont(), "СБИТО - 17", 72, 12);
        QCOMPARE(dotsOf(d->composeFrame(), *d), expected);
        d->Lines()->Delete(1);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(d->Lines()->Count(), 1);
        QCOMPARE(dotsOf(d->composeFrame(), *d), expected);
        // What the widget shows on screen is the composed frame.
        QCOMPARE(d->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 d->composeFrame().convertToFormat(QImage::Format_RGB32));
        // A deleted line's cells are gone.
        QCOMPARE(d->cellCode(1, 1), quint8(0));
        d->Lines()->Clear();
        QVERIFY(!dotsOf(d->composeFrame(), *d).join("").contains('#'));
    }

    void openLimitsNeverBreak()
    {
        // More strings than the cell table holds: the rest is not shown.
        auto d = fineDisplay(60, 40, lcdCounterFont());
        d->setSpecialEffects(TLCDScreen::effectBit(TLCDScreen::spInverse));
        QStringList many;
        for (int i = 0; i < 300; ++i)
            many << QString::number(i);
        d->Lines()->Assign(many);
        QCOMPARE(d->textImageSize().height(), 256 * 12);
        QVERIFY(dotsOf(d->composeFrame(), *d).join("").contains('#'));

        // More than 255 characters: the rest is dropped, its tags still count.
        d->Lines()->Assign({QString(300, 'x') + "<inv>", "1"});
        QCOMPARE(d->cellCode(0, 255), quint8('x'));
        QCOMPARE(d->textImageSize().width(), 255 * 6);
        QCOMPARE(d->cellFlags(1, 1), quint8(TLCDText::cfInverse));

        // Steps of 0 or less and a too small control: no dots, size kept.
        auto s = counterDisplay(485, QStringLiteral("ВЫЛЕТЕЛО - 0"));
        s->setPixelSize(TLCDScreen::pixCustom);
        s->setPixelWidth(1);
        s->setPixelSpacing(-1);
        const QImage f = s->composeFrame();
        QCOMPARE(s->size(), QSize(485, 65));
        QCOMPARE(s->GridColumns(), 0);
        QCOMPARE(f.pixelColor(3, 3), QColor(Qt::black));
        s->setPixelSpacing(-2);
        s->setPixelHeight(3);
        s->composeFrame();
        QCOMPARE(s->GridRows(), 0);

        auto t = counterDisplay(485, QStringLiteral("1"));
        t->resize(8, 8);
        const QImage small = t->composeFrame();
        QCOMPARE(t->size(), QSize(8, 8));
        QCOMPARE(t->GridColumns(), 0);
        QCOMPARE(small.pixelColor(4, 4), QColor(Qt::black));

        // A negative margin counts as none: dots start at the edge.
        auto n = counterDisplay(485, QStringLiteral("1"));
        n->setBorderSpace(-5);
        const QImage edge = n->composeFrame();
        QCOMPARE(n->GridColumns(), 97);
        QCOMPARE(n->GridRows(), 13);
        QCOMPARE(edge.pixelColor(0, 0), kUnlit);
        QCOMPARE(edge.pixelColor(4, 0), QColor(Qt::black));
    }
};

QTEST_MAIN(TestLcdText)
#include "test_lcd_text.moc"
