#include "app/team_library.h"

#include "app/grammar_commands.h"
#include "app/library_update_setup.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "memory/library_update.h"

namespace tavricat {

namespace {

constexpr const char* kMarksFile = "sharelib.log";
constexpr const char* kQueueFile = "tobesend.sav";
constexpr const char* kNamesFile = "user.log";
constexpr const char* kSentenceFile = "temp.rf0";

// The library's name for messages: the file name cut at its first ".", or the server's
// library.
std::string shownName(const std::string& location) {
    if (team::isServerLocation(location)) return encoding::utf8ToGbkLossy(location);
    std::string name = location.substr(location.find_last_of('/') + 1);
    return encoding::utf8ToGbkLossy(name.substr(0, name.find('.')));
}

LineList readLines(Workbench& bench, const std::string& name) {
    const std::string path = bench.workspace().programFile(name);
    if (!bench.fs().exists(path)) return {};
    Result<LineList> lines = loadLines(bench.fs(), path);
    return lines ? std::move(*lines) : LineList{};
}

// Writes the file only when its text changes: a run that changed nothing writes nothing.
Status writeLines(Workbench& bench, const std::string& name, const LineList& lines) {
    const std::string path = bench.workspace().programFile(name);
    const std::string text = joinLines(lines);
    if (bench.fs().exists(path))
        if (Result<std::string> old = bench.fs().readFile(path); old && *old == text) return Status::ok();
    if (text.empty() && !bench.fs().exists(path)) return Status::ok();
    return replaceFile(bench.fs(), path, text);
}

// The line of `location` in sharelib.log: the first that starts with it followed by "^".
std::size_t markLine(const LineList& lines, const std::string& location) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].compare(0, location.size() + 1, location + "^") == 0) return i;
    return lines.size();
}

Status storeReadMark(Workbench& bench) {
    if (!bench.team.connected()) return Status::ok();
    const std::string location = bench.team.store->location();
    LineList lines = readLines(bench, kMarksFile);
    const std::string line = location + "^" + std::to_string(bench.team.mark);
    const std::size_t at = markLine(lines, location);
    if (at < lines.size()) lines[at] = line;
    else lines.push_back(line);
    return writeLines(bench, kMarksFile, lines);
}

// The records of the queue: "kind^content" lines; a line of another form is kept back.
std::vector<team::OutgoingRecord> outgoing(const LineList& queue) {
    std::vector<team::OutgoingRecord> records;
    for (const std::string& line : queue)
        if (line.size() >= 2 && line[1] == '^') records.push_back({line[0], line.substr(2)});
    return records;
}

// Kinds A and B merged one by one; the sentence pairs through the library update of a
// temporary sentence file, as a sentence file from elsewhere would be.
Status dispatch(Workbench& bench, const std::vector<team::SharedRecord>& records, bool ownToo, TeamSyncCounts& counts) {
    const std::string& me = bench.team.store->member().name;
    std::string sentences;
    for (const team::SharedRecord& record : records) {
        if (!ownToo && record.author == me) continue;
        ++counts.received;
        switch (record.kind) {
            case 'A':
                bench.applyTermEdit(record.content);
                ++counts.terms;
                break;
            case 'B':
                (void)importGrammarLine(grammarScope(bench), record.content);
                ++counts.grammar;
                break;
            case 'C':
                sentences += record.content + "\r\n";
                ++counts.sentences;
                break;
            default:
                break;  // a kind of a later program
        }
    }
    if (sentences.empty()) return Status::ok();
    const std::string file = bench.workspace().programFile(kSentenceFile);
    if (Status written = bench.fs().writeFile(file, sentences); !written) return written;
    LibraryUpdateContext update = libraryUpdateContextOf(bench, false);
    Result<FileUpdateCounts> done = singleFileUpdate(update, file, true);
    (void)bench.fs().remove(file);
    if (!done) return done.status();
    counts.sentencesAdded = done->added();
    counts.sentencesUpdated = done->same;
    return Status::ok();
}

