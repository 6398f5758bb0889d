#pragma once
// The keys and entries of a term base as they were when the snapshot was made, put back when
// it is destroyed. The analysis copies the system-dictionary entries it meets into the term
// base; batch work (automatic translation, library update, project analysis) keeps a snapshot
// for its whole run, so that the translator's term base ends as it began, however the run ends.

#include <utility>

#include "base/line_list.h"
#include "engine/term_base.h"

namespace tavricat {

class TermBaseSnapshot {
public:
    explicit TermBaseSnapshot(TermBase& terms) : m_terms(terms), m_keys(terms.termKeys), m_entries(terms.termEntries) {}
    ~TermBaseSnapshot() {
        m_terms.termKeys = std::move(m_keys);
        m_terms.termEntries = std::move(m_entries);
    }
    TermBaseSnapshot(const TermBaseSnapshot&) = delete;
    TermBaseSnapshot& operator=(const TermBaseSnapshot&) = delete;

private:
    TermBase& m_terms;
    LineList m_keys;
    LineList m_entries;
};

}  // namespace tavricat
