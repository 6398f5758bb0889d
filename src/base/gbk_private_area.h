#pragma once
// Characters GBK lacks (ö, ş, Greek symbol variants, arrows, the symbol fonts' characters…)
// kept in GBK's user-defined area, so that a client's document does not lose them on the way
// through the core and its GBK files. The codes are fixed (tools/generate_gbk_private_area.py):
// a bilingual file written today reads back the same characters in every later version.
// Every conversion between GBK and Unicode goes through these two functions first.

#include <cstdint>

namespace tavricat::gbk {

// The user-defined GBK code (lead << 8 | trail) that holds `codePoint`, or 0.
std::uint16_t privateAreaCodeOf(std::uint32_t codePoint);

// The character held by the user-defined GBK code `lead`, `trail`, or 0.
std::uint32_t unicodeOfPrivateArea(unsigned char lead, unsigned char trail);

}  // namespace tavricat::gbk
