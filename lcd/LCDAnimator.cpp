#include "lcd/LCDAnimator.h"

#include "base/convert.h"

#include <algorithm>

namespace {

// Blanks are spaces and control characters.
QString trimBlanks(const QString& s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && s.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && s.at(end - 1).unicode() <= ' ')
        --end;
    return s.mid(begin, end - begin);
}

quint64 nextRevision()
{
    static quint64 counter = 0;
    return ++counter;
}

}  // namespace

TLCDAnimator::TLCDAnimator(QObject* parent) : QObject(parent), m_revision(nextRevision())
{
    m_code = new TStrings(this);
    connect(m_code, &TStrings::changed, this, &TLCDAnimator::touch);
}

QString TLCDAnimator::About() const
{
    return QStringLiteral("TLCDAnimator: animation script for the ZEPHYRA dot-matrix display");
}

void TLCDAnimator::setCurrentLine(qint16 v)
{
    if (v == m_currentLine)
        return;
    const int lines = m_code->Count();
    if (v > lines)
        v = qint16(std::max(0, lines - 1));
    if (v == m_currentLine)
        return;
    m_currentLine = v;
    touch();
}

void TLCDAnimator::touch() { m_revision = nextRevision(); }

std::vector<TLCDAnimator::TAnimatorCommand> TLCDAnimator::ParseCommandLine(const QString& line,
                                                                           int count)
{
    std::vector<TAnimatorCommand> commands(static_cast<size_t>(std::max(0, count)));
    // The two delimiters are dropped unseen.
    QString rest = trimBlanks(line.mid(1, line.size() - 2).toLower());
    for (TAnimatorCommand& command : commands) {
        const qsizetype semicolon = rest.indexOf(QLatin1Char(';'));
        const QString part = semicolon < 0 ? QString() : trimBlanks(rest.left(semicolon + 1));
        const qsizetype paren = part.indexOf(QLatin1Char('('));
        const QString name = paren < 0 ? QString() : trimBlanks(part.left(paren));
        // The argument starts right after name and "(" and ends before the
        // first ")": a blank before "(" leaves the "(" in the argument.
        const qsizetype close = part.indexOf(QLatin1Char(')'));
        const qsizetype length = close - name.size() - 1;
        const QString argument = length > 0 ? part.mid(name.size() + 1, length) : QString();
        command.Value = zephyra::StrToInt(argument);
        command.Name = name.left(25);
        rest = trimBlanks(rest.mid(part.size()));
    }
    return commands;
}
