#pragma once
// A shared library: one append-only table of records that a team's workbenches add to and
// read from, and the members who may do so. Two stores implement it: an SQLite file on a
// shared folder (sqlite_store.h) and a PostgreSQL schema on a server (postgres_store.h).
//
// Record numbers start at 1 and grow by one with every record, in the order the records
// became visible: a reader that has seen record n has seen every record before it, so a read
// mark never passes a record that is still to come. Records are never changed or deleted.
//
// Texts are GBK inside the program; the stores keep them as UTF-8.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "team/members.h"

namespace tavricat::team {

struct SharedRecord {
    std::int64_t number = 0;
    std::string author;   // GBK
    char kind = 'C';      // 'A' term entry, 'B' grammar entry, 'C' sentence pair
    std::string content;  // GBK
    bool checked = false; // approved by a reviser
};

// A record to send: the kind letter and the content.
struct OutgoingRecord {
    char kind = 'C';
    std::string content;
};

inline constexpr std::size_t kMaxContentLength = 3000;

class SharedStore {
public:
    virtual ~SharedStore() = default;

    // What the read marks and the status bar call the library: the file's path, or the
    // address without a password.
    virtual std::string location() const = 0;
    // The member logged in and that member's right.
    virtual const Member& member() const = 0;

    // Appends the records in one transaction, each as written by the member (content cut at
    // kMaxContentLength bytes). All or none.
    virtual Status append(const std::vector<OutgoingRecord>& records) = 0;
    // The records numbered above `mark`, in order.
    virtual Result<std::vector<SharedRecord>> readAfter(std::int64_t mark) = 0;
    // The number of the last record (0 for an empty library).
    virtual Result<std::int64_t> lastNumber() = 0;

    // The members other than the super user, in the order they were added. Super user only.
    virtual Result<std::vector<Member>> members() = 0;
    // Adds the member or changes its right and password (an empty password keeps a member's
    // password; a new member needs one: kPasswordRequired). Super user only.
    virtual Status setMember(const std::string& name, const std::string& password, Right right) = 0;
    // Removes the member. Super user only; the super user cannot be removed.
    virtual Status removeMember(const std::string& name) = 0;
    // The super user's name, and whether `password` is the super user's. Any member may ask.
    virtual Result<std::string> superUserName() = 0;
    virtual Result<bool> isSuperUserPassword(const std::string& password) = 0;
};

// The messages of a login and of the member management.
inline constexpr const char* kWrongUserOrPassword = "用户名或口令错误！";
inline constexpr const char* kPasswordRequired = "新用户必须设定口令！";

// Whether `location` names a PostgreSQL library ("postgresql://" or "postgres://").
bool isServerLocation(const std::string& location);

// Creates the library at `location` (a .db path or a postgresql:// address) with its super
// user. Fails when a library is there already.
Status createSharedLibrary(const std::string& location, const std::string& superUser, const std::string& password);

// Opens the library and logs the member in; kWrongUserOrPassword when the name or the
// password is wrong.
Result<std::unique_ptr<SharedStore>> openSharedLibrary(const std::string& location, const std::string& name,
                                                       const std::string& password);

}  // namespace tavricat::team
