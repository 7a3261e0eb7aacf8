#include "lcd/LCDAnimator.h"

#include <algorithm>

namespace {
quint64 nextRevision()
{
    static quint64 counter = 0;
    return ++counter;
}
}  // namespace

TLCDAnimator::TLCDAnimator(QObject* parent) : QObject(parent), m_revision(nextRevision())
{
    m_code = new TStrings(this);
    m_codeErrorFound = false;
    m_currentLine = 0;
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
