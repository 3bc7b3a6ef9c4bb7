#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tellavin {

// A set of bytes to search text for. std::string_view::find_first_of
// searches its set once for every byte of the text (a memchr call each);
// this looks every byte up in a table, which keeps scans of long text at
// the speed of a plain loop. Declare sets inside functions static
// constexpr: a set that is only constexpr is filled again on every call.
class ByteSet {
public:
    constexpr explicit ByteSet(std::string_view bytes) {
        for (char c : bytes) {
            table_[static_cast<unsigned char>(c)] = true;
        }
    }

    constexpr bool Has(char c) const { return table_[static_cast<unsigned char>(c)]; }

    // The first place at or after from that holds a byte of the set, or
    // npos.
    constexpr std::size_t FindIn(std::string_view text, std::size_t from = 0) const {
        for (auto i = from; i < text.size(); ++i) {
            if (Has(text[i])) {
                return i;
            }
        }
        return std::string_view::npos;
    }

private:
    std::array<bool, 256> table_{};
};

} // namespace tellavin
