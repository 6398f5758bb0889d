#pragma once
// Expected failures travel as values: a kind that callers can branch on and the message
// (GBK) that is shown to the person as it stands.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace tavricat {

enum class ErrorKind {
    None,
    NotFound,      // a file or entry that is not there
    Io,            // reading, writing, copying, renaming or deleting failed
    BadInput,      // refused input: malformed file, bad argument, text GBK cannot hold
    Refused,       // the person or a rule said no
};

class [[nodiscard]] Status {
public:
    Status() = default;
    static Status ok() { return {}; }
    static Status error(ErrorKind kind, std::string message) { return Status(kind, std::move(message)); }

    bool isOk() const { return m_kind == ErrorKind::None; }
    explicit operator bool() const { return isOk(); }
    ErrorKind kind() const { return m_kind; }
    const std::string& message() const { return m_message; }

private:
    Status(ErrorKind kind, std::string message) : m_kind(kind), m_message(std::move(message)) {}
    ErrorKind m_kind = ErrorKind::None;
    std::string m_message;
};

// A value or the Status that explains why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Status status) : m_status(std::move(status)) {}

    bool isOk() const { return m_status.isOk(); }
    explicit operator bool() const { return isOk(); }
    const Status& status() const { return m_status; }
    // REQUIRES: isOk()
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    Status m_status;
};

}  // namespace tavricat
