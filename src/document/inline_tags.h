#pragma once
// Inline tags: formatting placeholders inside sentences. With n a decimal number:
//   opening  "<n:>"    closing  "<:n>"    isolated  "<:n:>"

#include <string>
#include <string_view>
#include <vector>

namespace tavricat {

enum class TagKind { NotATag, Opening, Closing, Isolated };

struct TagInfo {
    TagKind kind = TagKind::NotATag;
    std::string number;  // the digits
};

// Classifies a string that begins with "<": all its decimal digits make n; three bytes more
// than the digits with the digits from the second byte is opening, from the third byte
// closing; four bytes more than the digits is isolated; anything else is not a tag.
TagInfo classifyTag(std::string_view text);

// Every run from a "<" to the next ">" inclusive, in order.
std::vector<std::string> extractTags(std::string_view text);

// True when the text holds ":>" or "<:".
bool hasTag(std::string_view text);

// The number of tags, each counted once: first every tag beginning "<:" (closing and
// isolated), then every opening tag (ending ":>") that remains.
int countTags(std::string_view text);

// The text with every tag removed.
std::string clearTags(std::string_view text);

// Whether a translation carries the tags of its source: the same number of tags; every
// opening tag of the translation occurs in the source and is closed later in the
// translation; every closing or isolated tag occurs in the source.
bool tagsConsistent(std::string_view source, std::string_view translation);

}  // namespace tavricat
