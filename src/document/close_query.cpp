#include "document/close_query.h"

#include "base/gbk.h"

namespace tavricat {

bool closeQueryNeeded(const RichText& bilingual) {
    return bilingual.modified() && gbk::charCount(bilingual.text()) > kCloseQueryMinChars;
}

}  // namespace tavricat
