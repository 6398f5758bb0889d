#pragma once
// The members of a shared library: their rights, how a login turns the right and the two
// traffic boxes into the shareMode, the passwords' one-way hashes, and the scrambled user
// lists (.ul) of libraries made before passwords were hashed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace tavricat::team {

// A member's right: 1 "只读" receive only, 2 "读写" send and receive, 3 "校改" send and
// receive (the super user has it).
enum class Right { ReadOnly = 1, ReadWrite = 2, Reviser = 3 };

std::optional<Right> rightFromDigit(char digit);
char digitOf(Right right);
// "只读", "读写", "校改" (GBK).
const char* captionOf(Right right);
inline bool maySend(Right right) { return right != Right::ReadOnly; }

// The traffic of a workbench with its shared library: 1 send and receive, 2 receive only,
// 3 send only, 4 neither.
int shareModeFor(bool sendBox, bool receiveBox, Right right);
inline bool sends(int shareMode) { return shareMode == 1 || shareMode == 3; }
inline bool receives(int shareMode) { return shareMode == 1 || shareMode == 2; }

struct Member {
    std::string name;  // GBK
    Right right = Right::ReadOnly;
    friend bool operator==(const Member&, const Member&) = default;
};

// An Argon2id hash of `password` in the self-describing "$argon2id$..." form; the salt is new
// each time.
Result<std::string> hashPassword(std::string_view password);
// Whether `password` is the one `hash` was made of. False for anything not such a hash.
bool passwordMatches(std::string_view hash, std::string_view password);
bool isPasswordHash(std::string_view field);

// The byte scrambling of the old user lists: b1 bn b2 bn-1 ...; the middle byte of an odd
// line comes last. Lines of 0 or 1 byte stay as they are.
std::string scramble(std::string_view line);
std::string unscramble(std::string_view line);

// One line of a user list: name "<!>" right digit "<!>" password (or its hash).
struct UserLine {
    std::string name;
    Right right = Right::ReadOnly;
    std::string password;
};
std::optional<UserLine> parseUserLine(std::string_view line);
std::string userLineText(const UserLine& line);

// The user list of a library at `dbPath`: the path up to and including its first "." of the
// file name, followed by "ul" ("team.db" gives "team.ul").
std::string userListPathOf(const std::string& dbPath);

}  // namespace tavricat::team
