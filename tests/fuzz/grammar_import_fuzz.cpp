// A .sag grammar import from any bytes, in the direction the first byte picks. Each run starts
// from the delivered grammar library; every line of the file is counted exactly once, and a
// file that cannot be read as text is refused whole.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_bench.h"
#include "app/grammar_commands.h"

namespace {

using namespace tavricat;

struct State {
    fuzz::BothDirections benches;
    GrammarLibrary ecGrammar = benches.ec->grammar;  // as delivered, restored before each run
    GrammarLibrary ceGrammar = benches.ce->grammar;
    std::string path = fuzz::home().folder + "/input.sag";
};

State* g_state = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_state = new State;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 16384) return 0;
    Workbench& bench = g_state->benches.pick(data[0]);
    bench.grammar = (data[0] & 1) ? g_state->ceGrammar : g_state->ecGrammar;
    fuzz::writeFile(g_state->path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

    const std::size_t anchorsBefore = bench.grammar.anchors.size();
    Result<GrammarImportReport> report = importGrammarFile(bench, g_state->path);
    if (!report) {
        // A file that is not text the program can read (a BOM before bytes that are not
        // UTF-8, say) is refused whole, with a message, and changes nothing.
        fuzz::check(report.status().kind() == ErrorKind::BadInput && !report.status().message().empty());
        fuzz::check(bench.grammar.anchors.size() == anchorsBefore);
        return 0;
    }
    fuzz::check(report->added + report->deleted + report->unchanged + report->blank + report->refused.size() ==
                report->lines);
    return 0;
}
