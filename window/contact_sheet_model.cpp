#include "window/contact_sheet_model_p.h"

#include "engine/description_match.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QPainter>

namespace pictarium {

namespace {

const QString RecordsMimeType = QStringLiteral("application/x-pictarium-records");
// Enough of a description to tell records apart under a thumbnail.
constexpr int ShownCharacters = 60;

QString itemName(std::int32_t index, const QString& description) {
    return QStringLiteral("%1 – %2").arg(index + 1).arg(description);
}

// A frame for a thumbnail still to come, or crossed when the record's
// picture cannot be read.
QPixmap placeholder(int edge, bool unreadable) {
    QPixmap picture(edge, edge * 3 / 4);
    picture.fill(QColor(236, 236, 236));
    QPainter painter(&picture);
    painter.setPen(QColor(190, 190, 190));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    if (unreadable) {
        painter.drawLine(picture.rect().topLeft(), picture.rect().bottomRight());
        painter.drawLine(picture.rect().topRight(), picture.rect().bottomLeft());
    }
    return picture;
}

}  // namespace

ContactSheetModel::ContactSheetModel(QObject* parent) : QAbstractListModel(parent) {}

void ContactSheetModel::setDescriptions(QStringList descriptions) {
    beginResetModel();
    mDescriptions = std::move(descriptions);
    mThumbnails.clear();
    mUnreadable.clear();
    mScaled.clear();
    refilter();
    endResetModel();
}

void ContactSheetModel::setFilter(const QString& text) {
    if (text == mFilter) {
        return;
    }
    beginResetModel();
    mFilter = text;
    refilter();
    endResetModel();
}

void ContactSheetModel::refilter() {
    const DescriptionMatch match(mFilter);
    mShown.clear();
    mRowOf.clear();
    for (std::int32_t index = 0; index < recordCount(); ++index) {
        if (mFilter.isEmpty() || match.matches(mDescriptions[index])) {
            mRowOf.insert(index, static_cast<int>(mShown.size()));
            mShown.append(index);
        }
    }
}

void ContactSheetModel::setThumbnailEdge(int edge) {
    if (edge == mEdge) {
        return;
    }
    mEdge = edge;
    mScaled.clear();
    if (!mShown.isEmpty()) {
        emit dataChanged(index(0), index(static_cast<int>(mShown.size()) - 1),
                         {Qt::DecorationRole});
    }
}

void ContactSheetModel::setThumbnail(std::int32_t index, const QImage& thumbnail) {
    if (index < 0 || index >= recordCount()) {
        return;
    }
    if (thumbnail.isNull()) {
        mUnreadable.insert(index);
    } else {
        mThumbnails.insert(index, thumbnail);
    }
    mScaled.remove(index);
    const auto row = mRowOf.constFind(index);
    if (row != mRowOf.cend()) {
        emit dataChanged(this->index(*row), this->index(*row), {Qt::DecorationRole});
    }
}

bool ContactSheetModel::hasThumbnail(std::int32_t index) const {
    return mThumbnails.contains(index) || mUnreadable.contains(index);
}

QPixmap ContactSheetModel::shownThumbnail(std::int32_t index) const {
    const auto kept = mScaled.constFind(index);
    if (kept != mScaled.cend()) {
        return *kept;
    }
    const auto made = mThumbnails.constFind(index);
    QPixmap shown = made == mThumbnails.cend()
                        ? placeholder(mEdge, mUnreadable.contains(index))
                        : QPixmap::fromImage(made->scaled(mEdge, mEdge, Qt::KeepAspectRatio,
                                                          Qt::SmoothTransformation));
    mScaled.insert(index, shown);
    return shown;
}

int ContactSheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(mShown.size());
}

QVariant ContactSheetModel::data(const QModelIndex& item, int role) const {
    const std::int32_t index = baseIndexAt(item.row());
    if (!item.isValid() || index < 0) {
        return {};
    }
    const QString& text = mDescriptions[index];
    switch (role) {
        case Qt::DisplayRole:
            return itemName(index, text.size() > ShownCharacters
                                       ? text.left(ShownCharacters).trimmed() + u'…'
                                       : text);
        case Qt::AccessibleTextRole:
            return itemName(index, text);
        case Qt::ToolTipRole:
            return text;
        case Qt::DecorationRole:
            return shownThumbnail(index);
        case BaseIndexRole:
            return index;
        case ThumbnailMadeRole:
            return hasThumbnail(index);
        default:
            return {};
    }
}

Qt::ItemFlags ContactSheetModel::flags(const QModelIndex& item) const {
    const Qt::ItemFlags flags = QAbstractListModel::flags(item);
    // Dropped on an item, records go before it; dropped elsewhere, at the end.
    return item.isValid() ? flags | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled
                          : flags | Qt::ItemIsDropEnabled;
}

Qt::DropActions ContactSheetModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList ContactSheetModel::mimeTypes() const {
    return {RecordsMimeType};
}

QMimeData* ContactSheetModel::mimeData(const QModelIndexList& items) const {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << mBasePath;
    for (const QModelIndex& item : items) {
        stream << baseIndexAt(item.row());
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(RecordsMimeType, bytes);
    return data.release();  // the view owns what it drags
}

bool ContactSheetModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                     const QModelIndex& parent) {
    if (action != Qt::MoveAction || !data->hasFormat(RecordsMimeType) || !mMoveRecords) {
        return false;
    }
    QList<std::int32_t> moved;
    QDataStream stream(data->data(RecordsMimeType));
    QString from;
    stream >> from;
    if (from != mBasePath) {
        return false;
    }
    while (!stream.atEnd()) {
        std::int32_t index = -1;
        stream >> index;
        if (index >= 0 && index < recordCount()) {
            moved.append(index);
        }
    }
    const int target = parent.isValid() ? parent.row() : row;
    const std::int32_t before =
        target >= 0 && target < mShown.size() ? mShown[target] : recordCount();
    if (!moved.isEmpty()) {
        mMoveRecords(moved, before);
    }
    // The sheet shows the base again once it has changed; nothing to take
    // out of the model here.
    return false;
}

}  // namespace pictarium
