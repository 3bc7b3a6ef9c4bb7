#include "sources/mozlz4.h"

#include <cstdint>
#include <limits>
#include <lz4.h>
#include <string>

namespace tellavin {

namespace {

MozLz4Content DoesNotDecompress(std::size_t size) {
    return {{},
            "damaged compressed backup: its block does not decompress to the " +
                std::to_string(size) + " bytes it says it holds"};
}

} // namespace

MozLz4Content DecompressMozLz4(std::string_view file) {
    constexpr std::size_t kHeader = kMozLz4Magic.size() + 4;
    if (!file.starts_with(kMozLz4Magic) || file.size() < kHeader) {
        return {{}, "damaged compressed backup: its header is cut short"};
    }
    std::size_t size = 0;
    for (std::size_t n = 0; n < 4; ++n) {
        size |= std::size_t{static_cast<unsigned char>(file[kMozLz4Magic.size() + n])} << (8 * n);
    }
    if (size > kMaxMozLz4Bytes) {
        return {{},
                "compressed backup too large: it says it holds " + std::to_string(size) +
                    " bytes, more than " + std::to_string(kMaxMozLz4Bytes)};
    }
    auto block = file.substr(kHeader);
    if (block.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return {{}, "damaged compressed backup: its block is longer than it can be"};
    }
    // An LZ4 block grows at most 255 times (a match's length grows by 255
    // per byte): a size beyond that cannot be right and is not allocated.
    constexpr std::size_t kMostGrowth = 255;
    if (size > block.size() * kMostGrowth) {
        return DoesNotDecompress(size);
    }
    MozLz4Content content;
    content.text.resize(size);
    int made = LZ4_decompress_safe(block.data(), content.text.data(),
                                   static_cast<int>(block.size()), static_cast<int>(size));
    if (made < 0 || static_cast<std::size_t>(made) != size) {
        return DoesNotDecompress(size);
    }
    return content;
}

} // namespace tellavin
