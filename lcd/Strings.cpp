#include "lcd/Strings.h"

#include <algorithm>

void TStrings::Insert(int index, const QString& s)
{
    m_items.insert(std::clamp(index, 0, int(m_items.size())), s);
    emit changed();
}

void TStrings::Delete(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items.removeAt(index);
    emit changed();
}

void TStrings::Add(const QString& s)
{
    m_items.append(s);
    emit changed();
}

void TStrings::setStrings(int index, const QString& s)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items[index] = s;
    emit changed();
}

void TStrings::Clear()
{
    if (m_items.isEmpty())
        return;
    m_items.clear();
    emit changed();
}

void TStrings::Assign(const QStringList& items)
{
    m_items = items;
    emit changed();
}
