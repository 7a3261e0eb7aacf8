#pragma once
// A small text file read without ever waiting (a pipe or a device in its
// place is no file) and written whole or not at all: every write, the flush
// and the sync are checked before the new file replaces the old one. Plain
// data: it knows no window.

#include <QByteArray>
#include <QString>

namespace zephyra {

// What reading found.
struct WholeFile {
    enum Status {
        Missing,     // nothing there
        Read,        // text holds it whole
        TooLarge,    // larger than asked for
        Folder,      // a folder
        NoFile,      // a pipe, a device, a socket
        LinkNowhere, // a link to nothing, or a loop of links
        Unreadable,  // error says why
    };
    Status status = Missing;
    QByteArray text;
    int error = 0;
};
// Reads a regular file of at most `largest` bytes; anything else is not opened.
WholeFile readWholeFile(const QString& path, qint64 largest);

// Why a save could not be made; path names the file or folder at fault.
struct SaveTrouble {
    enum Cause {
        None,
        FileReadOnly,    // the file may not be written
        FolderReadOnly,  // the folder the new file goes in may not be written
        NotAFolder,      // a file stands where a folder should be
        FolderInPlace,   // a folder stands where the file should be
        LinkToNoFile,    // a link to something that is no regular file
        LinkNowhere,     // a link to nothing, or a loop of links
        Failed,          // the system said no: error
    };
    Cause cause = None;
    QString path;
    int error = 0;
    explicit operator bool() const { return cause != None; }
};
// The cause in words, in the installed language: "the disk is full".
QString troubleText(const SaveTrouble& trouble);
// A system error in words, in the installed language.
QString errorText(int error);

// Where a save of `path` writes: a link to a regular file is saved through;
// anything else that cannot be saved says why.
struct SaveTarget {
    QString path;
    SaveTrouble trouble;
};
SaveTarget saveTarget(const QString& path);

// Writes `text` as the file `path` (through a link, as saveTarget says):
// into a new file beside it, checked at every step and synced, then renamed
// over the old. On any failure the old file stays as it was. With keepOld,
// the file there before stays beside the new one as keptBeside(path).
// Leftovers of a save that was killed midway are cleared first.
SaveTrouble writeWholeFile(const QString& path, QByteArrayView text, bool keepOld = false);
QString keptBeside(const QString& path);

}  // namespace zephyra
