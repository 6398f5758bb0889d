#pragma once
// The term base (词库) of the current domain: <name>.01 (keys, one per line, in list order)
// and <name>.02 (line n is the TermEntry of key n) in the user-data folder, held wholly in
// memory. <name>.inf holds title, author, file name and description (base/library_info.h).

#include <cstddef>
#include <string>
#include <string_view>

#include "base/library_info.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "base/list_order.h"
#include "base/ports.h"
#include "base/status.h"

namespace tavricat {

// The messages of a failed save.
inline constexpr const char* kTermBaseSaveFailed = "保存词库时发生错误! 请确保本系统所在的硬盘有足够的剩余空间!";
inline constexpr const char* kTermBaseCopyFailed = "将备份词库复制为不带“bak”后缀时出错。请检查硬盘空间是否足够！";

class TermBase {
public:
    // Strictly parallel: termEntries[i] belongs to termKeys[i] and both always have the same
    // size. termKeys stays in list order because every insertion goes to the index find()
    // returns; change them only through insertAt/removeAt/replaceEntryAt/clear (or keep both
    // invariants yourself).
    LineList termKeys;
    LineList termEntries;
    // The files' name without extension, a native (UTF-8) file name: "MyDictEC".
    std::string name;

    // Loads <folder>/<name>.01 and .02 and takes `name`. Fails (and leaves the term base as
    // it was) when either file cannot be read. A .01 out of list order is sorted together with
    // its entries; a .02 with fewer lines than the .01 gets empty entries for the missing
    // lines; lines of a .02 beyond the keys are kept aside (unmatchedEntries) and written back
    // after the entries by every save, so that nothing of the file is lost.
    Status load(FileSystem& fs, const std::string& userDataFolder, const std::string& name);
    // load() of the current name again.
    Status reload(FileSystem& fs, const std::string& userDataFolder);

    std::size_t size() const { return termKeys.size(); }
    // Binary search of termKeys: the first equal key, or where the key would be inserted.
    SortedFind find(std::string_view key) const;
    // The entry of the trimmed key (ASCII case ignored); empty when absent.
    std::string lookupKey(std::string_view key) const;
    // Inserts the pair at `index` in both lists. False (nothing changed) when index > size()
    // or the two lists are not of one size. The caller passes the index find() gave for
    // `key`, which keeps the order.
    bool insertAt(std::size_t index, std::string key, std::string entry);
    // Removes line `index` of both lists. False (nothing changed) when index >= size() or the
    // two lists are not of one size.
    bool removeAt(std::size_t index);
    // Replaces the entry of line `index`. False (nothing changed) when index >= size() or
    // the two lists are not of one size.
    bool replaceEntryAt(std::size_t index, std::string entry);
    // Empties both lists (in memory). The name and the kept-aside lines of the .02 stay, so
    // that a later save still writes them back.
    void clear();

    // Saves both lists to <folder>/<name>.01 and .02 through .01bak/.02bak. When a copy of a
    // bak file fails, the real .01 and .02 are deleted, the bak pair is kept as the only copy,
    // <name>.inf is renamed <name>.infbak and kTermBaseCopyFailed is shown. Any other failure
    // (a bak file cannot be written: the real files are untouched) shows kTermBaseSaveFailed.
    // Returns the shown message as an Io error.
    Status saveTermBase(FileSystem& fs, Dialogs& dialogs, const std::string& userDataFolder) const;

    // Asks for a name (input box "命名" / "请输入词库文件名") and writes both lists to
    // <folder>/<typed name>.01 and .02 (each through a scratch file and a rename), then shows
    // "保存完毕！" and "请切换为标准库，继续导入其他！". The current name does not change.
    // Cancel does nothing (ok); an empty name is refused with "文件名不能为空！请重新输入。";
    // a failed write shows kTermBaseSaveFailed.
    Status saveTermBaseAs(FileSystem& fs, Dialogs& dialogs, const std::string& userDataFolder) const;

    const LineList& unmatchedEntries() const { return m_unmatchedEntries; }

private:
    LineList m_unmatchedEntries;
};

// Creates a new, empty term base from the library-information dialog's answers (GBK):
// <name>.inf and empty .01 and .02 (base/library_creation.h). Returns the native name.
Result<std::string> createTermBase(FileSystem& fs, const std::string& userDataFolder, const LibraryInfo& info);

}  // namespace tavricat
