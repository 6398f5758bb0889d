#include "memory/tmx.h"

#include <pugixml.hpp>

#include <fstream>
#include <sstream>

#include "base/encoding.h"
#include "base/file_system.h"
#include "base/gbk.h"
#include "document/han_spacing.h"
#include "document/xml_text.h"
#include "engine/engine.h"
#include "engine/term_base_snapshot.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// The program's tags for the inline elements of a segment, depth first.
void appendInline(const pugi::xml_node& node, std::string& out, int& isolated) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
            continue;
        }
        if (child.type() != pugi::node_element) continue;
        const std::string name = child.name();
        const std::string i = child.attribute("i").as_string();
        if (name == "bpt") out += "<" + (i.empty() ? std::to_string(++isolated) : i) + ":>";
        else if (name == "ept") out += "<:" + (i.empty() ? std::to_string(isolated) : i) + ">";
        else if (name == "ph" || name == "it" || name == "ut") {
            const std::string x = child.attribute("x").as_string();
            out += "<:" + (x.empty() ? std::to_string(++isolated + 100) : x) + ":>";
        } else if (name == "hi") appendInline(child, out, isolated);
        // <sub> holds text of an attribute of the native code: not the segment's text.
    }
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return std::string(gbk::trim(text));
}

std::string languageOf(const pugi::xml_node& tuv) {
    std::string lang = tuv.attribute("xml:lang").as_string();
    if (lang.empty()) lang = tuv.attribute("lang").as_string();  // TMX 1.1
    for (char& c : lang) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lang;
}

// A segment's text in TMX: the program's tags as bpt, ept and ph.
std::string tmxSegment(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::optional<InlineTagAt> tag = inlineTagAt(text, i)) {
            out += tag->kind == InlineTagAt::Kind::Opening   ? "<bpt i=\"" + tag->id + "\"></bpt>"
                   : tag->kind == InlineTagAt::Kind::Closing ? "<ept i=\"" + tag->id + "\"></ept>"
                                                              : "<ph x=\"" + tag->id + "\"></ph>";
            i += tag->length;
            continue;
        }
        out += xmlEscaped(text.substr(i, 1));
        ++i;
    }
    return out;
}

// The next "<tu" that opens a unit (not a "<tuv"); npos when none is complete enough to tell.
std::size_t findUnitStart(const std::string& buffer, std::size_t from) {
    std::size_t start = buffer.find("<tu", from);
    while (start != std::string::npos && start + 3 < buffer.size() && buffer[start + 3] == 'v')
        start = buffer.find("<tu", start + 3);
    if (start == std::string::npos || start + 3 >= buffer.size()) return std::string::npos;
    return start;
}

// The stored source of an example: the tokens of its key.
std::string exampleSourceOf(const std::string& line) {
    const std::size_t caret = findKeySeparator(line);
    const std::string key = line.substr(0, caret);
    return key.size() > 3 ? std::string(gbk::trim(std::string_view(key).substr(3))) : std::string();
}

}  // namespace

std::string segmentText(const std::string& segXml) {
    pugi::xml_document doc;
    if (!doc.load_buffer(segXml.data(), segXml.size(), pugi::parse_default | pugi::parse_ws_pcdata)) return {};
    std::string out;
    int isolated = 0;
    appendInline(doc.first_child(), out, isolated);
    return out;
}

