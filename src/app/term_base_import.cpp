#include "app/term_base_import.h"

#include "base/encoding.h"
#include "base/file_system.h"

namespace tavricat {

namespace {

constexpr int kLineStep = 50;

std::string shownName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return encoding::utf8ToGbkLossy(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::string termImportMessage(std::size_t termBaseSize, std::size_t processed, std::size_t added) {
    return "导入完成！\r\n当前词库共有词条: " + std::to_string(termBaseSize) + "\r\n其中本次共处理词条: " +
           std::to_string(processed) + "\r\n其中新词条: " + std::to_string(added);
}

TermImportTotals importTermFiles(Workbench& bench, const std::vector<std::string>& files, bool replace,
                                 Progress& lines, const TermFileObserver& onFile) {
    TermImportTotals totals;
    Dialogs& dialogs = bench.dialogs();
    bench.editTermBase([&](TermBase& base) {
        TermBaseMerger merger(base, isCE(bench.direction()), replace);
        for (std::size_t index = 0; index < files.size(); ++index) {
            const std::string& path = files[index];
            lines.setCaption("正在导入文件" + shownName(path) + "...");
            Result<std::vector<TermPair>> pairs = readTermFile(bench.fs(), path, bench.direction());
            if (!pairs) {
                dialogs.message(pairs.status().message());
                totals.failedFiles.push_back(path);
                if (onFile) onFile(index, nullptr);
                continue;
            }
            const TermMergeCounts before = merger.counts();
            lines.show({}, static_cast<int>(pairs->size()), 0);
            for (std::size_t i = 0; i < pairs->size(); ++i) {
                merger.merge((*pairs)[i].key, (*pairs)[i].value);
                if ((i + 1) % kLineStep == 0) {
                    lines.setPosition(static_cast<int>(i + 1));
                    lines.pump();
                }
            }
            lines.setPosition(static_cast<int>(pairs->size()));
            TermMergeCounts ofFile = merger.counts();
            ofFile.processed -= before.processed;
            ofFile.added -= before.added;
            ofFile.changed -= before.changed;
            ofFile.deleted -= before.deleted;
            if (onFile) onFile(index, &ofFile);
        }
        merger.finish();
        totals.processed = merger.counts().processed;
        totals.added = merger.counts().added;
    });
    totals.termBaseSize = bench.engine.termBase.size();
    lines.setCaption(kTermImportCaption);
    lines.hide();
    dialogs.message(termImportMessage(totals.termBaseSize, totals.processed, totals.added));
    totals.saved = bench.engine.termBase.saveTermBase(bench.fs(), dialogs, bench.workspace().userDataFolder());
    return totals;
}

}  // namespace tavricat
