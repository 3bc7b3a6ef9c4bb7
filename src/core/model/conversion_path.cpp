#include "model/conversion_path.h"

namespace tellavin {

std::optional<ConversionPath> ConversionPathFor(StoreKind source, StoreKind target) {
    for (const auto& info : kConversionPaths) {
        if (info.source == source && info.target == target) {
            return info.code;
        }
    }
    return std::nullopt;
}

} // namespace tellavin
