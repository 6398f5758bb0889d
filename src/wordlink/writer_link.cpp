#include "wordlink/writer_link.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "base/encoding.h"
#include "base/process_runner.h"
#include "document/office_converter.h"
#include "wordlink/bridge_process.h"
#include "wordlink/linked_paragraph.h"

namespace tavricat::wordlink {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// writer_bridge.py: beside the executable when installed, else in the source tree it was built from.
std::string bridgeScript() {
    if (std::string set = variable("TAVRICAT_WRITER_BRIDGE"); !set.empty()) return set;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = self.parent_path() / "writer_bridge.py";
        if (std::filesystem::exists(beside, error)) return beside.string();
    }
    return TAVRICAT_WRITER_BRIDGE_SOURCE;
}

// A short name for a folder, so that each program folder has a Writer of its own.
std::string folderTag(const std::string& folder) {
    return std::to_string(std::hash<std::string>{}(folder) % 1000000007ULL);
}

std::string utf8Of(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

// A message for the person: what went wrong, in GBK.
Status shown(const Status& status, const char* doing) {
    if (status.kind() == ErrorKind::Io) return Status::error(ErrorKind::Io, std::string(kWriterLinkLost) + "(" + encoding::utf8ToGbkLossy(status.message()) + ")");
    return Status::error(status.kind(), std::string(doing) + ": " + encoding::utf8ToGbkLossy(status.message()));
}

int numberOf(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size()) return 0;
    return std::atoi(fields[index].c_str());
}

}  // namespace

WriterLinkOptions writerLinkOptionsFor(const std::string& programFolder) {
    WriterLinkOptions options;
    if (std::string set = variable("TAVRICAT_PYTHON"); !set.empty()) options.python = set;
    options.bridge = bridgeScript();
    options.soffice = variable(kSofficeVariable);
    const std::string tag = folderTag(programFolder) + "-" + std::to_string(::getuid());
    options.pipe = variable("TAVRICAT_WRITER_PIPE");
    if (options.pipe.empty()) options.pipe = "tavricat-writer-" + tag;
    options.profile = variable("TAVRICAT_WRITER_PROFILE");
    if (options.profile.empty()) {
        std::string cache = variable("XDG_CACHE_HOME");
        if (cache.empty()) cache = variable("HOME").empty() ? std::string("/tmp") : variable("HOME") + "/.cache";
        options.profile = cache + "/tavricat/writer-" + tag;
    }
    options.headless = variable("TAVRICAT_WRITER_HEADLESS") == "1";
    return options;
}

WriterLink::WriterLink(WriterLinkOptions options) : m_options(std::move(options)) {}

WriterLink::~WriterLink() = default;

bool WriterLink::connected() const { return m_bridge && m_bridge->running(); }

Result<bool> WriterLink::connect() {
    disconnect();
    std::string soffice = m_options.soffice;
    if (soffice.empty()) {
        PosixProcessRunner runner;
        Result<std::string> found = OfficeConverter(runner).locate();
        if (!found) return found.status();
        soffice = *found;
    }
    if (!isExecutableFile(m_options.python))
        return Status::error(ErrorKind::NotFound, "未找到 Python(" + encoding::utf8ToGbkLossy(m_options.python) +
                                                      ")。Writer 链接需要 python3 与 python3-uno。");
    std::vector<std::string> argv{m_options.python, m_options.bridge, "--pipe", m_options.pipe, "--soffice", soffice,
                                  "--profile", m_options.profile, "--timeout",
                                  std::to_string(m_options.startTimeoutMs / 1000)};
    if (m_options.headless) argv.emplace_back("--headless");
    auto bridge = std::make_unique<BridgeProcess>();
    Result<std::vector<std::string>> greeting = bridge->start(argv, m_options.startTimeoutMs + 5000);
    if (!greeting)
        return Status::error(ErrorKind::Io, "LibreOffice Writer 无法启动或连接: " + encoding::utf8ToGbkLossy(greeting.status().message()));
    m_bridge = std::move(bridge);
    return !greeting->empty() && greeting->front() == "started";
}

void WriterLink::disconnect() {
    if (m_bridge) m_bridge->stop();
    m_bridge.reset();
}

Status WriterLink::quitWriter() {
    if (!connected()) return Status::ok();
    Result<std::vector<std::string>> done = m_bridge->request({"quit"}, m_options.requestTimeoutMs);
    disconnect();
    return done ? Status::ok() : done.status();
}

Result<std::vector<std::string>> WriterLink::ask(const std::vector<std::string>& fields) {
    if (!connected()) return Status::error(ErrorKind::Io, "the link is not connected");
    return m_bridge->request(fields, m_options.requestTimeoutMs);
}

Result<int> WriterLink::documentCount() {
    Result<std::vector<std::string>> answer = ask({"count"});
    if (!answer) return shown(answer.status(), "Writer");
    return numberOf(*answer, 0);
}

Status WriterLink::addDocument() {
    Result<std::vector<std::string>> answer = ask({"new"});
    return answer ? Status::ok() : shown(answer.status(), "Writer 无法新建文档");
}

Status WriterLink::openDocument(const std::string& path) {
    Result<std::vector<std::string>> answer = ask({"open", path});
    return answer ? Status::ok() : shown(answer.status(), "Writer 无法打开文档");
}

