#pragma once
// A shared library in one SQLite file (N.db) on a shared folder. Appends run one at a time
// under SQLite's write lock (BEGIN IMMEDIATE), so record numbers become visible in order;
// readers see whole transactions only. The file is in WAL mode on a local disk and in the
// rollback-journal mode on a network file system, where WAL's shared memory does not work.
// The members live in the file too, each password as an Argon2id hash; the program enforces
// the rights, so anyone who can write the shared folder can change them (README).

#include <memory>
#include <string>

#include "team/shared_store.h"

namespace tavricat::team {

inline constexpr int kSqliteBusyTimeoutMs = 30000;

Status createSqliteLibrary(const std::string& path, const std::string& superUser, const std::string& password);
Result<std::unique_ptr<SharedStore>> openSqliteLibrary(const std::string& path, const std::string& name,
                                                       const std::string& password);

// Whether `path` lies on a network file system (NFS, SMB/CIFS, ...).
bool onNetworkFileSystem(const std::string& path);

}  // namespace tavricat::team
