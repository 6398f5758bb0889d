// Translating sentences over the delivered dictionaries never changes a term entry the
// translator already has, and a word first met in an inflected form enters the term base
// with its own dictionary meanings, not with the form's.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sentence_fixture.h"

namespace tavricat {
namespace {

// The most frequent English words of ordinary text, with the words of manuals and letters
// whose inflected forms carry senses of their own in the dictionary.
const std::vector<std::string> kFrequentWords = {
    "the", "be", "to", "of", "and", "a", "in", "that", "have", "it", "for", "not", "on", "with", "he",
    "as", "you", "do", "at", "this", "but", "his", "by", "from", "they", "we", "say", "her", "she", "or",
    "an", "will", "my", "one", "all", "would", "there", "their", "what", "so", "up", "out", "if", "about",
    "who", "get", "which", "go", "me", "when", "make", "can", "like", "time", "no", "just", "him", "know",
    "take", "people", "into", "year", "your", "good", "some", "could", "them", "see", "other", "than",
    "then", "now", "look", "only", "come", "its", "over", "think", "also", "back", "after", "use", "two",
    "how", "our", "work", "first", "well", "way", "even", "new", "want", "because", "any", "these",
    "give", "day", "most", "us", "find", "tell", "ask", "seem", "feel", "try", "leave", "call", "keep",
    "let", "begin", "help", "show", "hear", "play", "run", "move", "live", "believe", "hold", "bring",
    "happen", "write", "provide", "sit", "stand", "lose", "pay", "meet", "include", "continue", "set",
    "learn", "change", "lead", "understand", "watch", "follow", "stop", "create", "speak", "read",
    "allow", "add", "spend", "grow", "open", "walk", "win", "offer", "remember", "love", "consider",
    "appear", "buy", "wait", "serve", "die", "send", "expect", "build", "stay", "fall", "cut", "reach",
    "kill", "remain", "suggest", "raise", "pass", "sell", "require", "report", "decide", "pull",
    "please", "load", "second", "fan", "check", "press", "turn", "close", "connect", "install", "start",
    "switch", "power", "setting", "file", "order", "ship", "charge", "cover", "plug", "clean", "store",
    "contain", "receive", "attach", "confirm", "replace", "remove", "insert", "select", "display", "print",
};

std::string formsSentence(const std::string& word) {
    // Regular and common irregular inflections; the ones that are not words are unknown words.
    const std::string stem = !word.empty() && word.back() == 'e' ? word.substr(0, word.size() - 1) : word;
    return "We " + word + "s it, " + stem + "ed it and are " + stem + "ing it.";
}

class TermBaseIntegrity : public testing::SentenceFixture {
protected:
    std::string termEntry(const std::string& key) {
        const SortedFind at = bench->engine.termBase.find(key);
        return at.found ? bench->engine.termBase.termEntries[at.index] : std::string();
    }
};

TEST_F(TermBaseIntegrity, AWordFirstMetInflectedEntersWithItsOwnMeanings) {
    for (const std::string& word : kFrequentWords) suggest(formsSentence(word));
    suggest("We are pleased to inform you that the opening works were loaded, provided the fans run for seconds.");

    int checked = 0;
    for (const std::string& word : kFrequentWords) {
        const std::string system = bench->engine.lookupKey(word, DictSource::System);
        const std::string stored = termEntry(word);
        if (system.empty() || stored.empty()) continue;
        EXPECT_EQ(stored, termEntryFromSystemValue(system)) << word;
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

TEST_F(TermBaseIntegrity, TranslatingLeavesEveryExistingEntryByteIdentical) {
    // The translator's term base: every frequent word, some with choices of their own.
    for (const std::string& word : kFrequentWords) {
        const std::string system = bench->engine.lookupKey(word, DictSource::System);
        if (!system.empty()) addTerm(word, termEntryFromSystemValue(system));
    }
    addTerm("please", "请^^^");
    addTerm("open", "打开|开^^^");
    std::map<std::string, std::string> before;
    for (std::size_t i = 0; i < bench->engine.termBase.termKeys.size(); ++i)
        before[bench->engine.termBase.termKeys[i]] = bench->engine.termBase.termEntries[i];

    for (const std::string& word : kFrequentWords) suggest(formsSentence(word));
    suggest("We are pleased to inform you that the opening works were loaded, provided the fans run for seconds.");
    suggest("Please check the settings before opening the housing of the pumps.");

    for (const auto& [key, entry] : before) EXPECT_EQ(termEntry(key), entry) << key;
}

}  // namespace
}  // namespace tavricat
