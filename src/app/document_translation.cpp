#include "app/document_translation.h"

#include <cstdint>

namespace tavricat {

AutoTranslationOptions autoTranslationOptions(const Settings& settings) {
    AutoTranslationOptions options;
    options.matchrate = settings.matchrate;
    options.userefmode = settings.userefmode;
    options.spaceInHanChar = settings.SpaceInHanChar;
    options.breaks = {settings.TABkeyStop, settings.CLStop, settings.tagStop};
    options.isoTagsColour = static_cast<std::uint32_t>(settings.IsoTagsFC);
    return options;
}

Result<AutoTranslationCounts> translateDocument(Workbench& bench, const SentenceLibrary& library, RichText& document,
                                                const StopRequest& stop, std::function<void(Direction)> switchDirection) {
    SortedListsLookup abbreviations({&bench.abbreviations, &bench.engine.termBase.termKeys});
    AutoTranslationContext run{{bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames},
                               library,
                               abbreviations,
                               bench.dialogs(),
                               bench.progress(),
                               stop,
                               std::move(switchDirection)};
    return runAutoTranslation(document, run, autoTranslationOptions(bench.settings));
}

}  // namespace tavricat
