#include "document/xliff.h"

#include <pugixml.hpp>

#include <algorithm>

#include "document/xml_text.h"

namespace tavricat {

namespace {

void appendInline(const pugi::xml_node& node, std::string& out) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
            continue;
        }
        if (child.type() != pugi::node_element) continue;
        const std::string name = child.name();
        const std::string id = child.attribute("id").as_string();
        if (name == "g" || name == "mrk") {
            if (id.empty() || name == "mrk") {
                appendInline(child, out);
            } else {
                out += "<" + id + ":>";
                appendInline(child, out);
                out += "<:" + id + ">";
            }
        } else if (name == "x" || name == "ph" || name == "bx" || name == "ex" || name == "it" || name == "bpt" || name == "ept") {
            out += "<:" + (id.empty() ? std::string("0") : id) + ":>";
        }
    }
}

// The program's tags as XLIFF inline elements, the text escaped.
std::string xliffText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::optional<InlineTagAt> tag = inlineTagAt(text, i)) {
            out += tag->kind == InlineTagAt::Kind::Opening   ? "<g id=\"" + tag->id + "\">"
                   : tag->kind == InlineTagAt::Kind::Closing ? std::string("</g>")
                                                              : "<x id=\"" + tag->id + "\"/>";
            i += tag->length;
            continue;
        }
        out += xmlEscaped(text.substr(i, 1));
        ++i;
    }
    return out;
}

// The end of the element that opens at `open` ("<name ...>...</name>" or "<name .../>").
std::size_t elementEnd(const std::string& xml, std::size_t open, const std::string& name) {
    const std::size_t tagEnd = xml.find('>', open);
    if (tagEnd == std::string::npos) return std::string::npos;
    if (xml[tagEnd - 1] == '/') return tagEnd + 1;
    const std::size_t close = xml.find("</" + name + ">", tagEnd);
    return close == std::string::npos ? close : close + name.size() + 3;
}

// The next "<name" that is that element (followed by a blank, ">" or "/").
std::size_t findElement(const std::string& xml, const std::string& name, std::size_t from, std::size_t limit) {
    for (std::size_t at = xml.find("<" + name, from); at != std::string::npos && at < limit;
         at = xml.find("<" + name, at + 1)) {
        const char next = at + name.size() + 1 < xml.size() ? xml[at + name.size() + 1] : '\0';
        if (next == ' ' || next == '>' || next == '/' || next == '\t' || next == '\n' || next == '\r') return at;
    }
    return std::string::npos;
}

}  // namespace

std::vector<XliffUnit> xliffUnits(const std::string& xml) {
    std::vector<XliffUnit> units;
    for (std::size_t open = findElement(xml, "trans-unit", 0, xml.size()); open != std::string::npos;
         open = findElement(xml, "trans-unit", open + 1, xml.size())) {
        const std::size_t end = elementEnd(xml, open, "trans-unit");
        if (end == std::string::npos) break;
        const std::size_t sourceOpen = findElement(xml, "source", open, end);
        if (sourceOpen == std::string::npos) continue;
        const std::size_t sourceEnd = elementEnd(xml, sourceOpen, "source");
        if (sourceEnd == std::string::npos || sourceEnd > end) continue;
        pugi::xml_document head;
        const std::size_t headEnd = xml.find('>', open) + 1;
        const std::string openTag = xml.substr(open, headEnd - open);
        const bool selfClosing = openTag.size() > 2 && openTag[openTag.size() - 2] == '/';
        (void)head.load_string((openTag + (selfClosing ? "" : "</trans-unit>")).c_str());
        pugi::xml_document source;
        if (!source.load_buffer(xml.data() + sourceOpen, sourceEnd - sourceOpen, pugi::parse_default | pugi::parse_ws_pcdata))
            continue;
        XliffUnit unit;
        unit.id = head.child("trans-unit").attribute("id").as_string();
        unit.translate = std::string(head.child("trans-unit").attribute("translate").as_string("yes")) != "no";
        appendInline(source.child("source"), unit.source);
        unit.sourceEnd = sourceEnd;
        const std::size_t targetOpen = findElement(xml, "target", sourceEnd, end);
        unit.targetStart = unit.targetEnd = sourceEnd;
        if (targetOpen != std::string::npos) {
            const std::size_t targetEnd = elementEnd(xml, targetOpen, "target");
            if (targetEnd != std::string::npos && targetEnd <= end) {
                unit.targetStart = targetOpen;
                unit.targetEnd = targetEnd;
                pugi::xml_document target;
                if (target.load_buffer(xml.data() + targetOpen, targetEnd - targetOpen)) {
                    std::string text;
                    appendInline(target.child("target"), text);
                    unit.translated = text.find_first_not_of(" \t\r\n") != std::string::npos;
                }
            }
        }
        units.push_back(std::move(unit));
        open = end - 1;
    }
    return units;
}

std::string withXliffTargets(const std::string& xml, const std::vector<XliffUnit>& units,
                             const std::vector<XliffTarget>& targets) {
    std::vector<const XliffTarget*> order;
    for (const XliffTarget& t : targets)
        if (t.unit < units.size()) order.push_back(&t);
    // From the end of the file back, so that the offsets of the others stay true.
    std::sort(order.begin(), order.end(), [&](auto* a, auto* b) { return units[a->unit].targetStart > units[b->unit].targetStart; });
    std::string out = xml;
    for (const XliffTarget* t : order) {
        const XliffUnit& unit = units[t->unit];
        const std::string element = "<target state=\"" + t->state + "\">" + xliffText(t->text) + "</target>";
        out.replace(unit.targetStart, unit.targetEnd - unit.targetStart, element);
    }
    return out;
}

}  // namespace tavricat
