// The one list order and its binary search, checked against a simple reference.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/list_order.h"

namespace tavricat {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(ListOrderTest, AsciiLettersCompareWithoutCase) {
    EXPECT_EQ(compareListOrder("Apple", "apple"), 0);
    EXPECT_LT(compareListOrder("apple", "Banana"), 0);
    EXPECT_LT(compareListOrder("ab", "abc"), 0);
    // "_" (0x5F) lies between "Z" and "a"; letters fold to lower case and sort after it.
    EXPECT_LT(compareListOrder("_", "A"), 0);
}

TEST(ListOrderTest, TrailBytesThatLookLikeLettersAreNotFolded) {
    // Same lead byte 0x81; trail bytes 'Z' (0x5A) and 'z' (0x7A) are different characters.
    const std::string upperTrail = "\x81\x5A", lowerTrail = "\x81\x7A";
    EXPECT_NE(compareListOrder(upperTrail, lowerTrail), 0);
    EXPECT_LT(compareListOrder(upperTrail, lowerTrail), 0);
    // A double-byte character sorts after every ASCII character.
    EXPECT_LT(compareListOrder("zzz", "\xB0\xA1"), 0);
    // After an equal double-byte character, ASCII case folds again.
    EXPECT_EQ(compareListOrder("\x81\x5A" "A", "\x81\x5A" "a"), 0);
}

TEST(ListOrderTest, FindReturnsIndexOrInsertionPoint) {
    std::vector<std::string> list = {"alpha", "Beta", "beta", "gamma", "\xB0\xA1"};
    SortedFind hit = findSorted(list, "BETA");
    EXPECT_TRUE(hit.found);
    EXPECT_EQ(hit.index, 1u);  // the first of the equal keys
    SortedFind miss = findSorted(list, "delta");
    EXPECT_FALSE(miss.found);
    EXPECT_EQ(miss.index, 3u);
    EXPECT_EQ(findSorted({}, "x").index, 0u);
    EXPECT_EQ(findSorted(list, "\xC0\xA1").index, 5u);
}

TEST(ListOrderTest, SortsParallelListsTogether) {
    std::vector<std::string> keys = {"pear", "Apple", "fig", "apple"};
    std::vector<std::string> values = {"p", "A", "f", "a", "extra"};
    sortWithParallel(keys, {&values});
    EXPECT_EQ(keys, (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));
    EXPECT_EQ(values, (std::vector<std::string>{"A", "a", "f", "p", "extra"}));
    EXPECT_TRUE(isListOrdered(keys));
}

TEST(ListOrderTest, InsertKeepsOrderAndPutsEqualKeysLast) {
    std::vector<std::string> list = {"a", "c"};
    EXPECT_EQ(insertSorted(list, "b"), 1u);
    EXPECT_EQ(insertSorted(list, "A"), 1u);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "A", "b", "c"}));
}

// Reference: decode characters, fold ASCII letters, compare the sequences.
std::vector<int> referenceKey(const std::string& s) {
    std::vector<int> key;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        if (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) {
            key.push_back(0x10000 + (c << 8) + static_cast<unsigned char>(s[i + 1]));
            i += 2;
        } else {
            key.push_back((c >= 'A' && c <= 'Z') ? c + 32 : c);
            ++i;
        }
    }
    return key;
}

TEST(ListOrderTest, AgreesWithReferenceOnGeneratedStrings) {
    std::mt19937 random(7);
    const std::string pieces[] = {"a", "A", "z", "Z", "_", " ", "\x81\x5A", "\x81\x7A", "\xB0\xA1", "\xD9\x61", "1"};
    auto make = [&] {
        std::string s;
        int n = static_cast<int>(random() % 5);
        for (int i = 0; i < n; ++i) s += pieces[random() % std::size(pieces)];
        return s;
    };
    for (int round = 0; round < 5000; ++round) {
        std::string a = make(), b = make();
        auto ka = referenceKey(a), kb = referenceKey(b);
        int expected = ka < kb ? -1 : (kb < ka ? 1 : 0);
        // Characters are compared one by one; lead bytes above every ASCII byte keep the
        // byte-wise and the character-wise orders the same.
        ASSERT_EQ(sign(compareListOrder(a, b)), expected) << a << " vs " << b;
    }
}

// Keys with a long common start: equal bytes are passed over in blocks, and where the texts
// part the walk must know whether it stands on a trail byte, also after a run of double-byte
// characters whose trail bytes could lead one.
TEST(ListOrderTest, AgreesWithReferenceAfterALongCommonStart) {
    std::mt19937 random(11);
    const std::string pieces[] = {"a", "A", "q", "Q", " ", "\x81\x81", "\xB0\xFE", "\xB0\xA1", "\xD9\x61", "\x81\x5A", "\xFE\x40", "7"};
    auto make = [&](int most) {
        std::string s;
        const int n = static_cast<int>(random() % static_cast<unsigned>(most + 1));
        for (int i = 0; i < n; ++i) s += pieces[random() % std::size(pieces)];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string start = make(14);
        const std::string a = start + make(3), b = start + make(3);
        auto ka = referenceKey(a), kb = referenceKey(b);
        const int expected = ka < kb ? -1 : (kb < ka ? 1 : 0);
        ASSERT_EQ(sign(compareListOrder(a, b)), expected) << a << " vs " << b;
        ASSERT_EQ(sign(compareListOrder(b, a)), -expected) << b << " vs " << a;
    }
}

}  // namespace
}  // namespace tavricat
