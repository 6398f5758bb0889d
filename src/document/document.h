#pragma once
// A document under translation in its three views: the bilingual buffer (where translation
// happens), the source as it was loaded, and the target derived on demand.

#include <functional>
#include <string>

#include "base/file_system.h"
#include "base/ports.h"
#include "document/rich_text.h"

namespace tavricat {

enum class DocumentView { Bilingual, Source, Target };

struct Document {
    Document() {
        source.setAlwaysEditable(true);
        target.setAlwaysEditable(true);
    }

    RichText bilingual;
    RichText source;
    RichText target;
    std::string currentPath;    // the source file last opened ("" before any)
    std::string bilingualPath;  // where "save bilingual" writes without asking ("" when unknown)
    DocumentView activeView = DocumentView::Bilingual;
};

// What the document commands need from the running workbench.
struct DocumentContext {
    FileSystem& fs;
    Dialogs& dialogs;
    Progress& progress;
    std::string programFolder;                             // for the scratch file of the target view
    std::function<void(const std::string&)> touchRecent;   // the recent-files list
};

}  // namespace tavricat
