#include "app/sentence_confirmation_setup.h"

#include "app/team_library.h"
#include "app/workbench.h"

namespace tavricat {

SentenceConfirmationSetup::SentenceConfirmationSetup(Workbench& bench)
    : m_context{bench.sentenceLibrary,
                bench.engine.workSent,
                bench.dialogs(),
                bench.direction(),
                bench.settings.SpaceInHanChar,
                static_cast<std::uint32_t>(bench.settings.IsoTagsFC),
                // A failed write of the recovery files must not stop the confirmation; the
                // next tenth example tries again.
                [&bench] { (void)bench.saveUserTem(); },
                [&bench](const std::string& line) { queueForTeam(bench, line); },
                bench.settings.autoPropagate} {}

}  // namespace tavricat
