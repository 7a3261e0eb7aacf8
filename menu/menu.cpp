#include "menu/menu.h"

#include "assets/PngImageList.h"
#include "assets/decode.h"
#include "base/error.h"
#include "controls/TImage.h"
#include "platform/centring.h"
#include "menu/statusline.h"
#include "platform/language.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLinearGradient>
#include <QTimer>
#include <QUrl>

TSTART* START = nullptr;

namespace {

// Over the panel of text, between the buttons and the banner.
const QRect kRestCard(110, 228, 480, 212);
// Between the buttons and the line under them.
constexpr int kStatusTop = 226;
// How much of a closed button's ink is left.
constexpr double kClosedOpacity = 0.45;

// Where the drawing leaves room for words: a line over the panel, the
// panel's headline and four lines, all centred on its middle.
constexpr double kPanelMiddle = 365;
constexpr double kLineBaseline = 283;
constexpr double kHeadlineBaseline = 340;
constexpr double kFirstPanelBaseline = 368;
constexpr double kPanelLineStep = 22;
constexpr double kLineWidth = 680;
constexpr double kPanelWidth = 580;

QImage closedPicture(const QImage& picture)
{
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, int(qAlpha(line[x]) * kClosedOpacity));
        }
    }
    return grey;
}

}  // namespace

TSTART::TSTART(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("START"));
    setWindowTitle(QStringLiteral("GAME -ZEPHYRA"));
    setFixedSize(700, 500);

    Image1 = new TImage(this, QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 700, 500);
    Image1->setOpaque(true);

    Image2 = new TImage(this, QStringLiteral("Image2"));
    Image2->setGeometry(240, 448, 250, 35);
    Image2->setPicture(zephyra::loadPicture(QStringLiteral(":/pictures/banner.png")));
    Image2->setCursor(Qt::PointingHandCursor);

    B_Play = new TImage(this, QStringLiteral("B_Play"));
    B_Play->setGeometry(32, 168, 132, 49);
    B_Options = new TImage(this, QStringLiteral("B_Options"));
    B_Options->setGeometry(248, 168, 220, 51);
    B_EXit = new TImage(this, QStringLiteral("B_EXit"));
    B_EXit->setGeometry(544, 168, 122, 51);
    for (TImage* b : {B_Play, B_Options, B_EXit})
        b->setCursor(Qt::PointingHandCursor);
    // The words of the buttons' pictures, which are rendered for each
    // language from these same catalogue entries; and the words the start
    // screen writes over its picture, said to screen readers too.
    B_Play->setAccessibleName(tr("Play"));
    B_Options->setAccessibleName(tr("Options"));
    B_EXit->setAccessibleName(tr("Exit"));
    Image1->setAccessibleName(tr("A happy balloon game for little ones: just move the mouse!"));
    Image1->setAccessibleDescription(
        QStringList{tr("Fly, little wasp, and POP!"),
                    tr("Steer a friendly wasp with the mouse and pop the rising balloons."),
                    tr("Pick big, medium or small balloons and choose how fast they fly."),
                    tr("Pop them with a touch or with a click, whatever suits small hands."),
                    tr("Grown-ups can set up a prize with a fanfare in the Options.")}
            .join(QLatin1Char('\n')));

    LoadBackground();

    // The words drawn in the picture shown when play time is over.
    ImageRest = new TImage(this, QStringLiteral("ImageRest"));
    ImageRest->setGeometry(kRestCard);
    ImageRest->setAccessibleName(tr("Time for a rest!"));
    ImageRest->setAccessibleDescription(tr("A grown-up must close the game and start it again."));
    ImageRest->hide();
    StatusLine = new TStatusLine(this, kStatusTop);

    PngImageCollectionButton = new TPngImageCollection(this);
    PngImageCollectionButton->setObjectName(QStringLiteral("PngImageCollectionButton"));
    QStringList paths;
    for (const char* n : {"button-play", "button-play-lit", "button-options",
                          "button-options-lit", "button-exit", "button-exit-lit"})
        paths << zephyra::localisedPicture(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(n)));
    PngImageCollectionButton->LoadFromResources(paths);

    using zephyra::connectHandler;
    connectHandler(Image1, &TImage::mouseMoved, this, &TSTART::Image1MouseMove);
    connectHandler(Image2, &TImage::clicked, this, &TSTART::Image2Click);
    connectHandler(B_Play, &TImage::clicked, this, &TSTART::B_PlayClick);
    connectHandler(B_Play, &TImage::mouseMoved, this, &TSTART::B_PlayMouseMove);
    connectHandler(B_Options, &TImage::clicked, this, &TSTART::B_OptionsClick);
    connectHandler(B_Options, &TImage::mouseMoved, this, &TSTART::B_OptionsMouseMove);
    connectHandler(B_EXit, &TImage::clicked, this, &TSTART::B_EXitClick);
    connectHandler(B_EXit, &TImage::mouseMoved, this, &TSTART::B_EXitMouseMove);

    FormCreate();
}

void TSTART::FormCreate()
{
    SetButtonPicture(B_Play, 0);
    SetButtonPicture(B_Options, 2);
    SetButtonPicture(B_EXit, 4);
    m_buttonsLit = false;
}

void TSTART::SetButtonPicture(TImage* button, int index)
{
    auto* item = PngImageCollectionButton->Items()->Items(index);
    if (!item)
        return;
    // Closed, Play is its own picture greyed and faded, and never lights.
    button->setPicture(button == B_Play && m_playRefused ? closedPicture(item->PngImage()) : item->PngImage());
}

