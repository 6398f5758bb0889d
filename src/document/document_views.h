#pragma once
// Switching between the three views, and replacing the bilingual text by the source.

#include "base/status.h"
#include "document/document.h"

namespace tavricat {

// Leaving the target view clears it; entering it derives the target from the bilingual
// buffer (through the scratch file "$tempfile.tmp" in the program folder) unless the
// bilingual text is blank.
Status changeView(Document& document, DocumentContext& context, DocumentView to);

// "双语替换为原文": after a Yes, the bilingual buffer becomes a copy of the source.
bool replaceBilingualBySource(Document& document, DocumentContext& context);

}  // namespace tavricat
