#include "app/term_base_revision.h"

#include "base/encoding.h"
#include "base/list_order.h"
#include "engine/term_base.h"
#include "engine/term_file_import.h"

namespace tavricat {

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Result<TermBaseFile> loadTermBaseForRevision(FileSystem& fs, Dialogs& dialogs, const std::string& keysPath) {
    TermBaseFile file;
    file.keysPath = keysPath;
    file.valuesPath = termValuesPathOf(keysPath);
    if (file.valuesPath == keysPath)
        return Status::error(ErrorKind::BadInput, encoding::utf8ToGbkLossy(keysPath) + " 不是词条文件(*.01)！");
    Result<LineList> keys = loadLines(fs, keysPath);
    if (!keys) return keys.status();
    if (keys->size() > kRevisionSizeWarning &&
        !dialogs.askYesNo("此功能用于校订用户词库;对于过大的词库不适宜!您选定的文件中共有词条" + std::to_string(keys->size()) +
                          "个,确实想校订它吗?"))
        return Status::error(ErrorKind::Refused, "");
    Result<LineList> values = loadLines(fs, file.valuesPath);
    if (!values) return values.status();
    file.keys = std::move(*keys);
    file.values = std::move(*values);
    if (file.values.size() > file.keys.size()) {
        file.extraValues.assign(file.values.begin() + static_cast<std::ptrdiff_t>(file.keys.size()), file.values.end());
        file.values.resize(file.keys.size());
    }
    file.values.resize(file.keys.size());
    if (!isListOrdered(file.keys)) sortWithParallel(file.keys, {&file.values});
    return file;
}

Result<bool> saveRevisedTermBase(FileSystem& fs, Dialogs& dialogs, const TermBaseFile& file, const LineList& keys,
                                 const LineList& values) {
    if (!dialogs.askYesNo("保存校订结果吗?")) return false;
    LineList written = values;
    written.insert(written.end(), file.extraValues.begin(), file.extraValues.end());
    // Values first: a key file never points past the values it was written with.
    Status saved = replaceLines(fs, file.valuesPath, written);
    if (saved) saved = replaceLines(fs, file.keysPath, keys);
    if (!saved) {
        dialogs.message(kTermBaseSaveFailed);
        return saved;
    }
    return dialogs.askYesNo("要用校订后的结果（文件：" + encoding::utf8ToGbkLossy(fileNameOf(file.keysPath)) +
                            "）更新当前词库吗?");
}

}  // namespace tavricat
