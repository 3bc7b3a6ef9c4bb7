#pragma once

#include "model/progress.h"

#include <string>
#include <vector>

namespace tellavin::test {

// A progress sink that keeps every status text it was given.
class ProgressRecorder final : public ProgressSink {
public:
    std::vector<std::string> statusTexts;

    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetValue(std::int32_t) override {}
    void SetVisible(bool) override {}
};

} // namespace tellavin::test
