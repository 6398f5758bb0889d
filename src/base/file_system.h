#pragma once
// Every file operation of the core goes through FileSystem, so that tests can run on a
// throw-away folder and make a chosen write, copy, rename or delete fail on purpose.
// Paths are native (UTF-8) strings; file contents are bytes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace tavricat {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    virtual Result<std::string> readFile(const std::string& path) = 0;
    // Up to `length` bytes of `path` from byte `offset`: fewer when the file ends first, none
    // when `offset` is at or beyond its end. Fails only when the file cannot be opened or
    // read. The base version reads the whole file; DiskFileSystem reads just the range.
    virtual Result<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length);
    // Hands the bytes of `path` to `take` in order, in pieces of any size, all read through one
    // opening of the file; fails as readFile does. Large files need never be held whole. The
    // base version hands over what readFile returns, in one piece.
    virtual Status readPieces(const std::string& path, const std::function<void(std::string_view)>& take);
    // Creates or truncates `path`, writes `data` and flushes it to disk (fsync) before
    // returning. On failure the file may be partly written: callers that must not lose the
    // old content write elsewhere first (see replaceFile and the bak protocol).
    virtual Status writeFile(const std::string& path, const std::string& data) = 0;
    // As writeFile, with every line followed by CR LF. The base version joins the lines and
    // calls writeFile; DiskFileSystem writes them a megabyte at a time, so that a large
    // library is never held twice over while it is saved.
    virtual Status writeLines(const std::string& path, const std::vector<std::string>& lines);
    // Copies `from` over `to` (created or replaced), flushed to disk.
    virtual Status copyFile(const std::string& from, const std::string& to) = 0;
    // Atomic within one folder; replaces `to` when it exists.
    virtual Status rename(const std::string& from, const std::string& to) = 0;
    // Removing a file that does not exist succeeds.
    virtual Status remove(const std::string& path) = 0;
    virtual Status makeDirectories(const std::string& path) = 0;
    // Names (not paths) of the entries of a folder, in the order the file system returns them.
    virtual Result<std::vector<std::string>> listDirectory(const std::string& path) = 0;
};

// The real disk.
class DiskFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    Result<std::string> readFile(const std::string& path) override;
    Result<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override;
    Status readPieces(const std::string& path, const std::function<void(std::string_view)>& take) override;
    Status writeFile(const std::string& path, const std::string& data) override;
    Status writeLines(const std::string& path, const std::vector<std::string>& lines) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status rename(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;
    Status makeDirectories(const std::string& path) override;
    Result<std::vector<std::string>> listDirectory(const std::string& path) override;
};

// Writes `data` to a scratch file beside `path`, then renames it over `path`: either the old
// content or the new one is on disk, never a truncated mix.
Status replaceFile(FileSystem& fs, const std::string& path, const std::string& data);
// The same with the scratch file written by `writeScratch` (given its path).
Status replaceThrough(FileSystem& fs, const std::string& path, const std::function<Status(const std::string&)>& writeScratch);

// Whether `path` exists and holds exactly `data` (an unreadable file does not): a save whose
// bytes are already there writes nothing.
bool fileHolds(FileSystem& fs, const std::string& path, const std::string& data);

// `folder` + "/" + `name`, with exactly one separator.
std::string joinPath(const std::string& folder, const std::string& name);

// Finds `name` in `folder` without regard to ASCII case. Returns the path of the existing
// entry (exact spelling preferred), or folder/name as given when none exists.
std::string findCaseInsensitive(FileSystem& fs, const std::string& folder, const std::string& name);

}  // namespace tavricat
