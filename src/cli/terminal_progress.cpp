#include "cli/terminal_progress.h"

#include "text/visible_text.h"

#include <ostream>

namespace tellavin::cli {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr std::size_t kMaxStatusBytes = 50;
constexpr const char* kEraseLine = "\r\x1b[K";

// The status as one short, harmless line: a folder name can hold control
// characters that would move the cursor or retitle the terminal.
std::string ShortStatus(const std::string& text) {
    auto shown = VisibleText(text);
    if (shown.size() <= kMaxStatusBytes) {
        return shown;
    }
    auto cut = kMaxStatusBytes;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) {
        --cut; // not inside a character
    }
    return shown.substr(0, cut) + "...";
}

} // namespace

void TerminalProgress::SetStatusText(const std::string& text) {
    status_ = text;
    Draw();
}

void TerminalProgress::SetRange(std::int32_t, std::int32_t maximum) {
    maximum_ = maximum;
    value_ = 0;
}

void TerminalProgress::SetValue(std::int32_t value) {
    value_ = value;
    Draw();
}

void TerminalProgress::SetVisible(bool visible) {
    if (!visible && enabled_ && drawn_) {
        out_ << kEraseLine << std::flush;
        drawn_ = false;
    }
    if (!visible) {
        status_.clear();
        maximum_ = 0;
        value_ = 0;
    }
}

std::string TerminalProgress::Line() const {
    std::string line = std::to_string(value_) + " folders";
    if (maximum_ > 0) {
        auto percent = static_cast<std::int64_t>(value_) * 100 / maximum_;
        line += " (" + std::to_string(percent) + "%)";
    }
    if (!status_.empty()) {
        line += "  " + ShortStatus(status_);
    }
    return line;
}

void TerminalProgress::ShowNow() {
    lastDraw_ = {};
    Draw();
}

void TerminalProgress::Draw() {
    if (!enabled_) {
        return;
    }
    auto time = std::chrono::steady_clock::now();
    if (drawn_ && time - lastDraw_ < kRedrawInterval) {
        return;
    }
    lastDraw_ = time;
    drawn_ = true;
    out_ << kEraseLine << Line() << std::flush;
}

} // namespace tellavin::cli
