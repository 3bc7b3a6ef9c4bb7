#include "text/md5.h"

namespace tellavin {

namespace {

// Each step's shift, by round and step within the round.
constexpr std::array<std::array<int, 4>, 4> kShifts{
    {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}}};

// The sixty-four constants: the integer part of 2^32 * |sin(i + 1)|.
constexpr std::array<std::uint32_t, 64> kSines{
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr std::uint32_t RotateLeft(std::uint32_t value, int bits) {
    return (value << bits) | (value >> (32 - bits));
}

} // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void Md5::Transform(const unsigned char* block) {
    std::array<std::uint32_t, 16> words{};
    for (std::size_t i = 0; i < 16; ++i) {
        words[i] = static_cast<std::uint32_t>(block[4 * i]) |
                   static_cast<std::uint32_t>(block[4 * i + 1]) << 8 |
                   static_cast<std::uint32_t>(block[4 * i + 2]) << 16 |
                   static_cast<std::uint32_t>(block[4 * i + 3]) << 24;
    }
    auto [a, b, c, d] = state_;
    for (std::size_t step = 0; step < 64; ++step) {
        std::uint32_t mixed = 0;
        std::size_t word = 0;
        switch (step / 16) {
        case 0:
            mixed = (b & c) | (~b & d);
            word = step;
            break;
        case 1:
            mixed = (d & b) | (~d & c);
            word = (5 * step + 1) % 16;
            break;
        case 2:
            mixed = b ^ c ^ d;
            word = (3 * step + 5) % 16;
            break;
        default:
            mixed = c ^ (b | ~d);
            word = (7 * step) % 16;
        }
        auto rotated =
            RotateLeft(a + mixed + kSines[step] + words[word], kShifts[step / 16][step % 4]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::Add(std::string_view bytes) {
    auto used = static_cast<std::size_t>(length_ % 64);
    length_ += bytes.size();
    for (unsigned char byte : bytes) {
        pending_[used++] = byte;
        if (used == 64) {
            Transform(pending_.data());
            used = 0;
        }
    }
}

std::string Md5::HexDigest() {
    // The padding: a 1 bit, zeros up to 56 bytes into a block, and the
    // message's length in bits, least significant byte first.
    auto bits = length_ * 8;
    std::string tail(1, '\x80');
    tail.append((119 - length_ % 64) % 64, '\0');
    for (int i = 0; i < 8; ++i) {
        tail += static_cast<char>(bits >> (8 * i));
    }
    Add(tail);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (auto word : state_) {
        for (int i = 0; i < 4; ++i) {
            auto byte = (word >> (8 * i)) & 0xff;
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0xf];
        }
    }
    return hex;
}

} // namespace tellavin
