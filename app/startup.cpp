#include "app/startup.h"

#include "assets/decode.h"

#include <QCoreApplication>
#include <QThread>

namespace zephyra {

PictureCheck::PictureCheck(const QString& folder, std::function<void(const QString&)> onDamaged)
    : PictureCheck(picturesIn(folder), std::move(onDamaged))
{
}

PictureCheck::PictureCheck(const QStringList& pictures, std::function<void(const QString&)> onDamaged)
{
    m_worker.reset(QThread::create([pictures, onDamaged = std::move(onDamaged)] {
        const QString error = firstDamagedPicture(pictures);
        if (!error.isEmpty())
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [onDamaged, error] { onDamaged(error); },
                Qt::QueuedConnection);
    }));
    // Idle priority: the start screen's first paint and the game come first.
    m_worker->start(QThread::IdlePriority);
}

PictureCheck::~PictureCheck() { m_worker->wait(); }

}  // namespace zephyra
