#include "engine/system_dictionary.h"

#include <cstdint>

#include "base/encoding.h"
#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/block_file.h"

namespace tavricat {

namespace {

// <basePath><extension>, the extension (and name) found in any ASCII case.
std::string siblingFile(FileSystem& fs, const std::string& basePath, const std::string& extension) {
    const std::size_t slash = basePath.rfind('/');
    if (slash == std::string::npos) return findCaseInsensitive(fs, ".", basePath + extension);
    const std::string folder = slash == 0 ? "/" : basePath.substr(0, slash);
    return findCaseInsensitive(fs, folder, basePath.substr(slash + 1) + extension);
}

}  // namespace

bool parseDictBlock(std::string_view block, LineList& keys, LineList& values) {
    keys.clear();
    values.clear();
    if (block.size() != kBlockSize) return false;
    const std::size_t keyLength =
        static_cast<unsigned char>(block[0]) * std::size_t{256} + static_cast<unsigned char>(block[1]);
    if (2 + keyLength > block.size()) return false;
    std::string_view keyText = block.substr(2, keyLength);
    // A zero byte inside the key text is no part of any key: the layout is broken.
    if (keyText.find('\0') != std::string_view::npos) return false;
    std::string_view valueText = block.substr(2 + keyLength);
    valueText = valueText.substr(0, valueText.find('\0'));
    keys = splitLines(keyText);
    values = splitLines(valueText);
    if (keys.size() != values.size()) {
        keys.clear();
        values.clear();
        return false;
    }
    return true;
}

Status checkDictionaryFiles(FileSystem& fs, const std::string& basePath) {
    const std::string idxPath = siblingFile(fs, basePath, ".IDX");
    const std::string datPath = siblingFile(fs, basePath, ".DAT");
    for (const std::string* path : {&idxPath, &datPath}) {
        if (!fs.exists(*path))
            return Status::error(ErrorKind::NotFound, "系统词库文件 " + encoding::utf8ToGbkLossy(*path) + " 不存在。");
    }
    auto damaged = [](const std::string& path, const std::string& why) {
        return Status::error(ErrorKind::BadInput,
                             "系统词库文件 " + encoding::utf8ToGbkLossy(path) + " 已损坏（" + why + "），请重新安装系统。");
    };
    Result<std::string> idxBytes = fs.readFile(idxPath);
    if (!idxBytes) return idxBytes.status();
    if (idxBytes->size() % kBlockSize != 0) return damaged(idxPath, "长度不是整块");
    const LineList index = splitLines(readBlockText(*idxBytes));
    for (std::size_t k = 0; k < index.size(); ++k) {
        if (index[k].empty()) return damaged(idxPath, "索引有空行");
        if (k > 0 && compareListOrder(index[k - 1], index[k]) >= 0) return damaged(idxPath, "索引没有按顺序排列");
    }

    Result<std::string> dat = fs.readFile(datPath);
    if (!dat) return dat.status();
    if (dat->empty() || dat->size() % kBlockSize != 0) return damaged(datPath, "长度不是整块");
    const std::size_t blocks = dat->size() / kBlockSize;
    // One block per index line after block 0: fewer blocks mean a cut data file, more mean
    // a cut index.
    if (blocks < index.size() + 1) return damaged(datPath, "数据块少于索引行");
    if (blocks > index.size() + 1) return damaged(idxPath, "索引行少于数据块");
    LineList keys, values;
    for (std::size_t n = 1; n < blocks; ++n) {
        std::string block = dat->substr(n * kBlockSize, kBlockSize);
        scrambleBlock(block.data(), block.size());
        const std::string where = "第" + std::to_string(n) + "块";
        if (!parseDictBlock(block, keys, values) || keys.empty()) return damaged(datPath, where + "无法读取");
        if (compareListOrder(keys.front(), index[n - 1]) != 0) return damaged(datPath, where + "与索引不符");
    }
    return Status::ok();
}

bool SystemDictionary::open(FileSystem& fs, const std::string& basePath) {
    close();
    const std::string idxPath = siblingFile(fs, basePath, ".IDX");
    const std::string datPath = siblingFile(fs, basePath, ".DAT");
    for (const std::string* path : {&idxPath, &datPath}) {
        if (!fs.exists(*path)) {
            m_openError = Status::error(ErrorKind::NotFound, "missing dictionary file " + *path);
            return false;
        }
    }
    Result<LineList> index = loadBlockLines(fs, idxPath);
    if (!index) {
        m_openError = index.status();
        return false;
    }
    m_dictIndex = std::move(*index);
    m_fs = &fs;
    m_datPath = datPath;
    return true;
}

void SystemDictionary::close() {
    m_fs = nullptr;
    m_datPath.clear();
    m_dictIndex.clear();
    m_loadedBlock = kNoBlock;
    m_blockKeys.clear();
    m_blockValues.clear();
    m_blockReads = 0;
    m_recentBlocks.clear();
    m_openError = Status::ok();
}

int SystemDictionary::blockFor(std::string_view s) const {
    SortedFind at = findSorted(m_dictIndex, s);
    if (at.found) return static_cast<int>(at.index) + 1;
    return at.index == 0 ? 1 : static_cast<int>(at.index);
}

void SystemDictionary::loadDictBlock(int n) {
    if (!isOpen() || n == m_loadedBlock) return;
    // The block being left joins the recent ones; the wanted one may be among them.
    if (m_loadedBlock >= 0) {
        m_recentBlocks.push_front({m_loadedBlock, std::move(m_blockKeys), std::move(m_blockValues)});
        if (m_recentBlocks.size() > kRecentBlocks) m_recentBlocks.pop_back();
    }
    m_blockKeys.clear();
    m_blockValues.clear();
    for (auto it = m_recentBlocks.begin(); it != m_recentBlocks.end(); ++it) {
        if (it->number != n) continue;
        m_blockKeys = std::move(it->keys);
        m_blockValues = std::move(it->values);
        m_recentBlocks.erase(it);
        m_loadedBlock = n;
        return;
    }
    ++m_blockReads;
    if (n < 0) {
        m_loadedBlock = n;
        return;
    }
    Result<std::string> bytes =
        m_fs->readRange(m_datPath, static_cast<std::uint64_t>(n) * kBlockSize, kBlockSize);
    if (!bytes) {
        // A failed read may pass; leave no block loaded so the next look-up tries again.
        m_loadedBlock = kNoBlock;
        return;
    }
    std::string& block = *bytes;
    if (block.size() == kBlockSize) {
        scrambleBlock(block.data(), block.size());
        parseDictBlock(block, m_blockKeys, m_blockValues);
    }
    m_loadedBlock = n;
}

KeyValueLists SystemDictionary::listsFor(std::string_view s) {
    if (isOpen()) loadDictBlock(blockFor(s));
    return {&m_blockKeys, &m_blockValues};
}

std::string SystemDictionary::lookupKey(std::string_view key) {
    if (!isOpen()) return {};
    const std::string_view trimmed = gbk::trim(key);
    loadDictBlock(blockFor(trimmed));
    SortedFind at = findSorted(m_blockKeys, trimmed);
    return at.found ? m_blockValues[at.index] : std::string();
}

}  // namespace tavricat
