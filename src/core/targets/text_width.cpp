#include "targets/text_width.h"

#include "targets/text_width_table.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utf8.h>

namespace tellavin {

namespace {

std::int32_t LookUpWidth(char32_t c) {
    const auto& runs = detail::kBoldWidthRuns;
    auto after = std::upper_bound(
        runs.begin(), runs.end(), c,
        [](char32_t code, const detail::WidthRun& run) { return code < run.first; });
    if (after == runs.begin()) {
        return detail::kMissingGlyphWidth;
    }
    const auto& run = *(after - 1);
    return c <= run.last ? run.width : detail::kMissingGlyphWidth;
}

class BuiltinMeasure final : public TextMeasure {
public:
    BuiltinMeasure() {
        // Most item texts are Latin; their widths come from a flat array.
        for (char32_t c = 0; c < latin_.size(); ++c) {
            latin_[c] = LookUpWidth(c);
        }
    }

    std::int32_t TextWidth(std::string_view utf8) const override {
        // A text of hundreds of millions of characters is wider than an
        // int32 holds: the sum stops at the largest width.
        constexpr std::int64_t kWidest = std::numeric_limits<std::int32_t>::max();
        std::int64_t width = 0;
        auto it = utf8.begin();
        while (it != utf8.end() && width < kWidest) {
            char32_t c = 0xFFFD;
            try {
                c = utf8::next(it, utf8.end());
            } catch (const utf8::exception&) {
                ++it; // a stray byte shows as one replacement character
            }
            width += c < latin_.size() ? latin_[c] : LookUpWidth(c);
        }
        return static_cast<std::int32_t>(std::min(width, kWidest));
    }

private:
    std::array<std::int32_t, 0x250> latin_{};
};

} // namespace

const TextMeasure& BuiltinTextMeasure() {
    static const BuiltinMeasure measure;
    return measure;
}

} // namespace tellavin
