#include "model/store_kind.h"

namespace tellavin {

const StoreKindTraits& TraitsOf(StoreKind kind) {
    for (const auto& traits : kStoreKinds) {
        if (traits.kind == kind) {
            return traits;
        }
    }
    return kStoreKinds[0];
}

std::string_view StoreKindName(StoreKind kind) {
    return TraitsOf(kind).name;
}

std::string_view StoreKindDescription(StoreKind kind) {
    return TraitsOf(kind).description;
}

} // namespace tellavin
