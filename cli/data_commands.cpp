// data verbs INPUT OUT
// Builders of the data files delivered with the program. `data verbs` writes the irregular
// form table (verb.dat) from "form<TAB>base form" lines (GBK or ASCII); pairs the table
// cannot hold (a form over 29 bytes, a base form over 99) are left out and named on stderr.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "cli_context.h"
#include "commands.h"
#include "engine/verb_forms.h"

namespace tavricat::cli {

namespace {

int runVerbs(const CliContext& context, const std::string& input, const std::string& output) {
    DiskFileSystem fs;
    Result<std::string> bytes = fs.readFile(input);
    if (!bytes) return fail(bytes.status());
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t lineNumber = 0, skipped = 0;
    for (const std::string& line : splitLines(*bytes)) {
        ++lineNumber;
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            std::cerr << input << ":" << lineNumber << ": no TAB between form and base form\n";
            return kExitFailure;
        }
        std::string form = line.substr(0, tab), base = line.substr(tab + 1);
        if (Result<std::string> checked = verbFormLine(form, base); !checked) {
            std::cerr << input << ":" << lineNumber << ": left out: " << encoding::gbkToUtf8Lossy(checked.status().message())
                      << '\n';
            ++skipped;
            continue;
        }
        pairs.emplace_back(std::move(form), std::move(base));
    }
    const std::size_t written = pairs.size();
    if (Status s = writeVerbForms(fs, output, std::move(pairs)); !s) return fail(s);
    if (context.json)
        std::cout << nlohmann::json{{"forms", written}, {"skipped", skipped}}.dump() << '\n';
    else
        std::cout << written << " forms, " << skipped << " left out -> " << output << '\n';
    return kExitOk;
}

}  // namespace

void registerDataCommands(CLI::App& app, CliContext& context) {
    CLI::App* data = app.add_subcommand("data", "Build the data files delivered with the program");
    data->require_subcommand(1);

    struct VerbArgs {
        std::string input, output;
    };
    auto verbArgs = std::make_shared<VerbArgs>();
    CLI::App* verbs = data->add_subcommand("verbs", "Write verb.dat from form<TAB>base lines");
    verbs->add_option("input", verbArgs->input)->required();
    verbs->add_option("out", verbArgs->output)->required();
    verbs->callback([&context, verbArgs] { context.exitCode = runVerbs(context, verbArgs->input, verbArgs->output); });
}

}  // namespace tavricat::cli
