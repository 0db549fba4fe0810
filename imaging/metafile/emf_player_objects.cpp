#include "imaging/metafile/emf_player_p.h"

#include <type_traits>

namespace pictarium::emf {

void Player::storeObject(CreatedObject created) {
    // Index 0 stands for the metafile itself and holds no object.
    if (created.index == 0 || isStockObject(created.index)) {
        return;
    }
    mObjects.insert_or_assign(created.index, std::move(created.object));
}

void Player::selectObject(std::uint32_t index) {
    const auto select = [this](const auto& object) {
        using Kind = std::decay_t<decltype(object)>;
        if constexpr (std::is_same_v<Kind, LogicalPen>) {
            mContext.pen = object;
        } else if constexpr (std::is_same_v<Kind, LogicalBrush>) {
            mContext.brush = object;
        } else if constexpr (std::is_same_v<Kind, LogicalFont>) {
            mContext.font = object;
        }
    };
    if (isStockObject(index)) {
        std::visit(select, stockObject(index));
        return;
    }
    if (const auto found = mObjects.find(index); found != mObjects.end()) {
        std::visit(select, found->second);
    }
}

// The context keeps its own copy of what is selected, so deleting a
// selected object changes nothing drawn afterwards.
void Player::deleteObject(std::uint32_t index) {
    mObjects.erase(index);
}

LogicalBrush Player::brushAt(std::uint32_t index) const {
    if (isStockObject(index)) {
        const auto stock = stockObject(index);
        if (const auto* brush = std::get_if<LogicalBrush>(&stock)) {
            return *brush;
        }
    } else if (const auto found = mObjects.find(index); found != mObjects.end()) {
        if (const auto* brush = std::get_if<LogicalBrush>(&found->second)) {
            return *brush;
        }
    }
    return mContext.brush;
}

}  // namespace pictarium::emf
