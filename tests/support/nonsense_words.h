#pragma once
// Words no dictionary holds and no suffix rule touches ("zqbb zqbc ..."), so that a test's
// sentences segment into exactly the tokens it wrote.

#include <string>

namespace tavricat::testing {

// `count` four-letter words, the k-th of them numbered from `from`, separated by blanks.
inline std::string nonsenseWords(int from, int count) {
    static const char consonants[] = "bcfghjklmnpqrtvwxz";
    std::string text;
    for (int k = from; k < from + count; ++k) {
        if (k > from) text += ' ';
        text += "zq";
        text += consonants[k / 18 % 18];
        text += consonants[k % 18];
    }
    return text;
}

}  // namespace tavricat::testing
