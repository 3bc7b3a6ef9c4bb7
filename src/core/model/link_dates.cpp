#include "model/link_dates.h"

#include <string>

namespace tellavin {

std::int64_t KeptLinkDate(std::optional<std::int64_t> date, LossKind kind,
                          std::string_view linkName, LossReport& losses) {
    if (!date) {
        return 0;
    }
    if (!IsLinkDateInRange(*date)) {
        losses.Note(kind, std::string(linkName));
        return 0;
    }
    return *date;
}

} // namespace tellavin
