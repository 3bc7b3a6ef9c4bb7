#include "gui/windows/conversion_path_texts.h"

#include <algorithm>

namespace tellavin {

namespace {

const ConversionPathTexts* Find(ConversionPath code) {
    const auto* found =
        std::find_if(std::begin(kConversionPathTexts), std::end(kConversionPathTexts),
                     [code](const auto& texts) { return texts.code == code; });
    return found == std::end(kConversionPathTexts) ? nullptr : found;
}

} // namespace

QString PathActionText(ConversionPath code) {
    const auto* texts = Find(code);
    return texts ? QString::fromUtf8(texts->sAction) : QString();
}

QString PathWindowTitle(ConversionPath code) {
    const auto* texts = Find(code);
    return texts ? QString::fromUtf8(texts->sWindowTitle) : QString();
}

} // namespace tellavin
