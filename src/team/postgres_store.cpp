#include "team/postgres_store.h"

#include <libpq-fe.h>

#include <cctype>

#include "base/encoding.h"

namespace tavricat::team {

namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }
std::string gbkOf(const char* text) { return text ? encoding::utf8ToGbkLossy(text) : std::string(); }

bool validIdentifier(const std::string& name) {
    if (name.empty() || name.size() > 48 || !(std::islower(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    for (unsigned char c : name)
        if (!(std::islower(c) || std::isdigit(c) || c == '_')) return false;
    return true;
}

// A connection; every failure becomes a Status with the server's words.
class Connection {
public:
    ~Connection() {
        if (m_conn) PQfinish(m_conn);
    }
    Status open(const ServerAddress& address, const std::string& user, const std::string& password) {
        const char* keys[] = {"dbname", "user", "password", "client_encoding", "connect_timeout", nullptr};
        const std::string userUtf8 = utf8(user);
        const char* values[] = {address.connection.c_str(), userUtf8.c_str(), password.c_str(), "UTF8", "10", nullptr};
        m_conn = PQconnectdbParams(keys, values, 1);
        if (!m_conn || PQstatus(m_conn) != CONNECTION_OK) {
            const std::string why = m_conn ? PQerrorMessage(m_conn) : "out of memory";
            if (why.find("password authentication failed") != std::string::npos ||
                why.find("does not exist") != std::string::npos)
                return Status::error(ErrorKind::Refused, kWrongUserOrPassword);
            return Status::error(ErrorKind::Io, "共享库服务器无法连接: " + encoding::utf8ToGbkLossy(why));
        }
        return Status::ok();
    }
    // Runs `sql` with text parameters; the result, or the server's refusal.
    Result<PGresult*> run(const std::string& sql, const std::vector<std::string>& parameters = {}) {
        std::vector<const char*> values;
        for (const std::string& p : parameters) values.push_back(p.c_str());
        // Without parameters a text may hold several commands (the library's schema).
        PGresult* result = values.empty() ? PQexec(m_conn, sql.c_str())
                                          : PQexecParams(m_conn, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                                         values.data(), nullptr, nullptr, 0);
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
        const std::string why = PQresultErrorMessage(result);
        const char* field = PQresultErrorField(result, PG_DIAG_SQLSTATE);
        const std::string state = field ? field : "";  // copied: it lives in the result
        PQclear(result);
        const bool refused = state == "42501";  // insufficient_privilege
        return Status::error(refused ? ErrorKind::Refused : ErrorKind::Io, "共享库: " + encoding::utf8ToGbkLossy(why));
    }
    Status exec(const std::string& sql, const std::vector<std::string>& parameters = {}) {
        Result<PGresult*> result = run(sql, parameters);
        if (!result) return result.status();
        PQclear(*result);
        return Status::ok();
    }
    std::string quoted(const std::string& identifier) {
        char* q = PQescapeIdentifier(m_conn, identifier.c_str(), identifier.size());
        std::string out = q ? q : "\"\"";
        PQfreemem(q);
        return out;
    }
    std::string literal(const std::string& text) {
        char* q = PQescapeLiteral(m_conn, text.c_str(), text.size());
        std::string out = q ? q : "''";
        PQfreemem(q);
        return out;
    }

private:
    PGconn* m_conn = nullptr;
};

// A result freed when it goes out of scope.
struct Rows {
    PGresult* result;
    ~Rows() { PQclear(result); }
    int count() const { return PQntuples(result); }
    std::string text(int row, int column) const { return PQgetvalue(result, row, column); }
};

class ServerStore : public SharedStore {
public:
    ServerStore(std::unique_ptr<Connection> connection, ServerAddress address, Member member, bool superUser)
        : m_db(std::move(connection)), m_address(std::move(address)), m_member(std::move(member)),
          m_schema(m_db->quoted(m_address.schema)), m_superUser(superUser) {}

    std::string location() const override { return m_address.shown; }
    const Member& member() const override { return m_member; }

    Status append(const std::vector<OutgoingRecord>& records) override {
        if (records.empty()) return Status::ok();
        std::string kinds = "{";
        std::string contents = "{";
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (i > 0) {
                kinds += ',';
                contents += ',';
            }
            kinds += arrayElement(std::string(1, records[i].kind));
            contents += arrayElement(utf8(records[i].content.substr(0, kMaxContentLength)));
        }
        kinds += '}';
        contents += '}';
        return m_db->exec("SELECT " + m_schema + ".append_records($1::text[], $2::text[])", {kinds, contents});
    }

    Result<std::vector<SharedRecord>> readAfter(std::int64_t mark) override {
        Result<PGresult*> result = m_db->run("SELECT number, author, kind, content, checked FROM " + m_schema +
                                                 ".records WHERE number > $1 ORDER BY number",
                                             {std::to_string(mark)});
        if (!result) return result.status();
        Rows rows{*result};
        std::vector<SharedRecord> records;
        records.reserve(static_cast<std::size_t>(rows.count()));
        for (int i = 0; i < rows.count(); ++i) {
            SharedRecord record;
            record.number = std::stoll(rows.text(i, 0));
            record.author = gbkOf(PQgetvalue(*result, i, 1));
            const std::string kind = rows.text(i, 2);
            record.kind = kind.empty() ? '?' : kind[0];
            record.content = gbkOf(PQgetvalue(*result, i, 3));
            record.checked = rows.text(i, 4) == "t";
            records.push_back(std::move(record));
        }
        return records;
    }

    Result<std::int64_t> lastNumber() override {
        Result<PGresult*> result = m_db->run("SELECT coalesce(max(number), 0) FROM " + m_schema + ".records");
        if (!result) return result.status();
        Rows rows{*result};
        return static_cast<std::int64_t>(std::stoll(rows.text(0, 0)));
    }

    Result<std::vector<Member>> members() override {
        if (!m_superUser) return Status::error(ErrorKind::Refused, "只有超级用户可以设定用户权限");
        Result<PGresult*> result =
            m_db->run("SELECT name, \"right\" FROM " + m_schema + ".members WHERE position > 0 ORDER BY position");
        if (!result) return result.status();
        Rows rows{*result};
        std::vector<Member> list;
        for (int i = 0; i < rows.count(); ++i)
            list.push_back({gbkOf(PQgetvalue(*result, i, 0)), rightFromDigit(rows.text(i, 1)[0]).value_or(Right::ReadOnly)});
        return list;
    }

    Status setMember(const std::string& name, const std::string& password, Right right) override {
        if (!m_superUser) return Status::error(ErrorKind::Refused, "只有超级用户可以设定用户权限");
        const std::string role = m_db->quoted(utf8(name));
        const std::string secret = m_db->literal(password);
        if (Status begun = m_db->exec("BEGIN"); !begun) return begun;
        Result<PGresult*> exists = m_db->run("SELECT 1 FROM pg_roles WHERE rolname = $1", {utf8(name)});
        if (!exists) return rollback(exists.status());
        const bool known = Rows{*exists}.count() > 0;
        if (password.empty() && !known) return rollback(Status::error(ErrorKind::BadInput, kPasswordRequired));
        // An empty password changes the right of a member and keeps the password.
        const std::string create = known ? (password.empty() ? "ALTER ROLE " + role + " LOGIN"
                                                             : "ALTER ROLE " + role + " LOGIN PASSWORD " + secret)
                                         : "CREATE ROLE " + role + " LOGIN PASSWORD " + secret;
        const std::vector<std::string> steps = {
            create,
            "REVOKE ALL ON " + m_schema + ".records FROM " + role,
            "REVOKE ALL ON FUNCTION " + m_schema + ".append_records(text[], text[]) FROM " + role,
            "GRANT USAGE ON SCHEMA " + m_schema + " TO " + role,
            "GRANT SELECT ON " + m_schema + ".records TO " + role,
            "GRANT SELECT (position, name, \"right\") ON " + m_schema + ".members TO " + role,
        };
        if (Status done = runAll(steps); !done) return rollback(done);
        if (maySend(right))
            if (Status done = m_db->exec("GRANT EXECUTE ON FUNCTION " + m_schema + ".append_records(text[], text[]) TO " + role); !done)
                return rollback(done);
        const std::string upsert = "INSERT INTO " + m_schema + ".members(position, name, \"right\") VALUES ("
                                   "(SELECT coalesce(max(position), 0) + 1 FROM " + m_schema + ".members), $1, $2) "
                                   "ON CONFLICT (name) DO UPDATE SET \"right\" = EXCLUDED.\"right\"";
        if (Status done = m_db->exec(upsert, {utf8(name), std::string(1, digitOf(right))}); !done) return rollback(done);
        return m_db->exec("COMMIT");
    }

    Status removeMember(const std::string& name) override {
        if (!m_superUser) return Status::error(ErrorKind::Refused, "只有超级用户可以设定用户权限");
        if (name == m_member.name) return Status::error(ErrorKind::Refused, "超级用户不能删除");
        const std::string role = m_db->quoted(utf8(name));
        if (Status begun = m_db->exec("BEGIN"); !begun) return begun;
        const std::vector<std::string> steps = {
            "DELETE FROM " + m_schema + ".members WHERE position > 0 AND name = " + m_db->literal(utf8(name)),
            "REVOKE ALL ON " + m_schema + ".records FROM " + role,
            "REVOKE ALL ON " + m_schema + ".members FROM " + role,
            "REVOKE ALL ON FUNCTION " + m_schema + ".append_records(text[], text[]) FROM " + role,
            "REVOKE ALL ON SCHEMA " + m_schema + " FROM " + role,
            // The role may belong to other libraries too: it loses its login here only.
        };
        if (Status done = runAll(steps); !done) return rollback(done);
        return m_db->exec("COMMIT");
    }

    Result<std::string> superUserName() override {
        Result<PGresult*> owner = m_db->run("SELECT name FROM " + m_schema + ".members WHERE position = 0");
        if (!owner) return owner.status();
        Rows rows{*owner};
        if (rows.count() != 1) return Status::error(ErrorKind::BadInput, "共享库没有超级用户");
        return gbkOf(PQgetvalue(*owner, 0, 0));
    }

    Result<bool> isSuperUserPassword(const std::string& password) override {
        // The server checks: a second connection as the super user with that password.
        Result<std::string> superUser = superUserName();
        if (!superUser) return superUser.status();
        Connection probe;
        const Status opened = probe.open(m_address, *superUser, password);
        if (opened) return true;
        if (opened.kind() == ErrorKind::Refused) return false;
        return opened;
    }

private:
    static std::string arrayElement(const std::string& text) {
        std::string out = "\"";
        for (char c : text) {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
        return out + "\"";
    }
    Status runAll(const std::vector<std::string>& steps) {
        for (const std::string& step : steps)
            if (Status done = m_db->exec(step); !done) return done;
        return Status::ok();
    }
    Status rollback(const Status& failed) {
        (void)m_db->exec("ROLLBACK");
        return failed;
    }

    std::unique_ptr<Connection> m_db;
    ServerAddress m_address;
    Member m_member;
    std::string m_schema;
    bool m_superUser;
};

}  // namespace

Result<ServerAddress> parseServerAddress(const std::string& url) {
    if (!isServerLocation(url)) return Status::error(ErrorKind::BadInput, "不是共享库服务器地址: " + encoding::utf8ToGbkLossy(url));
    ServerAddress address;
    address.schema = "tavricat";
    std::string base = url;
    std::string query;
    if (const std::size_t mark = url.find('?'); mark != std::string::npos) {
        base = url.substr(0, mark);
        query = url.substr(mark + 1);
    }
    std::string kept;
    std::size_t start = 0;
    while (start <= query.size() && !query.empty()) {
        const std::size_t amp = query.find('&', start);
        const std::string part = query.substr(start, amp == std::string::npos ? std::string::npos : amp - start);
        if (part.rfind("library=", 0) == 0) address.schema = part.substr(8);
        else if (!part.empty()) kept += (kept.empty() ? "" : "&") + part;
        if (amp == std::string::npos) break;
        start = amp + 1;
    }
    if (!validIdentifier(address.schema))
        return Status::error(ErrorKind::BadInput, "共享库名只能由小写字母、数字和下划线组成: " + encoding::utf8ToGbkLossy(address.schema));
    address.connection = kept.empty() ? base : base + "?" + kept;
    // The shown form: no password in the authority part or the parameters.
    std::string shown = address.connection;
    if (const std::size_t at = shown.find('@'), scheme = shown.find("://"); at != std::string::npos && scheme != std::string::npos) {
        const std::size_t colon = shown.find(':', scheme + 3);
        if (colon != std::string::npos && colon < at) shown.erase(colon, at - colon);
    }
    if (const std::size_t pw = shown.find("password="); pw != std::string::npos) {
        const std::size_t end = shown.find('&', pw);
        shown.erase(pw, end == std::string::npos ? std::string::npos : end - pw + 1);
    }
    address.shown = shown + (shown.find('?') == std::string::npos ? "?" : "&") + "library=" + address.schema;
    return address;
}

Status createServerLibrary(const std::string& url, const std::string& superUser, const std::string& password) {
    Result<ServerAddress> address = parseServerAddress(url);
    if (!address) return address.status();
    Connection db;
    if (Status opened = db.open(*address, superUser, password); !opened) return opened;
    const std::string s = db.quoted(address->schema);
    const std::string sql =
        "BEGIN;"
        "CREATE SCHEMA " + s + ";"
        "REVOKE ALL ON SCHEMA " + s + " FROM PUBLIC;"
        "CREATE TABLE " + s + ".records(number bigint PRIMARY KEY, author text NOT NULL,"
        " kind text NOT NULL CHECK (kind IN ('A', 'B', 'C')), content text NOT NULL, checked boolean NOT NULL DEFAULT false);"
        "CREATE TABLE " + s + ".members(position integer PRIMARY KEY, name text NOT NULL UNIQUE,"
        " \"right\" text NOT NULL CHECK (\"right\" IN ('1', '2', '3')));"
        "REVOKE ALL ON " + s + ".records, " + s + ".members FROM PUBLIC;"
        // Records are only appended: not even their owner changes or deletes one.
        "CREATE FUNCTION " + s + ".records_stay() RETURNS trigger LANGUAGE plpgsql AS $$"
        " BEGIN RAISE EXCEPTION 'shared library records are never changed or deleted'; END $$;"
        "CREATE TRIGGER records_stay BEFORE UPDATE OF number, author, kind, content OR DELETE OR TRUNCATE ON " + s +
        ".records FOR EACH STATEMENT EXECUTE FUNCTION " + s + ".records_stay();"
        // One append at a time, numbered after the last record: a record becomes visible only
        // after every record numbered before it. The author is the role logged in.
        "CREATE FUNCTION " + s + ".append_records(kinds text[], contents text[]) RETURNS bigint"
        " LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS $$"
        " DECLARE n bigint; BEGIN"
        "  LOCK TABLE " + s + ".records IN EXCLUSIVE MODE;"
        "  SELECT coalesce(max(number), 0) INTO n FROM " + s + ".records;"
        "  FOR i IN 1 .. coalesce(array_length(kinds, 1), 0) LOOP"
        "   n := n + 1;"
        "   INSERT INTO " + s + ".records(number, author, kind, content) VALUES (n, session_user, kinds[i], contents[i]);"
        "  END LOOP;"
        "  RETURN n;"
        " END $$;"
        "REVOKE ALL ON FUNCTION " + s + ".append_records(text[], text[]) FROM PUBLIC;"
        "INSERT INTO " + s + ".members VALUES (0, " + db.literal(utf8(superUser)) + ", '3');"
        "COMMIT;";
    if (Status made = db.exec(sql); !made) {
        (void)db.exec("ROLLBACK");
        return made.kind() == ErrorKind::Io && made.message().find("already exists") != std::string::npos
                   ? Status::error(ErrorKind::Refused, "共享库已经存在: " + encoding::utf8ToGbkLossy(address->shown))
                   : made;
    }
    return Status::ok();
}

Result<std::unique_ptr<SharedStore>> openServerLibrary(const std::string& url, const std::string& name,
                                                       const std::string& password) {
    Result<ServerAddress> address = parseServerAddress(url);
    if (!address) return address.status();
    auto db = std::make_unique<Connection>();
    if (Status opened = db->open(*address, name, password); !opened) return opened;
    // The right the library gives this role: the super user's is 3; a member's is in the list.
    Result<PGresult*> right = db->run("SELECT \"right\" FROM " + db->quoted(address->schema) + ".members WHERE name = $1",
                                      {utf8(name)});
    if (!right) {
        if (right.status().kind() == ErrorKind::Refused) return Status::error(ErrorKind::Refused, kWrongUserOrPassword);
        return right.status();
    }
    Rows rows{*right};
    if (rows.count() == 0) return Status::error(ErrorKind::Refused, kWrongUserOrPassword);
    Member member{name, rightFromDigit(rows.text(0, 0)[0]).value_or(Right::ReadOnly)};
    // Only the library's owner may read the members' positions: the super user is position 0.
    Result<PGresult*> position = db->run("SELECT position FROM " + db->quoted(address->schema) +
                                             ".members WHERE position = 0 AND name = $1",
                                         {utf8(name)});
    const bool superUser = position && Rows{*position}.count() == 1;
    std::unique_ptr<SharedStore> store =
        std::make_unique<ServerStore>(std::move(db), std::move(*address), std::move(member), superUser);
    return store;
}

}  // namespace tavricat::team
