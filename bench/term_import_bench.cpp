// "更新词库": a term list of 50,000 lines (key TAB meanings) merged into the term base of a
// program folder filled from the delivered files, and the term base saved, as the window
// does it. Each iteration starts from the delivered term base again. Goal: under 2 s.
//   build/bench/term_import_bench

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/program_folder_setup.h"
#include "app/term_base_import.h"
#include "app/workbench.h"
#include "base/file_system.h"
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
    const TermBase delivered = bench.engine.termBase;
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

BENCHMARK(importTermList)->Name("term_import/50000_lines")->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tavricat

BENCHMARK_MAIN();
