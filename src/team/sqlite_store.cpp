#include "team/sqlite_store.h"

#include <sqlite3.h>
#include <sys/vfs.h>

#include <fstream>
#include <iterator>

#include "base/encoding.h"
#include "base/line_list.h"

namespace tavricat::team {

namespace {

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }
std::string gbkOf(const unsigned char* text) {
    return text ? encoding::utf8ToGbkLossy(reinterpret_cast<const char*>(text)) : std::string();
}

// One SQLite connection; every failure becomes a Status naming the file.
class Database {
public:
    Database() = default;
    ~Database() { sqlite3_close_v2(m_db); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Status open(const std::string& path, bool create) {
        m_path = path;
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) return failure("open");
        sqlite3_busy_timeout(m_db, kSqliteBusyTimeoutMs);
        return Status::ok();
    }
    Status exec(const char* sql) {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return failure(sql);
        return Status::ok();
    }
    Status failure(const std::string& doing) const {
        return Status::error(ErrorKind::Io, "共享库 " + encoding::utf8ToGbkLossy(m_path) + ": " + doing + ": " +
                                                (m_db ? sqlite3_errmsg(m_db) : "out of memory"));
    }
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    std::string m_path;
};

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(Database& db, const char* sql) : m_db(db) { m_ok = sqlite3_prepare_v2(db.get(), sql, -1, &m_statement, nullptr) == SQLITE_OK; }
    ~Statement() { sqlite3_finalize(m_statement); }
    bool ok() const { return m_ok; }
    void bind(int index, const std::string& text) { sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT); }
    void bind(int index, std::int64_t value) { sqlite3_bind_int64(m_statement, index, value); }
    int step() { return sqlite3_step(m_statement); }
    void reset() { sqlite3_reset(m_statement); sqlite3_clear_bindings(m_statement); }
    std::int64_t integer(int column) { return sqlite3_column_int64(m_statement, column); }
    std::string text(int column) { return gbkOf(sqlite3_column_text(m_statement, column)); }

private:
    Database& m_db;
    sqlite3_stmt* m_statement = nullptr;
    bool m_ok = false;
};

constexpr const char* kSchema =
    "CREATE TABLE library(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "INSERT INTO library VALUES ('format', 'tavricat shared library 1');"
    "CREATE TABLE records(number INTEGER PRIMARY KEY AUTOINCREMENT, author TEXT NOT NULL,"
    " kind TEXT NOT NULL CHECK (kind IN ('A', 'B', 'C')), content TEXT NOT NULL, checked INTEGER NOT NULL DEFAULT 0);"
    // Records are only appended.
    "CREATE TRIGGER records_stay BEFORE UPDATE ON records WHEN NEW.content IS NOT OLD.content OR"
    " NEW.author IS NOT OLD.author OR NEW.kind IS NOT OLD.kind OR NEW.number IS NOT OLD.number"
    " BEGIN SELECT RAISE(ABORT, 'records are never changed'); END;"
    "CREATE TRIGGER records_kept BEFORE DELETE ON records BEGIN SELECT RAISE(ABORT, 'records are never deleted'); END;"
    // Position 0 is the super user.
    "CREATE TABLE members(position INTEGER PRIMARY KEY, name TEXT NOT NULL, right INTEGER NOT NULL, hash TEXT NOT NULL);";

Status chooseJournal(Database& db, const std::string& path) {
    return db.exec(onNetworkFileSystem(path) ? "PRAGMA journal_mode=DELETE" : "PRAGMA journal_mode=WAL");
}

class SqliteStore : public SharedStore {
public:
    SqliteStore(std::unique_ptr<Database> db, std::string path, Member member)
        : m_db(std::move(db)), m_path(std::move(path)), m_member(std::move(member)) {}

    std::string location() const override { return m_path; }
    const Member& member() const override { return m_member; }

    Status append(const std::vector<OutgoingRecord>& records) override {
        if (!maySend(m_member.right)) return Status::error(ErrorKind::Refused, "您只有读取共享库的权限！");
        if (records.empty()) return Status::ok();
        if (Status begun = m_db->exec("BEGIN IMMEDIATE"); !begun) return begun;
        Statement insert(*m_db, "INSERT INTO records(author, kind, content) VALUES (?, ?, ?)");
        if (!insert.ok()) return rollback("prepare");
        for (const OutgoingRecord& record : records) {
            insert.bind(1, utf8(m_member.name));
            insert.bind(2, std::string(1, record.kind));
            insert.bind(3, utf8(record.content.substr(0, kMaxContentLength)));
            if (insert.step() != SQLITE_DONE) return rollback("append");
            insert.reset();
        }
        if (Status committed = m_db->exec("COMMIT"); !committed) return rollback("commit");
        return Status::ok();
    }

