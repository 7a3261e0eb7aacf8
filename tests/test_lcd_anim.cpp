// The dot-matrix display's bitmap modes, animation timer and animator script.

#include "base/error.h"
#include "lcd/LCDScreen.h"
#include "play/counters.h"

#include <QMetaProperty>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QColor kLit(0, 192, 0);
const QColor kUnlit(0, 128, 0);

// One character per dot of the composed frame: '#' lit, '.' unlit, '?' other.
QStringList dotsOf(TLCDScreen& d, QColor lit = kLit, QColor unlit = kUnlit)
{
    const QImage frame = d.composeFrame();
    const int b = d.BorderSpace(), sx = d.PixelWidth() + d.PixelSpacing(),
              sy = d.PixelHeight() + d.PixelSpacing();
    QStringList rows;
    for (int r = 0; r < d.GridRows(); ++r) {
        QString row;
        for (int c = 0; c < d.GridColumns(); ++c) {
            const QColor px = frame.pixelColor(b + c * sx + d.PixelWidth() / 2,
                                               b + r * sy + d.PixelHeight() / 2);
            row += px == lit ? '#' : px == unlit ? '.' : '?';
        }
        rows << row;
    }
    return rows;
}

// The text image as the same kind of rows, placed at column `at` of a grid.
QStringList textAt(const TLCDScreen& d, int at)
{
    const QImage t = d.textImage();
    QStringList rows;
    for (int r = 0; r < d.GridRows(); ++r) {
        QString row(d.GridColumns(), '.');
        for (int x = 0; x < t.width(); ++x)
            if (r < t.height() && at + x >= 0 && at + x < row.size() && qGray(t.pixel(x, r)) < 128)
                row[at + x] = '#';
        rows << row;
    }
    return rows;
}

int firstLitColumn(const QStringList& rows)
{
    int best = -1;
    for (const QString& row : rows) {
        const int c = row.indexOf('#');
        if (c >= 0 && (best < 0 || c < best))
            best = c;
    }
    return best;
}

std::unique_ptr<TLCDScreen> display(const QString& line)
{
    auto d = std::make_unique<TLCDScreen>();
    configureCounterDisplay(d.get());
    d->setGeometry(0, 0, 485, 65);  // 96 x 12 dots
    d->Lines()->Assign({line});
    return d;
}

QTimer* timerOf(TLCDScreen& d)
{
    return d.findChild<QTimer*>(QStringLiteral("AnimationTimer"));
}

}  // namespace

class TestLcdAnim : public QObject {
    Q_OBJECT

