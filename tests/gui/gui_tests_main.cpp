// Runs every GUI test class; the exit code counts the failures of all of them. Started with
// --killed-run, the program is instead the run that the killed-run test kills.
#include <QApplication>
#include <QStringList>

int runPositionMapTests(int argc, char** argv);
int runRichTextViewTests(int argc, char** argv);
int runMainWindowTests(int argc, char** argv);
int runSetupWizardTests(int argc, char** argv);
int runOptionsDialogTests(int argc, char** argv);
int runKilledRunTests(int argc, char** argv);
int runFirstStartTests(int argc, char** argv);
int runLibraryUpdateDialogTests(int argc, char** argv);
int runProjectAnalysisDialogTests(int argc, char** argv);
int runTranslatorDayTests(int argc, char** argv);
int runGrammarWindowTests(int argc, char** argv);
int runTermImportDialogTests(int argc, char** argv);
int runTermBaseEditorTests(int argc, char** argv);
int runVerificationWindowTests(int argc, char** argv);
int runWordLinkTests(int argc, char** argv);
int runTeamWindowTests(int argc, char** argv);
int runQaWindowTests(int argc, char** argv);
int runKilledRun(const QStringList& args);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 5 && args[1] == QStringLiteral("--killed-run")) return runKilledRun(args.mid(2));
    int failures = 0;
    failures += runPositionMapTests(argc, argv);
    failures += runRichTextViewTests(argc, argv);
    failures += runMainWindowTests(argc, argv);
    failures += runSetupWizardTests(argc, argv);
    failures += runOptionsDialogTests(argc, argv);
    failures += runKilledRunTests(argc, argv);
    failures += runFirstStartTests(argc, argv);
    failures += runLibraryUpdateDialogTests(argc, argv);
    failures += runProjectAnalysisDialogTests(argc, argv);
    failures += runTranslatorDayTests(argc, argv);
    failures += runGrammarWindowTests(argc, argv);
    failures += runTermImportDialogTests(argc, argv);
    failures += runTermBaseEditorTests(argc, argv);
    failures += runVerificationWindowTests(argc, argv);
    failures += runWordLinkTests(argc, argv);
    failures += runTeamWindowTests(argc, argv);
    failures += runQaWindowTests(argc, argv);
    return failures;
}
