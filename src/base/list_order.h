#pragma once
// The one order of every sorted list of the system (term keys, library words, grammar
// anchors, verb forms, dictionary index, abbreviations, deleted words): ASCII letters
// compare without case, every other byte by its value, and a GBK trail byte is never folded
// even when it looks like a letter.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavricat {

// <0, 0 or >0 as a sorts before, equal to or after b.
int compareListOrder(std::string_view a, std::string_view b);

struct ListOrderLess {
    bool operator()(std::string_view a, std::string_view b) const { return compareListOrder(a, b) < 0; }
};

struct SortedFind {
    bool found = false;
    std::size_t index = 0;  // the match, or where the key would be inserted
};

// Binary search in a list sorted in list order. With several equal keys, finds the first.
SortedFind findSorted(const std::vector<std::string>& list, std::string_view key);

// True when the list is in list order (equal neighbours allowed).
bool isListOrdered(const std::vector<std::string>& list);

// Sorts `keys` into list order (stable), applying the same permutation to every list in
// `parallel`; lists shorter than `keys` are padded with empty lines first.
void sortWithParallel(std::vector<std::string>& keys, std::vector<std::vector<std::string>*> parallel);

// Inserts `key` at its place; returns its index. Equal keys go after the existing ones.
std::size_t insertSorted(std::vector<std::string>& list, std::string key);

}  // namespace tavricat
