#pragma once
// Text going into the XML formats other tools read (TMX, XLIFF, TBX): escaping, and the
// program's inline tags ("<1:>", "<:1>", "<:2:>") recognised where the text holds them, so
// that each format can write them as its own inline elements.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavricat {

// "&", "<", ">" and '"' as entities.
std::string xmlEscaped(std::string_view text);

struct InlineTagAt {
    enum class Kind { Opening, Closing, Isolated };
    Kind kind = Kind::Isolated;
    std::string id;           // the tag's number
    std::size_t length = 0;   // bytes of the tag in the text
};

// The program's tag starting at `at` in `text`, if one does.
std::optional<InlineTagAt> inlineTagAt(std::string_view text, std::size_t at);

}  // namespace tavricat
