// tesselar [DIR]: the map editor. DIR, when given, is opened at start as a
// recent project would be, without the directory dialog.

#include "app/ui/AppPaths.h"
#include "app/ui/HelpMenu.h"
#include "app/ui/QtPrompter.h"
#include "editor/ui/Cursors.h"
#include "editor/ui/TEditorBox.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#include <cstring>
#include <iostream>

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::cout << "tesselar " << TESSELAR_VERSION << "\n";
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Tesselar");
    QApplication::setOrganizationName("Tesselar");
    QApplication::setApplicationVersion(TESSELAR_VERSION);
    QApplication::setDesktopFileName("tesselar");
    QIcon icon;
    icon.addFile(":/icons/tesselar-48.png");
    icon.addFile(":/icons/tesselar-256.png");
    QApplication::setWindowIcon(icon);

    QCommandLineParser parser;
    parser.setApplicationDescription("Tesselar, the map editor for Wolfenstein 3-D engine games.");
    parser.addHelpOption();
    parser.addOption({{"v", "version"}, "Displays version information."});
    parser.addPositionalArgument("DIR", "A game's data directory to open at start.");
    parser.process(app);

    tsl::RegisterCursors();
    tsl::QtPrompter prompter;
    const tsl::EditorEnvironment environment = tsl::DefaultEnvironment();
    tsl::TEditorBox editor(prompter, environment);
    prompter.SetParent(&editor);
    auto* helpMenu = new tsl::HelpMenu(editor, prompter, environment,
                                       {tsl::ManualFile(), tsl::DesktopUrlOpener()});
    editor.show();
    QTimer::singleShot(0, helpMenu, &tsl::HelpMenu::StartupCheck);

    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) {
        const std::filesystem::path directory = args.first().toStdString();
        QTimer::singleShot(0, &editor, [&editor, directory] { editor.OpenDirectory(directory); });
    }
    return QApplication::exec();
}
