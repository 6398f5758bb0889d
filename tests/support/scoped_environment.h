#pragma once
// Sets (or, with nullptr, removes) an environment variable for the life of the object and
// puts the old value back afterwards.

#include <cstdlib>
#include <optional>
#include <string>

namespace tavricat::testing {

class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const char* value) : m_name(std::move(name)) {
        if (const char* old = std::getenv(m_name.c_str())) m_old = old;
        if (value) ::setenv(m_name.c_str(), value, 1);
        else ::unsetenv(m_name.c_str());
    }
    ~ScopedEnvironment() {
        if (m_old) ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else ::unsetenv(m_name.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace tavricat::testing
