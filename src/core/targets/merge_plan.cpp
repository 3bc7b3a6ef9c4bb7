#include "targets/merge_plan.h"

#include "model/folder_walk.h"
#include "text/ascii_text.h"

#include <array>
#include <utility>

namespace tellavin {

namespace {

struct DefaultPort {
    std::string_view scheme;
    std::string_view port;
};

constexpr std::array<DefaultPort, 5> kDefaultPorts = {{
    {"http", "80"},
    {"https", "443"},
    {"ws", "80"},
    {"wss", "443"},
    {"ftp", "21"},
}};

bool IsSchemeCharacter(char c, bool first) {
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    return letter || (!first && other);
}

// The length of the scheme before the ':', or 0 when the address has none.
std::size_t SchemeLength(std::string_view address) {
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address[i] == ':') {
            return i;
        }
        if (!IsSchemeCharacter(address[i], i == 0)) {
            return 0;
        }
    }
    return 0;
}

bool IsDefaultPort(std::string_view scheme, std::string_view port) {
    for (const auto& known : kDefaultPorts) {
        if (known.scheme == scheme) {
            return known.port == port;
        }
    }
    return false;
}

// Keeps, for each written folder of the export, the target folder it joins.
class JoinFinder final : public FolderVisitor {
public:
    JoinFinder(BookmarkTree& exportTree, BookmarkTree& target, std::int32_t start,
               const SameFolderName& sameName, const std::function<bool(std::int32_t)>& canJoin,
               std::vector<std::int32_t>& joins)
        : exportTree_(exportTree), target_(target), start_(start), sameName_(sameName),
          canJoin_(canJoin), joins_(joins) {}

    void Enter(std::int32_t folder, bool isStart) override {
        auto joined = start_;
        if (!isStart) {
            // A folder written with no written folder above it lands at the
            // top level, as the writers put it.
            auto parent = open_.empty() ? start_ : open_.back();
            joined = parent < 0
                         ? -1
                         : FindSubfolder(target_, parent, exportTree_.Node(folder).Text, sameName_);
        }
        if (!isStart && joined >= 0 && !canJoin_(joined)) {
            joined = -1;
        }
        joins_[static_cast<std::size_t>(folder)] = joined;
        open_.push_back(joined);
    }

    void Leave(std::int32_t, bool) override { open_.pop_back(); }

private:
    BookmarkTree& exportTree_;
    BookmarkTree& target_;
    std::int32_t start_;
    const SameFolderName& sameName_;
    const std::function<bool(std::int32_t)>& canJoin_;
    std::vector<std::int32_t>& joins_;
    std::vector<std::int32_t> open_; // the joined folder per open written folder, or -1
};

} // namespace

std::string NormalizedAddress(std::string_view address) {
    auto schemeLength = SchemeLength(address);
    if (schemeLength == 0) {
        return std::string(address);
    }
    auto scheme = LowerAscii(address.substr(0, schemeLength));
    std::string normalized = scheme + ":";
    auto rest = address.substr(schemeLength + 1);
    if (!rest.starts_with("//")) {
        return normalized.append(rest);
    }
    rest.remove_prefix(2);
    auto authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    auto authority = rest.substr(0, authorityEnd);
    auto path = rest.substr(authorityEnd);
    auto at = authority.rfind('@');
    auto userInfo = at == std::string_view::npos ? std::string_view() : authority.substr(0, at + 1);
    auto hostPort = authority.substr(userInfo.size());
    // A colon inside brackets belongs to an IPv6 address, not to a port.
    auto bracket = hostPort.rfind(']');
    auto colon = hostPort.rfind(':');
    std::string_view host = hostPort;
    std::string_view port;
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        host = hostPort.substr(0, colon);
        port = hostPort.substr(colon + 1);
    }
    normalized.append("//").append(userInfo).append(LowerAscii(host));
    if (colon != std::string_view::npos && host.size() < hostPort.size() &&
        !IsDefaultPort(scheme, port)) {
        normalized.append(":").append(port);
    }
    if (path.empty() || path.front() != '/') {
        normalized += '/';
    }
    return normalized.append(path);
}

std::int32_t FindSubfolder(BookmarkTree& tree, std::int32_t parent, std::string_view name,
                           const SameFolderName& sameName) {
    for (auto child : tree.Node(parent).children) {
        if (sameName(name, tree.Node(child).Text)) {
            return child;
        }
    }
    return -1;
}

MergePlan::MergePlan(BookmarkTree& exportTree, BookmarkTree& target, Start start,
                     const SameFolderName& sameName,
                     const std::function<bool(std::int32_t)>& canJoin)
    : joins_(static_cast<std::size_t>(exportTree.NodeCount()), -1) {
    if (!joins_.empty() && start.folder >= 0 && canJoin(start.folder)) {
        joins_[0] = start.folder;
    }
    JoinFinder finder(exportTree, target, joins_.empty() ? -1 : joins_[0], sameName, canJoin,
                      joins_);
    ExportResult unused;
    NullProgress quiet;
    WalkExportedFolders(exportTree, start.exportAll, finder, unused, quiet);
    for (auto joined : joins_) {
        if (joined < 0 || addresses_.contains(joined)) {
            continue;
        }
        auto& addresses = addresses_[joined];
        if (!target.EnsureListed(joined)) {
            continue;
        }
        for (const auto& row : target.Rows(joined)) {
            if (row.IsLink()) {
                addresses.insert(NormalizedAddress(row.sURL));
            }
        }
    }
}

std::int32_t MergePlan::JoinOf(std::int32_t exportFolder) const {
    auto at = static_cast<std::size_t>(exportFolder);
    return at < joins_.size() ? joins_[at] : -1;
}

bool MergePlan::AlreadyThere(std::int32_t exportFolder, std::string_view address) const {
    auto joined = addresses_.find(JoinOf(exportFolder));
    return joined != addresses_.end() && joined->second.contains(NormalizedAddress(address));
}

} // namespace tellavin
