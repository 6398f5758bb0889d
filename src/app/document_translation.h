#pragma once
// Automatic translation of a document with the workbench's engine, libraries, settings and
// ports: what the window's "自动翻译" and `tavricat-cli translate` both run.

#include <functional>

#include "app/workbench.h"
#include "base/direction.h"
#include "batch/auto_translation.h"
#include "batch/stop_request.h"
#include "document/rich_text.h"
#include "memory/sentence_library.h"

namespace tavricat {

// The settings that steer a run (the automatic-translation dialog stores into them).
AutoTranslationOptions autoTranslationOptions(const Settings& settings);

// Translates `document` from its caret to its end from `library` (normally the workbench's
// current one). `switchDirection`, when given, is called when the person agrees to switch to
// the direction of the document's text; the run then ends.
Result<AutoTranslationCounts> translateDocument(Workbench& bench, const SentenceLibrary& library, RichText& document,
                                                const StopRequest& stop,
                                                std::function<void(Direction)> switchDirection = {});

}  // namespace tavricat