    Result<std::vector<SharedRecord>> readAfter(std::int64_t mark) override {
        Statement select(*m_db, "SELECT number, author, kind, content, checked FROM records WHERE number > ? ORDER BY number");
        if (!select.ok()) return m_db->failure("read");
        select.bind(1, mark);
        std::vector<SharedRecord> records;
        int step;
        while ((step = select.step()) == SQLITE_ROW) {
            SharedRecord record;
            record.number = select.integer(0);
            record.author = select.text(1);
            const std::string kind = select.text(2);
            record.kind = kind.empty() ? '?' : kind[0];
            record.content = select.text(3);
            record.checked = select.integer(4) != 0;
            records.push_back(std::move(record));
        }
        if (step != SQLITE_DONE) return m_db->failure("read");
        return records;
    }

    Result<std::int64_t> lastNumber() override {
        Statement select(*m_db, "SELECT coalesce(max(number), 0) FROM records");
        if (!select.ok() || select.step() != SQLITE_ROW) return m_db->failure("read");
        return select.integer(0);
    }

    Result<std::vector<Member>> members() override {
        if (Status super = requireSuperUser(); !super) return super;
        Statement select(*m_db, "SELECT name, right FROM members WHERE position > 0 ORDER BY position");
        if (!select.ok()) return m_db->failure("members");
        std::vector<Member> list;
        while (select.step() == SQLITE_ROW) {
            const std::optional<Right> right = rightFromDigit(static_cast<char>('0' + select.integer(1)));
            list.push_back({select.text(0), right.value_or(Right::ReadOnly)});
        }
        return list;
    }

    Status setMember(const std::string& name, const std::string& password, Right right) override {
        if (Status super = requireSuperUser(); !super) return super;
        if (password.empty()) {
            // An empty password changes the right of a member and keeps the password.
            Statement update(*m_db, "UPDATE members SET right = ? WHERE position > 0 AND name = ?");
            if (!update.ok()) return m_db->failure("members");
            update.bind(1, static_cast<std::int64_t>(right));
            update.bind(2, utf8(name));
            if (update.step() != SQLITE_DONE) return m_db->failure("members");
            if (sqlite3_changes(m_db->get()) > 0) return Status::ok();
            return Status::error(ErrorKind::BadInput, kPasswordRequired);
        }
        Result<std::string> hash = hashPassword(password);
        if (!hash) return hash.status();
        Statement update(*m_db, "UPDATE members SET right = ?, hash = ? WHERE position > 0 AND name = ?");
        if (!update.ok()) return m_db->failure("members");
        update.bind(1, static_cast<std::int64_t>(right));
        update.bind(2, *hash);
        update.bind(3, utf8(name));
        if (update.step() != SQLITE_DONE) return m_db->failure("members");
        if (sqlite3_changes(m_db->get()) > 0) return Status::ok();
        Statement insert(*m_db, "INSERT INTO members(position, name, right, hash) "
                                "VALUES ((SELECT coalesce(max(position), 0) + 1 FROM members), ?, ?, ?)");
        if (!insert.ok()) return m_db->failure("members");
        insert.bind(1, utf8(name));
        insert.bind(2, static_cast<std::int64_t>(right));
        insert.bind(3, *hash);
        if (insert.step() != SQLITE_DONE) return m_db->failure("members");
        return Status::ok();
    }

    Status removeMember(const std::string& name) override {
        if (Status super = requireSuperUser(); !super) return super;
        Statement remove(*m_db, "DELETE FROM members WHERE position = "
                                "(SELECT min(position) FROM members WHERE position > 0 AND name = ?)");
        if (!remove.ok()) return m_db->failure("members");
        remove.bind(1, utf8(name));
        if (remove.step() != SQLITE_DONE) return m_db->failure("members");
        return Status::ok();
    }

    Result<std::string> superUserName() override {
        Statement select(*m_db, "SELECT name FROM members WHERE position = 0");
        if (!select.ok() || select.step() != SQLITE_ROW) return m_db->failure("members");
        return select.text(0);
    }

    Result<bool> isSuperUserPassword(const std::string& password) override {
        Statement select(*m_db, "SELECT hash FROM members WHERE position = 0");
        if (!select.ok() || select.step() != SQLITE_ROW) return m_db->failure("members");
        return passwordMatches(select.text(0), password);
    }

private:
    Status rollback(const char* doing) {
        Status failed = m_db->failure(doing);
        (void)m_db->exec("ROLLBACK");
        return failed;
    }
    Status requireSuperUser() {
        Statement select(*m_db, "SELECT name FROM members WHERE position = 0");
        if (!select.ok() || select.step() != SQLITE_ROW) return m_db->failure("members");
        if (select.text(0) != m_member.name) return Status::error(ErrorKind::Refused, "只有超级用户可以设定用户权限");
        return Status::ok();
    }

    std::unique_ptr<Database> m_db;
    std::string m_path;
    Member m_member;
};