    QStringList messages;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("ZEPHYRA"));
        zephyra::setMessagePresenter([this](QMessageBox::Icon icon, const QString& caption,
                                            const QString& text) {
            QCOMPARE(icon, QMessageBox::Critical);
            QCOMPARE(caption, QStringLiteral("ZEPHYRA"));
            messages << text;
        });
    }
    void init() { messages.clear(); }

    void animatorProperties()
    {
        TLCDAnimator a;
        QStringList names;
        for (int i = a.metaObject()->propertyOffset(); i < a.metaObject()->propertyCount(); ++i)
            names << a.metaObject()->property(i).name();
        QCOMPARE(names, (QStringList{"About", "Code", "CodeErrorFound", "CurrentLine"}));
        QVERIFY(a.setProperty("Code", QStringList{"[a(1);]", "[b(2);]", "[c(3);]"}));

        // Past the end clamps to the last line; exactly the count and
        // negative values are kept.
        a.setCurrentLine(5);
        QCOMPARE(a.CurrentLine(), qint16(2));
        a.setCurrentLine(3);
        QCOMPARE(a.CurrentLine(), qint16(3));
        a.setCurrentLine(-4);
        QCOMPARE(a.CurrentLine(), qint16(-4));
    }

    void timerIntervals()
    {
        TLCDScreen d;
        QTimer* timer = timerOf(d);
        QVERIFY(timer);
        QCOMPARE(d.AnimationDelay(), 251u);
        QVERIFY(!timer->isActive());
        d.setAnimationDelay(251);  // unchanged: the timer keeps 250 ms
        d.setAnimationEnabled(true);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 250);
        d.setAnimationDelay(300);
        QCOMPARE(timer->interval(), 300);
        QVERIFY(timer->isActive());
        d.setAnimationEnabled(false);
        QVERIFY(!timer->isActive());

        // The timer really drives the steps.
        TLCDAnimator a;
        a.setCode({"[horzscroll(1);]"});
        d.setLCDAnimator(&a);
        d.setAnimationRepeating(true);
        d.setAnimationDelay(10);
        d.setAnimationEnabled(true);
        QTRY_VERIFY(d.ScrollX() >= 2);
        d.setAnimationEnabled(false);
    }

    void scrollWrapsOnEveryStepWhileHidden()
    {
        // Steps move and wrap the text whether or not anything is painted:
        // shown again, it stands where the steps have brought it.
        auto d = display(QStringLiteral("В"));
        TLCDAnimator a;
        a.setCode({"[horzscroll(-1);]"});
        d->setLCDAnimator(&a);
        d->setAnimationRepeating(true);
        d->hide();
        const int wt = d->textImageSize().width();
        QCOMPARE(wt, 6);
        for (int step = 0; step < 216; ++step)
            d->AnimationStep();
        // Through column -7 back to 95 every wt + 96 = 102 steps: 216 = 7 + 2 * 102 + 5.
        QCOMPARE(d->ScrollX(), 90);
        d->show();
        QCOMPARE(dotsOf(*d), textAt(*d, 90));
    }

    void horizontalScrollReentersAtTheRight()
    {
        auto d = display(QStringLiteral("В"));
        TLCDAnimator a;
        a.setCode({"[horzscroll(-1);]"});
        d->setLCDAnimator(&a);
        d->setAnimationRepeating(true);
        d->setLinesXOffset(3);
        d->setAnimationEnabled(true);
        QCOMPARE(firstLitColumn(dotsOf(*d)), 3);
        const int wt = d->textImageSize().width();
        for (int tick = 1; tick <= 3 + wt; ++tick) {
            d->AnimationStep();
            QCOMPARE(dotsOf(*d), textAt(*d, 3 - tick));  // one dot left per tick
        }
        QVERIFY(!dotsOf(*d).join("").contains('#'));  // gone on the left
        d->AnimationStep();
        QCOMPARE(dotsOf(*d), textAt(*d, 95));  // back in at the right edge
        d->AnimationStep();
        QCOMPARE(dotsOf(*d), textAt(*d, 94));
        QVERIFY(d->AnimationEnabled());
        QCOMPARE(a.CurrentLine(), qint16(0));
    }

    void runOnceScriptEnds()
    {
        auto d = display(QStringLiteral("В"));
        TLCDAnimator a;
        a.setCode({"[horzscroll(-1);]"});
        QSignalSpy ended(&a, &TLCDAnimator::OnEndCode);
        d->setLCDAnimator(&a);
        d->setAnimationEnabled(true);
        d->AnimationStep();
        QVERIFY(!d->AnimationEnabled());
        QVERIFY(!timerOf(*d)->isActive());
        QCOMPARE(a.CurrentLine(), qint16(0));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).value<TLCDAnimator*>(), &a);
        QCOMPARE(d->ScrollX(), -1);
    }

    void commandSyntax()
    {
        auto d = display(QStringLiteral("В1"));
        TLCDAnimator a;
        d->setLCDAnimator(&a);
        const QStringList before = dotsOf(*d);
        a.setCode({"[ HorzScroll(2); VERTscroll(-1); ]"});
        d->AnimationStep();
        QCOMPARE(d->ScrollX(), 2);
        QCOMPARE(d->ScrollY(), -1);
        QStringList moved = textAt(*d, 2);
        moved.removeFirst();
        moved << QString(96, '.');
        QCOMPARE(dotsOf(*d), moved);
        QVERIFY(moved != before);

        // Unknown names are ignored; a line without ";" runs nothing but counts.
        a.setCode({"[bogus(5);]", "[horzscroll(1)]"});
        QSignalSpy executed(&a, &TLCDAnimator::OnLineExecuted);
        d->AnimationStep();
        d->AnimationStep();
        QCOMPARE(d->ScrollX(), 2);
        QCOMPARE(executed.count(), 2);

        // Only the first 255 commands of a line: the count wraps at 256.
        QString many = "[";
        for (int i = 0; i < 257; ++i)
            many += "horzscroll(1);";
        a.setCode({many + "]"});
        d->AnimationStep();
        QCOMPARE(d->ScrollX(), 3);

        // Bit-exact argument handling: values are taken as signed bytes; the
        // step then wraps the text that left at the top back by one period.
        a.setCode({"[horzscroll(255); resetdisplay(7); vertscroll(130);]"});
        d->AnimationStep();
        QCOMPARE(d->ScrollX(), 0);
        QCOMPARE(d->ScrollY(), -126 + 12 + 12);

        QCOMPARE(TLCDAnimator::ParseCommandLine("[abcdefghijklmnopqrstuvwxyz0(1);]", 1).at(0).Name,
                 QStringLiteral("abcdefghijklmnopqrstuvwxy"));
    }

    void conversionErrorsStopTheLine()
    {
        auto d = display(QStringLiteral("В1"));
        TLCDAnimator a;
        d->setLCDAnimator(&a);
        d->setSpecialEffects(TLCDScreen::effectBit(TLCDScreen::spBlink));
        d->Lines()->Assign({"<bl>В1</bl>"});
        a.setCode({"[horzscroll(2);]", "[horzscroll(2); vertscroll (-1);]", "[horzscroll(1);]"});
        a.setCurrentLine(1);
        const QStringList before = dotsOf(*d);
        try {
            d->AnimationStep();
            QFAIL("a blank before '(' must fail");
        } catch (const zephyra::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("'(-1' is not a valid integer value"));
        }
        // No command ran, the line stays, nothing blinked.
        QCOMPARE(d->ScrollX(), 0);
        QCOMPARE(a.CurrentLine(), qint16(1));
        QVERIFY(!d->BlinkPhase());
        QCOMPARE(dotsOf(*d), before);

        // From the timer: the box once per failing line, not once per tick.
        d->AnimationTimerTick();
        d->AnimationTimerTick();
        QCOMPARE(messages, QStringList{"'(-1' is not a valid integer value."});
        a.setCode({"[horzscroll(2);]", "[horzscroll();]"});
        d->AnimationTimerTick();
        d->AnimationTimerTick();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.last(), QStringLiteral("'' is not a valid integer value."));
        a.setCurrentLine(0);
        d->AnimationTimerTick();  // runs line 0, then line 1 fails again
        d->AnimationTimerTick();
        QCOMPARE(d->ScrollX(), 2);
        QCOMPARE(messages.size(), 3);
        // A line without its delimiters has no argument either.
        a.setCode({"horzscroll(1);"});
        a.setCurrentLine(0);
        QVERIFY_THROWS_EXCEPTION(zephyra::Error, d->AnimationStep());
    }

    void gotoLineZeroLoopsFromTheSecondLine()
    {
        auto d = display(QStringLiteral("В"));
        TLCDAnimator a;
        a.setCode({"[horzscroll(1);]", "[vertscroll(1);]", "[gotoline(0);]"});
        QSignalSpy executed(&a, &TLCDAnimator::OnLineExecuted);
        QSignalSpy ended(&a, &TLCDAnimator::OnEndCode);
        d->setLCDAnimator(&a);
        d->setAnimationEnabled(true);
        for (int i = 0; i < 7; ++i)
            d->AnimationStep();
        QList<int> lines;
        for (const auto& args : executed)
            lines << args.at(1).toInt();
        QCOMPARE(lines, (QList<int>{0, 1, 0, 1, 0, 1, 0}));
        QCOMPARE(d->ScrollX(), 1);  // the first line ran once
        QCOMPARE(d->ScrollY(), 3);
        QCOMPARE(ended.count(), 0);
        QVERIFY(d->AnimationEnabled());

        // gotoline to the last line ends the script; beyond it runs the last line.
        a.setCode({"[gotoline(1);]", "[horzscroll(5);]"});
        a.setCurrentLine(0);
        d->AnimationStep();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!d->AnimationEnabled());
        a.setCode({"[gotoline(9);]", "[horzscroll(5);]"});
        d->AnimationStep();
        QCOMPARE(a.CurrentLine(), qint16(1));
    }

    void linesOutsideTheScriptRunEmpty()
    {
        auto d = display(QStringLiteral("В"));
        TLCDAnimator a;
        d->setLCDAnimator(&a);
        QSignalSpy executed(&a, &TLCDAnimator::OnLineExecuted);
        QSignalSpy ended(&a, &TLCDAnimator::OnEndCode);
        // An empty script: nothing runs, line 0 is reported, never ends.
        d->AnimationStep();
        d->AnimationStep();
        QCOMPARE(executed.count(), 2);
        QCOMPARE(executed.at(1).at(1).toInt(), 0);
        QCOMPARE(a.CurrentLine(), qint16(0));
        QCOMPARE(ended.count(), 0);

        a.setCode({"[horzscroll(1);]", "[horzscroll(1);]"});
        a.setCurrentLine(2);  // one past the end
        d->AnimationStep();
        QCOMPARE(d->ScrollX(), 0);
        QCOMPARE(a.CurrentLine(), qint16(1));
        a.setCurrentLine(-2);
        d->AnimationStep();
        QCOMPARE(a.CurrentLine(), qint16(-1));
        d->AnimationStep();
        d->AnimationStep();
        QCOMPARE(d->ScrollX(), 1);
        a.setCode({"[gotoline(-3);]"});
        a.setCurrentLine(0);
        d->AnimationStep();
        QCOMPARE(a.CurrentLine(), qint16(-2));
    }

    void blinkingNeedsAnAnimator()
    {
        auto d = display(QStringLiteral("<bl>В</bl>1"));
        d->setSpecialEffects(TLCDScreen::effectBit(TLCDScreen::spBlink));
        d->setAnimationRepeating(true);
        d->setAnimationEnabled(true);
        const QStringList normal = dotsOf(*d);
        d->AnimationStep();  // no animator: nothing at all
        QVERIFY(!d->BlinkPhase());
        QCOMPARE(dotsOf(*d), normal);

        TLCDAnimator a;
        a.setCode({"[nothing(0);]"});
        d->setLCDAnimator(&a);
        d->AnimationStep();
        QVERIFY(d->BlinkPhase());
        const QStringList blinked = dotsOf(*d);
        for (int r = 0; r < 12; ++r) {
            for (int c = 0; c < 6; ++c)
                QVERIFY(blinked[r][c] != normal[r][c]);  // the blinking letter inverted
            QCOMPARE(blinked[r].mid(6), normal[r].mid(6));
        }
        d->AnimationStep();
        QCOMPARE(dotsOf(*d), normal);

        // Destroying the animator detaches it.
        {
            TLCDAnimator gone;
            d->setLCDAnimator(&gone);
        }
        QCOMPARE(d->LCDAnimator(), nullptr);
        d->AnimationStep();
        QVERIFY(!d->BlinkPhase());
    }

    void intensityCommandSwapsColours()
    {
        auto d = display(QStringLiteral("В1"));
        TLCDAnimator a;
        a.setCode({"[setintensity(-127);]"});
        d->setLCDAnimator(&a);
        d->setAnimationRepeating(true);
        d->setAnimationEnabled(true);
        const QStringList before = dotsOf(*d);
        d->AnimationStep();
        QCOMPARE(d->Intensity(), qint8(-127));
        QCOMPARE(dotsOf(*d, kUnlit, kLit), before);
    }

    void bitmapModes()
    {
        auto d = display(QStringLiteral("В1"));
        const QStringList text = dotsOf(*d);
        QVERIFY(text[1] == QString(96, '.'));  // the text's top row is empty
        QImage picture(8, 4, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        picture.setPixelColor(5, 1, QColor(120, 0, 0));  // dark: lit
        picture.setPixelColor(6, 1, QColor(250, 250, 150));  // light: unlit
        d->setBitmap(picture);
        QCOMPARE(d->Bitmap().format(), QImage::Format_Mono);
        d->setBitmapYOffset(1);

        // The picture alone.
        d->setDisplayMode(TLCDScreen::dmBitmap);
        QStringList only(12, QString(96, '.'));
        only[2][5] = '#';
        QCOMPARE(dotsOf(*d), only);

        // Over the text, transparent: one dot more, the text unchanged.
        d->setDisplayMode(TLCDScreen::dmBoth);
        d->setBitmapCopyMode(TLCDScreen::cmTransparent);
        QStringList added = text;
        QCOMPARE(added[2][5], QChar('.'));
        added[2][5] = '#';
        QCOMPARE(dotsOf(*d), added);

        // Not transparent: the picture's white blanks the text beneath it.
        d->setBitmapCopyMode(TLCDScreen::cmNotTransparent);
        QStringList covered = text;
        for (int r = 1; r < 5; ++r)
            for (int c = 0; c < 8; ++c)
                covered[r][c] = '.';
        covered[2][5] = '#';
        QVERIFY(covered != added);
        QCOMPARE(dotsOf(*d), covered);

        // Copy mode means nothing in the text-only mode.
        d->setDisplayMode(TLCDScreen::dmText);
        QCOMPARE(dotsOf(*d), text);
    }

    void bitmapScrollsAndWraps()
    {
        auto d = display(QString());
        QImage picture(4, 2, QImage::Format_RGB32);
        picture.fill(Qt::black);
        d->setBitmap(picture);
        d->setDisplayMode(TLCDScreen::dmBitmap);
        TLCDAnimator a;
        a.setCode({"[horzscroll(-3);]"});
        d->setLCDAnimator(&a);
        d->setAnimationRepeating(true);
        d->setAnimationEnabled(true);
        d->AnimationStep();
        d->AnimationStep();
        // -6 < -4: wraps by 4 + 96 to column 94.
        QCOMPARE(firstLitColumn(dotsOf(*d)), 94);
        QCOMPARE(d->ScrollX(), 94);
        // Static placement stays put.
        d->setBitmapAnimMode(TLCDScreen::amStatic);
        QCOMPARE(firstLitColumn(dotsOf(*d)), 0);
    }
};

QTEST_MAIN(TestLcdAnim)
#include "test_lcd_anim.moc"
