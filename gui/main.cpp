// tavricat: the desktop workbench. One instance per user; the program folder is found (and
// on a first start filled from the delivered data); then start-up, the window, the loop.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/demo_document.h"
#include "app/folder_lock.h"
#include "app/program_folder_setup.h"
#include "app/required_files.h"
#include "app/workbench.h"
#include "app/workspace.h"
#include "base/file_system.h"
#include "main_window.h"
#include "qt_ports.h"
#include "screenshots.h"
#include "single_instance.h"
#include "text_convert.h"

using namespace tavricat;

namespace {

bool hasValue(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt ends the process when its platform cannot start; tell the person why beforehand.
bool displayAvailable(int argc, char** argv) {
    std::string platform = hasValue("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "-platform") platform = argv[i + 1];
    if (platform.rfind("offscreen", 0) == 0 || platform.rfind("minimal", 0) == 0 || platform.rfind("vnc", 0) == 0)
        return true;
    if (platform.rfind("wayland", 0) == 0) return hasValue("WAYLAND_DISPLAY");
    if (platform.rfind("xcb", 0) == 0) return hasValue("DISPLAY");
    return hasValue("DISPLAY") || hasValue("WAYLAND_DISPLAY") || !platform.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayAvailable(argc, argv)) {
        std::fprintf(stderr,
                     "tavricat: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start it in a desktop session, or use tavricat-cli for work without a window.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TavriCAT"));
    // Qt's own dialogs and buttons ("打开", "是", "否") in Chinese, like the rest of the window.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("TavriCAT translation workbench"));
    parser.addHelpOption();
    QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("The program folder to use."), QStringLiteral("DIR"));
    parser.addOption(homeOption);
    QCommandLineOption screenshotsOption(
        QStringLiteral("screenshots"),
        QStringLiteral("Open the demo document, write pictures of the window and its dialogs into DIR, then end "
                       "without the close query and without saving."),
        QStringLiteral("DIR"));
    parser.addOption(screenshotsOption);
    parser.process(app);
    const bool screenshots = parser.isSet(screenshotsOption);

    // The pictures are taken beside a running instance, never by it.
    gui::SingleInstance instance(gui::SingleInstance::nameForCurrentUser());
    if (!screenshots && instance.askRunningInstance()) return 0;

    DiskFileSystem fs;
    std::optional<std::string> home;
    if (parser.isSet(homeOption)) home = gui::toNativePath(parser.value(homeOption));
    const std::string exeFolder = executableFolder();
    const std::string folder = chooseProgramFolder(fs, locationsFromEnvironment(home, exeFolder));
    Workspace workspace(fs, folder);

    gui::QtDialogs dialogs;
    // The folder is the window's until it ends: a command started meanwhile waits or is
    // refused instead of saving over the window's files. The pictures only read it.
    FolderLock folderLock;
    if (!screenshots) {
        Result<FolderLock> lock = FolderLock::acquire(folder, "the window", 5000);
        if (!lock) {
            dialogs.message(lock.status().message());
            return 1;
        }
        folderLock = std::move(*lock);
    }
    // First start: the folder is completed from the delivered data, never overwriting a file.
    if (!missingRequiredFiles(workspace).empty()) {
        if (std::optional<std::string> delivered = findDeliveredFolder(fs, exeFolder)) {
            Result<ProgramFolderSetup> setup = completeProgramFolder(fs, *delivered, folder);
            if (!setup) dialogs.message(setup.status().message());
        }
    }

    std::optional<QSplashScreen> splash;
    const std::string splashPath = workspace.programFile("splash.bmp");
    if (fs.exists(splashPath)) {
        QPixmap picture(gui::fromNativePath(splashPath));
        if (!picture.isNull()) {
            splash.emplace(picture);
            splash->show();
            app.processEvents();
        }
    }

    gui::QtProgress progress;
    WorkbenchOptions options;
    options.settingsPath = settingsStorePath();
    Workbench bench(fs, workspace, dialogs, progress, options);
    if (!bench.start()) return 1;  // the person was told why
    offerDemoDocument(bench);  // a first start has the demo document among the recent files

    gui::MainWindow window(bench);
    dialogs.setParent(&window);
    if (!screenshots) {
        instance.listen([&window] {
            window.showNormal();
            window.raise();
            window.activateWindow();
        });
    }
    window.show();
    if (splash) splash->finish(&window);
    if (screenshots) {
        QTimer::singleShot(0, &window, [&] {
            const gui::ScreenshotOutcome outcome = gui::takeScreenshots(window, bench, parser.value(screenshotsOption));
            for (const QString& path : outcome.written) std::fprintf(stdout, "%s\n", qPrintable(path));
            for (const QString& problem : outcome.problems) std::fprintf(stderr, "tavricat: %s\n", qPrintable(problem));
            // exit(), not quit(): quit() would close the window, and closing asks and saves.
            QCoreApplication::exit(outcome.problems.isEmpty() ? 0 : 1);
        });
        return app.exec();  // no shutdown: it would save the settings and the libraries
    }
    if (bench.settings.popwizard) QTimer::singleShot(0, &window, [&window] { window.showSetupWizard(); });
    const int code = app.exec();
    if (!window.isShutDown()) window.shutDown();  // the loop ended without a close
    return window.shutDownFailed() ? 1 : code;
}
