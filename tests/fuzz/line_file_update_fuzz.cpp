// A library update from any bytes: the first byte picks the file kind (.exs pairs or
// alternating lines, .rf0 library lines) and the direction, the rest is the file. Each run
// starts from the same library; the counts must agree with what the library holds.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_bench.h"
#include "memory/library_update.h"

namespace {

using namespace tavricat;

struct State {
    std::unique_ptr<Workbench> ec, ce;
    std::string folder;
};

State* g_state = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_state = new State;
    g_state->ec = fuzz::startBench(Direction::EC);
    g_state->ce = fuzz::startBench(Direction::CE);
    g_state->folder = fuzz::home().folder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 16384) return 0;
    Workbench& bench = (data[0] & 1) ? *g_state->ce : *g_state->ec;
    const std::string path = g_state->folder + ((data[0] & 2) ? "/input.rf0" : "/input.exs");
    fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

    SentenceLibrary library = bench.sentenceLibrary;
    const std::size_t before = library.exampleCount();
    LibraryUpdateContext context{library,
                                 {bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames},
                                 bench.fs(),
                                 bench.dialogs(),
                                 nullptr};
    Result<FileUpdateCounts> counts = singleFileUpdate(context, path, (data[0] & 4) != 0);
    fuzz::check(library.exampleCount() >= before);
    if (counts) {
        fuzz::check(counts->librarySize == library.exampleCount());
        fuzz::check(counts->same + counts->refused <= counts->pairsRead);
        fuzz::check(library.exampleCount() - before <= counts->pairsRead);
    }
    return 0;
}
