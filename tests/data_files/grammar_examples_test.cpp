// The starter grammar checked against the sentences it was written for. Every record of
// data/grammar/starter_EC.sag / starter_CE.sag has a line in examples_EC.tsv / examples_CE.tsv
// (UTF-8: the record's pattern, TAB, a sentence, TAB, a piece of text the record's template
// fixes). On a program folder made from the delivered data, the sentence must place the
// pattern (a collocation record, which places nothing, must be kept by the grammar result)
// and its machine translation must hold the piece. The pieces are template text, never the
// words filled in, so the checks hold whichever dictionary meaning comes first.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/workbench_fixture.h"
#include "base/encoding.h"
#include "base/file_system.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "grammar/grammar_record.h"
#include "grammar/translation_pipeline.h"

namespace tavricat {
namespace {

const std::string kGrammarFolder = std::string(TAVRICAT_DELIVERED_DIR) + "/../grammar/";
constexpr std::size_t kMinimumRecords = 150;

struct Example {
    std::size_t line = 0;  // 1-based line of the examples file
    std::string pattern;   // GBK, as the record's source field
    std::string sentence;  // GBK
    std::string fragment;  // GBK
};

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

// The records of a starter file by their source pattern.
std::map<std::string, GrammarRecord> starterRecords(const std::string& direction) {
    DiskFileSystem fs;
    Result<LineList> lines = loadLines(fs, kGrammarFolder + "starter_" + direction + ".sag");
    EXPECT_TRUE(lines.isOk()) << direction;
    std::map<std::string, GrammarRecord> records;
    if (!lines) return records;
    for (const std::string& line : *lines) {
        if (gbk::trim(line).empty()) continue;
        GrammarRecord record = splitGrammarRecord(line);
        EXPECT_TRUE(records.emplace(record.source, record).second) << "twice: " << utf8(record.source);
    }
    return records;
}

std::vector<Example> examplesOf(const std::string& direction) {
    DiskFileSystem fs;
    const std::string path = kGrammarFolder + "examples_" + direction + ".tsv";
    Result<std::string> text = fs.readFile(path);
    EXPECT_TRUE(text.isOk()) << path;
    std::vector<Example> examples;
    if (!text) return examples;
    std::size_t number = 0;
    for (std::size_t pos = 0; pos < text->size();) {
        std::size_t end = text->find('\n', pos);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> fields;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string::npos ? tab : tab - from));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        if (fields.size() != 3 || fields[1].empty() || fields[2].empty()) {
            ADD_FAILURE() << path << ":" << number << ": not PATTERN<TAB>SENTENCE<TAB>FRAGMENT: " << line;
            continue;
        }
        Example example{number, {}, {}, {}};
        for (auto [field, out] : {std::pair{&fields[0], &example.pattern}, {&fields[1], &example.sentence},
                                  {&fields[2], &example.fragment}}) {
            Result<std::string> gbkText = encoding::utf8ToGbk(*field);
            if (!gbkText) ADD_FAILURE() << path << ":" << number << ": not GBK text: " << *field;
            *out = gbkText ? *gbkText : std::string();
        }
        examples.push_back(std::move(example));
    }
    return examples;
}

TEST(StarterGrammarExamples, EachDirectionHasEnoughRecordsEachWithItsExample) {
    for (const std::string direction : {"EC", "CE"}) {
        const std::map<std::string, GrammarRecord> records = starterRecords(direction);
        const std::vector<Example> examples = examplesOf(direction);
        EXPECT_GE(records.size(), kMinimumRecords) << direction;
        for (const auto& [source, record] : records) {
            EXPECT_TRUE(std::any_of(examples.begin(), examples.end(),
                                    [&](const Example& e) { return e.pattern == source; }))
                << direction << ": no example for " << utf8(source);
            EXPECT_TRUE(parseGrammarRecord(formatGrammarRecord(record)).isOk()) << utf8(source);
        }
        for (const Example& example : examples)
            EXPECT_TRUE(records.count(example.pattern)) << direction << " line " << example.line
                                                        << ": no record " << utf8(example.pattern);
    }
}

class StarterGrammarTranslation : public testing::WorkbenchFixture {
protected:
    // One line per example that fails, empty when all pass.
    std::string failuresIn(Direction direction, const std::string& name) {
        const std::map<std::string, GrammarRecord> records = starterRecords(name);
        const std::vector<Example> examples = examplesOf(name);
        EXPECT_FALSE(examples.empty()) << name;
        auto bench = makeWorkbench(direction);
        Status started = bench->start();
        if (!started.isOk()) return name + ": the workbench did not start: " + utf8(started.message());

        std::string failures;
        for (const Example& example : examples) {
            const auto record = records.find(example.pattern);
            if (record == records.end()) continue;  // reported by the test above
            const std::string key =
                gbk::asciiLower(grammarPatternKey(example.pattern, bench->engine, bench->analysisOptions()));

            std::string sentence = example.sentence;
            std::string cleaned;
            const PipelineContext context{bench->engine, bench->analysisOptions(), bench->grammar,
                                          bench->selectedDomainNames};
            prepareSent(sentence, cleaned, context, false);
            const GrammarPlacement& placement = bench->engine.grammarPlacement;
            const std::vector<MatchRecord>& table = placement.matchTable;
            const bool collocation = record->second.option.starts_with('0');
            const bool found =
                collocation ? bench->engine.workSent.grammarText.find(key + ">") != std::string::npos
                            : std::any_of(table.begin(), table.end(), [&](const MatchRecord& r) {
                                  return !r.disabled() && r.pattern == key;
                              });
            const std::string translation = machineTranslate(bench->engine.workSent, placement, direction);
            const bool holds = translation.find(example.fragment) != std::string::npos;
            if (found && holds) continue;
            failures += name + " line " + std::to_string(example.line) + ": [" + utf8(example.pattern) + "] " +
                        utf8(example.sentence) + " => " + utf8(translation) +
                        (found ? "" : "  (pattern \"" + utf8(key) + "\" not placed)") +
                        (holds ? "" : "  (no \"" + utf8(example.fragment) + "\")") + "\n";
        }
        return failures;
    }
};

TEST_F(StarterGrammarTranslation, EveryExampleSentencePlacesItsPatternAndKeepsTheTemplateText) {
    EXPECT_EQ(failuresIn(Direction::EC, "EC"), "");
    EXPECT_EQ(failuresIn(Direction::CE, "CE"), "");
}

}  // namespace
}  // namespace tavricat
