// qa FILE.bil [--json] — the quality checks of a bilingual document: every finding with the
// line of its segment; exits 1 when anything is found, 0 when nothing is.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/workbench.h"
#include "base/encoding.h"
#include "batch/qa_checks.h"
#include "cli_context.h"
#include "commands.h"
#include "document/rtf_reader.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

int runQa(const CliContext& context, const std::string& path) {
    return withReadOnlyWorkbench(context, [&](Workbench& bench) -> int {
        Result<RichText> document = loadRichTextFile(bench.fs(), path);
        if (!document) return fail(document.status());
        const std::vector<QaSegment> segments = bilingualSegments(document->text());
        const std::vector<QaFinding> findings = checkSegments(segments, bench.direction(), &bench.engine.termBase, &bench.engine.systemDictionary);
        if (context.json) {
            nlohmann::json list = nlohmann::json::array();
            for (const QaFinding& finding : findings) {
                const QaSegment& at = segments[finding.segment];
                list.push_back({{"kind", qaKindName(finding.kind)},
                                {"segment", finding.segment + 1},
                                {"line", at.line},
                                {"source", encoding::gbkToUtf8Lossy(at.source)},
                                {"translation", encoding::gbkToUtf8Lossy(at.translation)},
                                {"detail", encoding::gbkToUtf8Lossy(finding.detail)}});
            }
            std::cout << nlohmann::json{{"segments", segments.size()}, {"findings", list}}.dump(2) << '\n';
        } else {
            for (const QaFinding& finding : findings)
                std::cout << path << ':' << segments[finding.segment].line << ": " << qaKindName(finding.kind) << ": "
                          << encoding::gbkToUtf8Lossy(finding.detail) << '\n';
            std::cout << segments.size() << " segments, " << findings.size()
                      << (findings.size() == 1 ? " finding\n" : " findings\n");
        }
        return findings.empty() ? kExitOk : kExitFailure;
    });
}

}  // namespace

void registerQaCommands(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    CLI::App* qa = app.add_subcommand("qa", "Check the translations of a bilingual document: tags, numbers, terms, "
                                            "untranslated or empty segments, consistency, blanks, punctuation");
    qa->add_option("file", *path, "The bilingual document (.bil)")->required()->check(CLI::ExistingFile);
    qa->callback([&context, path] { context.exitCode = runQa(context, *path); });
}

}  // namespace tavricat::cli
