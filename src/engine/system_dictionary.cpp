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

const LineList SystemDictionary::kNoLines;

void SystemDictionary::close() {
    m_fs = nullptr;
    m_datPath.clear();
    m_dictIndex.clear();
    m_loadedBlock = kNoBlock;
    m_current = nullptr;
    m_blockReads = 0;
    m_blocks.clear();
    m_slotOf.clear();
    m_uses = 0;
    m_openError = Status::ok();
}

int SystemDictionary::blockFor(std::string_view s) const {
    SortedFind at = findSorted(m_dictIndex, s);
    if (at.found) return static_cast<int>(at.index) + 1;
    return at.index == 0 ? 1 : static_cast<int>(at.index);
}

void SystemDictionary::loadDictBlock(int n) {
    if (!isOpen() || n == m_loadedBlock) return;
    if (n < 0) {
        ++m_blockReads;
        m_current = nullptr;
        m_loadedBlock = n;
        return;
    }
    CachedBlock* block = keptBlock(n);
    m_current = block;
    // A failed read may pass; leave no block loaded so the next look-up tries again.
    m_loadedBlock = block ? n : kNoBlock;
}

SystemDictionary::CachedBlock* SystemDictionary::keptBlock(int n) {
    const auto number = static_cast<std::size_t>(n);
    if (number < m_slotOf.size() && m_slotOf[number] >= 0) {
        CachedBlock& kept = m_blocks[static_cast<std::size_t>(m_slotOf[number])];
        kept.lastUse = ++m_uses;
        return &kept;
    }
    ++m_blockReads;
    Result<std::string> bytes = m_fs->readRange(m_datPath, static_cast<std::uint64_t>(n) * kBlockSize, kBlockSize);
    if (!bytes) return nullptr;
    // A place: a new one while there is room, else the least recently used block's. The
    // vector is reserved whole at the first read, so kept blocks never move.
    if (m_blocks.capacity() < kCachedBlocks) m_blocks.reserve(kCachedBlocks);
    std::size_t slot;
    if (m_blocks.size() < kCachedBlocks) {
        slot = m_blocks.size();
        m_blocks.emplace_back();
    } else {
        slot = 0;
        for (std::size_t i = 1; i < m_blocks.size(); ++i)
            if (m_blocks[i].lastUse < m_blocks[slot].lastUse) slot = i;
        m_slotOf[static_cast<std::size_t>(m_blocks[slot].number)] = -1;
    }
    if (number >= m_slotOf.size()) m_slotOf.resize(number + 1, -1);
    m_slotOf[number] = static_cast<std::int32_t>(slot);
    CachedBlock& kept = m_blocks[slot];
    kept.number = n;
    kept.lastUse = ++m_uses;
    kept.keys.clear();
    kept.values.clear();
    std::string& data = *bytes;
    // A block beyond the end of the file, or a broken one, is kept as an empty block.
    if (data.size() == kBlockSize) {
        scrambleBlock(data.data(), data.size());
        parseDictBlock(data, kept.keys, kept.values);
    }
    return &kept;
}

KeyValueLists SystemDictionary::listsFor(std::string_view s) {
    if (isOpen()) loadDictBlock(blockFor(s));
    return {&blockKeys(), &blockValues()};
}

std::string SystemDictionary::lookupKey(std::string_view key) {
    if (!isOpen()) return {};
    const std::string_view trimmed = gbk::trim(key);
    loadDictBlock(blockFor(trimmed));
    SortedFind at = findSorted(blockKeys(), trimmed);
    return at.found ? blockValues()[at.index] : std::string();
}

}  // namespace tavricat
