#pragma once
// A fresh folder under /tmp for one test, removed afterwards.

#include <string>

namespace tavricat::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    // Whole-file helpers for setting up fixtures and checking results.
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string m_path;
};

}  // namespace tavricat::testing