Result<TmxImportCounts> importTmx(LibraryUpdateContext& context, const std::string& path, bool overwrite) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::error(ErrorKind::NotFound, "无法读取文件: " + encoding::utf8ToGbkLossy(path));
    TmxImportCounts counts;
    const bool ce = isCE(context.pipeline.options.direction);
    const TermBaseSnapshot snapshot(context.pipeline.engine.termBase);
    const SentenceLibrary::BulkAdds bulk(context.library);
    std::string buffer;
    std::vector<char> chunk(kChunk);
    bool sawTmx = false;
    bool ended = false;
    while (!ended) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0) ended = true;
        buffer.append(chunk.data(), got);
        if (!sawTmx && buffer.find("<tmx") != std::string::npos) sawTmx = true;
        std::size_t consumed = 0;
        for (;;) {
            const std::size_t start = findUnitStart(buffer, consumed);
            if (start == std::string::npos) break;
            const std::size_t end = buffer.find("</tu>", start);
            if (end == std::string::npos) break;
            consumed = end + 5;
            ++counts.units;
            if (context.progress && counts.units % 1000 == 0) context.progress->pump();
            pugi::xml_document unit;
            if (!unit.load_buffer(buffer.data() + start, end + 5 - start, pugi::parse_default | pugi::parse_ws_pcdata)) {
                ++counts.otherLanguages;
                continue;
            }
            std::string english;
            std::string chinese;
            for (const pugi::xml_node& tuv : unit.child("tu").children("tuv")) {
                const std::string lang = languageOf(tuv);
                std::string text;
                int isolated = 0;
                appendInline(tuv.child("seg"), text, isolated);
                text = oneLine(std::move(text));
                if (lang.rfind("en", 0) == 0 && english.empty()) english = std::move(text);
                else if (lang.rfind("zh", 0) == 0 && chinese.empty()) chinese = std::move(text);
            }
            if (english.empty() || chinese.empty()) {
                ++counts.otherLanguages;
                continue;
            }
            Result<std::string> en = encoding::utf8ToGbk(english);
            Result<std::string> zh = encoding::utf8ToGbk(chinese);
            if (!en || !zh) {
                counts.notGbk.push_back(counts.units);
                continue;
            }
            ++counts.pairs.pairsRead;
            if (ce) updateWithPair(context, std::move(*zh), *en, overwrite, counts.pairs);
            else updateWithPair(context, std::move(*en), ClearSpaceInCChars(*zh), overwrite, counts.pairs);
        }
        // What is left is the start of the next unit (or the file's tail).
        buffer.erase(0, consumed);
        if (buffer.size() > 64 * kChunk)
            return Status::error(ErrorKind::BadInput, "TMX 文件中有过长的翻译单元: " + encoding::utf8ToGbkLossy(path));
    }
    if (!sawTmx) return Status::error(ErrorKind::BadInput, "不是 TMX 文件: " + encoding::utf8ToGbkLossy(path));
    // A file cut short (a unit begun and never ended, or no end of the file): the pairs read
    // stay, and the import fails saying so.
    if (findUnitStart(buffer, 0) != std::string::npos || buffer.find("</tmx>") == std::string::npos)
        return Status::error(ErrorKind::BadInput, "TMX 文件不完整(已导入前 " + std::to_string(counts.units) +
                                                      " 个翻译单元): " + encoding::utf8ToGbkLossy(path));
    counts.pairs.librarySize = context.library.exampleCount();
    return counts;
}

Result<std::size_t> exportTmx(const SentenceLibrary& library, Direction direction, const std::string& path) {
    const bool ce = isCE(direction);
    std::ostringstream out;
    const char* sourceLang = ce ? "zh-CN" : "en";
    const char* targetLang = ce ? "en" : "zh-CN";
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
        << "  <header creationtool=\"TavriCAT\" creationtoolversion=\"2.5\" segtype=\"sentence\" o-tmf=\"TavriCAT\""
        << " adminlang=\"en\" srclang=\"" << sourceLang << "\" datatype=\"plaintext\"/>\n  <body>\n";
    std::size_t written = 0;
    for (const std::string& line : library.libSentences) {
        const std::size_t caret = findKeySeparator(line);
        if (caret == std::string::npos || line.size() <= 5) continue;  // a tombstone or a stub
        std::string source = exampleSourceOf(line);
        std::string translation = line.substr(caret + 1);
        if (ce) source = ClearSpaceInCChars(source);
        if (source.empty() || translation.empty()) continue;
        out << "    <tu>\n      <tuv xml:lang=\"" << sourceLang << "\"><seg>"
            << tmxSegment(encoding::gbkToUtf8Lossy(source)) << "</seg></tuv>\n      <tuv xml:lang=\"" << targetLang
            << "\"><seg>" << tmxSegment(encoding::gbkToUtf8Lossy(translation)) << "</seg></tuv>\n    </tu>\n";
        ++written;
    }
    out << "  </body>\n</tmx>\n";
    // The file system's safe replace: a scratch file flushed to disk, then renamed over the old one.
    DiskFileSystem fs;
    if (Status saved = replaceFile(fs, path, out.str()); !saved) return saved;
    return written;
}

}  // namespace tavricat
