#include "team/members.h"

#include <sodium.h>

namespace tavricat::team {

std::optional<Right> rightFromDigit(char digit) {
    switch (digit) {
        case '1': return Right::ReadOnly;
        case '2': return Right::ReadWrite;
        case '3': return Right::Reviser;
        default: return std::nullopt;
    }
}

char digitOf(Right right) { return static_cast<char>('0' + static_cast<int>(right)); }

const char* captionOf(Right right) {
    switch (right) {
        case Right::ReadOnly: return "只读";
        case Right::ReadWrite: return "读写";
        case Right::Reviser: return "校改";
    }
    return "";
}

int shareModeFor(bool sendBox, bool receiveBox, Right right) {
    // A read-only member who asks to send gets no traffic at all, and is told so at login.
    if (sendBox && !maySend(right)) return 4;
    if (sendBox && receiveBox) return 1;
    if (receiveBox) return 2;
    if (sendBox) return 3;
    return 4;
}

namespace {

bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

}  // namespace

Result<std::string> hashPassword(std::string_view password) {
    if (!sodiumReady()) return Status::error(ErrorKind::Io, "libsodium cannot start");
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return Status::error(ErrorKind::Io, "口令无法加密(内存不足)");
    return std::string(hash);
}

bool isPasswordHash(std::string_view field) { return field.rfind("$argon2id$", 0) == 0; }

bool passwordMatches(std::string_view hash, std::string_view password) {
    if (!sodiumReady() || !isPasswordHash(hash) || hash.size() >= crypto_pwhash_STRBYTES) return false;
    const std::string terminated(hash);
    return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

std::string scramble(std::string_view line) {
    if (line.size() <= 1) return std::string(line);
    std::string out;
    out.reserve(line.size());
    std::size_t front = 0;
    std::size_t back = line.size() - 1;
    while (front < back) {
        out += line[front++];
        out += line[back--];
    }
    if (front == back) out += line[front];
    return out;
}

std::string unscramble(std::string_view line) {
    if (line.size() <= 1) return std::string(line);
    std::string front;
    std::string back;
    for (std::size_t i = 0; i < line.size(); ++i) (i % 2 == 0 ? front : back) += line[i];
    return front + std::string(back.rbegin(), back.rend());
}

std::optional<UserLine> parseUserLine(std::string_view line) {
    const std::size_t first = line.find("<!>");
    if (first == std::string_view::npos || first + 4 > line.size()) return std::nullopt;
    const std::optional<Right> right = rightFromDigit(line[first + 3]);
    if (!right || line.compare(first + 4, 3, "<!>") != 0) return std::nullopt;
    return UserLine{std::string(line.substr(0, first)), *right, std::string(line.substr(first + 7))};
}

std::string userLineText(const UserLine& line) {
    return line.name + "<!>" + digitOf(line.right) + "<!>" + line.password;
}

std::string userListPathOf(const std::string& dbPath) {
    const std::size_t slash = dbPath.find_last_of('/');
    const std::size_t dot = dbPath.find('.', slash == std::string::npos ? 0 : slash + 1);
    if (dot == std::string::npos) return dbPath + ".ul";
    return dbPath.substr(0, dot + 1) + "ul";
}

}  // namespace tavricat::team
