#include "app/xliff_translation.h"

#include "app/sentence_translation_setup.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "base/file_system.h"
#include "document/xliff.h"
#include "engine/term_base_snapshot.h"
#include "interactive/sentence_translation.h"
#include "memory/example_adaptation.h"
#include "memory/fuzzy_search.h"

namespace tavricat {

Result<XliffCounts> translateXliffFile(Workbench& bench, const std::string& path, const std::string& output,
                                       bool machineTranslation) {
    Result<std::string> xml = bench.fs().readFile(path);
    if (!xml) return xml.status();
    if (xml->find("<xliff") == std::string::npos)
        return Status::error(ErrorKind::BadInput, "不是 XLIFF 文件: " + encoding::utf8ToGbkLossy(path));
    const std::vector<XliffUnit> units = xliffUnits(*xml);
    XliffCounts counts;
    counts.units = units.size();
    std::vector<XliffTarget> targets;
    // The analysis of the sources leaves the term base as it was.
    const TermBaseSnapshot unchanged(bench.engine.termBase);
    for (std::size_t u = 0; u < units.size(); ++u) {
        if (units[u].translated) {
            ++counts.kept;
            continue;
        }
        Result<std::string> source = encoding::utf8ToGbk(units[u].source);
        if (!units[u].translate || !source || units[u].source.find_first_not_of(" \t\r\n") == std::string::npos) {
            ++counts.skipped;
            continue;
        }
        SentenceTranslationSetup setup(bench);
        setup.context().giveMT = true;
        bench.sentenceState.reset(false);
        const SentenceTranslation result = translateText(setup.context(), bench.sentenceState, *source, ViewInput{});
        const long percent = percentOf(bench.sentenceState.ExampleRate);
        const bool example = bench.sentenceState.ExampleRate != kNoExampleRate && percent >= bench.settings.matchrate;
        if (result.translationBox.empty() || (!example && !machineTranslation)) {
            ++counts.left;
            continue;
        }
        XliffTarget target;
        target.unit = u;
        target.text = encoding::gbkToUtf8Lossy(result.translationBox);
        if (example && percent >= 100) {
            target.state = "translated";
            ++counts.exact;
        } else {
            target.state = "needs-review-translation";
            ++(example ? counts.fuzzy : counts.machine);
        }
        targets.push_back(std::move(target));
    }
    if (Status written = replaceFile(bench.fs(), output, withXliffTargets(*xml, units, targets)); !written) return written;
    return counts;
}

}  // namespace tavricat
