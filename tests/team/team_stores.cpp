#include "team/team_stores.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>

#include "team/postgres_store.h"

namespace tavricat::testing {

namespace {

PGconn* connectAs(const std::string& url, const std::string& user, const std::string& password) {
    const char* keys[] = {"dbname", "user", "password", nullptr};
    const char* values[] = {url.c_str(), user.c_str(), password.c_str(), nullptr};
    return PQconnectdbParams(keys, values, 1);
}

}  // namespace

LibraryPlace newLibraryPlace(const std::string& kind, const TempFolder& folder) {
    LibraryPlace place;
    if (kind == "sqlite") {
        place.location = folder.file("team.db");
        return place;
    }
    // A schema and an administrator of its own for every library, so tests never meet.
    static std::atomic<int> counter{0};
    const std::string tag = std::to_string(::getpid()) + "_" + std::to_string(counter++);
    place.admin = "admin_" + tag;
    const std::string server = testServer();
    PGconn* db = PQconnectdb(server.c_str());
    PGresult* made = PQexec(db, ("CREATE ROLE " + place.admin + " LOGIN CREATEROLE PASSWORD '" + place.adminPassword +
                                 "'; GRANT CREATE ON DATABASE postgres TO " + place.admin)
                                    .c_str());
    PQclear(made);
    PQfinish(db);
    place.location = server.substr(0, server.find("://") + 3) + server.substr(server.find('@') + 1) + "&library=lib_" + tag;
    return place;
}

bool serverAccepts(const std::string& location, const std::string& user, const std::string& password,
                   const std::string& sql) {
    Result<team::ServerAddress> address = team::parseServerAddress(location);
    if (!address) return false;
    PGconn* db = connectAs(address->connection, user, password);
    bool accepted = false;
    if (PQstatus(db) == CONNECTION_OK) {
        PGresult* result = PQexec(db, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        accepted = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
        PQclear(result);
    }
    PQfinish(db);
    return accepted;
}

}  // namespace tavricat::testing
