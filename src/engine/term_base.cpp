#include "engine/term_base.h"

#include "base/library_creation.h"

#include "base/bak_save.h"
#include "base/encoding.h"
#include "base/gbk.h"

namespace tavricat {

bool TermBase::replaceEntryAt(std::size_t index, std::string entry) {
    if (index >= termKeys.size() || termEntries.size() != termKeys.size()) return false;
    termEntries[index] = std::move(entry);
    return true;
}

void TermBase::clear() {
    termKeys.clear();
    termEntries.clear();
}

namespace {

constexpr const char* kEmptyFileName = kEmptyLibraryFileName;

std::string termFile(const std::string& folder, const std::string& name, const char* extension) {
    return joinPath(folder, name + extension);
}

Status shown(Dialogs& dialogs, const char* text) {
    dialogs.message(text);
    return Status::error(ErrorKind::Io, text);
}

}  // namespace

Status TermBase::load(FileSystem& fs, const std::string& userDataFolder, const std::string& newName) {
    Result<LineList> keys = loadLines(fs, termFile(userDataFolder, newName, ".01"));
    if (!keys) return keys.status();
    Result<LineList> entries = loadLines(fs, termFile(userDataFolder, newName, ".02"));
    if (!entries) return entries.status();

    LineList unmatched;
    if (entries->size() > keys->size()) {
        unmatched.assign(std::make_move_iterator(entries->begin() + keys->size()),
                         std::make_move_iterator(entries->end()));
    }
    entries->resize(keys->size());
    if (!isListOrdered(*keys)) sortWithParallel(*keys, {&*entries});

    termKeys = std::move(*keys);
    termEntries = std::move(*entries);
    m_unmatchedEntries = std::move(unmatched);
    name = newName;
    return Status::ok();
}

Status TermBase::reload(FileSystem& fs, const std::string& userDataFolder) {
    const std::string current = name;
    return load(fs, userDataFolder, current);
}

SortedFind TermBase::find(std::string_view key) const { return findSorted(termKeys, key); }

std::string TermBase::lookupKey(std::string_view key) const {
    SortedFind at = find(gbk::trim(key));
    return at.found && at.index < termEntries.size() ? termEntries[at.index] : std::string();
}

bool TermBase::insertAt(std::size_t index, std::string key, std::string entry) {
    if (index > termKeys.size() || termEntries.size() != termKeys.size()) return false;
    termKeys.insert(termKeys.begin() + static_cast<std::ptrdiff_t>(index), std::move(key));
    termEntries.insert(termEntries.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    return true;
}

bool TermBase::removeAt(std::size_t index) {
    if (index >= termKeys.size() || termEntries.size() != termKeys.size()) return false;
    termKeys.erase(termKeys.begin() + static_cast<std::ptrdiff_t>(index));
    termEntries.erase(termEntries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

namespace {

// The .02 text: one line per key (an empty one for a key without entry), then any entries
// beyond the keys, then the lines of the loaded .02 that had no key.
std::string entriesText(const LineList& keys, const LineList& entries, const LineList& unmatched) {
    std::string text = joinLines(entries);
    for (std::size_t i = entries.size(); i < keys.size(); ++i) text += "\r\n";
    return text + joinLines(unmatched);
}

}  // namespace

Status TermBase::saveTermBase(FileSystem& fs, Dialogs& dialogs, const std::string& userDataFolder) const {
    if (name.empty()) return shown(dialogs, kTermBaseSaveFailed);
    const std::string keysPath = termFile(userDataFolder, name, ".01");
    const std::string entriesPath = termFile(userDataFolder, name, ".02");
    return saveLibraryThroughBak(
        fs, dialogs,
        {BakSaveFile::ofLines(keysPath, termKeys), {entriesPath, entriesText(termKeys, termEntries, m_unmatchedEntries)}},
        termFile(userDataFolder, name, ".inf"), {kTermBaseSaveFailed, kTermBaseCopyFailed});
}

Status TermBase::saveTermBaseAs(FileSystem& fs, Dialogs& dialogs, const std::string& userDataFolder) const {
    std::optional<std::string> typed = dialogs.inputBox("命名", "请输入词库文件名", "");
    if (!typed) return Status::ok();
    const std::string_view trimmed = gbk::trim(*typed);
    if (trimmed.empty()) {
        dialogs.message(kEmptyFileName);
        return Status::error(ErrorKind::Refused, kEmptyFileName);
    }
    Result<std::string> newName = encoding::gbkToUtf8(trimmed);
    if (!newName) {
        dialogs.message(newName.status().message());
        return newName.status();
    }
    if (!replaceLines(fs, termFile(userDataFolder, *newName, ".01"), termKeys) ||
        !replaceFile(fs, termFile(userDataFolder, *newName, ".02"), entriesText(termKeys, termEntries, m_unmatchedEntries)))
        return shown(dialogs, kTermBaseSaveFailed);
    dialogs.message("保存完毕！");
    dialogs.message("请切换为标准库，继续导入其他！");
    return Status::ok();
}

Result<std::string> createTermBase(FileSystem& fs, const std::string& userDataFolder, const LibraryInfo& info) {
    return createLibraryFiles(fs, userDataFolder, LibraryKind::TermBase, info);
}

}  // namespace tavricat
