#pragma once
// The real disk, except that chosen operations on chosen files fail: the way the failure
// paths of the safe-save protocol and of shutdown are tested.

#include <string>
#include <vector>

#include "base/file_system.h"

namespace tavricat::testing {

enum class FsOp { Read, Write, Copy, Rename, Remove };

class FaultyFileSystem : public DiskFileSystem {
public:
    // Fails `op` whenever the path it writes to (the target for copy and rename) ends with
    // `pathSuffix`.
    void failOn(FsOp op, std::string pathSuffix) { m_rules.push_back({op, std::move(pathSuffix)}); }
    std::vector<std::string> failed;  // "op path" of each failure produced

    Result<std::string> readFile(const std::string& path) override;
    Status readPieces(const std::string& path, const std::function<void(std::string_view)>& take) override;
    Status writeFile(const std::string& path, const std::string& data) override;
    Status writeLines(const std::string& path, const std::vector<std::string>& lines) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status rename(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;

private:
    struct Rule {
        FsOp op;
        std::string suffix;
    };
    bool shouldFail(FsOp op, const std::string& path, const char* name);
    std::vector<Rule> m_rules;
};

}  // namespace tavricat::testing