Status sendQueue(Workbench& bench, TeamSyncCounts& counts) {
    if (bench.toBeSent.empty()) return Status::ok();
    const std::vector<team::OutgoingRecord> records = outgoing(bench.toBeSent);
    if (Status sent = bench.team.store->append(records); !sent) return sent;
    counts.sent = records.size();
    bench.toBeSent.clear();
    return Status::ok();
}

}  // namespace

Status createTeamLibrary(Workbench& bench, const std::string& location, const std::string& superUser,
                         const std::string& password) {
    const Status created = team::createSharedLibrary(location, superUser, password);
    if (!created) {
        bench.dialogs().message("共享库:" + shownName(location) + "创建失败!\r\n" + created.message());
        return created;
    }
    bench.dialogs().message("共享库:" + shownName(location) + "成功创建!");
    return Status::ok();
}

Status connectTeamLibrary(Workbench& bench, const TeamLogin& login) {
    if (login.name.find_first_not_of(" \t") == std::string::npos) {
        bench.dialogs().message(kNameRequired);
        return Status::error(ErrorKind::Refused, kNameRequired);
    }
    Result<std::unique_ptr<team::SharedStore>> store = team::openSharedLibrary(login.location, login.name, login.password);
    if (!store) {
        bench.dialogs().message(store.status().message());
        return store.status();
    }
    if (!login.resume) {
        LineList names = readLines(bench, kNamesFile);
        std::erase(names, login.name);
        names.insert(names.begin(), login.name);
        (void)writeLines(bench, kNamesFile, names);
    }

    if (Status stored = storeReadMark(bench); !stored) bench.dialogs().message(stored.message());
    const team::Right right = (*store)->member().right;
    bench.team.store = std::move(*store);
    bench.team.mark = storedReadMark(bench, bench.team.store->location());
    // The library's own name for itself: a server address without a password.
    bench.settings.curShareLibName = bench.team.store->location();
    if (!login.resume) bench.settings.shareMode = team::shareModeFor(login.send, login.receive, right);
    bench.statusPanels[3] = "共享库: " + shownName(login.location);
    bench.statusPanels[4] = team::captionOf(right == team::Right::ReadOnly ? team::Right::ReadOnly : team::Right::ReadWrite);
    if (login.resume) return Status::ok();
    if (right == team::Right::ReadOnly) bench.dialogs().message(kReadOnlyMember);
    Result<TeamSyncCounts> synced = synchroniseTeamLibrary(bench);
    return synced ? Status::ok() : synced.status();
}

Result<TeamSyncCounts> synchroniseTeamLibrary(Workbench& bench) {
    TeamSyncCounts counts;
    const int mode = bench.settings.shareMode;
    if (!bench.team.connected() || mode == 4) return counts;
    auto failed = [&bench](const Status& status) -> Result<TeamSyncCounts> {
        bench.dialogs().message(std::string(kTeamOperationFailed) + "\r\n" + status.message());
        return status;
    };
    if (team::receives(mode)) {
        Result<std::vector<team::SharedRecord>> records = bench.team.store->readAfter(bench.team.mark);
        if (!records) return failed(records.status());
        if (Status merged = dispatch(bench, *records, false, counts); !merged) return failed(merged);
        if (!records->empty()) bench.team.mark = records->back().number;
        if (counts.sentences == 0) bench.dialogs().beep();
    }
    if (team::sends(mode))
        if (Status sent = sendQueue(bench, counts); !sent) return failed(sent);
    return counts;
}

