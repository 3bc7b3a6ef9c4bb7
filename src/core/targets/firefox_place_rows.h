#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin {

// What Firefox stores beside an address in its moz_places and moz_origins
// tables, computed as Firefox's own SQL functions and scripts compute them,
// so that Firefox finds the rows this program adds as if it had made them.

// The address hash of moz_places.url_hash, by which Firefox looks an
// address up: the golden-ratio hash of the address's first 1500 bytes in
// the low 32 bits and, when a ':' lies in its first 50 bytes, the low 16
// bits of the same hash of the scheme before it above them.
std::int64_t FirefoxUrlHash(std::string_view url);

// moz_places.rev_host: the address's host as its URL object gives it (with
// a port that is not the default, without user and password), reversed
// and followed by "."; just "." for an address without a host.
std::string FirefoxReversedHost(std::string_view url);

// The prefix and host of the address's moz_origins row: the scheme with its
// ':' and any "//" after it, and what follows up to the first '/', '?' or
// '#' without any user part.
struct FirefoxOrigin {
    std::string prefix;
    std::string host;
};
FirefoxOrigin FirefoxOriginOf(std::string_view url);

// A new GUID in Firefox's form: twelve characters of URL-safe Base64
// (A-Z a-z 0-9 - _) from nine random bytes.
std::string NewFirefoxGuid();

} // namespace tellavin
