#pragma once
// What the workbench-based fuzz targets share: a copy of the delivered program folder in a
// temporary folder, removed at exit, and workbenches started over it.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include <stdlib.h>

#include "app/program_folder_setup.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "base/ports.h"

namespace tavricat::fuzz {

inline void check(bool condition) {
    if (!condition) std::abort();
}

struct Home {
    DiskFileSystem fs;
    SilentDialogs dialogs;
    SilentProgress progress;
    std::string folder;
};

// A program folder of its own for this process (several fuzz jobs may run at once).
inline Home& home() {
    static Home* made = [] {
        static char pattern[] = "/tmp/tavricat-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        auto* h = new Home;
        h->folder = pattern;
        std::atexit([] { std::filesystem::remove_all(pattern); });
        if (!completeProgramFolder(h->fs, TAVRICAT_DELIVERED_DIR, h->folder).isOk()) std::abort();
        return h;
    }();
    return *made;
}

inline std::unique_ptr<Workbench> startBench(Direction direction) {
    Home& h = home();
    WorkbenchOptions options;
    options.settingsPath = h.folder + "/tavricat25cecmini.ini";
    options.direction = direction;
    options.stamp = [] { return std::string("20260101-000000"); };
    auto bench = std::make_unique<Workbench>(h.fs, Workspace(h.fs, h.folder), h.dialogs, h.progress, options);
    if (!bench->start().isOk()) std::abort();
    return bench;
}

// A workbench of each direction over the one program folder, started once per process.
struct BothDirections {
    std::unique_ptr<Workbench> ec = startBench(Direction::EC);
    std::unique_ptr<Workbench> ce = startBench(Direction::CE);

    // The direction an input's selector byte picks (its lowest bit: CE when set).
    Workbench& pick(std::uint8_t selector) { return (selector & 1) ? *ce : *ec; }
};

// Writes `bytes` to `path`, replacing it.
inline void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    check(static_cast<bool>(out));
}

}  // namespace tavricat::fuzz
