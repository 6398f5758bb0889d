#pragma once
// Positions in a short GBK text and in the QString that shows it. The core measures the
// translation box, the example lines and the common characters in GBK bytes; Qt in UTF-16
// units. These texts are a few lines long, so converting the prefix is cheap enough.

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

#include "text_convert.h"

namespace tavricat::gui {

// The byte offset in the GBK form of `text` of its QString position `pos`.
inline std::size_t gbkOffset(const QString& text, int pos) { return toGbkLossy(text.left(pos)).size(); }

// The QString position of byte offset `offset` of `gbk` (inside a double-byte character: its start).
inline int qtOffset(std::string_view gbk, std::size_t offset) {
    if (offset > gbk.size()) offset = gbk.size();
    // A lead byte cut off at the end would show as a replacement character: drop it.
    QString prefix = fromGbk(gbk.substr(0, offset));
    if (!prefix.isEmpty() && prefix.back() == QChar::ReplacementCharacter) prefix.chop(1);
    return static_cast<int>(prefix.size());
}

}  // namespace tavricat::gui
