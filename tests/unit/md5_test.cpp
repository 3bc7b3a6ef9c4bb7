#include "text/md5.h"

#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

std::string DigestOf(const std::string& text) {
    Md5 digest;
    digest.Add(text);
    return digest.HexDigest();
}

// RFC 1321's own test suite (appendix A.5).
TEST(Md5, DigestsOfTheRfcTestSuite) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : cases) {
        EXPECT_EQ(DigestOf(text), digest) << '"' << text << '"';
    }
}

// The lengths around the block size, where the padding needs a block of
// its own, fed whole and in pieces that cross the block boundaries; the
// digests are those of Python's hashlib.
TEST(Md5, DigestsAcrossTheBlockBoundariesInPiecesOfAnySize) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += static_cast<char>(i * 7 + 3);
    }
    const std::pair<std::size_t, std::string> cases[] = {
        {55, "52c0e574e1198de5fe3f8f11440dcb1b"},  {56, "46c9907fc908ee68b1e7b8e71286a518"},
        {63, "a62f6d59e837867693f042f5b8f5a236"},  {64, "7160b8fb5e9e4023d549c3971fbaeead"},
        {65, "70bd662e7aefbda85a0f7244167b7897"},  {119, "e84905d4214f4d1ca56c2cdcc152b143"},
        {120, "e3eb5a6c8669ea01a8c185b8abc8a5dc"}, {200, "4c79b81ac94bad7a875519ce6b964c66"},
    };
    for (const auto& [length, expected] : cases) {
        for (std::size_t piece : {1u, 24u, 47u, 64u, 200u}) {
            Md5 digest;
            for (std::size_t at = 0; at < length; at += piece) {
                digest.Add(std::string_view(text).substr(at, std::min(piece, length - at)));
            }
            EXPECT_EQ(digest.HexDigest(), expected) << length << " in pieces of " << piece;
        }
    }
}

} // namespace
} // namespace tellavin
