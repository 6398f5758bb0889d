// Runs every GUI test class; the exit code counts the failures of all of them.
#include <QApplication>

int runPositionMapTests(int argc, char** argv);
int runRichTextViewTests(int argc, char** argv);
int runMainWindowTests(int argc, char** argv);
int runSetupWizardTests(int argc, char** argv);
int runOptionsDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    failures += runPositionMapTests(argc, argv);
    failures += runRichTextViewTests(argc, argv);
    failures += runMainWindowTests(argc, argv);
    failures += runSetupWizardTests(argc, argv);
    failures += runOptionsDialogTests(argc, argv);
    return failures;
}
