#include "model/loss_report.h"

#include <algorithm>

namespace tellavin {

namespace {

// The example's first kExampleChars characters and "..." when it is
// longer, so that a huge name leaves the report a line to read. The cut
// falls between the UTF-8 sequences of two characters, and cutting a cut
// example again changes nothing.
std::string ShortExample(std::string example) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < example.size(); ++i) {
        bool startsCharacter = (static_cast<unsigned char>(example[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == LossReport::kExampleChars) {
            example.resize(i);
            example += "...";
            break;
        }
    }
    return example;
}

// Keeps an example, shortened, while there are few. An untitled link is no
// example anyone could find again, and a place named twice tells no more
// than once.
void KeepExample(std::vector<std::string>& examples, std::string example) {
    if (example.empty() || examples.size() >= LossReport::kMaxExamples) {
        return;
    }
    example = ShortExample(std::move(example));
    if (std::find(examples.begin(), examples.end(), example) == examples.end()) {
        examples.push_back(std::move(example));
    }
}

constexpr std::array<const char*, kLossKinds> kLabels = {
    "Names changed for the file system",
    "Duplicate names numbered",
    "Toolbar folder renamed",
    "Toolbar folders written as ordinary folders",
    "Separators dropped",
    "Folders not kept in the source's order",
    "Creation dates dropped",
    "Change dates dropped",
    "Descriptions dropped",
    "Tags dropped",
    "Keywords dropped",
    "Icons dropped",
    "Trash folder and its deleted entries skipped",
    "Links without a usable address skipped",
    "Entries of an unknown kind or place skipped",
    "Links already there skipped",
    "Folders joined with the target's own",
    "Titles shown cut",
    "Aliases read as copies of their link",
};

} // namespace

void LossReport::Note(LossKind kind, std::string example) {
    auto& entry = entries_[static_cast<std::size_t>(kind)];
    ++entry.count;
    KeepExample(entry.examples, std::move(example));
}

void LossReport::Add(const LossReport& other) {
    for (std::size_t kind = 0; kind < entries_.size(); ++kind) {
        auto& entry = entries_[kind];
        const auto& more = other.entries_[kind];
        entry.count += more.count;
        for (const auto& example : more.examples) {
            KeepExample(entry.examples, example);
        }
    }
}

bool LossReport::Empty() const {
    return std::all_of(entries_.begin(), entries_.end(),
                       [](const Entry& entry) { return entry.count == 0; });
}

std::vector<std::string> LossReport::Lines() const {
    std::vector<std::string> lines;
    for (std::size_t kind = 0; kind < entries_.size(); ++kind) {
        const auto& entry = entries_[kind];
        if (entry.count == 0) {
            continue;
        }
        auto line = std::string(kLabels[kind]) + ": " + std::to_string(entry.count);
        if (!entry.examples.empty()) {
            line += " (";
            for (std::size_t i = 0; i < entry.examples.size(); ++i) {
                line += (i == 0 ? "" : ", ") + entry.examples[i];
            }
            line += entry.count > static_cast<std::int32_t>(entry.examples.size()) ? ", ...)" : ")";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string RenamedExample(const std::string& oldName, const std::string& newName) {
    return "\"" + oldName + "\" -> \"" + newName + "\"";
}

} // namespace tellavin
