#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tavricat::testing {

TempFolder::TempFolder() {
    char pattern[] = "/tmp/tavricat-test.XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path p = file(name);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempFolder::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

}  // namespace tavricat::testing
