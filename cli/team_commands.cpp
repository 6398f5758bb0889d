// team create PATH|URL --admin NAME; team users list|add|set|delete; team login PATH|URL
// --user NAME [--no-send] [--no-receive]; team sync; team take [--approved]; team status;
// team disconnect — the team library from the command line. A password comes from the
// variable TAVRICAT_PASSWORD or is asked on the terminal without echo; a member's new
// password from TAVRICAT_MEMBER_PASSWORD or the terminal. A login is remembered (the
// library, the name, the traffic) and resumed by the later commands with the password again.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "app/team_library.h"
#include "base/encoding.h"
#include "cli_context.h"
#include "commands.h"
#include "workbench_session.h"

namespace tavricat::cli {

namespace {

struct TeamArgs {
    std::string location;
    std::string name;
    std::string member;
    int right = 2;
    bool noSend = false;
    bool noReceive = false;
    bool approved = false;
};

// A password from `variable`, else from the terminal without echo; nothing without either.
std::optional<std::string> password(const char* variable, const std::string& prompt) {
    if (const char* set = std::getenv(variable)) return std::string(set);
    if (!::isatty(STDIN_FILENO)) return std::nullopt;
    // Echo goes off before the prompt shows, so that nothing typed after it is echoed.
    termios old{};
    ::tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    std::cerr << encoding::gbkToUtf8Lossy(prompt) << std::flush;
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    ::tcsetattr(STDIN_FILENO, TCSANOW, &old);
    std::cerr << '\n';
    if (!read) return std::nullopt;
    return line;
}

int noPassword(const char* variable) {
    std::cerr << "team: no password: set " << variable << " or run on a terminal\n";
    return kExitUsage;
}

Result<std::string> gbkName(const std::string& utf8) { return encoding::utf8ToGbk(utf8); }

// Logs in again to the library of the last login, with its name and a password.
int withTeam(const CliContext& context, const std::function<int(Workbench&)>& command) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        if (bench.settings.curShareLibName.empty()) {
            std::cerr << "team: no team library: log in first (team login PATH|URL --user NAME)\n";
            return kExitFailure;
        }
        const std::string name = lastLoginName(bench);
        const std::optional<std::string> secret = password("TAVRICAT_PASSWORD", "口令: ");
        if (!secret) return noPassword("TAVRICAT_PASSWORD");
        TeamLogin login{bench.settings.curShareLibName, name, *secret};
        login.resume = true;
        if (Status connected = connectTeamLibrary(bench, login); !connected) return kExitFailure;  // told
        return command(bench);
    });
}

void printCounts(const CliContext& context, const TeamSyncCounts& counts, std::int64_t mark) {
    if (context.json) {
        std::cout << nlohmann::json{{"sent", counts.sent},         {"received", counts.received},
                                    {"terms", counts.terms},       {"grammar", counts.grammar},
                                    {"sentences", counts.sentences}, {"sentences_added", counts.sentencesAdded},
                                    {"sentences_updated", counts.sentencesUpdated}, {"mark", mark}}
                         .dump(2)
                  << '\n';
        return;
    }
    std::cout << "sent " << counts.sent << ", received " << counts.received << " (terms " << counts.terms
              << ", grammar " << counts.grammar << ", sentences " << counts.sentences << ": " << counts.sentencesAdded
              << " new, " << counts.sentencesUpdated << " updated); read up to record " << mark << '\n';
}

int runCreate(const CliContext& context, const TeamArgs& args) {
    Result<std::string> admin = gbkName(args.name);
    if (!admin) return fail(admin.status());
    const std::optional<std::string> secret = password("TAVRICAT_PASSWORD", "超级用户口令: ");
    if (!secret) return noPassword("TAVRICAT_PASSWORD");
    return withWorkbench(context, [&](Workbench& bench) -> int {
        return createTeamLibrary(bench, args.location, *admin, *secret) ? kExitOk : kExitFailure;
    });
}

