#include "model/progress.h"

namespace tellavin {

namespace {
std::int32_t BarMaximum(std::int32_t sourceFolders) { return sourceFolders != 0 ? sourceFolders : 1; }
} // namespace

void ProgressStart(ProgressSink& sink, std::int32_t sourceFolders) {
    sink.SetStatusText("");
    sink.SetRange(0, BarMaximum(sourceFolders));
    sink.SetValue(0);
    sink.SetVisible(true);
}

void ProgressEnd(ProgressSink& sink, std::int32_t sourceFolders) {
    sink.SetValue(BarMaximum(sourceFolders));
    sink.SetVisible(false);
}

} // namespace tellavin
