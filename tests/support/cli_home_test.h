#pragma once
// A test that runs tavricat-cli against its own program folder, filled by `init`, and its own
// settings folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat::testing {

class CliHomeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(cli({"init"}).exitCode, 0); }

    // Runs the CLI with --home set to the test's program folder.
    CliRun cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--home", home.path()});
        return runCli(arguments, config.path());
    }

    TempFolder home;
    TempFolder config;
    TempFolder work;  // for input and output files outside the program folder
};

}  // namespace tavricat::testing
