#include "engine/term_exchange.h"

#include <pugixml.hpp>

#include <sstream>

#include "base/encoding.h"
#include "base/file_system.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "document/han_spacing.h"
#include "document/xml_text.h"
#include "engine/bar_lists.h"
#include "engine/morphology.h"
#include "engine/term_base.h"

namespace tavricat {

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string languageOf(const pugi::xml_node& node) {
    std::string lang = node.attribute("xml:lang").as_string();
    if (lang.empty()) lang = node.attribute("lang").as_string();
    return lower(lang);
}

// A field's text: no field or item separators, no line breaks.
std::string fieldText(std::string text) {
    for (char& c : text)
        if (c == '^' || c == '|' || c == '\r' || c == '\n' || c == '\t') c = ' ';
    return std::string(gbk::trim(text));
}

// "noun" → "n", "verb" → "v", ...: the word classes the term base writes.
std::string classOf(std::string partOfSpeech) {
    partOfSpeech = lower(partOfSpeech);
    if (partOfSpeech.rfind("noun", 0) == 0 || partOfSpeech == "n") return "n";
    if (partOfSpeech.rfind("verb", 0) == 0 || partOfSpeech == "v") return "v";
    if (partOfSpeech.rfind("adj", 0) == 0) return "adj";
    if (partOfSpeech.rfind("adv", 0) == 0) return "adv";
    return {};
}

std::string partOfSpeechOf(const std::string& cls) {
    if (cls == "n") return "noun";
    if (cls == "v") return "verb";
    if (cls == "adj") return "adjective";
    if (cls == "adv") return "adverb";
    return {};
}

// The children of `node` named any of `names`.
template <typename F>
void eachChild(const pugi::xml_node& node, std::initializer_list<const char*> names, F&& f) {
    for (const pugi::xml_node& child : node.children())
        for (const char* name : names)
            if (std::string(child.name()) == name) f(child);
}

std::string gbkOf(const std::string& utf8, bool& lost) {
    Result<std::string> gbk = encoding::utf8ToGbk(utf8);
    if (gbk) return *gbk;
    lost = true;
    return {};
}

// Splits a CSV line at commas outside double quotes; "" inside quotes is one quote.
std::vector<std::string> csvFields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

}  // namespace

Result<std::vector<TermPair>> readTbx(const std::string& path, Direction direction) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (!parsed)
        return Status::error(ErrorKind::BadInput, "TBX 文件无法读取: " + encoding::utf8ToGbkLossy(path) + " (" +
                                                      parsed.description() + ")");
    const pugi::xml_node root = doc.document_element();
    const pugi::xml_node body = root.child("text").child("body") ? root.child("text").child("body") : root.child("body");
    if (!body) return Status::error(ErrorKind::BadInput, "不是 TBX 文件: " + encoding::utf8ToGbkLossy(path));
    const std::string sourceLang = isCE(direction) ? "zh" : "en";
    const std::string targetLang = isCE(direction) ? "en" : "zh";
    std::vector<TermPair> pairs;
    eachChild(body, {"termEntry", "conceptEntry"}, [&](const pugi::xml_node& entry) {
        std::vector<std::string> keys;
        std::vector<std::string> translations;
        std::string cls;
        std::string note;
        std::string definition;
        bool lost = false;
        eachChild(entry, {"descrip"}, [&](const pugi::xml_node& d) {
            if (std::string(d.attribute("type").as_string()) == "definition") definition = gbkOf(d.text().as_string(), lost);
        });
        eachChild(entry, {"note"}, [&](const pugi::xml_node& n) { note = gbkOf(n.text().as_string(), lost); });
        eachChild(entry, {"langSet", "langSec"}, [&](const pugi::xml_node& langSet) {
            const std::string lang = languageOf(langSet);
            const bool source = lang.rfind(sourceLang, 0) == 0;
            const bool target = lang.rfind(targetLang, 0) == 0;
            eachChild(langSet, {"descrip"}, [&](const pugi::xml_node& d) {
                if (std::string(d.attribute("type").as_string()) == "definition" && definition.empty())
                    definition = gbkOf(d.text().as_string(), lost);
            });
            eachChild(langSet, {"tig", "ntig", "termSec"}, [&](const pugi::xml_node& tig) {
                pugi::xml_node term = tig.child("term");
                if (!term) term = tig.child("termGrp").child("term");
                const std::string text = fieldText(gbkOf(term.text().as_string(), lost));
                std::string itemClass;
                eachChild(tig, {"termNote"}, [&](const pugi::xml_node& n) {
                    if (std::string(n.attribute("type").as_string()) == "partOfSpeech") itemClass = classOf(n.text().as_string());
                });
                eachChild(tig, {"note"}, [&](const pugi::xml_node& n) {
                    if (note.empty()) note = gbkOf(n.text().as_string(), lost);
                });
                if (text.empty()) return;
                if (source) {
                    keys.push_back(text);
                    if (cls.empty()) cls = itemClass;
                } else if (target) {
                    translations.push_back(itemClass.empty() ? text : "[" + itemClass + ".]" + text);
                }
            });
        });
        if (lost || keys.empty() || translations.empty()) return;
        std::string value;
        for (const std::string& t : translations) value += (value.empty() ? "" : "|") + t;
        value += "^" + fieldText(note) + "^" + cls + "^" + fieldText(definition);
        for (const std::string& key : keys) pairs.push_back({key, value});
    });
    return pairs;
}

