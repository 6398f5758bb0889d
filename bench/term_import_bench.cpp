// "更新词库": a term list of 50,000 lines (key TAB meanings) merged into the term base of a
// program folder filled from the delivered files, and the term base saved, as the window
// does it ("合并"). Each iteration starts from the delivered term base again (a fresh folder's,
// which is empty), and once more from one that already holds 100,000 entries, half of the
// list's keys among them. Goal: under 2 s.
//   build/bench/term_import_bench

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/program_folder_setup.h"
#include "app/term_base_import.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "base/list_order.h"
#include "engine/term_file_import.h"
#include "base/ports.h"
#include "synthetic_text.h"

namespace tavricat {
namespace {

// English keys of one to three words, meanings of one to four items separated by ";" and "；".
std::string termList(std::size_t lines) {
    bench::EnglishSentences generator(11, 20000);
    const auto& words = generator.vocabulary();
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        std::string key = words[i % words.size()];
        if (i >= words.size()) key += " " + words[(i * 7919) % words.size()];
        if (i % 3 == 0) key += " " + words[(i * 104729) % words.size()];
        text += key + "\t术语" + std::to_string(i);
        if (i % 2) text += ";词义" + std::to_string(i % 97);
        if (i % 5 == 0) text += "；解释";
        text += "\r\n";
    }
    return text;
}

void importTermList(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    const auto held = static_cast<std::size_t>(state.range(1));
    char folder[] = "/tmp/tavricat-term-import-bench.XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    const std::string home = std::string(folder) + "/home";
    DiskFileSystem disk;
    if (!completeProgramFolder(disk, TAVRICAT_DELIVERED_DIR, home)) std::abort();
    const std::string list = std::string(folder) + "/terms.txt";
    if (!disk.writeFile(list, termList(lines))) std::abort();

    SilentDialogs dialogs;
    SilentProgress progress;
    WorkbenchOptions options;
    options.settingsPath = std::string(folder) + "/settings.ini";
    Workbench bench(disk, Workspace(disk, home), dialogs, progress, options);
    if (!bench.start()) std::abort();
    TermBase delivered = bench.engine.termBase;
    if (held > 0) {
        // Every other line's key of the list, and keys of their own.
        LineList keys;
        Result<std::vector<TermPair>> pairs = readTermFile(disk, list);
        if (!pairs) std::abort();
        for (const TermPair& pair : *pairs) keys.push_back(pair.key);
        keys.resize(keys.size() / 2);
        for (std::size_t i = 0; keys.size() < held; ++i) keys.push_back("held term " + std::to_string(i));
        std::sort(keys.begin(), keys.end(), ListOrderLess{});
        keys.erase(std::unique(keys.begin(), keys.end(),
                               [](const std::string& a, const std::string& b) { return compareListOrder(a, b) == 0; }),
                   keys.end());
        delivered.termKeys = keys;
        delivered.termEntries.assign(keys.size(), "旧义|术语^^n^");
    }
    TermImportTotals totals;
    for (auto _ : state) {
        state.PauseTiming();
        bench.editTermBase([&](TermBase& base) { base = delivered; });
        state.ResumeTiming();
        totals = importTermFiles(bench, {list}, false, progress);
        if (!totals.saved) state.SkipWithError("the term base was not saved");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines));
    state.counters["delivered_entries"] = static_cast<double>(delivered.size());
    state.counters["entries_after"] = static_cast<double>(totals.termBaseSize);
    state.counters["new_entries"] = static_cast<double>(totals.added);
    std::system((std::string("rm -rf ") + folder).c_str());
}

BENCHMARK(importTermList)
    ->Name("term_import/50000_lines")
    ->Args({50000, 0})
    ->Args({50000, 100000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace tavricat

BENCHMARK_MAIN();
