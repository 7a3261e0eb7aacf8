#include "settings/wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephyra {

namespace {

using QC = QCoreApplication;

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Closes a descriptor when it goes; release() hands it over.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The first folder on the way to `path` that is a file instead.
QString firstNonFolder(const QString& path)
{
    QString at;
    for (const QString& part : QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        at += QLatin1Char('/') + part;
        struct stat st {};
        if (::stat(native(at), &st) == 0 && !S_ISDIR(st.st_mode))
            return at;
    }
    return path;
}

// A failure where the folder is changed (a file made, renamed, removed).
SaveTrouble folderTrouble(int error, const QString& folder)
{
    if (error == EACCES || error == EPERM)
        return {SaveTrouble::FolderReadOnly, folder, error};
    if (error == ENOTDIR)
        return {SaveTrouble::NotAFolder, firstNonFolder(folder), error};
    return {SaveTrouble::Failed, folder, error};
}

SaveTrouble writableFile(const QString& path)
{
    // By the effective user, as the write will be.
    if (::faccessat(AT_FDCWD, native(path), W_OK, AT_EACCESS) == 0)
        return {};
    const int error = errno;
    if (error == EACCES || error == EPERM)
        return {SaveTrouble::FileReadOnly, path, error};
    return {SaveTrouble::Failed, path, error};
}

// A save's new file: its name ends in six letters or digits.
QString leftoverPattern(const QString& fileName)
{
    return QLatin1Char('^') + QRegularExpression::escape(fileName) + QLatin1String("\\.[A-Za-z0-9]{6}$");
}

// A save's new file holds a lock for as long as its saver lives; one whose
// lock is free was left by a save that was killed, and goes.
void clearLeftovers(const QString& folder, const QString& fileName)
{
    const QRegularExpression pattern(leftoverPattern(fileName));
    const QStringList names =
        QDir(folder).entryList({fileName + QLatin1String(".*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QByteArray path = native(folder + QLatin1Char('/') + name);
        const Descriptor fd(::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        struct stat held {}, named {};
        if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)
            || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::lstat(path, &named) == 0 && sameFile(held, named))
            ::unlink(path);
    }
}

QString randomSuffix()
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return suffix;
}

// A new file beside `file`, locked by `lock` while it is written.
struct NewFile {
    QString path;
    Descriptor write, lock;
    SaveTrouble trouble;
};
void makeNewFile(const QString& file, const QString& folder, NewFile& out)
{
    constexpr int kTries = 100;
    for (int i = 0; i < kTries; ++i) {
        out.path = file + QLatin1Char('.') + randomSuffix();
        const QByteArray name = native(out.path);
        Descriptor fd(::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666));
        if (fd.get() < 0) {
            if (errno == EEXIST)
                continue;
            out.trouble = folderTrouble(errno, folder);
            return;
        }
        Descriptor lock(::open(name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat held {}, named {};
        // Another save may have taken it for a leftover before it was locked.
        if (lock.get() >= 0 && ::flock(lock.get(), LOCK_EX) == 0 && ::fstat(lock.get(), &held) == 0
            && ::lstat(name, &named) == 0 && sameFile(held, named)) {
            out.write.reset(fd.release());
            out.lock.reset(lock.release());
            return;
        }
    }
    out.trouble = {SaveTrouble::Failed, folder, EEXIST};
}

SaveTrouble writeAll(int fd, QByteArrayView text)
{
    while (!text.isEmpty()) {
        const ssize_t written = ::write(fd, text.data(), std::size_t(text.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return {SaveTrouble::Failed, {}, written < 0 ? errno : ENOSPC};
        text = text.sliced(written);
    }
    if (::fsync(fd) != 0)
        return {SaveTrouble::Failed, {}, errno};
    return {};
}

}  // namespace

WholeFile readWholeFile(const QString& path, qint64 largest)
{
    const QByteArray name = native(path);
    struct stat st {};
    if (::stat(name, &st) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ELOOP || (error == ENOENT && ::lstat(name, &link) == 0 && S_ISLNK(link.st_mode)))
            return {WholeFile::LinkNowhere, {}, error};
        // A file where a folder on the way should be: no settings file either.
        if (error == ENOENT || error == ENOTDIR)
            return {};
        return {WholeFile::Unreadable, {}, error};
    }
    // Only a regular file is opened: opening a pipe or a device may wait, or act.
    const auto kind = [largest](const struct stat& s) {
        if (S_ISDIR(s.st_mode))
            return WholeFile::Folder;
        if (!S_ISREG(s.st_mode))
            return WholeFile::NoFile;
        return s.st_size > largest ? WholeFile::TooLarge : WholeFile::Read;
    };
    if (kind(st) != WholeFile::Read)
        return {kind(st), {}, 0};
    // Without waiting, should another kind of file take its place meanwhile.
    const Descriptor fd(::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return {WholeFile::Unreadable, {}, errno};
    if (::fstat(fd.get(), &st) != 0)
        return {WholeFile::Unreadable, {}, errno};
    if (kind(st) != WholeFile::Read)
        return {kind(st), {}, 0};
    WholeFile file{WholeFile::Read, {}, 0};
    // A file may grow while it is read: no more than one byte over is read.
    file.text.resize(largest + 1);
    qint64 have = 0;
    while (have < file.text.size()) {
        const ssize_t got = ::read(fd.get(), file.text.data() + have, std::size_t(file.text.size() - have));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {WholeFile::Unreadable, {}, errno};
        if (got == 0)
            break;
        have += got;
    }
    if (have > largest)
        return {WholeFile::TooLarge, {}, 0};
    file.text.truncate(have);
    return file;
}

QString errorText(int error)
{
    switch (error) {
    case ENOSPC: return QC::translate("zephyra", "the disk is full");
    case EDQUOT: return QC::translate("zephyra", "the disk quota is used up");
    case EROFS: return QC::translate("zephyra", "the disk is read-only");
    case EACCES:
    case EPERM: return QC::translate("zephyra", "permission denied");
    case EIO: return QC::translate("zephyra", "the disk could not be read or written");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString troubleText(const SaveTrouble& trouble)
{
    switch (trouble.cause) {
    case SaveTrouble::None: break;
    case SaveTrouble::FileReadOnly: return QC::translate("zephyra", "the file %1 is read-only").arg(trouble.path);
    case SaveTrouble::FolderReadOnly:
        return QC::translate("zephyra", "the folder %1 cannot be written").arg(trouble.path);
    case SaveTrouble::NotAFolder: return QC::translate("zephyra", "%1 is a file, not a folder").arg(trouble.path);
    case SaveTrouble::FolderInPlace: return QC::translate("zephyra", "%1 is a folder, not a file").arg(trouble.path);
    case SaveTrouble::LinkToNoFile:
        return QC::translate("zephyra", "it is a link to %1, which is no regular file").arg(trouble.path);
    case SaveTrouble::LinkNowhere: return QC::translate("zephyra", "%1 is a link that leads nowhere").arg(trouble.path);
    case SaveTrouble::Failed: return errorText(trouble.error);
    }
    return {};
}

SaveTarget saveTarget(const QString& path)
{
    const QByteArray name = native(path);
    struct stat st {};
    if (::lstat(name, &st) != 0) {
        const int error = errno;
        if (error == ENOENT)
            return {path, {}};
        if (error == ENOTDIR)
            return {path, {SaveTrouble::NotAFolder, firstNonFolder(path), error}};
        return {path, {SaveTrouble::Failed, path, error}};
    }
    if (S_ISLNK(st.st_mode)) {
        // Saved through the link, so a link kept by a dotfile manager stays one.
        char resolved[PATH_MAX];
        if (!::realpath(name, resolved))
            return {path, {SaveTrouble::LinkNowhere, path, errno}};
        const QString target = QFile::decodeName(resolved);
        if (::stat(resolved, &st) != 0 || !S_ISREG(st.st_mode))
            return {path, {SaveTrouble::LinkToNoFile, target, 0}};
        return {target, writableFile(target)};
    }
    if (S_ISDIR(st.st_mode))
        return {path, {SaveTrouble::FolderInPlace, path, EISDIR}};
    if (S_ISREG(st.st_mode))
        return {path, writableFile(path)};
    // A pipe, a device or a socket in the file's own place is no one's file: replaced.
    return {path, {}};
}

QString keptBeside(const QString& path) { return path + QLatin1String(".old"); }

SaveTrouble writeWholeFile(const QString& path, QByteArrayView text, bool keepOld)
{
    const SaveTarget target = saveTarget(path);
    if (target.trouble)
        return target.trouble;
    const QString& file = target.path;
    const QString folder = QFileInfo(file).absolutePath();
    std::error_code made;
    std::filesystem::create_directories(native(folder).toStdString(), made);
    if (made)
        return folderTrouble(made.value(), folder);
    clearLeftovers(folder, QFileInfo(file).fileName());

    NewFile fresh;
    makeNewFile(file, folder, fresh);
    if (fresh.trouble)
        return fresh.trouble;
    const QByteArray freshName = native(fresh.path);
    const auto fail = [&freshName](SaveTrouble trouble) {
        ::unlink(freshName);
        return trouble;
    };
    const QByteArray fileName = native(file);
    struct stat old {};
    const bool hadOld = ::lstat(fileName, &old) == 0;
    // The old file's permissions, as a grown-up may have narrowed them, and
    // its owner when root saves a user's file, so the user may write it again.
    if (hadOld && S_ISREG(old.st_mode)) {
        if (::geteuid() == 0)
            static_cast<void>(::fchown(fresh.write.get(), old.st_uid, old.st_gid));
        ::fchmod(fresh.write.get(), old.st_mode & 07777);
    }
    if (SaveTrouble trouble = writeAll(fresh.write.get(), text))
        return fail({trouble.cause, file, trouble.error});
    if (::close(fresh.write.release()) != 0)
        return fail({SaveTrouble::Failed, file, errno});

    bool movedAside = false;
    if (keepOld && hadOld) {
        const QByteArray beside = native(keptBeside(file));
        ::unlink(beside);
        // A second name keeps a file in place at every moment; where links
        // are not had, the old one is moved aside just before.
        if (::link(fileName, beside) != 0) {
            if (::rename(fileName, beside) != 0)
                return fail(folderTrouble(errno, folder));
            movedAside = true;
        }
    }
    if (::rename(freshName, fileName) != 0) {
        const int error = errno;
        if (movedAside)
            ::rename(native(keptBeside(file)), fileName);
        return fail(folderTrouble(error, folder));
    }
    // The rename itself reaches the disk with the folder.
    if (const Descriptor dir(::open(native(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.get() >= 0)
        ::fsync(dir.get());
    return {};
}

}  // namespace zephyra
