#pragma once

#include <string>

namespace tavricat {

// EC: English source, Chinese target. CE: Chinese source, English target.
enum class Direction { EC, CE };

inline Direction directionFromCtoe(bool ctoe) { return ctoe ? Direction::CE : Direction::EC; }
inline bool isCE(Direction d) { return d == Direction::CE; }
// "EC" or "CE", as it appears in file names (modesEC.m1, oftencharCE.rtf).
inline const char* directionTag(Direction d) { return d == Direction::CE ? "CE" : "EC"; }

}  // namespace tavricat
