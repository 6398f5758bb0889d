#include "app/setting_rules.h"

namespace tavricat {

namespace {

Status refused(const std::string& message) { return Status::error(ErrorKind::Refused, message); }

Status inRange(std::int32_t value, std::int32_t low, std::int32_t high, const std::string& message) {
    return value >= low && value <= high ? Status::ok() : refused(message);
}

}  // namespace

Status validateSetting(const Settings& settings, const std::string& section, const std::string& key,
                       const std::string& value) {
    const SettingKey* known = findSettingKey(section, key);
    if (!known) return Status::error(ErrorKind::NotFound, "没有这个设置：" + section + " " + key);
    Settings proposed = settings;
    if (!setSettingFromText(proposed, *known, value))
        return Status::error(ErrorKind::BadInput, std::string(known->key) + " 的值无效：" + value);

    const std::string name = known->key;
    if (name == "matchrate")
        return inRange(proposed.matchrate, kMatchRateMin, kMatchRateMax, "匹配率必须在50到100之间。");
    if (name == "maxshowcharnum")
        return inRange(proposed.maxshowcharnum, kShownCountMin, kShownCountMax, "不显示释义的单词字符数必须在1到9之间。");
    if (name == "limitPhraseTipNum")
        return inRange(proposed.limitPhraseTipNum, kShownCountMin, kShownCountMax, "显示的译例数必须在1到9之间。");
    // The fallback of an automatic translation: copy the source, keep it, or machine-translate.
    if (name == "userefmode") return inRange(proposed.userefmode, 1, 3, "参考译文方式只能是1、2或3。");
    if (name == "interEwordFontSize" || name == "interCwordFontSize") {
        const std::int32_t size = name == "interEwordFontSize" ? proposed.interEwordFontSize : proposed.interCwordFontSize;
        return size > 0 ? Status::ok() : refused("字号必须大于0。");
    }
    // Selected words drawn in the shortcut keys' colour could not be told from them. Red is
    // refused even when the shortcut colour was changed: that change lasts only this run.
    if (name == "SelWordsFC" && (proposed.SelWordsFC == kRedColour || proposed.SelWordsFC == settings.ShortCutFC))
        return refused(kSelectedWordsColourRefused);
    if (name == "ShortCutFC" && proposed.ShortCutFC == settings.SelWordsFC) return refused(kShortcutColourRefused);
    return Status::ok();
}

}  // namespace tavricat
