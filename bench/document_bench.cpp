// Segmentation throughput and the cost of writing segments into one buffer.
//   build/bench/document_bench

#include <benchmark/benchmark.h>

#include "document/rich_text.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "document/segment_writer.h"
#include "document/sentence_getters.h"
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
