#include "text/byte_search.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

// Every length up to past the eight-byte steps and the 64 bytes searched
// before memchr, every place of the byte sought and every start: the
// searches answer as a plain search does. The filler holds bytes of 0x80
// and more, and bytes just above the limit, which must never match.
TEST(ByteSearch, AgreesWithAPlainSearchAtEveryPlaceAndStart) {
    const std::string filler = "\x80\xFFz\x0E\xC3\xA9<-";
    for (std::size_t size = 0; size <= 80; ++size) {
        for (std::size_t place = 0; place <= size; ++place) {
            std::string text;
            for (std::size_t i = 0; i < size; ++i) {
                text += filler[i % filler.size()];
            }
            if (place < size) {
                text[place] = '\n';
            }
            for (std::size_t from = 0; from <= size + 1; ++from) {
                auto plainBelow = std::find_if(text.begin() + std::min(from, size), text.end(),
                                               [](char c) { return c >= 0 && c < 14; });
                auto expectedBelow = plainBelow == text.end()
                                         ? std::string_view::npos
                                         : static_cast<std::size_t>(plainBelow - text.begin());
                ASSERT_EQ(FindByte(text, '\n', from), std::string_view(text).find('\n', from))
                    << size << " " << place << " " << from;
                ASSERT_EQ(FindByte(text, '<', from), std::string_view(text).find('<', from))
                    << size << " " << place << " " << from;
                ASSERT_EQ(FindByteBelow(text, 14, from), expectedBelow)
                    << size << " " << place << " " << from;
                ASSERT_EQ(FindByteOrNul(text, '\n', from), std::string_view(text).find('\n', from))
                    << size << " " << place << " " << from;
                auto withNul = text;
                if (place < size) {
                    withNul[place] = '\0';
                }
                ASSERT_EQ(FindByteOrNul(withNul, '<', from),
                          std::min(std::string_view(withNul).find('<', from),
                                   std::string_view(withNul).find('\0', from)))
                    << size << " " << place << " " << from;
            }
        }
    }
}

} // namespace
} // namespace tellavin
