#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin::fuzz {

// Splits one fuzz input into the pieces a target needs: a piece is the text
// up to the next 0x1F byte (which it consumes) or to the end, a choice is
// one byte.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    bool empty() const { return rest_.empty(); }

    std::string Piece() {
        auto end = rest_.find('\x1F');
        std::string piece(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return piece;
    }

    // A number from 0 to count - 1; 0 when the input is used up.
    int Choice(int count) {
        if (rest_.empty()) {
            return 0;
        }
        auto byte = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return byte % count;
    }

private:
    std::string_view rest_;
};

} // namespace tellavin::fuzz
