#include "document/rtf_control_words.h"

#include <unordered_map>
#include <utility>

namespace tavricat {

namespace {

using Map = std::unordered_map<std::string_view, RtfWord>;

Map buildTable() {
    using A = RtfAction;
    Map t;
    t["par"] = {A::Break};
    for (auto w : {"line", "sect", "cell", "nestcell"}) t[w] = {A::BreakAs};
    for (auto w : {"row", "nestrow"}) t[w] = {A::LayoutClose};
    for (auto w : {"field", "fldrslt"}) t[w] = {A::Wrapper};
    for (auto w : {"footnote", "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf"})
        t[w] = {A::Story};
    for (auto w : {"chftn", "chpgn", "chdate", "chtime", "chdpl", "chdpa", "sectnum"}) t[w] = {A::Generated};
    t["tab"] = {A::Tab};
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
    t["v"] = {A::Hidden};
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
    // Destinations kept whole as layout. List labels (\listtext, \pntext) are among them: the
    // list numbering the paragraph refers to makes them again.
    for (auto w : {"stylesheet", "info", "pict", "object", "nonshppict", "annotation", "fldinst",
                   "listtext", "pntext", "shp", "shpgrp", "do",
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

bool isLayoutWord(std::string_view name) {
    static const std::unordered_map<std::string_view, bool> exact = [] {
        std::unordered_map<std::string_view, bool> m;
        for (auto w : {"pard", "ql", "qc", "qr", "qj", "qd", "qk", "qt", "li", "ri", "fi", "lin", "rin", "sb",
                       "sa", "sl", "slmult", "sbauto", "saauto", "s", "ls", "ilvl", "intbl", "itap", "keep",
                       "keepn", "widctlpar", "nowidctlpar", "hyphpar", "outlinelevel", "faauto", "fahang",
                       "facenter", "faroman", "favar", "fafixed", "adjustright", "aspalpha", "aspnum",
                       "nooverflow", "rtlpar", "ltrpar", "pagebb", "noline", "contextualspace", "sectd",
                       "cols", "colsx", "colno", "colw", "colsr", "linex", "titlepg", "headery", "footery",
                       "endnhere", "paperw", "paperh", "gutter", "landscape", "deftab", "widowctrl", "ftnbj",
                       "aenddoc", "page", "column", "cellx", "irow", "irowband", "lastrow", "box", "shading",
                       "cbpat", "cfpat", "lisa", "lisb", "dntblnsbdb", "nocolbal", "facingp", "rtldoc",
                       "ltrdoc", "ltrsect", "rtlsect", "formshade", "viewscale", "lnongrid", "snaptogridincell",
                       "nowrap", "phmrg", "posx", "posy", "absw", "absh", "dxfrtext", "dfrmtxtx", "dfrmtxty",
                       "wraparound", "wraptight", "wrapthrough", "overlay"})
            m[w] = true;
        return m;
    }();
    if (exact.count(name)) return true;
    for (std::string_view prefix : {"tr", "tbl", "cl", "brdr", "brsp", "tx", "tq", "tl", "pg", "marg", "sbk",
                                    "ftn", "aftn", "pnseclvl", "lndscp", "gutter", "sftn", "saftn", "binfsxn",
                                    "binsxn", "vertal", "headery", "footery"})
        if (name.starts_with(prefix)) return true;
    return false;
}

bool isDocumentDestination(std::string_view name) {
    for (std::string_view d : {"stylesheet", "listtable", "listoverridetable", "info", "revtbl", "rsidtbl",
                               "filetbl", "xmlnstbl", "latentstyles", "themedata", "colorschememapping",
                               "datastore", "generator", "template", "docvar", "userprops", "pgdsctbl",
                               "defchp", "defpap", "mmathPr", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc",
                               "ftncn", "aftncn", "wgrffmtfilter", "pnseclvl"})
        if (name == d) return true;
    return false;
}

}  // namespace tavricat