int runLogin(const CliContext& context, const TeamArgs& args) {
    Result<std::string> name = gbkName(args.name);
    if (!name) return fail(name.status());
    const std::optional<std::string> secret = password("TAVRICAT_PASSWORD", "口令: ");
    if (!secret) return noPassword("TAVRICAT_PASSWORD");
    return withWorkbench(context, [&](Workbench& bench) -> int {
        TeamLogin login{args.location, *name, *secret, !args.noSend, !args.noReceive};
        if (!connectTeamLibrary(bench, login)) return kExitFailure;  // told
        std::cout << "logged in to " << encoding::gbkToUtf8Lossy(bench.statusPanels[3]) << " as " << args.name
                  << " (" << encoding::gbkToUtf8Lossy(bench.statusPanels[4]) << "), shareMode "
                  << bench.settings.shareMode << "; read up to record " << bench.team.mark << '\n';
        return kExitOk;
    });
}

int runSync(const CliContext& context) {
    return withTeam(context, [&](Workbench& bench) -> int {
        Result<TeamSyncCounts> counts = synchroniseTeamLibrary(bench);
        if (!counts) return kExitFailure;  // told; the queue is kept
        printCounts(context, *counts, bench.team.mark);
        return kExitOk;
    });
}

int runTake(const CliContext& context, const TeamArgs& args) {
    return withTeam(context, [&](Workbench& bench) -> int {
        Result<TeamSyncCounts> counts = takeTeamLibrary(bench, args.approved);
        if (!counts) return kExitFailure;
        printCounts(context, *counts, bench.team.mark);
        return kExitOk;
    });
}

int runStatus(const CliContext& context) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        const std::string& location = bench.settings.curShareLibName;
        const nlohmann::json status{{"library", location},
                                    {"user", encoding::gbkToUtf8Lossy(lastLoginName(bench))},
                                    {"shareMode", bench.settings.shareMode},
                                    {"mark", location.empty() ? 0 : storedReadMark(bench, location)},
                                    {"queued", bench.toBeSent.size()}};
        if (context.json) {
            std::cout << status.dump(2) << '\n';
        } else {
            std::cout << "library: " << (location.empty() ? "(none)" : location) << "\nuser: " << status["user"].get<std::string>()
                      << "\nshareMode: " << bench.settings.shareMode << "\nread up to record: " << status["mark"]
                      << "\nqueued: " << bench.toBeSent.size() << '\n';
        }
        return kExitOk;
    });
}

int runDisconnect(const CliContext& context) {
    return withWorkbench(context, [&](Workbench& bench) -> int {
        bench.settings.curShareLibName.clear();
        std::cout << "disconnected; " << bench.toBeSent.size() << " records stay queued\n";
        return kExitOk;
    });
}

