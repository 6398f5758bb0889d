#include "interactive/display_modes.h"

namespace tavricat {

const std::array<DisplayModeInfo, 4> kDisplayModes{{
    {DisplayMode::MeaningsAndShortcuts, "SpeedButton3", "原文+释义+快捷键", "mnuShowExp", "原文+释义+提示", "Ctrl+Y", true,
     true},
    {DisplayMode::MeaningsOnly, "SpeedButton26", "原文+释义", "mnushowjustnotag", "原文+释义", "Ctrl+E", true, false},
    {DisplayMode::ShortcutsOnly, "SpeedButton4", "原文+快捷键", "mnuShowInterShortCut", "原文+快捷键", "Ctrl+T", false,
     true},
    {DisplayMode::SourceOnly, "SpeedButton5", "仅原文", "mnuOnlySource", "仅原文", "Ctrl+R", false, false},
}};

const DisplayModeInfo& displayModeInfo(DisplayMode mode) {
    for (const DisplayModeInfo& info : kDisplayModes)
        if (info.mode == mode) return info;
    return kDisplayModes[0];
}

DisplayMode displayModeOf(bool showExplanations, bool showShortcuts) {
    for (const DisplayModeInfo& info : kDisplayModes)
        if (info.showExplanations == showExplanations && info.showShortcuts == showShortcuts) return info.mode;
    return DisplayMode::MeaningsAndShortcuts;
}

}  // namespace tavricat
