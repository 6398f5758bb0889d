#pragma once
// The four ways the interactive area shows its tokens: with or without the meaning under each
// word and the shortcut letter beside it. Each mode has a tool button and a "查看" menu item;
// the window builds both from this table, so the two stay in step.

#include <array>
#include <optional>

namespace tavricat {

enum class DisplayMode {
    MeaningsAndShortcuts,  // the start-up mode
    MeaningsOnly,
    ShortcutsOnly,
    SourceOnly,
};

struct DisplayModeInfo {
    DisplayMode mode;
    const char* button;        // tool button name
    const char* buttonHint;
    const char* menuItem;      // menu item name
    const char* menuCaption;
    const char* menuShortcut;  // as Qt reads key sequences
    bool showExplanations;
    bool showShortcuts;
};

// The table lives in the core, so that every user reads the same (GBK) texts.
extern const std::array<DisplayModeInfo, 4> kDisplayModes;

const DisplayModeInfo& displayModeInfo(DisplayMode mode);

// The mode of two display flags (every combination has one).
DisplayMode displayModeOf(bool showExplanations, bool showShortcuts);

}  // namespace tavricat
