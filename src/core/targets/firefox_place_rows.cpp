#include "targets/firefox_place_rows.h"

#include <algorithm>
#include <array>
#include <random>

namespace tellavin {

namespace {

// Firefox's string hash: each byte mixed in by the golden ratio.
std::uint32_t GoldenRatioHash(std::string_view text) {
    constexpr std::uint32_t kGoldenRatio = 0x9E3779B9U;
    std::uint32_t hash = 0;
    for (unsigned char c : text) {
        hash = kGoldenRatio * (((hash << 5) | (hash >> 27)) ^ c);
    }
    return hash;
}

// The length of "scheme:" and a "//" right after it; 0 when the first 64
// bytes hold no ':'.
std::size_t PrefixLength(std::string_view url) {
    auto colon = url.substr(0, 64).find(':');
    if (colon == std::string_view::npos) {
        return 0;
    }
    return url.substr(colon + 1).starts_with("//") ? colon + 3 : colon + 1;
}

} // namespace

std::int64_t FirefoxUrlHash(std::string_view url) {
    constexpr std::size_t kHashedBytes = 1500;
    std::uint64_t hash = GoldenRatioHash(url.substr(0, kHashedBytes));
    auto colon = url.substr(0, 50).find(':');
    if (colon != std::string_view::npos) {
        hash += std::uint64_t{GoldenRatioHash(url.substr(0, colon)) & 0xFFFF} << 32;
    }
    return static_cast<std::int64_t>(hash);
}

FirefoxOrigin FirefoxOriginOf(std::string_view url) {
    auto prefix = PrefixLength(url);
    auto start = prefix;
    auto end = prefix;
    for (; end < url.size() && url[end] != '/' && url[end] != '?' && url[end] != '#'; ++end) {
        if (url[end] == '@') {
            start = end + 1;
        }
    }
    return {std::string(url.substr(0, prefix)), std::string(url.substr(start, end - start))};
}

std::string FirefoxReversedHost(std::string_view url) {
    // Only an address with an authority ("scheme://") has a host; mailto:,
    // javascript: and the like have none.
    auto prefix = PrefixLength(url);
    std::string host;
    if (prefix >= 3 && url.substr(prefix - 2, 2) == "//") {
        host = FirefoxOriginOf(url).host;
        std::reverse(host.begin(), host.end());
    }
    return host + ".";
}

std::string NewFirefoxGuid() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    thread_local std::mt19937_64 random = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    // Nine bytes are 72 bits, twelve characters of six bits each.
    std::string guid;
    for (int part = 0; part < 2; ++part) {
        auto bits = random();
        for (int n = 0; n < 6; ++n, bits >>= 6) {
            guid += kAlphabet[bits & 0x3F];
        }
    }
    return guid;
}

} // namespace tellavin
