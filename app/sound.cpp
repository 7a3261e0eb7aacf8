#include "app/sound.h"

#include <QCoreApplication>
#include <QFile>
#include <QSoundEffect>

namespace zephyra {

SoundPlayer& SoundPlayer::instance()
{
    static SoundPlayer player;
    return player;
}

SoundPlayer::SoundPlayer()
    : m_sources{QUrl(QStringLiteral("qrc:/sounds/pop.wav")),
                QUrl(QStringLiteral("qrc:/sounds/prize.wav"))}
{
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::setSource(SoundId sound, const QUrl& source)
{
    const auto i = static_cast<std::size_t>(sound);
    m_sources[i] = source;
    if (m_effects[i])
        m_effects[i]->setSource(source);
}

QSoundEffect* SoundPlayer::effect(SoundId sound)
{
    const auto i = static_cast<std::size_t>(sound);
    if (!m_effects[i]) {
        // Created on first use: loading starts early enough for the first pop,
        // and a program that never plays never touches the audio device.
        // Owned by the application, so they go while the multimedia backend is
        // still there, not with this player after the end of main().
        QSoundEffect* e = new QSoundEffect(QCoreApplication::instance());
        m_effects[i] = e;
        // Asked for while still loading: it starts once loaded, or is
        // skipped if the output refuses it.
        QObject::connect(e, &QSoundEffect::statusChanged, e, [this, e, i] {
            if (!m_waiting[i] || e->status() == QSoundEffect::Loading)
                return;
            m_waiting[i] = false;
            if (e->status() == QSoundEffect::Ready)
                start(e);
        });
        e->setSource(m_sources[i]);
    }
    return m_effects[i];
}

void SoundPlayer::start(QSoundEffect* e)
{
    // One sound at a time: the new one cuts off whatever plays, itself included.
    for (QSoundEffect* playing : m_effects)
        if (playing && playing->isPlaying())
            playing->stop();
    e->play();
}

void SoundPlayer::play(SoundId sound)
{
    emit requested(sound);
    if (!m_outputEnabled)
        return;
    const auto i = static_cast<std::size_t>(sound);
    const QString local = m_sources[i].scheme() == QLatin1String("qrc")
                              ? QLatin1Char(':') + m_sources[i].path()
                              : m_sources[i].toLocalFile();
    if (!QFile::exists(local))
        return;  // a missing sound is simply not heard
    QSoundEffect* e = effect(sound);
    switch (e->status()) {
    case QSoundEffect::Ready:
        start(e);
        break;
    case QSoundEffect::Error:
        break;  // refused by the output: skipped, and what plays goes on
    default:
        m_waiting[i] = true;
        break;
    }
}

void SoundPlayer::preload()
{
    if (!m_outputEnabled)
        return;
    effect(SoundId::Pop);
    effect(SoundId::Prize);
}

bool SoundPlayer::isPlaying(SoundId sound) const
{
    const QSoundEffect* e = m_effects[static_cast<std::size_t>(sound)];
    return e && e->isPlaying();
}

}  // namespace zephyra