// users list|add|set|delete: the super user's password asked up to three times.
int runUsers(const CliContext& context, const std::string& action, const TeamArgs& args) {
    Result<std::string> member = gbkName(args.member);
    if (!member) return fail(member.status());
    return withTeam(context, [&](Workbench& bench) -> int {
        const bool fromVariable = std::getenv("TAVRICAT_ADMIN_PASSWORD") != nullptr;
        int asked = 0;
        Result<std::unique_ptr<team::SharedStore>> admin = openMemberManagement(
            bench, bench.settings.curShareLibName, [&]() -> std::optional<std::string> {
                // A password from the variable is tried once: asking it again changes nothing.
                if (fromVariable && asked++ > 0) return std::nullopt;
                return password("TAVRICAT_ADMIN_PASSWORD", "请输入超级用户口令: ");
            });
        if (!admin) return kExitFailure;  // told
        team::SharedStore& store = **admin;
        if (action == "list") {
            Result<std::vector<team::Member>> members = store.members();
            if (!members) return fail(members.status());
            nlohmann::json list = nlohmann::json::array();
            for (const team::Member& m : *members) {
                if (context.json) list.push_back({{"name", encoding::gbkToUtf8Lossy(m.name)}, {"right", static_cast<int>(m.right)}});
                else std::cout << encoding::gbkToUtf8Lossy(m.name) << '\t' << encoding::gbkToUtf8Lossy(team::captionOf(m.right)) << '\n';
            }
            if (context.json) std::cout << list.dump(2) << '\n';
            return kExitOk;
        }
        if (action == "delete") {
            if (Status removed = store.removeMember(*member); !removed) return fail(removed);
            std::cout << "deleted " << args.member << '\n';
            return kExitOk;
        }
        const std::optional<team::Right> right = team::rightFromDigit(static_cast<char>('0' + args.right));
        if (!right) {
            std::cerr << encoding::gbkToUtf8Lossy("team users: --right is 1 (只读), 2 (读写) or 3 (校改)\n");
            return kExitUsage;
        }
        const std::optional<std::string> secret = password("TAVRICAT_MEMBER_PASSWORD", "新用户口令: ");
        if (!secret) return noPassword("TAVRICAT_MEMBER_PASSWORD");
        if (Status set = store.setMember(*member, *secret, *right); !set) return fail(set);
        std::cout << (action == "add" ? "added " : "changed ") << args.member << '\n';
        return kExitOk;
    });
}

}  // namespace

void registerTeamCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<TeamArgs>();
    CLI::App* team = app.add_subcommand("team", "The team library shared by a team's workbenches");
    team->require_subcommand(1);

    CLI::App* create = team->add_subcommand("create", "Create a team library (an SQLite .db file or a postgresql:// address)");
    create->add_option("location", args->location, "PATH.db or postgresql://...[?library=NAME]")->required();
    create->add_option("--admin", args->name, "The super user's name")->required();
    create->callback([&context, args] { context.exitCode = runCreate(context, *args); });

    CLI::App* login = team->add_subcommand("login", "Log in to a team library and synchronise");
    login->add_option("location", args->location, "PATH.db or postgresql://...")->required();
    login->add_option("--user", args->name, "The member's name")->required();
    login->add_flag("--no-send", args->noSend, "Do not send this workbench's work");
    login->add_flag("--no-receive", args->noReceive, "Do not take the others' work");
    login->callback([&context, args] { context.exitCode = runLogin(context, *args); });

    team->add_subcommand("sync", "Send the queue and take what the others appended")->callback([&context] {
        context.exitCode = runSync(context);
    });
    CLI::App* take = team->add_subcommand("take", "Take every record of the library (the own ones too)");
    take->add_flag("--approved", args->approved, "Only the approved records");
    take->callback([&context, args] { context.exitCode = runTake(context, *args); });
    team->add_subcommand("status", "The library, the member, the traffic and the read mark")->callback([&context] {
        context.exitCode = runStatus(context);
    });
    team->add_subcommand("disconnect", "Leave the library; the queue stays")->callback([&context] {
        context.exitCode = runDisconnect(context);
    });

    CLI::App* users = team->add_subcommand("users", "The members (the super user's password is asked)");
    users->require_subcommand(1);
    users->add_subcommand("list", "List the members")->callback([&context, args] {
        context.exitCode = runUsers(context, "list", *args);
    });
    for (const char* action : {"add", "set"}) {
        CLI::App* change = users->add_subcommand(action, std::string(action) == "add" ? "Add a member" : "Change a member");
        change->add_option("name", args->member, "The member's name")->required();
        change->add_option("--right", args->right, "1 receive only, 2 send and receive, 3 reviser (send and receive)");
        change->callback([&context, args, action] { context.exitCode = runUsers(context, action, *args); });
    }
    CLI::App* remove = users->add_subcommand("delete", "Delete a member");
    remove->add_option("name", args->member, "The member's name")->required();
    remove->callback([&context, args] { context.exitCode = runUsers(context, "delete", *args); });
}

}  // namespace tavricat::cli
