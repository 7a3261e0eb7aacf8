#pragma once
// Checks made once at start-up, beside the start screen.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QThread;

namespace zephyra {

// Decodes every picture given (or of a folder) once on an idle worker thread
// and lets it go again, so a damaged embedded picture is found at start-up rather than in
// the middle of play, while the pictures are still decoded only when shown.
// onDamaged runs on the GUI thread with the error of the first damaged one.
class PictureCheck {
public:
    PictureCheck(const QStringList& pictures, std::function<void(const QString&)> onDamaged);
    PictureCheck(const QString& folder, std::function<void(const QString&)> onDamaged);
    ~PictureCheck();  // waits for the worker

    PictureCheck(const PictureCheck&) = delete;
    PictureCheck& operator=(const PictureCheck&) = delete;

private:
    std::unique_ptr<QThread> m_worker;
};

}  // namespace zephyra
