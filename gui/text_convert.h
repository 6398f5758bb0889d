#pragma once
// GBK (the core's text) and native paths (UTF-8 bytes) to and from QString.

#include <QFile>
#include <QString>

#include <string>
#include <string_view>

#include "base/encoding.h"

namespace tavricat::gui {

inline QString fromGbk(std::string_view gbk) {
    const std::string utf8 = encoding::gbkToUtf8Lossy(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// For the GUI's own texts and names shown in messages of the core: never fails.
inline std::string toGbkLossy(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return encoding::utf8ToGbkLossy(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

inline QString fromNativePath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
inline std::string toNativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace tavricat::gui
