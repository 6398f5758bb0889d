// tm import FILE.tmx [--keep-same]; tm export FILE.tmx — translation memories exchanged with
// other tools in TMX 1.4b.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/library_update_setup.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "memory/tmx.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

int runImport(const CliContext& context, const std::string& path, bool keepSame) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        LibraryUpdateContext update = libraryUpdateContextOf(bench, true);
        Result<TmxImportCounts> counts = importTmx(update, path, !keepSame);
        if (!counts) return fail(counts.status());
        const FileUpdateCounts& pairs = counts->pairs;
        if (context.json) {
            std::cout << nlohmann::json{{"units", counts->units},      {"other_languages", counts->otherLanguages},
                                        {"not_gbk", counts->notGbk},   {"pairs", pairs.pairsRead},
                                        {"added", pairs.added()},      {"same", pairs.same},
                                        {"refused", pairs.refused},    {"examples", pairs.librarySize}}
                             .dump(2)
                      << '\n';
        } else {
            std::cout << counts->units << " units: " << pairs.pairsRead << " pairs (" << pairs.added() << " new, "
                      << pairs.same << " same sentence, " << pairs.refused << " refused), " << counts->otherLanguages
                      << " in other languages, " << counts->notGbk.size() << " with text GBK cannot hold; "
                      << pairs.librarySize << " examples\n";
            for (std::size_t unit : counts->notGbk)
                std::cerr << path << ": unit " << unit << ": text GBK cannot hold; not imported\n";
        }
        return kExitOk;
    });
}

int runExport(const CliContext& context, const std::string& path) {
    return withReadOnlyWorkbench(context, [&](Workbench& bench) -> int {
        Result<std::size_t> written = exportTmx(bench.sentenceLibrary, bench.direction(), path);
        if (!written) return fail(written.status());
        if (context.json) std::cout << nlohmann::json{{"units", *written}, {"file", path}}.dump(2) << '\n';
        else std::cout << *written << " units written to " << path << '\n';
        return kExitOk;
    });
}

}  // namespace

void registerTmxCommands(CLI::App& tm, CliContext& context) {
    struct Args {
        std::string file;
        bool keepSame = false;
    };
    auto args = std::make_shared<Args>();
    CLI::App* import = tm.add_subcommand("import", "Add the English-Chinese pairs of a TMX file to the library and save it");
    import->add_option("file", args->file, "The TMX file")->required()->check(CLI::ExistingFile);
    import->add_flag("--keep-same", args->keepSame, "Keep the stored translation of a sentence already held");
    import->callback([&context, args] { context.exitCode = runImport(context, args->file, args->keepSame); });
    CLI::App* exported = tm.add_subcommand("export", "Write the library as a TMX 1.4b file");
    exported->add_option("file", args->file, "The TMX file to write")->required();
    exported->callback([&context, args] { context.exitCode = runExport(context, args->file); });
}

}  // namespace tavricat::cli
