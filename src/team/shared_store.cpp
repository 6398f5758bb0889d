#include "team/shared_store.h"

#include "team/postgres_store.h"
#include "team/sqlite_store.h"

namespace tavricat::team {

bool isServerLocation(const std::string& location) {
    return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

Status createSharedLibrary(const std::string& location, const std::string& superUser, const std::string& password) {
    return isServerLocation(location) ? createServerLibrary(location, superUser, password)
                                      : createSqliteLibrary(location, superUser, password);
}

Result<std::unique_ptr<SharedStore>> openSharedLibrary(const std::string& location, const std::string& name,
                                                       const std::string& password) {
    return isServerLocation(location) ? openServerLibrary(location, name, password)
                                      : openSqliteLibrary(location, name, password);
}

}  // namespace tavricat::team