void TSTART::LightButton(TImage* button, int litIndex)
{
    // Only the first move over a button lights it; which one is lit is not
    // remembered, so moving straight onto another button keeps the first lit.
    if (m_buttonsLit || (button == B_Play && m_playRefused))
        return;
    SetButtonPicture(button, litIndex);
    m_buttonsLit = true;
}

void TSTART::B_PlayMouseMove() { LightButton(B_Play, 1); }
void TSTART::B_OptionsMouseMove() { LightButton(B_Options, 3); }
void TSTART::B_EXitMouseMove() { LightButton(B_EXit, 5); }

void TSTART::Image1MouseMove()
{
    if (!m_buttonsLit)
        return;
    SetButtonPicture(B_Play, 0);
    SetButtonPicture(B_Options, 2);
    SetButtonPicture(B_EXit, 4);
    m_buttonsLit = false;
}

void TSTART::B_PlayClick()
{
    if (m_playRefused)
        return;  // the picture over the panel says why
    setVisible(false);
    emit playRequested(screen());
}

void TSTART::B_OptionsClick()
{
    emit optionsRequested();
    setVisible(false);
}

void TSTART::B_EXitClick() { close(); }

void TSTART::RefusePlay()
{
    m_playRefused = true;
    SetButtonPicture(B_Play, 0);
    B_Play->unsetCursor();
    if (ImageRest->Picture().isNull())
        ImageRest->setPicture(zephyra::loadPicture(zephyra::localisedPicture(QStringLiteral(":/pictures/rest.png"))));
    ImageRest->show();
}

void TSTART::ShowInForce(const zephyra::ParentChoices& inForce, bool lockHolds)
{
    QStringList parts;
    if (inForce.childLock)
        parts << (lockHolds ? tr("Child lock on") : tr("Child lock on, but this desktop does not let it hold"));
    // Once Play is closed for the day, no play time is left to speak of.
    if (inForce.playTime.count() > 0 && !m_playRefused) {
        // A part of a minute counts as a minute, until time is up.
        const auto minutes = std::chrono::ceil<std::chrono::minutes>(inForce.playTime).count();
        parts << tr("Play time left: %1 min").arg(minutes);
    }
    if (inForce.easyPlay)
        parts << tr("Easy play");
    StatusLine->setText(parts.join(QStringLiteral("  ·  ")));
}

void TSTART::Image2Click()
{
    // The answer is not looked at: without a browser nothing happens.
    QDesktopServices::openUrl(QUrl(QStringLiteral(ZEPHYRA_WEB_ADDRESS)));
}

std::vector<zephyra::Words> TSTART::backgroundWords() const
{
    using zephyra::Words;
    std::vector<Words> words;
    // Orange on a white edge, over the sky.
    const Words line{.text = Image1->accessibleName(), .font = zephyra::plainFont(13, true),
               .baseline = {kPanelMiddle, kLineBaseline}, .centred = true, .fill = QColor(0xff, 0x7a, 0x00),
               .outline = Qt::white, .outlineWidth = 3, .maxWidth = kLineWidth};
    words.push_back(line);
    const QStringList panel = Image1->accessibleDescription().split(QLatin1Char('\n'));
    // Sunny yellow to orange with a brown edge, a soft deep blue shadow beneath.
    QLinearGradient sunny(0, 0, 0, 1);
    sunny.setCoordinateMode(QGradient::ObjectBoundingMode);
    sunny.setStops({{0.1, QColor(0xff, 0xf2, 0x7a)}, {0.55, QColor(0xff, 0xc6, 0x2a)}, {1, QColor(0xff, 0x94, 0x18)}});
    const Words headline{.text = panel.value(0), .font = zephyra::displayFont(36),
                   .baseline = {kPanelMiddle, kHeadlineBaseline}, .centred = true, .fill = sunny,
                   .outline = QColor(0xa0, 0x48, 0x00), .outlineWidth = 3, .shadow = QColor(0x0a, 0x3a, 0x8c),
                   .shadowOffset = {2, 3}, .shadowOutline = 5, .shadowOpacity = 0.7, .shadowBlur = 2,
                   .maxWidth = kPanelWidth};
    words.push_back(headline);
    for (qsizetype i = 1; i < panel.size(); ++i)
        words.push_back({.text = panel[i], .font = zephyra::plainFont(15),
                         .baseline = {kPanelMiddle, kFirstPanelBaseline + double(i - 1) * kPanelLineStep},
                         .centred = true, .maxWidth = kPanelWidth});
    return words;
}

void TSTART::LoadBackground()
{
    QImage picture = zephyra::loadPicture(QStringLiteral(":/pictures/start-background.jpg"));
    zephyra::drawWords(picture, size(), backgroundWords());
    Image1->setPicture(picture);
}

void TSTART::hideEvent(QHideEvent* event)
{
    // Hidden for a whole round or a visit to the options: the picture is
    // decoded again in a few milliseconds when the screen comes back.
    Image1->setPicture(QImage());
    QWidget::hideEvent(event);
}

void TSTART::showEvent(QShowEvent* event)
{
    if (Image1->Picture().isNull())
        zephyra::runHandler([this] { LoadBackground(); });
    if (!m_placed) {
        // Centred on the primary screen, not across all monitors, so the
        // window never straddles two screens.
        move(zephyra::centredOnPrimaryScreen(frameGeometry().size()));
        m_placed = true;
    }
    QWidget::showEvent(event);
}

void TSTART::closeEvent(QCloseEvent* event)
{
    // The start screen is the main window: closing it ends the program.
    event->accept();
    QCoreApplication::quit();
}
