#pragma once

namespace tellavin {

// The program's version as it names itself in what it writes.
inline constexpr const char* kProductVersion = "2.48";
// The title of the program's own message boxes.
inline constexpr const char* kProductTitle = "Tellavin";
// The program's home page, named in the pages it publishes.
inline constexpr const char* kProductHomePage = "https://tellavin.example/";
// Where users write to the maker.
inline constexpr const char* kMakerMailAddress = "tellavin@tellavin.example";

} // namespace tellavin
