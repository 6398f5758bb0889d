// The undo history of the document buffer: which changes make one step, what undo and redo
// bring back (text, formats with protection, selection), and its bounds. The program commands
// are checked against a dump of the buffer taken before and after them.

#include <gtest/gtest.h>

#include <random>

#include "document/document.h"
#include "document/document_files.h"
#include "document/markup.h"
#include "document/segment_edit.h"
#include "document/segment_writer.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

// Text, runs (with the format properties that matter here) and selection, on one line.
std::string dump(const RichText& text) {
    std::string out = text.text() + " |";
    for (const RichText::Run& run : text.runs()) {
        out += ' ' + std::to_string(run.start) + '+' + std::to_string(run.length);
        if (run.format->isProtected) out += 'p';
        if (run.format->bold) out += 'b';
        if (run.format->colour) out += 'c' + std::to_string(run.format->colour);
    }
    return out + " | sel " + std::to_string(text.selStart()) + '+' + std::to_string(text.selLength());
}

// The text and runs of a dump, without the selection.
std::string content(const std::string& dumped) { return dumped.substr(0, dumped.rfind(" | sel")); }

// A person's typing: each character inserted at the caret, as the view hands it over.
// False when the buffer refused one.
bool type(RichText& text, std::string_view chars) {
    for (std::size_t i = 0; i < chars.size();) {
        const std::size_t n = static_cast<unsigned char>(chars[i]) >= 0x81 ? 2 : 1;
        if (!text.replace(text.caret(), 0, chars.substr(i, n))) return false;
        i += n;
    }
    return true;
}

bool backspace(RichText& text, int times) {
    for (int i = 0; i < times; ++i) {
        const std::size_t caret = text.caret();
        if (caret == 0) return false;
        const std::size_t n = caret >= 2 && static_cast<unsigned char>(text.at(caret - 2)) >= 0x81 ? 2 : 1;
        if (!text.replace(caret - n, n, "")) return false;
    }
    return true;
}

RichText bufferOf(std::string_view plain) {
    RichText text;
    text.append(plain, text.defaultFormat());
    text.setModified(false);
    return text;
}

// A bilingual buffer of confirmed segments with protected markers.
RichText confirmedSegments() {
    RichText text = bufferOf("A. B. C.");
    for (std::size_t start : {6u, 3u, 0u}) {
        text.select(start, 2);
        TargetWrite how;
        how.similarity = 0.9;
        EXPECT_TRUE(addatarget(text, start == 0 ? "甲。" : start == 3 ? "乙。" : "丙。", how).isOk());
    }
    text.clearHistory();
    text.setModified(false);
    return text;
}

TEST(RichTextUndo, TypingAndBackspacesMergeUntilTheCaretJumpsOrAnotherChangeComes) {
    RichText text = bufferOf("one two");
    text.setCaret(3);
    const std::string start = dump(text);
    ASSERT_TRUE(type(text, " and 三"));
    EXPECT_EQ(text.text(), "one and 三 two");
    EXPECT_EQ(text.undoCount(), 1u);
    ASSERT_TRUE(backspace(text, 2));  // 三 and the blank
    EXPECT_EQ(text.text(), "one and two");
    EXPECT_EQ(text.undoCount(), 2u);
    const std::string typed = dump(text);

    text.setCaret(0);  // a jump: typing there is a new step
    ASSERT_TRUE(type(text, "xy"));
    text.setFormat(0, 1, CharFormat{.bold = true});  // another kind of change
    ASSERT_TRUE(type(text, "z"));
    EXPECT_EQ(text.undoCount(), 5u);

    for (int i = 0; i < 3; ++i) ASSERT_TRUE(text.undo());
    EXPECT_EQ(content(dump(text)), content(typed));
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(text.text(), "one and 三 two");
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(dump(text), start);
    EXPECT_FALSE(text.canUndo());
    EXPECT_TRUE(text.modified());
}

TEST(RichTextUndo, RedoReappliesAndANewChangeForgetsIt) {
    RichText text = bufferOf("abc");
    text.setCaret(3);
    ASSERT_TRUE(type(text, "de"));
    ASSERT_TRUE(text.erase(0, 1));
    const std::string after = dump(text);
    ASSERT_TRUE(text.undo());
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(text.text(), "abc");
    ASSERT_TRUE(text.redo());
    ASSERT_TRUE(text.redo());
    EXPECT_EQ(dump(text), after);
    EXPECT_FALSE(text.redo());

    ASSERT_TRUE(text.undo());
    EXPECT_TRUE(text.canRedo());
    text.setCaret(0);
    ASSERT_TRUE(type(text, "q"));  // a new change after undo
    EXPECT_FALSE(text.canRedo());
    EXPECT_EQ(text.text(), "qabcde");
    ASSERT_TRUE(text.undo());
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(text.text(), "abc");
}

