#pragma once
// A shared library on a PostgreSQL server, for teams beyond one shared folder. The address
// is a postgresql:// URL naming the server and the database; its parameter "library" (not a
// libpq one) names the schema that holds the library (default "tavricat").
//
// Each member is a database role that logs in with its own password, which only the server
// knows (as a SCRAM verifier). The server enforces the rights: a member who may receive may
// select the records; one who may send may call the schema's append function, which fills in
// the author from the role that is logged in and numbers the records under a table lock, so
// that they become visible in number order. Nobody may insert, change or delete records
// directly. The super user is the role that created the library; it manages the members.

#include <memory>
#include <string>

#include "team/shared_store.h"

namespace tavricat::team {

// The URL without its "library" parameter and the schema it names.
struct ServerAddress {
    std::string connection;  // for libpq
    std::string schema;
    std::string shown;       // the URL without a password, for messages and read marks
};
Result<ServerAddress> parseServerAddress(const std::string& url);

// `superUser` must be able to create roles (CREATEROLE) and a schema in the database.
Status createServerLibrary(const std::string& url, const std::string& superUser, const std::string& password);
Result<std::unique_ptr<SharedStore>> openServerLibrary(const std::string& url, const std::string& name,
                                                       const std::string& password);

}  // namespace tavricat::team
