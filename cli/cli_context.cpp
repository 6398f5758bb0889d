#include "cli_context.h"

#include <unistd.h>

#include <iostream>

#include "app/workspace.h"
#include "base/encoding.h"

namespace tavricat::cli {

void TerminalDialogs::message(const std::string& text) {
    std::cerr << encoding::gbkToUtf8Lossy(text) << '\n';
}

bool TerminalDialogs::askYesNo(const std::string& text) {
    std::cerr << encoding::gbkToUtf8Lossy(text) << (m_answerYes ? " [yes]" : " [no]") << '\n';
    return m_answerYes;
}

void TerminalProgress::show(const std::string& text, int, int) { setText(text); }

void TerminalProgress::setText(const std::string& text) {
    // Progress is for a person watching; scripts reading stderr get only messages.
    if (!m_quiet && !text.empty() && ::isatty(2)) std::cerr << encoding::gbkToUtf8Lossy(text) << '\n';
}

std::optional<Direction> CliContext::direction() const {
    if (directionText == "ec") return Direction::EC;
    if (directionText == "ce") return Direction::CE;
    return std::nullopt;
}

std::string CliContext::settingsPath() const { return settingsStorePath(); }

std::string CliContext::programFolder() const {
    DiskFileSystem fs;
    return chooseProgramFolder(fs, locationsFromEnvironment(home, executableFolder()));
}

void printLine(const std::string& gbkText) { std::cout << encoding::gbkToUtf8Lossy(gbkText) << '\n'; }

int fail(const Status& status) { return fail(status.message()); }

int fail(const std::string& gbkMessage) {
    std::cerr << encoding::gbkToUtf8Lossy(gbkMessage) << '\n';
    return kExitFailure;
}

}  // namespace tavricat::cli
