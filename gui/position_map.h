#pragma once
// The one place where GBK byte offsets of a core buffer meet Qt text positions.
//
// A Qt view shows one QChar per *unit* of the core text:
//  - a line break (CR LF, or a lone CR or LF) is one unit and shows as one block break;
//  - a double-byte GBK character is one unit and one QChar (GBK holds no character outside
//    the BMP; a pair that does not decode to exactly one BMP character shows as U+FFFD);
//  - every other byte is one unit (ASCII as itself, a stray high byte as U+FFFD).
// Keeping the mapping 1 unit = 1 QChar makes Qt positions and the map agree by construction.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavricat::gui {

class PositionMap {
public:
    // Walks `gbk` into units and remembers where each starts.
    void reset(std::string_view gbk);

    int qtLength() const { return static_cast<int>(m_byteOf.size()) - 1; }
    std::size_t byteLength() const { return m_byteOf.back(); }

    // Byte offset where the unit at Qt position `qt` starts (clamped; qtLength() gives the end).
    std::size_t toByte(int qt) const;
    // Qt position of the unit holding byte `byte`; a byte inside a unit maps to that unit.
    int toQt(std::size_t byte) const;
    // Qt position of the first unit starting at or after `byte`.
    int toQtCeil(std::size_t byte) const;

    // After an edit: the units [qt, qt + removedUnits) were replaced by units of the given
    // byte lengths.
    void replace(int qt, int removedUnits, const std::vector<std::uint32_t>& insertedUnitBytes);

    // Byte lengths of the units of `gbk`, in order.
    static std::vector<std::uint32_t> unitLengths(std::string_view gbk);
    // What a view shows for `gbk`: one QChar per unit, U+2029 for line breaks.
    static QString display(std::string_view gbk);

private:
    std::vector<std::uint32_t> m_byteOf{0};  // unit start offsets, then the total length
};

// Converts what a person typed (Qt text, U+2029/U+2028 as line breaks) to GBK bytes, each
// line break as CR LF. Fails with the core's message when a character has no GBK form.
struct TypedText {
    bool ok = false;
    std::string gbk;
    std::string error;  // GBK, for the person
};
TypedText typedToGbk(const QString& text);

}  // namespace tavricat::gui
