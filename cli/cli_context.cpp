#include "cli_context.h"

#include <algorithm>

#include <unistd.h>

#include <iostream>
#include <string>

#include "app/workspace.h"
#include "base/encoding.h"

namespace tavricat::cli {

void TerminalDialogs::message(const std::string& text) {
    std::cerr << encoding::gbkToUtf8Lossy(text) << '\n';
}

bool TerminalDialogs::askYesNo(const std::string& text) {
    const std::string question = encoding::gbkToUtf8Lossy(text);
    if (m_answerYes || m_answerNo || !m_askThePerson) {
        std::cerr << question << (m_answerYes ? " [yes]" : " [no]") << '\n';
        return m_answerYes;
    }
    if (!::isatty(0)) {
        m_unanswered = text;
        if (m_onUnanswered) m_onUnanswered();
        return false;
    }
    while (true) {
        std::cerr << question << " [y/n] " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer)) {  // the terminal closed: nobody answered
            std::cerr << '\n';
            m_unanswered = text;
            if (m_onUnanswered) m_onUnanswered();
            return false;
        }
        if (answer == "y" || answer == "Y" || answer == "yes") return true;
        if (answer == "n" || answer == "N" || answer == "no") return false;
    }
}

// Progress is for a person watching; scripts reading stderr get only messages.
TerminalProgress::TerminalProgress(bool quiet) : m_enabled(!quiet && ::isatty(2)) {}

void TerminalProgress::show(const std::string& text, int maximum, int position) {
    if (text != m_lastText) setText(text);
    m_maximum = maximum > 0 ? maximum : 100;
    setPosition(position);
}

void TerminalProgress::setText(const std::string& text) {
    if (!m_enabled || text.empty()) return;
    m_lastText = text;
    if (m_barShown) std::cerr << '\n';
    m_barShown = false;
    m_drawnPercent = -1;
    std::cerr << encoding::gbkToUtf8Lossy(text) << '\n';
}

void TerminalProgress::setPosition(int position) {
    m_position = position;
    drawBar();
}

void TerminalProgress::setCaption(const std::string& caption) {
    m_caption = encoding::gbkToUtf8Lossy(caption);
    m_drawnPercent = -1;
    drawBar();
}

void TerminalProgress::hide() {
    if (m_enabled && m_barShown) std::cerr << '\n';
    m_barShown = false;
    m_drawnPercent = -1;
}

void TerminalProgress::drawBar() {
    if (!m_enabled || m_position <= 0) return;
    const int percent = static_cast<int>(static_cast<long long>(std::min(m_position, m_maximum)) * 100 / m_maximum);
    if (percent == m_drawnPercent) return;
    m_drawnPercent = percent;
    const int filled = percent * 30 / 100;
    std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(30 - filled), '.') << "] " << percent << "% " << m_caption
              << "\x1b[K" << std::flush;
    m_barShown = true;
}

std::optional<Direction> CliContext::direction() const {
    if (directionText == "ec") return Direction::EC;
    if (directionText == "ce") return Direction::CE;
    return std::nullopt;
}

std::string CliContext::settingsPath() const { return settingsStorePath(); }

std::string CliContext::programFolder() const {
    DiskFileSystem fs;
    std::string folder = chooseProgramFolder(fs, locationsFromEnvironment(home, executableFolder()));
    if (!m_folderLock || m_lockedFolder != folder) {
        std::optional<long> limit;
        if (!wait) limit = kFolderWaitSeconds * 1000L;
        const std::string holder = commandName.empty() ? "a tavricat-cli command" : "the command \"" + commandName + "\"";
        Result<FolderLock> lock = FolderLock::acquire(folder, holder, limit);
        if (!lock) throw FolderInUse(lock.status().message());
        m_folderLock = std::make_shared<FolderLock>(std::move(*lock));
        m_lockedFolder = folder;
    }
    return folder;
}

void printLine(const std::string& gbkText) { std::cout << encoding::gbkToUtf8Lossy(gbkText) << '\n'; }

int fail(const Status& status) { return fail(status.message()); }

int fail(const std::string& gbkMessage) {
    std::cerr << encoding::gbkToUtf8Lossy(gbkMessage) << '\n';
    return kExitFailure;
}

}  // namespace tavricat::cli
