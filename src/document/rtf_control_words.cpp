#include "document/rtf_control_words.h"

#include <unordered_map>
#include <utility>

namespace tavricat {

namespace {

using Map = std::unordered_map<std::string_view, RtfWord>;

Map buildTable() {
    using A = RtfAction;
    Map t;
    for (auto w : {"par", "line", "sect", "row"}) t[w] = {A::Break};
    for (auto w : {"tab", "cell", "nestcell"}) t[w] = {A::Tab};
    // GBK has no bullet; the middle dot stands in for it.
    const std::pair<const char*, std::uint32_t> chars[] = {
        {"emdash", 0x2014}, {"endash", 0x2013}, {"lquote", 0x2018}, {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x00B7},
        {"emspace", ' '}, {"enspace", ' '}, {"qmspace", ' '}};
    for (auto [w, cp] : chars) t[w] = {A::Char, cp};
    t["f"] = {A::Font};
    t["fs"] = {A::FontSize};
    t["cf"] = {A::Colour};
    t["b"] = {A::Bold};
    t["i"] = {A::Italic};
    for (auto w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd",
                   "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
        t[w] = {A::Underline};
    t["ulnone"] = {A::UnderlineOff};
    t["protect"] = {A::Protect};
    t["plain"] = {A::Plain};
    for (auto w : {"loch", "hich", "ltrch"}) t[w] = {A::ScriptSingle};
    t["dbch"] = {A::ScriptDouble};
    t["rtlch"] = {A::ScriptRtl};
    t["af"] = {A::AssocFont};
    t["ab"] = {A::AssocBold};
    t["ai"] = {A::AssocItalic};
    t["uc"] = {A::Uc};
    t["u"] = {A::Unicode};
    t["ansi"] = {A::DocumentCharset, 0, 1252};
    t["mac"] = {A::DocumentCharset, 0, 10000};
    t["pc"] = {A::DocumentCharset, 0, 437};
    t["pca"] = {A::DocumentCharset, 0, 850};
    t["ansicpg"] = {A::AnsiCodePage};
    t["deff"] = {A::DefaultFont};
    t["bin"] = {A::Bin};
    t["fonttbl"] = {A::FontTable};
    t["colortbl"] = {A::ColourTable};
    t["fcharset"] = {A::Charset};
    t["red"] = {A::Red};
    t["green"] = {A::Green};
    t["blue"] = {A::Blue};
    // List labels (\listtext, \pntext) are not listed: "1.", "a." and bullets are text the
    // reader of the document sees.
    for (auto w : {"stylesheet", "info", "pict", "object", "nonshppict", "header", "headerl", "headerr",
                   "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "fldinst",
                   "pntxta", "pntxtb", "listtable", "listoverridetable", "revtbl",
                   "rsidtbl", "filetbl", "xmlnstbl", "latentstyles", "themedata", "colorschememapping",
                   "datastore", "generator", "template", "docvar", "userprops", "bkmkstart", "bkmkend",
                   "atnid", "atnauthor", "atndate", "atnref", "atrfstart", "atrfend", "xe", "tc", "txe",
                   "nonesttables", "pgdsctbl", "title", "subject", "author", "operator", "keywords",
                   "doccomm", "company", "creatim", "revtim", "printim", "buptim"})
        t[w] = {A::Skip};
    return t;
}

}  // namespace

const RtfWord* findRtfWord(std::string_view name) {
    static const Map table = buildTable();
    auto found = table.find(name);
    return found == table.end() ? nullptr : &found->second;
}

}  // namespace tavricat
