#pragma once
// A program folder filled from the delivered files, a settings file beside it, and a
// Workbench over them with scripted ports.

#include <gtest/gtest.h>

#include <memory>

#include "app/program_folder_setup.h"
#include "app/workbench.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat::testing {

class WorkbenchFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(completeProgramFolder(fs, TAVRICAT_DELIVERED_DIR, home.path()).isOk());
    }

    std::unique_ptr<Workbench> makeWorkbench(std::optional<Direction> direction = std::nullopt) {
        WorkbenchOptions options;
        options.settingsPath = config.file("tavricat25cecmini.ini");
        options.direction = direction;
        options.stamp = [] { return std::string("20260101-000000"); };
        return std::make_unique<Workbench>(fs, Workspace(fs, home.path()), dialogs, progress, options);
    }

    TempFolder home;
    TempFolder config;
    FaultyFileSystem fs;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
};

}  // namespace tavricat::testing
