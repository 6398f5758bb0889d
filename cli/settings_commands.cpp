// settings list | get SECTION KEY | set SECTION KEY VALUE, over the settings store.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "app/recent_files.h"
#include "app/setting_rules.h"
#include "app/settings.h"
#include "base/settings_store.h"
#include "cli_context.h"
#include "commands.h"

namespace tavricat::cli {

namespace {

const char* typeName(SettingType type) {
    switch (type) {
        case SettingType::Integer: return "integer";
        case SettingType::Boolean: return "boolean";
        case SettingType::Colour: return "colour";
        case SettingType::String: return "string";
    }
    return "string";
}

// The recent-file slots are plain strings outside the typed table.
bool isRecentSlot(const std::string& section, const std::string& key) {
    std::string s = section, k = key;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s == "inisetup" && k.size() == 7 && k.rfind("rcfile", 0) == 0 && k[6] >= '0' && k[6] <= '4';
}

Result<SettingsStore> openStore(const CliContext& context) {
    DiskFileSystem fs;
    return SettingsStore::open(fs, context.settingsPath());
}

int runList(const CliContext& context) {
    Result<SettingsStore> store = openStore(context);
    if (!store) return fail(store.status());
    Settings settings = readSettings(*store);
    nlohmann::json rows = nlohmann::json::array();
    for (const SettingKey& key : settingsTable()) {
        if (!key.readAtStart) continue;
        std::string value = settingText(settings, key);
        if (context.json)
            rows.push_back({{"section", key.section}, {"key", key.key}, {"type", typeName(key.type)}, {"value", value}});
        else
            std::cout << key.section << ' ' << key.key << ' ' << value << '\n';
    }
    RecentFiles recent = RecentFiles::read(*store);
    for (int n = 0; n < RecentFiles::kEntries; ++n) {
        std::string key = "rcfile" + std::to_string(n);
        const std::string& value = recent.captions()[n];
        if (context.json)
            rows.push_back({{"section", "inisetup"}, {"key", key}, {"type", "string"}, {"value", value}});
        else
            std::cout << "inisetup " << key << ' ' << value << '\n';
    }
    if (context.json) std::cout << rows.dump(2) << '\n';
    return kExitOk;
}

int runGet(const CliContext& context, const std::string& section, const std::string& key) {
    Result<SettingsStore> store = openStore(context);
    if (!store) return fail(store.status());
    std::string value;
    if (const SettingKey* known = findSettingKey(section, key)) {
        value = settingText(readSettings(*store), *known);
    } else if (isRecentSlot(section, key)) {
        value = store->readString(section, key, "");
    } else {
        std::cerr << "unknown setting: " << section << ' ' << key << '\n';
        return kExitUsage;
    }
    if (context.json) std::cout << nlohmann::json{{"section", section}, {"key", key}, {"value", value}}.dump() << '\n';
    else std::cout << value << '\n';
    return kExitOk;
}

int runSet(const CliContext& context, const std::string& section, const std::string& key, const std::string& value) {
    DiskFileSystem fs;
    Result<SettingsStore> store = SettingsStore::open(fs, context.settingsPath());
    if (!store) return fail(store.status());
    if (const SettingKey* known = findSettingKey(section, key)) {
        Settings settings = readSettings(*store);
        if (!setSettingFromText(settings, *known, value)) {
            // The only strings refused are library names holding a path.
            if (known->type == SettingType::String) std::cerr << key << " takes a plain library name, not \"" << value << "\"\n";
            else std::cerr << key << " takes a value of type " << typeName(known->type) << ", not \"" << value << "\"\n";
            return kExitUsage;
        }
        // A value of the right type the options dialog would refuse is refused here too, with
        // the dialog's message, and nothing is written.
        if (Status allowed = validateSetting(readSettings(*store), known->section, known->key, value); !allowed)
            return fail(allowed);
        store->writeString(known->section, known->key, settingText(settings, *known));
    } else if (isRecentSlot(section, key)) {
        store->writeString("inisetup", key, value);
    } else {
        std::cerr << "unknown setting: " << section << ' ' << key << '\n';
        return kExitUsage;
    }
    if (Status saved = store->save(fs); !saved) return fail(saved);
    return kExitOk;
}

}  // namespace

void registerSettingsCommands(CLI::App& app, CliContext& context) {
    CLI::App* settings = app.add_subcommand("settings", "Read and change the settings store");
    settings->require_subcommand(1);

    settings->add_subcommand("list", "Every setting with its value")->callback([&context] {
        context.exitCode = runList(context);
    });

    auto* get = settings->add_subcommand("get", "One setting's value, read with its type and default");
    auto getArgs = std::make_shared<std::pair<std::string, std::string>>();
    get->add_option("section", getArgs->first)->required();
    get->add_option("key", getArgs->second)->required();
    get->callback([&context, getArgs] { context.exitCode = runGet(context, getArgs->first, getArgs->second); });

    auto* set = settings->add_subcommand("set", "Store one setting");
    auto setArgs = std::make_shared<std::array<std::string, 3>>();
    set->add_option("section", (*setArgs)[0])->required();
    set->add_option("key", (*setArgs)[1])->required();
    set->add_option("value", (*setArgs)[2])->required();
    set->callback([&context, setArgs] {
        context.exitCode = runSet(context, (*setArgs)[0], (*setArgs)[1], (*setArgs)[2]);
    });
}

}  // namespace tavricat::cli
