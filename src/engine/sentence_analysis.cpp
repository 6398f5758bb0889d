#include "engine/sentence_analysis.h"

namespace tavricat {

void stClass::reset(std::size_t slots) {
    text.clear();
    grammarText.clear();
    wordCount = 0;
    segCount = 0;
    for (auto* array : {&words, &baseWords, &segKeys, &segWords, &segText, &segTrans, &segAssoc, &segClass, &segAttr}) {
        array->assign(slots, std::string());
    }
}

}  // namespace tavricat
