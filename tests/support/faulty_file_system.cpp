#include "support/faulty_file_system.h"

namespace tavricat::testing {

bool FaultyFileSystem::shouldFail(FsOp op, const std::string& path, const char* name) {
    for (const Rule& rule : m_rules) {
        if (rule.op != op) continue;
        if (path.size() >= rule.suffix.size() && path.compare(path.size() - rule.suffix.size(), rule.suffix.size(), rule.suffix) == 0) {
            failed.push_back(std::string(name) + " " + path);
            return true;
        }
    }
    return false;
}

namespace {
Status injected(const std::string& path) { return Status::error(ErrorKind::Io, "injected failure: " + path); }
}  // namespace

Result<std::string> FaultyFileSystem::readFile(const std::string& path) {
    if (shouldFail(FsOp::Read, path, "read")) return injected(path);
    return DiskFileSystem::readFile(path);
}

Status FaultyFileSystem::readPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    if (shouldFail(FsOp::Read, path, "read")) return injected(path);
    return DiskFileSystem::readPieces(path, take);
}

Status FaultyFileSystem::writeFile(const std::string& path, const std::string& data) {
    if (shouldFail(FsOp::Write, path, "write")) return injected(path);
    return DiskFileSystem::writeFile(path, data);
}

Status FaultyFileSystem::writeLines(const std::string& path, const std::vector<std::string>& lines) {
    if (shouldFail(FsOp::Write, path, "write")) return injected(path);
    return DiskFileSystem::writeLines(path, lines);
}

Status FaultyFileSystem::copyFile(const std::string& from, const std::string& to) {
    if (shouldFail(FsOp::Copy, to, "copy")) return injected(to);
    return DiskFileSystem::copyFile(from, to);
}

Status FaultyFileSystem::rename(const std::string& from, const std::string& to) {
    if (shouldFail(FsOp::Rename, to, "rename")) return injected(to);
    return DiskFileSystem::rename(from, to);
}

Status FaultyFileSystem::remove(const std::string& path) {
    if (shouldFail(FsOp::Remove, path, "remove")) return injected(path);
    return DiskFileSystem::remove(path);
}

}  // namespace tavricat::testing
