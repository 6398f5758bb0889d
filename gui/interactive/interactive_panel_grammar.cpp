// The grammar library's commands in the window: the 语法 menu and the reference window's
// grammar list, over the core's grammar commands.

#include "interactive_panel.h"

#include <QListWidget>
#include <QTabWidget>

#include "app/grammar_commands.h"
#include "app/workbench.h"
#include "document/han_spacing.h"
#include "grammar/grammar_edit.h"
#include "grammar/translation_pipeline.h"
#include "busy_cursor.h"
#include "grammar_dialog.h"
#include "reference_window.h"
#include "text_convert.h"
#include "translation_box.h"

namespace tavricat::gui {

namespace {

// A failed command tells why; a change that did nothing says nothing.
void tellFailure(Dialogs& dialogs, const Status& status) {
    if (!status && !status.message().empty()) dialogs.message(status.message());
}

}  // namespace

void InteractivePanel::addGrammar() {
    const std::string record =
        askGrammarRecord(m_bench.dialogs(), QStringLiteral("添加语法"), QStringLiteral("添  加"), window());
    if (record.empty()) return;
    tellFailure(m_bench.dialogs(), addGrammarPattern(m_bench, record).status());
}

void InteractivePanel::deleteGrammar() {
    const std::string record =
        askGrammarRecord(m_bench.dialogs(), QStringLiteral("删除语法"), QStringLiteral("删  除"), window());
    if (record.empty()) return;
    tellFailure(m_bench.dialogs(), deleteGrammarPattern(m_bench, record).status());
}

void InteractivePanel::importGrammar() {
    const std::optional<std::string> path =
        m_bench.dialogs().chooseOpenFile(toGbkLossy(QStringLiteral("打开语法库")),
                                         toGbkLossy(QStringLiteral("语法库文件 (*.sag)|*.sag")));
    if (!path) return;
    const Result<GrammarImportReport> report = [&] {
        BusyCursor wait;  // down again before the closing message
        return importGrammarFile(m_bench, *path);
    }();
    if (!report) tellFailure(m_bench.dialogs(), report.status());
    else m_bench.dialogs().message(report->message);
}

void InteractivePanel::showGrammarReference() {
    m_reference->tabs()->setCurrentIndex(1);
    m_reference->show();
    m_reference->raise();
}

void InteractivePanel::dropPattern(int row, bool permanently) {
    LineList lines(m_last.grammarLines.begin(), m_last.grammarLines.end());
    std::vector<MatchRecord>& table = m_bench.engine.grammarPlacement.matchTable;
    bool dropped = false;
    if (permanently) {
        Result<bool> done = deletePlacementPermanently(m_bench, lines, table, row);
        if (!done) {
            tellFailure(m_bench.dialogs(), done.status());
            return;
        }
        dropped = *done;
    } else {
        dropped = dropPlacementForSentence(lines, table, row);
    }
    if (!dropped) return;
    m_last.grammarLines.assign(lines.begin(), lines.end());
    m_reference->showGrammar(m_last.grammarLines);
    // The sentence's machine translation without the pattern, caret at the start.
    std::string text = tavricat::machineTranslate(m_bench.engine.workSent, m_bench.engine.grammarPlacement, m_bench.direction());
    text = m_bench.settings.SpaceInHanChar ? AddSpaceInCChars(text) : ClearSpaceInCChars(text);
    m_box->setGbkText(text, 0);
}

void InteractivePanel::modifyPattern(int row) {
    const LineList lines(m_last.grammarLines.begin(), m_last.grammarLines.end());
    const std::optional<std::size_t> pair = placementPairStart(lines, row);
    if (!pair) return;
    const std::string& source = lines[*pair];
    const std::string& target = lines[*pair + 1];
    const std::string record = askGrammarRecord(m_bench.dialogs(), QStringLiteral("添加语法"), QStringLiteral("添  加"),
                                                window(), source, target);
    if (record.empty()) return;
    tellFailure(m_bench.dialogs(), modifyPlacement(m_bench, source, target, record).status());
}

}  // namespace tavricat::gui
