#include "position_map.h"

#include <algorithm>
#include <array>
#include <memory>

#include "base/encoding.h"
#include "base/gbk.h"

namespace tavricat::gui {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kBlockBreak = 0x2029;  // QChar::ParagraphSeparator

// Decoded double-byte characters, indexed by (lead - 0x81) * 256 + trail. Built once: a row
// of 190 pairs goes through iconv in one call, and only a row holding undecodable pairs is
// converted pair by pair.
const std::vector<char16_t>& doubleByteTable() {
    static const std::unique_ptr<std::vector<char16_t>> table = [] {
        auto out = std::make_unique<std::vector<char16_t>>(126 * 256, kReplacement);
        auto decodeOne = [](std::string_view pair) -> char16_t {
            Result<std::string> utf8 = encoding::gbkToUtf8(pair);
            if (!utf8) return kReplacement;
            const QString s = QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
            return (s.size() == 1 && !s[0].isSurrogate()) ? s[0].unicode() : kReplacement;
        };
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            std::string row;
            std::vector<int> trails;
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                row += static_cast<char>(lead);
                row += static_cast<char>(trail);
                trails.push_back(trail);
            }
            const std::size_t base = static_cast<std::size_t>(lead - 0x81) * 256;
            Result<std::string> utf8 = encoding::gbkToUtf8(row);
            const QString s = utf8 ? QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size())) : QString();
            const bool whole = utf8 && s.size() == static_cast<qsizetype>(trails.size()) &&
                               std::none_of(s.begin(), s.end(), [](QChar c) { return c.isSurrogate(); });
            for (std::size_t i = 0; i < trails.size(); ++i) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trails[i])};
                (*out)[base + static_cast<std::size_t>(trails[i])] =
                    whole ? s[static_cast<qsizetype>(i)].unicode() : decodeOne(std::string_view(pair, 2));
            }
        }
        return out;
    }();
    return *table;
}

inline std::size_t unitLengthAt(std::string_view text, std::size_t pos) {
    const unsigned char b = static_cast<unsigned char>(text[pos]);
    if (b == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') return 2;
    return gbk::charLength(text, pos);
}

}  // namespace

std::vector<std::uint32_t> PositionMap::unitLengths(std::string_view gbk) {
    std::vector<std::uint32_t> out;
    out.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size();) {
        const std::size_t n = unitLengthAt(gbk, i);
        out.push_back(static_cast<std::uint32_t>(n));
        i += n;
    }
    return out;
}

QString PositionMap::display(std::string_view gbk) {
    const std::vector<char16_t>& table = doubleByteTable();
    QString out;
    out.reserve(static_cast<qsizetype>(gbk.size()));
    for (std::size_t i = 0; i < gbk.size();) {
        const std::size_t n = unitLengthAt(gbk, i);
        const unsigned char b = static_cast<unsigned char>(gbk[i]);
        if (b == '\r' || b == '\n') {
            out += QChar(kBlockBreak);
        } else if (n == 2) {
            const unsigned char trail = static_cast<unsigned char>(gbk[i + 1]);
            out += QChar(table[static_cast<std::size_t>(b - 0x81) * 256 + trail]);
        } else {
            out += QChar(b < 0x80 ? char16_t(b) : kReplacement);
        }
        i += n;
    }
    return out;
}

void PositionMap::reset(std::string_view gbk) {
    m_byteOf.clear();
    m_byteOf.reserve(gbk.size() + 1);
    std::size_t i = 0;
    while (i < gbk.size()) {
        m_byteOf.push_back(static_cast<std::uint32_t>(i));
        i += unitLengthAt(gbk, i);
    }
    m_byteOf.push_back(static_cast<std::uint32_t>(i));
}

std::size_t PositionMap::toByte(int qt) const {
    if (qt <= 0) return 0;
    if (qt >= qtLength()) return byteLength();
    return m_byteOf[static_cast<std::size_t>(qt)];
}

int PositionMap::toQt(std::size_t byte) const {
    if (byte >= byteLength()) return qtLength();
    auto it = std::upper_bound(m_byteOf.begin(), m_byteOf.end(), static_cast<std::uint32_t>(byte));
    return static_cast<int>(it - m_byteOf.begin()) - 1;
}

int PositionMap::toQtCeil(std::size_t byte) const {
    if (byte >= byteLength()) return qtLength();
    auto it = std::lower_bound(m_byteOf.begin(), m_byteOf.end(), static_cast<std::uint32_t>(byte));
    return static_cast<int>(it - m_byteOf.begin());
}

void PositionMap::replace(int qt, int removedUnits, const std::vector<std::uint32_t>& insertedUnitBytes) {
    qt = std::clamp(qt, 0, qtLength());
    removedUnits = std::clamp(removedUnits, 0, qtLength() - qt);
    const std::size_t at = static_cast<std::size_t>(qt);
    const std::uint32_t start = m_byteOf[at];
    const std::uint32_t removedBytes = m_byteOf[at + static_cast<std::size_t>(removedUnits)] - start;
    std::uint32_t insertedBytes = 0;
    std::vector<std::uint32_t> starts;
    starts.reserve(insertedUnitBytes.size());
    for (std::uint32_t n : insertedUnitBytes) {
        starts.push_back(start + insertedBytes);
        insertedBytes += n;
    }
    auto first = m_byteOf.begin() + static_cast<std::ptrdiff_t>(at);
    first = m_byteOf.erase(first, first + removedUnits);
    first = m_byteOf.insert(first, starts.begin(), starts.end());
    // Later units move by the change in length (unsigned arithmetic wraps correctly).
    const std::uint32_t delta = insertedBytes - removedBytes;
    for (auto it = first + static_cast<std::ptrdiff_t>(starts.size()); it != m_byteOf.end(); ++it) *it += delta;
}

TypedText typedToGbk(const QString& text) {
    TypedText out;
    QString chunk;
    auto flush = [&]() -> bool {
        if (chunk.isEmpty()) return true;
        const QByteArray utf8 = chunk.toUtf8();
        Result<std::string> converted = encoding::utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
        if (!converted) {
            out.error = converted.status().message();
            return false;
        }
        out.gbk += *converted;
        chunk.clear();
        return true;
    };
    for (QChar c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n') {
            if (!flush()) return out;
            out.gbk += "\r\n";
        } else if (c == u'\r') {
            continue;  // only ever half of a break that U+2029 or '\n' already stands for
        } else {
            chunk += c;
        }
    }
    out.ok = flush();
    return out;
}

}  // namespace tavricat::gui
