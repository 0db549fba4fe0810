#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace pictarium {

// The records of a base as the contact sheet shows them: those whose
// description holds the filter's text, each with its thumbnail once made.
// Items are named "3 – La plage", the position counted from 1.
class ContactSheetModel : public QAbstractListModel {
public:
    // The record's index in the base, of every item.
    static constexpr int BaseIndexRole = Qt::UserRole;
    // Whether an item's thumbnail has come, for tools that wait for them.
    static constexpr int ThumbnailMadeRole = Qt::UserRole + 1;
    // Told, after a drag inside the sheet, which records (indexes in the
    // base) are to go just before the record `before` (the base's count
    // for the end).
    using MoveRecords = std::function<void(QList<std::int32_t> moved, std::int32_t before)>;

    explicit ContactSheetModel(QObject* parent);

    void setMoveRecords(MoveRecords moveRecords) { mMoveRecords = std::move(moveRecords); }
    // The base shown: records dragged from another base are refused.
    void setBasePath(const QString& path) { mBasePath = path; }
    // A new state of the base: every thumbnail is forgotten, since the
    // same index may now be another record.
    void setDescriptions(QStringList descriptions);
    void setFilter(const QString& text);
    void setThumbnailEdge(int edge);
    // Record `index`'s thumbnail; a null one when it could not be made.
    void setThumbnail(std::int32_t index, const QImage& thumbnail);

    [[nodiscard]] std::int32_t recordCount() const {
        return static_cast<std::int32_t>(mDescriptions.size());
    }
    [[nodiscard]] const QList<std::int32_t>& shownIndexes() const { return mShown; }
    [[nodiscard]] std::int32_t baseIndexAt(int row) const { return mShown.value(row, -1); }
    [[nodiscard]] QString description(std::int32_t index) const {
        return mDescriptions.value(index);
    }
    [[nodiscard]] bool hasThumbnail(std::int32_t index) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& item, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& item) const override;
    [[nodiscard]] Qt::DropActions supportedDropActions() const override;
    [[nodiscard]] QStringList mimeTypes() const override;
    [[nodiscard]] QMimeData* mimeData(const QModelIndexList& items) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    void refilter();
    [[nodiscard]] QPixmap shownThumbnail(std::int32_t index) const;

    QStringList mDescriptions;
    QString mFilter;
    QList<std::int32_t> mShown;
    QHash<std::int32_t, int> mRowOf;
    QHash<std::int32_t, QImage> mThumbnails;
    QSet<std::int32_t> mUnreadable;
    int mEdge = 160;
    // Thumbnails at the edge shown, made when first drawn.
    mutable QHash<std::int32_t, QPixmap> mScaled;
    MoveRecords mMoveRecords;
    QString mBasePath;
};

}  // namespace pictarium