Result<WriterDocumentName> WriterLink::activeDocument() {
    Result<std::vector<std::string>> answer = ask({"name"});
    if (!answer) return shown(answer.status(), "Writer");
    WriterDocumentName name;
    if (answer->size() >= 2) {
        name.name = (*answer)[0];
        name.folder = (*answer)[1];
    }
    return name;
}

Status WriterLink::saveActiveDocument(const std::string& path) {
    Result<std::vector<std::string>> answer = ask({"save", path});
    return answer ? Status::ok() : shown(answer.status(), "Writer 无法保存文档");
}

Status WriterLink::closeActiveDocument() {
    Result<std::vector<std::string>> answer = ask({"close"});
    return answer ? Status::ok() : shown(answer.status(), "Writer 无法关闭文档");
}

Status WriterLink::placeWindow(int x, int y, int width, int height) {
    Result<std::vector<std::string>> answer =
        ask({"place", std::to_string(x), std::to_string(y), std::to_string(width), std::to_string(height)});
    return answer ? Status::ok() : shown(answer.status(), "Writer");
}

Result<bool> WriterLink::selectionIsInsertionPoint() {
    Result<std::vector<std::string>> answer = ask({"selection"});
    if (!answer) return shown(answer.status(), "Writer");
    return numberOf(*answer, 0) == 1;
}

Result<TakenSentence> WriterLink::takeNextSentence(Direction direction, const BreakOptions& breaks,
                                                   const AbbreviationLookup& abbreviations) {
    Result<std::vector<std::string>> answer = ask({"paragraph"});
    if (!answer) return shown(answer.status(), "Writer");
    if (answer->size() < 3) return Status::error(ErrorKind::BadInput, "Writer: bad answer");
    std::string unit = (*answer)[0];
    std::size_t caretCharacter = static_cast<std::size_t>(numberOf(*answer, 1));
    std::string text = (*answer)[2];
    for (;;) {
        const LinkedParagraph paragraph(text);
        if (auto pick = pickSentence(paragraph, paragraph.byteOf(caretCharacter), direction, breaks, abbreviations)) {
            // The blanks after a sentence stay outside the selection: so does a footnote anchor
            // or a field between the sentence's stop and its blank, which then stays after the
            // translation and out of the source a clean-up removes.
            std::size_t end = pick->end;
            if (!pick->revision)
                while (end > pick->start + 1 && paragraph.text()[end - 1] == ' ') --end;
            const std::size_t from = paragraph.characterAt(pick->start);
            const std::size_t to = paragraph.characterAt(end);
            Result<std::vector<std::string>> selected =
                ask({"select", unit, std::to_string(from), std::to_string(to)});
            if (!selected) return shown(selected.status(), "Writer");
            TakenSentence taken{pick->sentence, pick->revision, {}, paragraph.lostCharacters()};
            if (pick->revision) taken.selected = paragraph.text().substr(pick->start, pick->end - pick->start);
            return taken;
        }
        Result<std::vector<std::string>> next = ask({"next", unit});
        if (!next) return shown(next.status(), "Writer");
        if (next->empty() || next->front() == "end") return TakenSentence{};
        unit = (*next)[0];
        text = next->size() > 1 ? (*next)[1] : std::string();
        caretCharacter = 0;
    }
}

Result<TakenSentence> WriterLink::takeSelection() {
    Result<std::vector<std::string>> answer = ask({"take"});
    if (!answer) return shown(answer.status(), "Writer");
    const LinkedParagraph text(answer->empty() ? std::string() : answer->front());
    return TakenSentence{text.text(), false, {}, text.lostCharacters()};
}

Status WriterLink::putBack(const std::string& translation, const std::string& rate, bool overwrite) {
    Result<std::vector<std::string>> answer = ask({"putback", utf8Of(translation), rate, overwrite ? "1" : "0"});
    return answer ? Status::ok() : shown(answer.status(), "Writer 无法写回译文");
}

Result<int> WriterLink::cleanup() {
    Result<std::vector<std::string>> answer = ask({"cleanup"});
    if (!answer) return shown(answer.status(), "Writer 无法清除原文");
    return numberOf(*answer, 0);
}

Result<std::string> WriterLink::pureText(const std::string& path) {
    std::string document = path;
    if (document.empty()) {
        Result<WriterDocumentName> active = activeDocument();
        if (!active) return active.status();
        if (!active->name.empty()) document = active->folder + "/" + active->name;
    }
    std::string out = document.empty() ? std::string() : document + "1";
    bool scratch = out.empty() || ::access(std::filesystem::path(out).parent_path().c_str(), W_OK) != 0;
    if (scratch) {
        char name[] = "/tmp/tavricat-text-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd < 0) return Status::error(ErrorKind::Io, "无法建立临时文件");
        ::close(fd);
        out = name;
    }
    Result<std::vector<std::string>> answer = ask({"puretext", path, out});
    std::ifstream in(out, std::ios::binary);
    std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::remove(out.c_str());
    if (!answer) return shown(answer.status(), "Writer 无法取出纯文本");
    if (utf8.compare(0, encoding::kUtf8Bom.size(), encoding::kUtf8Bom) == 0) utf8.erase(0, encoding::kUtf8Bom.size());
    return LinkedParagraph(utf8).text();
}

Status WriterLink::pause() {
    Result<std::vector<std::string>> answer = ask({"pause"});
    return answer ? Status::ok() : answer.status();
}

}  // namespace tavricat::wordlink
