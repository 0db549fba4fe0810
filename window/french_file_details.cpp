#include "window/french_file_details_p.h"

#include <QFileSystemModel>
#include <QLocale>

namespace pictarium {

namespace {

enum Column { Size = 1, Type = 2, Modified = 3 };

}  // namespace

QVariant FrenchFileDetails::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr) {
        return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex file = mapToSource(index);
    const QLocale french(QLocale::French, QLocale::France);
    switch (index.column()) {
        case Size:
            return files->isDir(file) ? QString() : french.formattedDataSize(files->size(file));
        case Type:
            return files->isDir(file) ? QStringLiteral("Dossier")
                                      : QIdentityProxyModel::data(index, role);
        case Modified:
            return french.toString(files->lastModified(file), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(index, role);
    }
}

}  // namespace pictarium
