#pragma once
// Ordered lists of named PNG pictures, addressed by item index. The windows
// keep their button, balloon, burst and wasp pictures in such lists and hand
// a copy of an item's picture to a picture control.

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TPngImageCollection;
class TPngImageCollectionItems;

class TPngImageCollectionItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(QImage PngImage READ PngImage WRITE setPngImage)
    Q_PROPERTY(QString Name READ Name WRITE setName)
    Q_PROPERTY(QColor Background READ Background WRITE setBackground)
public:
    explicit TPngImageCollectionItem(TPngImageCollectionItems* collection);

    // Decoded on first use when the item was filled from an embedded picture.
    const QImage& PngImage() const;
    // Copies the picture; the caller keeps its own.
    void setPngImage(const QImage& image);
    // The item's picture is the embedded one at this path, decoded when first
    // asked for: pictures of sizes never chosen cost no memory.
    void setPngSource(const QString& resourcePath);
    QString Name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    QColor Background() const { return m_background; }
    void setBackground(const QColor& color);

    int Index() const;
    QString DisplayName() const;
    // Copies picture, background and name from another item; anything else
    // is refused with "Cannot assign a %s to a %s".
    void Assign(const QObject* source);

private:
    void Changed();

    TPngImageCollectionItems* m_collection;
    mutable QImage m_png;
    mutable QString m_source;
    QString m_name;
    QColor m_background;
};

class TPngImageCollectionItems : public QObject {
    Q_OBJECT
public:
    explicit TPngImageCollectionItems(TPngImageCollection* owner);
    ~TPngImageCollectionItems() override;

    TPngImageCollection* Owner() const { return m_owner; }
    int Count() const { return static_cast<int>(m_items.size()); }
    // The item at the index, or nullptr when the index is out of range.
    TPngImageCollectionItem* Items(int index) const;
    TPngImageCollectionItem* Add();
    int IndexOf(const TPngImageCollectionItem* item) const;
    void Clear();
    // Replaces every item by a copy of the other list's items; one change signal.
    void Assign(const TPngImageCollectionItems& other);

signals:
    // item is null when the whole list changed.
    void changed(TPngImageCollectionItem* item);

private:
    friend class TPngImageCollectionItem;
    TPngImageCollection* m_owner;
    std::vector<std::unique_ptr<TPngImageCollectionItem>> m_items;
};

class TPngImageCollection : public QObject {
    Q_OBJECT
public:
    explicit TPngImageCollection(QObject* parent = nullptr);
    TPngImageCollectionItems* Items() const { return m_items.get(); }

    // Fills the list, in the given order, with embedded pictures; a missing
    // one is refused at once, the decoding waits for the first use.
    void LoadFromResources(const QStringList& resourcePaths);

private:
    std::unique_ptr<TPngImageCollectionItems> m_items;
};
