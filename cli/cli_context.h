#pragma once
// What every command of tavricat-cli shares: the global options, the terminal ports and the
// way results and failures are printed (UTF-8 on the terminal, GBK inside).

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/folder_lock.h"
#include "base/direction.h"
#include "base/ports.h"
#include "base/status.h"

namespace tavricat::cli {

enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Messages go to stderr. A question takes the answer given by --yes / --no; without either
// it is answered No, unless a command asks for the person: then it is asked on the terminal,
// and without a terminal it stays unanswered (the command ends and says how to answer).
class TerminalDialogs : public Dialogs {
public:
    TerminalDialogs(bool answerYes, bool answerNo) : m_answerYes(answerYes), m_answerNo(answerNo) {}
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void beep() override {}
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }

    // From now on a question without --yes/--no goes to the person; `onUnanswered` runs when
    // there is no terminal to ask on.
    void askThePerson(std::function<void()> onUnanswered) {
        m_askThePerson = true;
        m_onUnanswered = std::move(onUnanswered);
    }
    // The last question left unanswered (GBK), empty when none was.
    const std::string& unanswered() const { return m_unanswered; }

private:
    bool m_answerYes;
    bool m_answerNo;
    bool m_askThePerson = false;
    std::function<void()> m_onUnanswered;
    std::string m_unanswered;
};

// Shows the progress text on stderr when it changes; quiet with --json.
// Progress on stderr when it is a terminal: text lines, and a bar redrawn in place while a
// long run moves it. Nothing at all when stderr is not a terminal.
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(bool quiet);
    void show(const std::string& text, int maximum, int position) override;
    void setText(const std::string& text) override;
    void setPosition(int position) override;
    void setCaption(const std::string& caption) override;
    void hide() override;
    void pump() override {}

private:
    void drawBar();
    bool m_enabled;
    int m_maximum = 100;
    int m_position = 0;
    int m_drawnPercent = -1;
    std::string m_caption;  // UTF-8
    std::string m_lastText;
    bool m_barShown = false;
};

struct CliContext {
    std::optional<std::string> home;
    std::string directionText;  // "", "ec" or "ce"
    bool yes = false;
    bool no = false;
    bool json = false;
    bool wait = false;        // --wait: wait as long as another process holds the program folder
    std::string commandName;  // "tm add", named to a process that finds the folder in use
    int exitCode = kExitOk;

    std::optional<Direction> direction() const;
    std::string settingsPath() const;
    // The program folder chosen from --home, TAVRICAT_HOME, the executable's folder or the
    // per-user default. The first call locks it for the rest of the process (FolderLock);
    // when another process holds it past the wait, FolderInUse is thrown and the command ends.
    std::string programFolder() const;

private:
    mutable std::shared_ptr<FolderLock> m_folderLock;
    mutable std::string m_lockedFolder;
};

// How long a command waits for another process to leave the program folder without --wait.
inline constexpr int kFolderWaitSeconds = 5;

struct FolderInUse : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Prints GBK text as UTF-8 to stdout with a line break.
void printLine(const std::string& gbkText);
// Reports a failure: its message to stderr; returns kExitFailure.
int fail(const Status& status);
int fail(const std::string& gbkMessage);

}  // namespace tavricat::cli
