#include "app/settings.h"

#include "base/library_info.h"


namespace tavricat {

namespace {

constexpr const char* kIni = "inisetup";
constexpr const char* kNet = "netsetting";
constexpr const char* kColour = "colorsetup";
constexpr const char* kSeg = "segmenting";
constexpr const char* kFont = "fontsetup";

using S = Settings;

std::string fold(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return text;
}

// The settings that name files in the user-data folder. The team library's setting is a
// path on a shared folder or a server address, and stays as it is.
bool isLibraryNameSetting(const std::string* field, Settings& settings) {
    return field == &settings.curZyname || field == &settings.curLiJuKuname;
}

template <typename M>
bool isShortcutColour(M member) {
    if constexpr (std::is_same_v<M, std::int32_t Settings::*>) return member == &Settings::ShortCutFC;
    else return false;
}

}  // namespace

const std::vector<SettingKey>& settingsTable() {
    static const std::vector<SettingKey> table = {
        {kIni, "userefmode", SettingType::Integer, &S::userefmode},
        {kIni, "matchrate", SettingType::Integer, &S::matchrate},
        {kIni, "maxshowcharnum", SettingType::Integer, &S::maxshowcharnum},
        {kIni, "limitPhraseTipNum", SettingType::Integer, &S::limitPhraseTipNum},
        {kIni, "giveMT", SettingType::Boolean, &S::giveMT},
        {kIni, "InterTop", SettingType::Boolean, &S::InterTop},
        {kIni, "curZyname", SettingType::String, &S::curZyname},
        {kIni, "curLiJuKuname", SettingType::String, &S::curLiJuKuname},
        {kIni, "autoshowexp", SettingType::Boolean, &S::autoshowexp},
        {kIni, "SpaceInHanChar", SettingType::Boolean, &S::SpaceInHanChar},
        {kIni, "copyNewWords", SettingType::Boolean, &S::copyNewWords},
        {kIni, "showZi", SettingType::Boolean, &S::showZi},
        {kIni, "ctoe", SettingType::Boolean, &S::ctoe},
        {kIni, "useSysLib", SettingType::Boolean, &S::useSysLib},
        {kIni, "useUserLib", SettingType::Boolean, &S::useUserLib},
        {kIni, "popwizard", SettingType::Boolean, &S::popwizard},
        {kIni, "logfileName", SettingType::String, &S::logfileName},
        {kIni, "curyiwenfilename", SettingType::String, &S::curyiwenfilename, false},
        {kIni, "curShareLibName", SettingType::String, &S::curShareLibName},
        {kNet, "shareMode", SettingType::Integer, &S::shareMode},
        {kColour, "CurEwordBC", SettingType::Colour, &S::CurEwordBC},
        {kColour, "PhraseTipBC", SettingType::Colour, &S::PhraseTipBC},
        {kColour, "SelWordsFC", SettingType::Colour, &S::SelWordsFC},
        {kColour, "CurExplainBC", SettingType::Colour, &S::CurExplainBC},
        {kColour, "IsoTagsFC", SettingType::Colour, &S::IsoTagsFC},
        {kColour, "ShortCutFC", SettingType::Colour, &S::ShortCutFC},
        {kSeg, "TABkeyStop", SettingType::Boolean, &S::TABkeyStop},
        {kSeg, "CLStop", SettingType::Boolean, &S::CLStop},
        {kSeg, "tagStop", SettingType::Boolean, &S::tagStop},
        {kFont, "interEwordFontName", SettingType::String, &S::interEwordFontName},
        {kFont, "interCwordFontName", SettingType::String, &S::interCwordFontName},
        {kFont, "interEwordFontSize", SettingType::Integer, &S::interEwordFontSize},
        {kFont, "interCwordFontSize", SettingType::Integer, &S::interCwordFontSize},
        // This program's own settings come after the inherited ones.
        {kIni, "autoPropagate", SettingType::Boolean, &S::autoPropagate},
    };
    return table;
}

const SettingKey* findSettingKey(const std::string& section, const std::string& key) {
    for (const SettingKey& entry : settingsTable())
        if (fold(entry.section) == fold(section) && fold(entry.key) == fold(key)) return &entry;
    return nullptr;
}

Settings readSettings(const SettingsStore& store) {
    Settings settings;
    for (const SettingKey& entry : settingsTable()) {
        if (!entry.readAtStart) continue;
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(settings.*member)>;
                T& field = settings.*member;
                if constexpr (std::is_same_v<T, bool>) field = store.readBool(entry.section, entry.key, field);
                else if constexpr (std::is_same_v<T, std::int32_t>) field = store.readInteger(entry.section, entry.key, field);
                else {
                    std::string text = store.readString(entry.section, entry.key, field);
                    // A library name leading out of the user-data folder is not used; the
                    // default library opens in its place.
                    if (!isLibraryNameSetting(&field, settings) || isPlainLibraryName(text)) field = std::move(text);
                }
            },
            entry.member);
    }
    return settings;
}

void writeSettings(SettingsStore& store, const Settings& settings) {
    const Settings defaults;
    for (const SettingKey& entry : settingsTable()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(settings.*member)>;
                const T& field = isShortcutColour(member) ? defaults.*member : settings.*member;
                if constexpr (std::is_same_v<T, bool>) store.writeBool(entry.section, entry.key, field);
                else if constexpr (std::is_same_v<T, std::int32_t>) store.writeInteger(entry.section, entry.key, field);
                else store.writeString(entry.section, entry.key, field);
            },
            entry.member);
    }
}

std::string settingText(const Settings& settings, const SettingKey& key) {
    return std::visit(
        [&](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<T, bool>) return settings.*member ? "1" : "0";
            else if constexpr (std::is_same_v<T, std::int32_t>) return std::to_string(settings.*member);
            else return settings.*member;
        },
        key.member);
}

bool setSettingFromText(Settings& settings, const SettingKey& key, const std::string& text) {
    // Parsing goes through a one-key store so that the CLI and the store share one rule.
    SettingsStore scratch;
    scratch.writeString(key.section, key.key, text);
    return std::visit(
        [&](auto member) -> bool {
            using T = std::remove_cvref_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                if (isLibraryNameSetting(&(settings.*member), settings) && !text.empty() && !isPlainLibraryName(text))
                    return false;
                settings.*member = text;
                return true;
            } else if constexpr (std::is_same_v<T, bool>) {
                bool a = scratch.readBool(key.section, key.key, false);
                bool b = scratch.readBool(key.section, key.key, true);
                if (a != b) return false;  // not a boolean
                settings.*member = a;
                return true;
            } else {
                std::int32_t a = scratch.readInteger(key.section, key.key, 0);
                std::int32_t b = scratch.readInteger(key.section, key.key, 1);
                if (a != b) return false;  // not a number
                settings.*member = a;
                return true;
            }
        },
        key.member);
}

}  // namespace tavricat
