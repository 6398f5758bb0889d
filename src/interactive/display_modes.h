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

inline constexpr std::array<DisplayModeInfo, 4> kDisplayModes{{
    {DisplayMode::MeaningsAndShortcuts, "SpeedButton3", "原文+释义+快捷键", "mnuShowExp", "原文+释义+提示", "Ctrl+Y", true,
     true},
    {DisplayMode::MeaningsOnly, "SpeedButton26", "原文+释义", "mnushowjustnotag", "原文+释义", "Ctrl+E", true, false},
    {DisplayMode::ShortcutsOnly, "SpeedButton4", "原文+快捷键", "mnuShowInterShortCut", "原文+快捷键", "Ctrl+T", false,
     true},
    {DisplayMode::SourceOnly, "SpeedButton5", "仅原文", "mnuOnlySource", "仅原文", "Ctrl+R", false, false},
}};

inline const DisplayModeInfo& displayModeInfo(DisplayMode mode) {
    for (const DisplayModeInfo& info : kDisplayModes)
        if (info.mode == mode) return info;
    return kDisplayModes[0];
}

// The mode of two display flags (every combination has one).
inline DisplayMode displayModeOf(bool showExplanations, bool showShortcuts) {
    for (const DisplayModeInfo& info : kDisplayModes)
        if (info.showExplanations == showExplanations && info.showShortcuts == showShortcuts) return info.mode;
    return DisplayMode::MeaningsAndShortcuts;
}

}  // namespace tavricat
