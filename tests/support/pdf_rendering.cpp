#include "support/pdf_rendering.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace tavricat::testing {

namespace {

namespace fs = std::filesystem;

constexpr int kPopplerSeconds = 60;  // one pdfinfo, pdftotext or pdftoppm run

std::string limited(int seconds, const std::string& command) {
    return "timeout -s KILL " + std::to_string(seconds) + " " + command;
}

}  // namespace

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool PdfRenderer::render(const std::vector<std::string>& files, const std::string& outdir, int timeoutSeconds) {
    std::string command = "env HOME=" + shellQuote(m_scratch) + " " +
                          limited(timeoutSeconds, "soffice --headless --norestore -env:UserInstallation=file://" +
                                                      m_scratch + "/profile --convert-to pdf --outdir " +
                                                      shellQuote(outdir));
    for (const std::string& file : files) command += " " + shellQuote(file);
    command += " >" + shellQuote(m_scratch + "/log") + " 2>&1";
    return shell(command) == 0;
}

std::string PdfRenderer::log() const { return slurp(m_scratch + "/log"); }

int PdfRenderer::pageCount(const std::string& pdf) const {
    const std::string info = m_scratch + "/info.txt";
    if (shell(limited(kPopplerSeconds, "pdfinfo " + shellQuote(pdf)) + " >" + shellQuote(info) + " 2>&1") != 0)
        return -1;
    std::istringstream lines(slurp(info));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Pages:", 0) == 0) return std::atoi(line.c_str() + 6);
    return -1;
}

std::string PdfRenderer::text(const std::string& pdf) const {
    const std::string text = m_scratch + "/text.txt";
    std::remove(text.c_str());
    (void)shell(limited(kPopplerSeconds, "pdftotext -enc UTF-8 " + shellQuote(pdf) + " " + shellQuote(text)) +
                " 2>/dev/null");
    return slurp(text);
}

std::vector<GrayPage> PdfRenderer::pages(const std::string& pdf, const std::string& prefix, int dpi) const {
    std::vector<GrayPage> out;
    const std::string folder = m_scratch + "/" + prefix + "_pages";
    fs::create_directories(folder);
    if (shell(limited(kPopplerSeconds, "pdftoppm -r " + std::to_string(dpi) + " -gray " + shellQuote(pdf) + " " +
                                           shellQuote(folder + "/p")) +
              " 2>/dev/null") != 0)
        return out;
    std::vector<std::pair<int, fs::path>> files;  // page number, file "p-N.pgm" or "p-0N.pgm"
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string stem = entry.path().stem().string();
        files.emplace_back(std::atoi(stem.c_str() + stem.rfind('-') + 1), entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files)
        if (std::optional<GrayPage> page = readPgm(file.second.string())) out.push_back(std::move(*page));
    return out;
}

}  // namespace tavricat::testing
