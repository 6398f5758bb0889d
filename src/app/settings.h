#pragma once
// The settings table: every key of the store with its type and default, read at start-up and
// written back at shutdown in one fixed order. String settings are native text (UTF-8), since
// they name files and fonts.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "base/settings_store.h"

namespace tavricat {

struct Settings {
    // inisetup
    std::int32_t userefmode = 1;
    std::int32_t matchrate = 65;
    std::int32_t maxshowcharnum = 1;
    std::int32_t limitPhraseTipNum = 2;
    bool giveMT = true;
    bool InterTop = true;
    std::string curZyname;
    std::string curLiJuKuname;
    bool autoshowexp = true;
    bool SpaceInHanChar = false;
    bool copyNewWords = false;
    bool showZi = false;
    // A confirmed sentence's translation goes to its identical untranslated repetitions later
    // in the document too.
    bool autoPropagate = true;
    bool ctoe = false;
    bool useSysLib = true;
    bool useUserLib = true;
    bool popwizard = true;
    std::string logfileName;
    std::string curyiwenfilename;  // written at shutdown, never read
    std::string curShareLibName;
    // netsetting
    std::int32_t shareMode = 1;
    // colorsetup: Windows colour values (blue in bits 16-23, green 8-15, red 0-7)
    std::int32_t CurEwordBC = 65535;
    std::int32_t PhraseTipBC = 12632256;
    std::int32_t SelWordsFC = 16711680;
    std::int32_t CurExplainBC = 65535;
    std::int32_t IsoTagsFC = 8388736;
    std::int32_t ShortCutFC = 255;
    // segmenting
    bool TABkeyStop = false;
    bool CLStop = true;
    bool tagStop = false;
    // fontsetup
    std::string interEwordFontName = "Arial";
    std::string interCwordFontName = reinterpret_cast<const char*>(u8"宋体");
    std::int32_t interEwordFontSize = 9;
    std::int32_t interCwordFontSize = 10;

    bool operator==(const Settings&) const = default;
};

enum class SettingType { Integer, Boolean, String, Colour };

struct SettingKey {
    const char* section;
    const char* key;
    SettingType type;
    std::variant<std::int32_t Settings::*, bool Settings::*, std::string Settings::*> member;
    bool readAtStart = true;  // false for keys that are only written
};

// The table in the order the keys are written at shutdown.
const std::vector<SettingKey>& settingsTable();
// Looks a key up without regard to case; nullptr when the table has no such key.
const SettingKey* findSettingKey(const std::string& section, const std::string& key);

// Reads every key of the table, each with its default.
Settings readSettings(const SettingsStore& store);
// Writes every key in the table's order. The shortcut-key colour is always written as red
// (255): a colour chosen in the options dialog lasts until the program ends.
void writeSettings(SettingsStore& store, const Settings& settings);

// The value of one key as text (numbers in decimal, booleans as 1/0).
std::string settingText(const Settings& settings, const SettingKey& key);
// Sets one key from text; false when the text is not of the key's type.
bool setSettingFromText(Settings& settings, const SettingKey& key, const std::string& text);

}  // namespace tavricat
