#include "assets/PngImageList.h"

#include "assets/decode.h"
#include "base/error.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>

TPngImageCollectionItem::TPngImageCollectionItem(TPngImageCollectionItems* collection)
    : m_collection(collection),
      m_name(QStringLiteral("PngImage%1").arg(collection ? collection->Count() : 0)),
      m_background(QGuiApplication::palette().color(QPalette::Button))
{
}

const QImage& TPngImageCollectionItem::PngImage() const
{
    if (!m_source.isEmpty()) {
        m_png = zephyra::loadPicture(m_source);
        m_source.clear();
    }
    return m_png;
}

void TPngImageCollectionItem::setPngImage(const QImage& image)
{
    m_source.clear();
    m_png = image.copy();
    Changed();
}

void TPngImageCollectionItem::setPngSource(const QString& resourcePath)
{
    m_source = resourcePath;
    m_png = QImage();
    Changed();
}

void TPngImageCollectionItem::setBackground(const QColor& color)
{
    if (color == m_background)
        return;
    m_background = color;
    Changed();
}

int TPngImageCollectionItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

QString TPngImageCollectionItem::DisplayName() const
{
    return m_name.isEmpty() ? QString::fromLatin1(metaObject()->className()) : m_name;
}

void TPngImageCollectionItem::Assign(const QObject* source)
{
    const auto* item = qobject_cast<const TPngImageCollectionItem*>(source);
    if (!item) {
        const QString from = source ? QString::fromLatin1(source->metaObject()->className())
                                    : QStringLiteral("nil");
        throw zephyra::Error(tr("Cannot assign a %1 to a %2")
                                 .arg(from, QString::fromLatin1(metaObject()->className())));
    }
    setPngImage(item->PngImage());
    setBackground(item->m_background);
    m_name = item->m_name;
}

void TPngImageCollectionItem::Changed()
{
    if (m_collection)
        emit m_collection->changed(this);
}

TPngImageCollectionItems::TPngImageCollectionItems(TPngImageCollection* owner)
    : m_owner(owner)
{
}

TPngImageCollectionItems::~TPngImageCollectionItems() = default;

TPngImageCollectionItem* TPngImageCollectionItems::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[static_cast<std::size_t>(index)].get();
}

TPngImageCollectionItem* TPngImageCollectionItems::Add()
{
    m_items.push_back(std::make_unique<TPngImageCollectionItem>(this));
    emit changed(nullptr);
    return m_items.back().get();
}

int TPngImageCollectionItems::IndexOf(const TPngImageCollectionItem* item) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void TPngImageCollectionItems::Clear()
{
    m_items.clear();
    emit changed(nullptr);
}

void TPngImageCollectionItems::Assign(const TPngImageCollectionItems& other)
{
    if (&other == this)
        return;
    {
        // Copying item by item would signal every change; the list signals once.
        const QSignalBlocker quiet(this);
        m_items.clear();
        for (const auto& source : other.m_items) {
            m_items.push_back(std::make_unique<TPngImageCollectionItem>(this));
            m_items.back()->Assign(source.get());
        }
    }
    emit changed(nullptr);
}

TPngImageCollection::TPngImageCollection(QObject* parent)
    : QObject(parent), m_items(std::make_unique<TPngImageCollectionItems>(this))
{
}

void TPngImageCollection::LoadFromResources(const QStringList& resourcePaths)
{
    for (const QString& path : resourcePaths) {
        if (!QFile::exists(path))
            throw zephyra::Error(QCoreApplication::translate("zephyra", "Cannot find picture '%1'").arg(path));
        m_items->Add()->setPngSource(path);
    }
}
