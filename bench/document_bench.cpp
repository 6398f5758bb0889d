// Segmentation throughput, the cost of writing segments into one buffer, and of the undo
// history that records a person's typing and the program's merges.
//   build/bench/document_bench

#include <benchmark/benchmark.h>

#include "document/document.h"
#include "document/rich_text.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "document/segment_edit.h"
#include "document/segment_writer.h"
#include "document/sentence_getters.h"
#include "latency.h"
#include "synthetic_text.h"

namespace tavricat {
namespace {

const std::vector<std::string> kNoWords;

// Cuts a whole buffer sentence by sentence, as the segment command does.
template <typename Getter>
std::size_t cutAll(RichText& buffer, Getter getter) {
    std::size_t sentences = 0;
    buffer.setCaret(0);
    while (buffer.caret() < buffer.size()) {
        std::size_t before = buffer.caret();
        SentencePick pick = getter(buffer);
        if (pick.sentence.empty()) break;
        ++sentences;
        buffer.setCaret(buffer.selStart() + buffer.selLength());
        if (buffer.caret() <= before) buffer.setCaret(before + 1);
    }
    return sentences;
}

void BM_SegmentEnglish(benchmark::State& state) {
    bench::EnglishSentences generator(1);
    RichText buffer;
    buffer.append(bench::document(generator, static_cast<std::size_t>(state.range(0))), CharFormat{});
    SortedListsLookup abbreviations({&kNoWords});
    std::size_t sentences = 0;
    for (auto _ : state)
        sentences = cutAll(buffer, [&](RichText& b) { return getASentEC(b, BreakOptions{}, abbreviations); });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
    state.counters["sentences"] = static_cast<double>(sentences);
}
BENCHMARK(BM_SegmentEnglish)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_SegmentChinese(benchmark::State& state) {
    bench::ChineseSentences generator(2);
    RichText buffer;
    buffer.append(bench::document(generator, static_cast<std::size_t>(state.range(0))), CharFormat{});
    std::size_t sentences = 0;
    for (auto _ : state) sentences = cutAll(buffer, [](RichText& b) { return getASentCE(b, BreakOptions{}); });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
    state.counters["sentences"] = static_cast<double>(sentences);
}
BENCHMARK(BM_SegmentChinese)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// Writes a segment for each of N sentences of one document, front to back, as automatic
// translation does.
void BM_WriteSegments(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    bench::EnglishSentences generator(3);
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> sentences;
    for (std::size_t i = 0; i < count; ++i) {
        std::string s = generator.sentence();
        sentences.emplace_back(text.size(), s.size());
        text += s + " ";
    }
    for (auto _ : state) {
        state.PauseTiming();
        RichText buffer;
        buffer.append(text, CharFormat{});
        state.ResumeTiming();
        std::size_t shift = 0;
        TargetWrite how;
        how.similarity = 0.9;
        for (const auto& [start, length] : sentences) {
            buffer.select(start + shift, length);
            std::size_t before = buffer.size();
            auto written = addatarget(buffer, "这是一个译文句子。", how);
            benchmark::DoNotOptimize(written);
            shift += buffer.size() - before;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}
BENCHMARK(BM_WriteSegments)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Cuts a document and writes a segment for every sentence, as automatic translation does:
// each pick looks for the segment the caret stands in right after the buffer changed.
void BM_CutAndWriteSegments(benchmark::State& state) {
    bench::EnglishSentences generator(5);
    const std::string text = bench::document(generator, static_cast<std::size_t>(state.range(0)));
    SortedListsLookup abbreviations({&kNoWords});
    std::size_t sentences = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RichText buffer;
        buffer.append(text, CharFormat{});
        buffer.setCaret(0);
        sentences = 0;
        state.ResumeTiming();
        TargetWrite how;
        how.similarity = 0.9;
        for (;;) {
            SentencePick pick = getASentEC(buffer, BreakOptions{}, abbreviations);
            if (pick.sentence.empty() && !pick.revision) break;
            ++sentences;
            if (pick.revision || !addatarget(buffer, "这是一个译文句子。", how))
                buffer.setCaret(buffer.selStart() + buffer.selLength());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["sentences"] = static_cast<double>(sentences);
}
BENCHMARK(BM_CutAndWriteSegments)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// A translated document of about range(0) bytes: every sentence a segment.
RichText translatedDocument(std::size_t bytes) {
    bench::EnglishSentences generator(6);
    RichText buffer;
    buffer.append(bench::document(generator, bytes), CharFormat{});
    buffer.setCaret(0);
    SortedListsLookup abbreviations({&kNoWords});
    TargetWrite how;
    how.similarity = 0.9;
    for (;;) {
        SentencePick pick = getASentEC(buffer, BreakOptions{}, abbreviations);
        if (pick.sentence.empty() && !pick.revision) break;
        if (pick.revision || !addatarget(buffer, "这是一个译文句子。", how))
            buffer.setCaret(buffer.selStart() + buffer.selLength());
    }
    buffer.clearHistory();
    return buffer;
}

// A person's editing session on a translated document of range(0) bytes, every change
// recorded in the undo history: 10,000 characters typed in 100 bursts at places spread over
// the document (each burst one step), and 100 merges of two neighbouring segments (one step
// each). The history keeps only bytes that changed, so the cost per change does not grow with
// the document. `undo_all_ms` is the time to undo every step still held.
void BM_EditsRecordedForUndo(benchmark::State& state) {
    const RichText translated = translatedDocument(static_cast<std::size_t>(state.range(0)));
    std::size_t steps = 0, historyBytes = 0, merges = 0;
    double undoSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Document document;
        document.bilingual = translated;
        RichText& buffer = document.bilingual;
        merges = 0;
        state.ResumeTiming();
        const std::size_t stride = buffer.size() / 100;
        for (std::size_t burst = 0; burst < 100; ++burst) {
            // Typing lands at the start of a translation, which a person may change.
            std::size_t at = buffer.find("{>", burst * stride);
            at = at == RichText::npos ? buffer.size() : at + 2;
            buffer.setCaret(at);
            for (int c = 0; c < 100; ++c) {
                const char typed[1] = {static_cast<char>('a' + c % 26)};
                buffer.replace(buffer.caret(), 0, std::string_view(typed, 1));
            }
        }
        for (std::size_t merge = 0; merge < 100; ++merge) {
            const std::size_t first = buffer.find("{*>", merge * stride + stride / 2);
            const std::size_t second = first == RichText::npos ? first : buffer.find("{*>", first + 3);
            if (second == RichText::npos) continue;
            buffer.select(first + 4, second + 8 - (first + 4));  // ends inside the second
            if (mergeSegments(document, Direction::EC)) ++merges;
        }
        state.PauseTiming();
        steps = buffer.undoCount();
        historyBytes = buffer.historyBytes();
        const double start = bench::seconds();
        while (buffer.undo()) {
        }
        undoSeconds = bench::seconds() - start;
        state.ResumeTiming();
    }
    std::size_t segments = 0;
    for (std::size_t at = translated.find("{*>", 0); at != RichText::npos; at = translated.find("{*>", at + 3)) ++segments;
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["merges"] = static_cast<double>(merges);
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["history_kb"] = static_cast<double>(historyBytes) / 1024.0;
    state.counters["undo_all_ms"] = undoSeconds * 1e3;
}
BENCHMARK(BM_EditsRecordedForUndo)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

// Writing and reading a 1 MB bilingual document as RTF.
void BM_RtfRoundTrip(benchmark::State& state) {
    bench::ChineseSentences generator(4);
    RichText buffer;
    CharFormat bold;
    bold.bold = true;
    while (buffer.size() < static_cast<std::size_t>(state.range(0))) {
        buffer.append(generator.sentence(), CharFormat{});
        buffer.append(" bold\r\n", bold);
    }
    for (auto _ : state) {
        Result<RichText> back = readRichText(writeRtf(buffer));
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_RtfRoundTrip)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavricat

BENCHMARK_MAIN();
