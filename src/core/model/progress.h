#pragma once

#include <cstdint>
#include <string>

namespace tellavin {

// Where long work reports itself: the GUI maps it to the status bar and the
// progress bar of the export window, the command line to a terminal line,
// tests to a recorder.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetRange(std::int32_t minimum, std::int32_t maximum) = 0;
    virtual void SetValue(std::int32_t value) = 0;
    virtual void SetVisible(bool visible) = 0;
    // Shows what was set last at once, where a sink shows changes only now
    // and then: the work is about to stop for a while.
    virtual void ShowNow() {}
    // Whether the user asked the work to stop. A conversion looks between
    // its steps and a writer at each folder it walks; once asked, the work
    // writes nothing more and leaves the target as it was. Sinks on another
    // thread than the one asking answer from an atomic flag.
    virtual bool Cancelled() const { return false; }
};

// A sink that drops everything, for callers that want no progress.
class NullProgress final : public ProgressSink {
public:
    void SetStatusText(const std::string&) override {}
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetValue(std::int32_t) override {}
    void SetVisible(bool) override {}
};

// Empties the status text and shows the bar from 0 to the number of source
// folders (1 when none were counted) at value 0.
void ProgressStart(ProgressSink& sink, std::int32_t sourceFolders);

// Fills the bar to its maximum and hides it.
void ProgressEnd(ProgressSink& sink, std::int32_t sourceFolders);

} // namespace tellavin
