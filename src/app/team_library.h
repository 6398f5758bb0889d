#pragma once
// The workbench's side of the team library: creating one, logging in and connecting, the
// queue of what this member stores (tobesend.sav), the read mark of each library
// (sharelib.log), synchronising (sending the queue, taking what the others appended since
// the mark and merging it: term entries, grammar entries, sentence pairs), taking all or the
// approved records, and disconnecting.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/status.h"
#include "team/shared_store.h"

namespace tavricat {

class Workbench;

// The connection of a workbench to its team library. Owned by the Workbench.
struct TeamConnection {
    std::unique_ptr<team::SharedStore> store;  // null while not connected
    std::int64_t mark = 0;                     // every record up to this one has been taken
    bool connected() const { return store != nullptr; }
};

inline constexpr const char* kTeamOperationFailed = "共享库操作中发生错误!";
inline constexpr const char* kReadOnlyMember = "您只有读取共享库的权限！";
inline constexpr const char* kNameRequired = "必须选择或填写用户名！";

// "新建共享库...": the library at `location` with its super user; tells "共享库:" N
// "成功创建!" or "创建失败!" (with the reason).
Status createTeamLibrary(Workbench& bench, const std::string& location, const std::string& superUser,
                         const std::string& password);

struct TeamLogin {
    std::string location;
    std::string name;
    std::string password;
    bool send = true;     // "允许我的工作发送到共享库中"
    bool receive = true;  // "允许共享库中的内容进入我的系统"
    // A command-line run logging in again to the library it connected before: the traffic
    // stays as that login set it, and nothing is synchronised yet.
    bool resume = false;
};

// "选择共享库...": logs in (a wrong name or password is told and changes nothing), stores
// the mark of the library connected before, makes this one current with its mark, sets
// shareMode from the boxes and the right, fills status panels 3 and 4, puts the name first
// in user.log, then synchronises.
Status connectTeamLibrary(Workbench& bench, const TeamLogin& login);

struct TeamSyncCounts {
    std::size_t sent = 0;
    std::size_t received = 0;  // records of the others taken
    std::size_t terms = 0, grammar = 0, sentences = 0;
    std::size_t sentencesAdded = 0, sentencesUpdated = 0;
};

// `updateit`: sends the queue (shareMode 1 or 3) and takes the records after the mark written
// by the others (shareMode 1 or 2). A failure keeps the queue and the mark, is told once, and
// is returned. Nothing while not connected or with shareMode 4.
Result<TeamSyncCounts> synchroniseTeamLibrary(Workbench& bench);

// "选用共享库中的全部内容" / "选用共享库中经校验的内容": every record (or every approved
// one), the member's own included; tells what the sentence library took; then the queue is
// sent unless shareMode is 2. Failures show kTeamOperationFailed.
Result<TeamSyncCounts> takeTeamLibrary(Workbench& bench, bool approvedOnly);

inline constexpr const char* kWrongPasswordTryAgain = "口令错误！请重新输入。";
inline constexpr const char* kWrongPasswordGiveUp = "口令错误！不能进行权限设定。";

// "设定用户权限...": the super user's password asked at most three times (`ask` returns
// nothing when the person cancels); the library opened as the super user for managing its
// members, or the reason there is none (told, except a cancel).
Result<std::unique_ptr<team::SharedStore>> openMemberManagement(
    Workbench& bench, const std::string& location, const std::function<std::optional<std::string>()>& ask);

// "断开与共享库的连接": the mark is stored; the queue stays.
void disconnectTeamLibrary(Workbench& bench);

// A line stored by this member (kind + "^" + content) for the library: queued when a library
// is chosen and shareMode sends; a sentence pair is sent at once while connected.
void queueForTeam(Workbench& bench, const std::string& line);

// Shutdown: the mark into sharelib.log, the queue into tobesend.sav (emptied first with
// shareMode 2 or 4).
Status saveTeamFiles(Workbench& bench);
// Start-up: what the last run could not send.
Status loadTeamQueue(Workbench& bench);

// The name that logged in here last (user.log's first line); empty when none did.
std::string lastLoginName(Workbench& bench);

// The mark stored for `location` in sharelib.log: 0 when there is none.
std::int64_t storedReadMark(Workbench& bench, const std::string& location);

}  // namespace tavricat
