#pragma once
// What every command of tavricat-cli shares: the global options, the terminal ports and the
// way results and failures are printed (UTF-8 on the terminal, GBK inside).

#include <optional>
#include <string>

#include "base/direction.h"
#include "base/ports.h"
#include "base/status.h"

namespace tavricat::cli {

enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Messages go to stderr; a question takes the answer given by --yes / --no (default No).
class TerminalDialogs : public Dialogs {
public:
    explicit TerminalDialogs(bool answerYes) : m_answerYes(answerYes) {}
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

private:
    bool m_answerYes;
};

// Shows the progress text on stderr when it changes; quiet with --json.
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(bool quiet) : m_quiet(quiet) {}
    void show(const std::string& text, int maximum, int position) override;
    void setText(const std::string& text) override;
    void setPosition(int) override {}
    void setCaption(const std::string&) override {}
    void hide() override {}
    void pump() override {}

private:
    bool m_quiet;
};

struct CliContext {
    std::optional<std::string> home;
    std::string directionText;  // "", "ec" or "ce"
    bool yes = false;
    bool no = false;
    bool json = false;
    int exitCode = kExitOk;

    std::optional<Direction> direction() const;
    std::string settingsPath() const;
    // The program folder chosen from --home, TAVRICAT_HOME, the executable's folder or the
    // per-user default.
    std::string programFolder() const;
};

// Prints GBK text as UTF-8 to stdout with a line break.
void printLine(const std::string& gbkText);
// Reports a failure: its message to stderr; returns kExitFailure.
int fail(const Status& status);
int fail(const std::string& gbkMessage);

}  // namespace tavricat::cli
