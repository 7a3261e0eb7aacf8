#pragma once
// A list of strings that announces every change with one changed() signal,
// so an owner (the display's Lines, the animator's Code) can re-derive its
// state once per operation.

#include <QObject>
#include <QString>
#include <QStringList>

class TStrings : public QObject {
    Q_OBJECT
public:
    explicit TStrings(QObject* parent = nullptr) : QObject(parent) {}

    int Count() const { return m_items.size(); }
    // An index outside the list yields an empty string.
    QString Strings(int i) const { return m_items.value(i); }
    const QStringList& toStringList() const { return m_items; }

    // Each changing operation emits changed() exactly once. Indexes outside
    // the list never crash: Insert clamps to 0..Count(), Delete and
    // setStrings ignore them (and emit nothing).
    void Insert(int index, const QString& s);
    void Delete(int index);
    void Add(const QString& s);
    void setStrings(int index, const QString& s);
    void Clear();  // emits only when something was removed
    void Assign(const QStringList& items);

signals:
    void changed();

private:
    QStringList m_items;
};