// The members of an old scrambled user list beside the library, their passwords hashed; the
// list is rewritten with the hashes, so that no readable password is left in it.
Status importLegacyUserList(Database& db, const std::string& path) {
    const std::string listPath = userListPathOf(path);
    std::ifstream in(listPath, std::ios::binary);
    if (!in) return Status::ok();
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const LineList lines = splitLines(bytes);
    std::vector<UserLine> users;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        std::optional<UserLine> user = parseUserLine(unscramble(line));
        if (!user) return Status::error(ErrorKind::BadInput, "用户列表无法读取: " + encoding::utf8ToGbkLossy(listPath));
        if (!isPasswordHash(user->password)) {
            Result<std::string> hash = hashPassword(user->password);
            if (!hash) return hash.status();
            user->password = *hash;
        }
        users.push_back(std::move(*user));
    }
    if (users.empty()) return Status::ok();
    if (Status begun = db.exec("BEGIN IMMEDIATE"); !begun) return begun;
    Statement insert(db, "INSERT INTO members(position, name, right, hash) VALUES (?, ?, ?, ?)");
    for (std::size_t i = 0; i < users.size(); ++i) {
        insert.bind(1, static_cast<std::int64_t>(i));
        insert.bind(2, utf8(users[i].name));
        insert.bind(3, static_cast<std::int64_t>(users[i].right));
        insert.bind(4, users[i].password);
        if (insert.step() != SQLITE_DONE) {
            Status failed = db.failure("members");
            (void)db.exec("ROLLBACK");
            return failed;
        }
        insert.reset();
    }
    if (Status committed = db.exec("COMMIT"); !committed) return committed;
    std::string rewritten;
    for (const UserLine& user : users) rewritten += scramble(userLineText(user)) + "\r\n";
    std::ofstream out(listPath + ".new", std::ios::binary | std::ios::trunc);
    out << rewritten;
    out.close();
    if (!out || std::rename((listPath + ".new").c_str(), listPath.c_str()) != 0)
        return Status::error(ErrorKind::Io, "用户列表无法改写: " + encoding::utf8ToGbkLossy(listPath));
    return Status::ok();
}

}  // namespace

bool onNetworkFileSystem(const std::string& path) {
    std::string folder = path;
    const std::size_t slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0x6969UL:      // NFS
        case 0x517BUL:      // SMB
        case 0xFF534D42UL:  // CIFS
        case 0xFE534D42UL:  // SMB2
        case 0x65735546UL:  // FUSE (sshfs and the like)
        case 0x564C:        // NCP
        case 0x47504653UL:  // GPFS
            return true;
        default:
            return false;
    }
}

Status createSqliteLibrary(const std::string& path, const std::string& superUser, const std::string& password) {
    if (std::ifstream(path).good()) return Status::error(ErrorKind::Refused, "共享库已经存在: " + encoding::utf8ToGbkLossy(path));
    Result<std::string> hash = hashPassword(password);
    if (!hash) return hash.status();
    Database db;
    if (Status opened = db.open(path, true); !opened) return opened;
    if (Status journal = chooseJournal(db, path); !journal) return journal;
    if (Status begun = db.exec("BEGIN IMMEDIATE"); !begun) return begun;
    if (Status made = db.exec(kSchema); !made) {
        (void)db.exec("ROLLBACK");
        return made;
    }
    Statement insert(db, "INSERT INTO members(position, name, right, hash) VALUES (0, ?, 3, ?)");
    insert.bind(1, utf8(superUser));
    insert.bind(2, *hash);
    if (!insert.ok() || insert.step() != SQLITE_DONE) {
        Status failed = db.failure("members");
        (void)db.exec("ROLLBACK");
        return failed;
    }
    return db.exec("COMMIT");
}

Result<std::unique_ptr<SharedStore>> openSqliteLibrary(const std::string& path, const std::string& name,
                                                       const std::string& password) {
    auto db = std::make_unique<Database>();
    if (Status opened = db->open(path, false); !opened) return opened;
    if (Status journal = chooseJournal(*db, path); !journal) return journal;
    {
        Statement format(*db, "SELECT value FROM library WHERE key = 'format'");
        if (!format.ok() || format.step() != SQLITE_ROW)
            return Status::error(ErrorKind::BadInput, "不是共享库: " + encoding::utf8ToGbkLossy(path));
    }
    {
        Statement count(*db, "SELECT count(*) FROM members");
        if (count.ok() && count.step() == SQLITE_ROW && count.integer(0) == 0)
            if (Status imported = importLegacyUserList(*db, path); !imported) return imported;
    }
    Statement select(*db, "SELECT right, hash FROM members WHERE name = ? ORDER BY position");
    if (!select.ok()) return db->failure("members");
    select.bind(1, utf8(name));
    while (select.step() == SQLITE_ROW) {
        if (!passwordMatches(select.text(1), password)) continue;
        const std::optional<Right> right = rightFromDigit(static_cast<char>('0' + select.integer(0)));
        Member member{name, right.value_or(Right::ReadOnly)};
        std::unique_ptr<SharedStore> store = std::make_unique<SqliteStore>(std::move(db), path, std::move(member));
        return store;
    }
    return Status::error(ErrorKind::Refused, kWrongUserOrPassword);
}

}  // namespace tavricat::team
