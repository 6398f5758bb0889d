#pragma once
// A hand-made sentence analysis for the interactive area: one row per token.

#include <string>
#include <vector>

#include "engine/sentence_analysis.h"

namespace tavricat::testing {

struct TokenRow {
    std::string text;   // segText, as the analysis writes it (a blank after each word)
    std::string trans;  // segTrans
    std::string assoc = {};
    std::string attr = {};
    std::string key = {};
};

inline stClass areaSentence(const std::vector<TokenRow>& rows) {
    stClass sentence;
    sentence.reset(rows.size() + 1);
    sentence.wordCount = static_cast<int>(rows.size());
    sentence.segCount = static_cast<int>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        sentence.segText[i + 1] = rows[i].text;
        sentence.segTrans[i + 1] = rows[i].trans;
        sentence.segAssoc[i + 1] = rows[i].assoc;
        sentence.segAttr[i + 1] = rows[i].attr;
        sentence.segKeys[i + 1] = rows[i].key;
    }
    return sentence;
}

// `count` tokens "w0 ", "w1 ", ... each meaning "义".
inline stClass wordsSentence(int count) {
    std::vector<TokenRow> rows;
    for (int i = 0; i < count; ++i) rows.push_back({"w" + std::to_string(i) + " ", "义"});
    return areaSentence(rows);
}

}  // namespace tavricat::testing
