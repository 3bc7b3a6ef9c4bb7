#pragma once

#include "model/progress.h"

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace tellavin::cli {

// Progress on one terminal line that updates in place: what is being done,
// the folders done so far and, once the number of folders is known, the
// share done. The line is drawn at most ten times a second and erased when
// the work ends. A disabled sink (standard error is no terminal, or
// --quiet) writes nothing.
class TerminalProgress final : public ProgressSink {
public:
    TerminalProgress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

    void SetStatusText(const std::string& text) override;
    void SetRange(std::int32_t minimum, std::int32_t maximum) override;
    void SetValue(std::int32_t value) override;
    void SetVisible(bool visible) override;
    void ShowNow() override;

    // The line as it would be drawn now.
    std::string Line() const;

private:
    void Draw();

    std::ostream& out_;
    bool enabled_;
    bool drawn_ = false;
    std::string status_;
    std::int32_t maximum_ = 0;
    std::int32_t value_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace tellavin::cli