TEST(RichTextUndo, ProgramCommandsAreOneStepThatRestoresMarkersAndProtection) {
    Document document;
    document.bilingual = confirmedSegments();
    RichText& bilingual = document.bilingual;
    ASSERT_EQ(bilingual.text(), "{*>A.<}90{>甲。<*} {*>B.<}90{>乙。<*} {*>C.<}90{>丙。<*}");
    bilingual.select(4, 25);
    const std::string before = dump(bilingual);
    ASSERT_TRUE(mergeSegments(document, Direction::EC).isOk());
    const std::string merged = dump(bilingual);
    ASSERT_EQ(bilingual.text(), "{*>A. B.<}90{>甲。乙。<*} {*>C.<}90{>丙。<*}");
    EXPECT_EQ(bilingual.undoCount(), 1u);
    ASSERT_TRUE(bilingual.undo());
    EXPECT_EQ(dump(bilingual), before);
    ASSERT_TRUE(bilingual.redo());
    EXPECT_EQ(dump(bilingual), merged);

    bilingual.select(4, 2);
    ASSERT_TRUE(untranslateSegment(document).isOk());
    EXPECT_EQ(bilingual.text(), "A. B. {*>C.<}90{>丙。<*}");
    ASSERT_TRUE(bilingual.undo());
    EXPECT_EQ(content(dump(bilingual)), content(merged));
    EXPECT_EQ(bilingual.selStart(), 4u);  // the selection the command was given

    // A written segment, and the revision of its translation.
    RichText text = bufferOf("Hi. Bye.");
    text.select(4, 4);
    const std::string plain = dump(text);
    ASSERT_TRUE(addatarget(text, "再见。", TargetWrite{}).isOk());
    const std::string written = dump(text);
    text.select(text.find("再见", 0), 6);
    TargetWrite revise;
    revise.revising = true;
    ASSERT_TRUE(addatarget(text, "回头见。", revise).isOk());
    EXPECT_EQ(text.undoCount(), 2u);
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(text.text(), "Hi. {*>Bye.<}999{>再见。<*}");
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(dump(text), plain);
    ASSERT_TRUE(text.redo());
    EXPECT_EQ(dump(text), written);
}

TEST(RichTextUndo, UndoCrossesProtectedTextThatAPersonStillCannotEdit) {
    RichText text = confirmedSegments();
    const std::string before = dump(text);
    EXPECT_FALSE(text.erase(0, 3));  // the person cannot delete a marker
    // A program step that rewrites protected text; undo needs no program-edit flag.
    {
        RichText::UndoStep step(text);
        RichText::ProgramEdit edit(text);
        ASSERT_TRUE(text.erase(0, text.find(" ", 0) + 1));
        ASSERT_TRUE(text.changeFormat(0, text.size(), [](CharFormat& f) { f.isProtected = false; }));
    }
    EXPECT_FALSE(text.isProtected(0, text.size()));
    EXPECT_EQ(text.undoCount(), 1u);
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(dump(text), before);
    EXPECT_FALSE(text.erase(0, 3));
    EXPECT_FALSE(text.insert(1, "x"));
    ASSERT_TRUE(text.redo());
    EXPECT_TRUE(text.erase(0, 3));
}

TEST(RichTextUndo, NestedStepsFoldIntoTheOuterAndUndoWaitsForItToClose) {
    RichText text = bufferOf("abc");
    {
        RichText::UndoStep outer(text);
        ASSERT_TRUE(text.insert(0, "1"));
        {
            RichText::UndoStep inner(text);
            ASSERT_TRUE(text.insert(4, "2"));
        }
        EXPECT_FALSE(text.undo());  // the step is still open
        ASSERT_TRUE(text.erase(1, 1));
    }
    EXPECT_EQ(text.text(), "1bc2");
    EXPECT_EQ(text.undoCount(), 1u);
    ASSERT_TRUE(text.undo());
    EXPECT_EQ(text.text(), "abc");
    // A step that changed nothing leaves no step.
    { RichText::UndoStep empty(text); }
    EXPECT_EQ(text.undoCount(), 0u);
}

