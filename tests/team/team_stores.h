#pragma once
// The two kinds of shared library for the tests: an SQLite file in a scratch folder, and a
// schema on the throwaway PostgreSQL server that scripts/with_postgres.sh starts (its address
// in TAVRICAT_TEST_POSTGRES; the server tests skip without it).

#include <cstdlib>
#include <string>

#include "support/temp_folder.h"

namespace tavricat::testing {

// The super user's address of the test server; empty without one.
inline std::string testServer() {
    const char* url = std::getenv("TAVRICAT_TEST_POSTGRES");
    return url ? std::string(url) : std::string();
}

// A new, empty place for a library of `kind` ("sqlite" or "postgres"), and what creating it
// needs: the address, and an administrator role that may create roles (made on the server
// with the super user's address).
struct LibraryPlace {
    std::string location;
    std::string admin = "admin";
    std::string adminPassword = "admin-secret";
};

LibraryPlace newLibraryPlace(const std::string& kind, const TempFolder& folder);

// Runs SQL on the test server as `user` with `password`; true when the server accepted it.
bool serverAccepts(const std::string& location, const std::string& user, const std::string& password,
                   const std::string& sql);

}  // namespace tavricat::testing