Result<std::vector<TermPair>> readGlossary(FileSystem& fs, const std::string& path) {
    Result<LineList> lines = loadInputLines(fs, path);
    if (!lines) return lines.status();
    const bool csv = lower(path).size() >= 4 && lower(path).compare(path.size() - 4, 4, ".csv") == 0;
    std::vector<TermPair> pairs;
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        std::vector<std::string> fields;
        if (csv) fields = csvFields(line);
        else fields = splitFields(line, '\t', 3);
        if (fields.size() < 2 || gbk::trim(fields[0]).empty()) continue;
        const std::string first = lower(std::string(gbk::trim(fields[0])));
        if (i == 0 && (first == "source" || first == "term" || first == "en" || first == "zh" || first == "english" ||
                       first == "chinese" || first == "src"))
            continue;  // the column names
        const std::string note = fields.size() > 2 ? fieldText(fields[2]) : std::string();
        pairs.push_back({fieldText(fields[0]), fieldText(fields[1]) + "^" + note + "^^"});
    }
    return pairs;
}

Result<std::size_t> writeTbx(const TermBase& terms, Direction direction, const std::string& path) {
    std::ostringstream out;
    const char* sourceLang = isCE(direction) ? "zh-CN" : "en";
    const char* targetLang = isCE(direction) ? "en" : "zh-CN";
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<martif type=\"TBX-Basic\" xml:lang=\"" << sourceLang << "\">\n"
        << "  <martifHeader><fileDesc><sourceDesc><p>TavriCAT term base</p></sourceDesc></fileDesc></martifHeader>\n"
        << "  <text><body>\n";
    std::size_t written = 0;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const std::vector<std::string> fields = splitFields(terms.termEntries[i], '^', 4);
        std::vector<std::string> items;
        std::string_view translation = fields[0];
        while (!translation.empty()) {
            const std::size_t bar = translation.find('|');
            std::string item(gbk::trim(meaningOf(translation.substr(0, bar))));
            if (!item.empty()) items.push_back(std::move(item));
            if (bar == std::string_view::npos) break;
            translation.remove_prefix(bar + 1);
        }
        if (items.empty()) continue;
        std::string key = terms.termKeys[i];
        if (isCE(direction)) key = ClearSpaceInCChars(key);
        const std::string cls = fields.size() > 2 ? std::string(gbk::trim(fields[2].substr(0, fields[2].find('|')))) : "";
        const std::string pos = partOfSpeechOf(cls);
        out << "    <termEntry id=\"t" << ++written << "\">\n";
        if (fields.size() > 3 && !gbk::trim(fields[3]).empty())
            out << "      <descrip type=\"definition\">" << xmlEscaped(encoding::gbkToUtf8Lossy(fields[3])) << "</descrip>\n";
        if (fields.size() > 1 && !gbk::trim(fields[1]).empty())
            out << "      <note>" << xmlEscaped(encoding::gbkToUtf8Lossy(fields[1])) << "</note>\n";
        out << "      <langSet xml:lang=\"" << sourceLang << "\"><tig><term>" << xmlEscaped(encoding::gbkToUtf8Lossy(key))
            << "</term>";
        if (!pos.empty()) out << "<termNote type=\"partOfSpeech\">" << pos << "</termNote>";
        out << "</tig></langSet>\n      <langSet xml:lang=\"" << targetLang << "\">";
        for (const std::string& item : items)
            out << "<tig><term>" << xmlEscaped(encoding::gbkToUtf8Lossy(item)) << "</term></tig>";
        out << "</langSet>\n    </termEntry>\n";
    }
    out << "  </body></text>\n</martif>\n";
    // The file system's safe replace: a scratch file flushed to disk, then renamed over the old one.
    DiskFileSystem fs;
    if (Status saved = replaceFile(fs, path, out.str()); !saved) return saved;
    return written;
}

}  // namespace tavricat
