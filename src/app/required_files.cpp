#include "app/required_files.h"

#include "app/workspace.h"
#include "base/encoding.h"
#include "engine/system_dictionary.h"

namespace tavricat {

namespace {
const char* const kProgramFiles[] = {"pinyin.dat", "slabv.ini", "user.log", "art.01", "art.02",
                                     "tobesend.sav", "sharelib.log"};
const char* const kUserDataFiles[] = {"allzy.ini", "deletedwords.ini", "modesCE.m1", "modesCE.m2",
                                      "modesEC.m1", "modesEC.m2", "oftencharCE.rtf", "oftencharEC.rtf",
                                      "userlibg.sag", "userlibw.saw", "userselzy.ini"};
}  // namespace

std::vector<std::string> missingRequiredFiles(const Workspace& workspace) {
    std::vector<std::string> missing;
    FileSystem& fs = workspace.fs();
    for (const char* name : kProgramFiles) {
        std::string path = workspace.programFile(name);
        if (!fs.exists(path)) missing.push_back(path);
    }
    for (const char* name : kUserDataFiles) {
        std::string path = workspace.userDataFile(name);
        if (!fs.exists(path)) missing.push_back(path);
    }
    return missing;
}

std::vector<std::string> damagedDictionaryMessages(const Workspace& workspace) {
    std::vector<std::string> messages;
    for (const char* name : {"ecdict", "cedict"}) {
        const std::string idx = workspace.programFile(std::string(name) + ".IDX");
        Status checked = checkDictionaryFiles(workspace.fs(), idx.substr(0, idx.size() - 4));
        if (!checked && checked.kind() != ErrorKind::NotFound) messages.push_back(checked.message());
    }
    return messages;
}

std::string missingFilesMessage(const std::vector<std::string>& missing) {
    std::string list;
    // Paths are native (UTF-8); the message is GBK like every message.
    for (const std::string& path : missing) list += " " + encoding::utf8ToGbkLossy(path);
    return "系统发现运行所必须的文件:" + list +
           " 不存在。如果您有这些文件的被份，请先复制到正确的位置。也可以重新安装系统。现在系统将退出。";
}

}  // namespace tavricat
