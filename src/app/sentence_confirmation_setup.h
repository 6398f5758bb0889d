#pragma once
// Confirming the sentence under interactive translation over the workbench: its current
// sentence library, analysed sentence, settings and recovery files.

#include "interactive/sentence_confirmation.h"

namespace tavricat {

class Workbench;

// The settings are read when it is made, so make one per confirmation.
class SentenceConfirmationSetup {
public:
    explicit SentenceConfirmationSetup(Workbench& bench);
    SentenceConfirmationSetup(const SentenceConfirmationSetup&) = delete;
    SentenceConfirmationSetup& operator=(const SentenceConfirmationSetup&) = delete;

    ConfirmationContext& context() { return m_context; }

private:
    ConfirmationContext m_context;
};

}  // namespace tavricat
