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
    fuzz::BothDirections benches;
    std::string folder = fuzz::home().folder;
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