TEST(RichTextUndo, TheHistoryIsBoundedInStepsAndBytes) {
    RichText text = bufferOf("");
    for (int i = 0; i < 300; ++i) {
        text.setCaret(text.size());  // a step of its own each: the format change between
        ASSERT_TRUE(text.insert(text.size(), std::to_string(i % 10)));
        ASSERT_TRUE(text.setFormat(0, 1, CharFormat{.bold = i % 2 == 0}));
    }
    EXPECT_EQ(text.undoCount(), RichText::kMaxUndoSteps);
    while (text.undo()) {
    }
    EXPECT_EQ(text.size(), 200u);  // the oldest 100 inserts stay: their steps were dropped

    // Each replacement keeps the 4 MB it removed: the oldest go past 32 MB.
    RichText big = bufferOf(std::string(4u << 20, 'a'));
    for (int i = 0; i < 12; ++i) ASSERT_TRUE(big.replace(0, big.size(), std::string(4u << 20, static_cast<char>('b' + i))));
    EXPECT_LE(big.historyBytes(), RichText::kMaxUndoBytes);
    EXPECT_LT(big.undoCount(), 12u);
    EXPECT_GE(big.undoCount(), 1u);
    ASSERT_TRUE(big.undo());
    EXPECT_EQ(big.at(0), static_cast<char>('b' + 10));
}

TEST(RichTextUndo, LoadingEmptiesTheHistory) {
    RichText text = bufferOf("abc");
    ASSERT_TRUE(text.erase(0, 1));
    text.clear();
    EXPECT_FALSE(text.canUndo());

    testing::TempFolder dir;
    dir.write("a.txt", "Hello.\r\n");
    DiskFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    DocumentContext context{fs, dialogs, progress, dir.path(), {}};
    Document document;
    document.bilingual = bufferOf("old");
    ASSERT_TRUE(document.bilingual.erase(0, 1));
    ASSERT_TRUE(openAfile(document, context, dir.file("a.txt")).isOk());
    EXPECT_FALSE(document.bilingual.canUndo());
    EXPECT_FALSE(document.source.canUndo());
}

// Random edits of every kind, some grouped in steps, some typed: undoing them one by one
// passes through exactly the states seen after each step, and redoing comes back.
TEST(RichTextUndo, RandomEditsUndoAndRedoThroughEveryRecordedState) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        RichText text = bufferOf("The first line.\r\n中文的一行。\r\nlast");
        text.setAlwaysEditable(round % 2 == 0);
        std::vector<std::string> states{dump(text)};
        auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
        CharFormat marker;
        marker.isProtected = true;
        marker.colour = 8388736;
        for (int edit = 0; edit < 60; ++edit) {
            const std::size_t before = text.undoCount();
            const std::size_t pos = pick(text.size());
            const std::size_t length = pick(std::min<std::size_t>(6, text.size() - pos));
            switch (pick(5)) {
                case 0: text.setCaret(pos); type(text, pick(1) ? "ab" : "甲乙c"); break;
                case 1: text.setCaret(std::max<std::size_t>(pos, 3)); backspace(text, 2); break;
                case 2: text.replace(pos, length, pick(1) ? "XYZ" : ""); break;
                case 3: text.setFormat(pos, length, pick(1) ? marker : CharFormat{.bold = true}); break;
                default: {
                    RichText::UndoStep step(text);
                    RichText::ProgramEdit program(text);
                    text.insert(pos, "{*>", marker);
                    text.erase(pos / 2, length);
                    text.insert(text.caret(), "q");
                    text.changeFormat(pos / 3, length, [](CharFormat& f) { f.italic = !f.italic; });
                    text.replace(pos / 2, 1, "R");
                    break;
                }
            }
            text.select(pick(text.size()), 0);  // ends any typing: every step is its own state
            if (text.undoCount() > before) states.push_back(dump(text));
        }
        ASSERT_LT(text.undoCount(), RichText::kMaxUndoSteps);
        ASSERT_EQ(text.undoCount() + 1, states.size());
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(text.undo());
            ASSERT_EQ(content(dump(text)), content(states[i - 1])) << "round " << round << " step " << i;
        }
        EXPECT_FALSE(text.undo());
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(text.redo());
            ASSERT_EQ(content(dump(text)), content(states[i])) << "round " << round << " redo " << i;
        }
    }
}

}  // namespace
}  // namespace tavricat
