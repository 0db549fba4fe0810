#pragma once

#include <QIdentityProxyModel>

namespace pictarium {

// Qt's file box gives sizes and dates in the session's locale and calls a
// folder "Folder" whatever its translations: laid over the box's model,
// this gives them in French. Files' types are already the MIME database's
// French names.
class FrenchFileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
};

}  // namespace pictarium
