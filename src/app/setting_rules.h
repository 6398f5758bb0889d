#pragma once
// The rules a value the person gives for a setting must keep, whichever front end it comes
// through: the options dialogs and `tavricat-cli settings set` ask the same function, so the
// command line cannot store what the window refuses.

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "base/status.h"

namespace tavricat {

// The ranges the dialogs' sliders and spin boxes are built with.
inline constexpr std::int32_t kMatchRateMin = 50;
inline constexpr std::int32_t kMatchRateMax = 100;
inline constexpr std::int32_t kShownCountMin = 1;  // maxshowcharnum, limitPhraseTipNum
inline constexpr std::int32_t kShownCountMax = 9;

// Red (a Windows colour value): the shortcut keys' colour, which selected words may not take.
inline constexpr std::int32_t kRedColour = 255;

inline constexpr const char* kSelectedWordsColourRefused = "选定单词前景色不能用红色，也不能与快捷键颜色相同。";
inline constexpr const char* kShortcutColourRefused = "快捷键颜色不能与选定单词前景色相同。";

// Checks `value` (text, read by the key's type as setSettingFromText reads it) for the key
// `section`/`key` (any case), with `settings` holding the other settings as they stand:
// the selected words' colour is compared with the shortcut keys' colour and the other way
// round. Ok, or Refused with the message to show (GBK). An unknown key is NotFound, a value
// not of the key's type BadInput. Keys without a rule take any value of their type.
Status validateSetting(const Settings& settings, const std::string& section, const std::string& key,
                       const std::string& value);

}  // namespace tavricat
