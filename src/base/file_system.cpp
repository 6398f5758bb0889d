#include "base/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>


namespace tavricat {

namespace fsys = std::filesystem;

namespace {

Status ioError(const std::string& what, const std::string& path, int err) {
    return Status::error(err == ENOENT ? ErrorKind::NotFound : ErrorKind::Io,
                         what + " " + path + ": " + std::strerror(err));
}

// Reads `fd` to its end in pieces of up to `pieceSize` bytes, handing each to `take`, and
// closes it.
Status readToEnd(int fd, const std::string& path, std::size_t pieceSize, const std::function<void(std::string_view)>& take) {
    std::string buffer(pieceSize, '\0');
    for (;;) {
        ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return ioError("cannot read", path, err);
        }
        if (n == 0) break;
        take(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    ::close(fd);
    return Status::ok();
}

// Writes all of `data` to `fd`.
bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Creates or truncates `path`, lets `fill` write to it (false when a write failed), flushes it
// to disk and closes it; the first failure is the one reported.
Status writeThrough(const std::string& path, const std::function<bool(int fd)>& fill) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return ioError("cannot create", path, errno);
    bool ok = fill(fd) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    return ok ? Status::ok() : ioError("cannot write", path, err);
}

constexpr std::size_t kPieceSize = std::size_t{1} << 20;

}  // namespace

bool DiskFileSystem::exists(const std::string& path) {
    std::error_code ec;
    return fsys::exists(path, ec);
}

bool DiskFileSystem::isDirectory(const std::string& path) {
    std::error_code ec;
    return fsys::is_directory(path, ec);
}

Result<std::string> DiskFileSystem::readFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ioError("cannot open", path, errno);
    std::string data;
    // Sized from the start: grown by doubling, a large library file would be held twice over
    // for a moment, which sets the peak memory of a load. The file may still grow meanwhile.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) data.reserve(static_cast<std::size_t>(info.st_size));
    if (Status read = readToEnd(fd, path, 65536, [&](std::string_view piece) { data.append(piece); }); !read) return read;
    return data;
}

Status DiskFileSystem::readPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ioError("cannot open", path, errno);
    return readToEnd(fd, path, kPieceSize, take);
}

Result<std::string> DiskFileSystem::readRange(const std::string& path, std::uint64_t offset, std::size_t length) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ioError("cannot open", path, errno);
    std::string data(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        ssize_t n = ::pread(fd, data.data() + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return ioError("cannot read", path, err);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

Status DiskFileSystem::writeFile(const std::string& path, const std::string& data) {
    return writeThrough(path, [&](int fd) { return writeAll(fd, data.data(), data.size()); });
}

Status DiskFileSystem::writeLines(const std::string& path, const std::vector<std::string>& lines) {
    return writeThrough(path, [&](int fd) {
        std::string piece;
        piece.reserve(kPieceSize + 2);
        for (const std::string& line : lines) {
            piece += line;
            piece += "\r\n";
            if (piece.size() >= kPieceSize) {
                if (!writeAll(fd, piece.data(), piece.size())) return false;
                piece.clear();
            }
        }
        return writeAll(fd, piece.data(), piece.size());
    });
}

Status DiskFileSystem::copyFile(const std::string& from, const std::string& to) {
    // A piece at a time: a library file of a hundred megabytes is never held whole.
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return ioError("cannot open", from, errno);
    Status read;
    Status written = writeThrough(to, [&](int out) {
        bool ok = true;
        read = readToEnd(in, from, kPieceSize, [&](std::string_view piece) {
            ok = ok && writeAll(out, piece.data(), piece.size());
        });
        return ok;
    });
    if (!read) return read;
    return written;
}

Status DiskFileSystem::rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return ioError("cannot rename", from, errno);
    // Make the new name durable too.
    std::string folder = fsys::path(to).parent_path().string();
    int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return Status::ok();
}

Status DiskFileSystem::remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return ioError("cannot delete", path, errno);
    return Status::ok();
}

Status DiskFileSystem::makeDirectories(const std::string& path) {
    std::error_code ec;
    fsys::create_directories(path, ec);
    if (ec) return Status::error(ErrorKind::Io, "cannot create folder " + path + ": " + ec.message());
    return Status::ok();
}

Result<std::vector<std::string>> DiskFileSystem::listDirectory(const std::string& path) {
    std::error_code ec;
    std::vector<std::string> names;
    for (fsys::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec) return Status::error(ErrorKind::Io, "cannot list folder " + path + ": " + ec.message());
    return names;
}

Status FileSystem::readPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    Result<std::string> data = readFile(path);
    if (!data) return data.status();
    take(*data);
    return Status::ok();
}

Result<std::string> FileSystem::readRange(const std::string& path, std::uint64_t offset, std::size_t length) {
    Result<std::string> data = readFile(path);
    if (!data) return data.status();
    if (offset >= data->size()) return std::string();
    return data->substr(static_cast<std::size_t>(offset), length);
}

Status FileSystem::writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return writeFile(path, text);
}

Status replaceFile(FileSystem& fs, const std::string& path, const std::string& data) {
    return replaceThrough(fs, path, [&](const std::string& scratch) { return fs.writeFile(scratch, data); });
}

Status replaceThrough(FileSystem& fs, const std::string& path, const std::function<Status(const std::string&)>& writeScratch) {
    std::string scratch = path + ".tmp-save";
    Status written = writeScratch(scratch);
    // A scratch file left behind is never read; the failure to report is the write's.
    if (!written) {
        (void)fs.remove(scratch);
        return written;
    }
    Status renamed = fs.rename(scratch, path);
    if (!renamed) (void)fs.remove(scratch);
    return renamed;
}

bool fileHolds(FileSystem& fs, const std::string& path, const std::string& data) {
    if (!fs.exists(path)) return false;
    Result<std::string> held = fs.readFile(path);
    return held && *held == data;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

namespace {
// File names are UTF-8, not GBK: every byte below 0x80 is ASCII there.
std::string foldFileName(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return name;
}
}  // namespace

std::string findCaseInsensitive(FileSystem& fs, const std::string& folder, const std::string& name) {
    std::string exact = joinPath(folder, name);
    if (fs.exists(exact)) return exact;
    // Resolve one component at a time so that "userdata/allzy.ini" finds "UserData/AllZy.ini".
    std::string resolved = folder;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        start = slash == std::string::npos ? name.size() + 1 : slash + 1;
        if (part.empty()) continue;
        std::string candidate = joinPath(resolved, part);
        if (!fs.exists(candidate)) {
            Result<std::vector<std::string>> entries = fs.listDirectory(resolved.empty() ? "." : resolved);
            if (!entries) return exact;
            std::string wanted = foldFileName(part);
            bool found = false;
            for (const std::string& entry : *entries) {
                if (foldFileName(entry) == wanted) {
                    candidate = joinPath(resolved, entry);
                    found = true;
                    break;
                }
            }
            if (!found) return exact;
        }
        resolved = candidate;
    }
    return resolved;
}

}  // namespace tavricat
