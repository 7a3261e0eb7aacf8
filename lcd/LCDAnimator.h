#pragma once
// TLCDAnimator holds a small script for a TLCDScreen: one line per animation
// tick, each line "[name(value); name(value); ...]" between two delimiter
// characters. The display executes the lines; the animator keeps the script
// and the line to run next, and reports executed lines and the script's end.

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

#include "lcd/Strings.h"

class TLCDAnimator : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString About READ About WRITE setAbout)
    Q_PROPERTY(QStringList Code READ codeText WRITE setCode)
    Q_PROPERTY(bool CodeErrorFound READ CodeErrorFound WRITE setCodeErrorFound)
    Q_PROPERTY(qint16 CurrentLine READ CurrentLine WRITE setCurrentLine)

public:
    explicit TLCDAnimator(QObject* parent = nullptr);

    QString About() const;
    void setAbout(const QString&) {}  // read-only information

    TStrings* Code() const { return m_code; }
    QStringList codeText() const { return m_code->toStringList(); }
    void setCode(const QStringList& code) { m_code->Assign(code); }

    // Marks a script known to be faulty; the game never asks about it, since
    // it attaches animators in code, not in an interactive layout editor.
    bool CodeErrorFound() const { return m_codeErrorFound; }
    void setCodeErrorFound(bool v) { m_codeErrorFound = v; }

    qint16 CurrentLine() const { return m_currentLine; }
    // A value past the number of lines becomes the last line (or 0); exactly
    // the number of lines, and negative values, are stored as given.
    void setCurrentLine(qint16 v);

    // One parsed script command.
    struct TAnimatorCommand {
        QString Name;  // at most 25 characters
        qint32 Value = 0;
    };
    // Parses the first `count` commands of a script line (delimiters dropped,
    // lower-cased); a value that is not an integer throws zephyra::Error.
    static std::vector<TAnimatorCommand> ParseCommandLine(const QString& line, int count);

    // Changes whenever Code changes or CurrentLine takes a new value; unique
    // across all animators of the process.
    quint64 revision() const { return m_revision; }

signals:
    void OnEndCode(TLCDAnimator* Sender);
    void OnLineExecuted(TLCDAnimator* Sender, quint16 LineNumber);

private:
    void touch();

    TStrings* m_code = nullptr;
    bool m_codeErrorFound = false;
    qint16 m_currentLine = 0;
    quint64 m_revision = 0;
};
