#pragma once

#include <string>

namespace tellavin {

// Repairs text whose UTF-8 bytes were once read as Windows-1252: for 43
// accented and typographic characters (à è é ì ò ù » ® © £ ° § – ü ä € ™
// and the Latin-1 signs ¡ to ¿, and ö), the two or three characters that
// their UTF-8 bytes read as ("Ã©" for é) become the character again. The
// en dash becomes a plain hyphen.
std::string RepairUtf8Text(std::string text);

} // namespace tellavin
