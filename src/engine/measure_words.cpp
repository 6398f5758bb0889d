#include "engine/measure_words.h"

#include "base/list_order.h"

namespace tavricat {

std::string MeasureWords::wordFor(std::string_view key) const {
    SortedFind at = findSorted(measureKeys, key);
    return at.found && at.index < measureWords.size() ? measureWords[at.index] : std::string();
}

Result<MeasureWords> loadMeasureWords(FileSystem& fs, const std::string& art01Path, const std::string& art02Path) {
    Result<LineList> keys = loadLines(fs, art01Path);
    if (!keys) return keys.status();
    Result<LineList> words = loadLines(fs, art02Path);
    if (!words) return words.status();
    MeasureWords table{std::move(*keys), std::move(*words)};
    table.measureWords.resize(table.measureKeys.size());
    if (!isListOrdered(table.measureKeys)) sortWithParallel(table.measureKeys, {&table.measureWords});
    return table;
}

}  // namespace tavricat