Result<TeamSyncCounts> takeTeamLibrary(Workbench& bench, bool approvedOnly) {
    TeamSyncCounts counts;
    if (!bench.team.connected()) return counts;
    auto failed = [&bench](const Status& status) -> Result<TeamSyncCounts> {
        bench.dialogs().message(std::string(kTeamOperationFailed) + "\r\n" + status.message());
        return status;
    };
    Result<std::vector<team::SharedRecord>> records = bench.team.store->readAfter(0);
    if (!records) return failed(records.status());
    const std::int64_t last = records->empty() ? 0 : records->back().number;
    if (approvedOnly) std::erase_if(*records, [](const team::SharedRecord& r) { return !r.checked; });
    if (Status merged = dispatch(bench, *records, true, counts); !merged) return failed(merged);
    bench.team.mark = std::max(bench.team.mark, last);
    if (counts.sentences > 0) {
        bench.dialogs().message("从共享库中取得句子" + std::to_string(counts.sentences) + "个\r\n" + "其中新句" +
                                std::to_string(counts.sentences - counts.sentencesUpdated) + "个\r\n" + "更新句子" +
                                std::to_string(counts.sentencesUpdated) + "个\r\n" + "当前记忆库中共有句子" +
                                std::to_string(bench.sentenceLibrary.exampleCount()) + "个");
    } else {
        bench.dialogs().beep();
    }
    if (bench.settings.shareMode != 2)
        if (Status sent = sendQueue(bench, counts); !sent) return failed(sent);
    return counts;
}

Result<std::unique_ptr<team::SharedStore>> openMemberManagement(
    Workbench& bench, const std::string& location, const std::function<std::optional<std::string>()>& ask) {
    if (!bench.team.connected()) return Status::error(ErrorKind::Refused, "没有连接共享库");
    Result<std::string> superUser = bench.team.store->superUserName();
    if (!superUser) {
        bench.dialogs().message("没有找到必要的文件！");
        return superUser.status();
    }
    for (int attempt = 1; attempt <= 3; ++attempt) {
        const std::optional<std::string> password = ask();
        if (!password) return Status::error(ErrorKind::Refused, "");
        Result<std::unique_ptr<team::SharedStore>> store = team::openSharedLibrary(location, *superUser, *password);
        if (store) return store;
        if (store.status().message() != team::kWrongUserOrPassword) {
            bench.dialogs().message(store.status().message());
            return store.status();
        }
        bench.dialogs().message(attempt < 3 ? kWrongPasswordTryAgain : kWrongPasswordGiveUp);
    }
    return Status::error(ErrorKind::Refused, kWrongPasswordGiveUp);
}

void disconnectTeamLibrary(Workbench& bench) {
    if (Status stored = storeReadMark(bench); !stored) bench.dialogs().message(stored.message());
    bench.team.store.reset();
    bench.team.mark = 0;
    bench.statusPanels[3].clear();
    bench.statusPanels[4].clear();
}

void queueForTeam(Workbench& bench, const std::string& line) {
    // Queued under the same rule as term and grammar changes: a library chosen and shareMode
    // sending; a run that is not connected (a command-line run) keeps it in tobesend.sav.
    if (!queuesGrammarChanges(bench.settings)) return;
    bench.toBeSent.push_back(line);
    // A stored sentence pair goes out at once (and the others' work comes in).
    if (bench.team.connected() && !line.empty() && line[0] == 'C') (void)synchroniseTeamLibrary(bench);
}

Status saveTeamFiles(Workbench& bench) {
    Status marks = storeReadMark(bench);
    if (bench.settings.shareMode == 2 || bench.settings.shareMode == 4) bench.toBeSent.clear();
    Status queue = writeLines(bench, kQueueFile, bench.toBeSent);
    return marks ? queue : marks;
}

Status loadTeamQueue(Workbench& bench) {
    // The queue the last run could not send goes out with this run's first synchronisation.
    bench.toBeSent = readLines(bench, kQueueFile);
    std::erase_if(bench.toBeSent, [](const std::string& line) { return line.size() < 2 || line[1] != '^'; });
    return Status::ok();
}

std::string lastLoginName(Workbench& bench) {
    const LineList names = readLines(bench, kNamesFile);
    return names.empty() ? std::string() : names.front();
}

std::int64_t storedReadMark(Workbench& bench, const std::string& location) {
    const LineList lines = readLines(bench, kMarksFile);
    const std::size_t at = markLine(lines, location);
    if (at == lines.size()) return 0;
    return std::atoll(lines[at].c_str() + location.size() + 1);
}

}  // namespace tavricat
