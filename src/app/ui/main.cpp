// tesselar [DIR]: the map editor. DIR, when given, is opened at start as a
// recent project would be, without the directory dialog.

#include "app/ui/AppPaths.h"
#include "app/ui/HelpMenu.h"
#include "app/ui/QtPrompter.h"
#include "editor/ui/views/Cursors.h"
#include "editor/ui/window/TEditorBox.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#include <iostream>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kDescription = "Tesselar, the map editor for Wolfenstein 3-D engine games.";
constexpr const char* kDirHelp = "A game's data directory to open at start.";

// --help and --version are answered before Qt starts: a QApplication needs a
// display, and these must work on a machine without one. (--help-all, which
// lists Qt's own options, is left to Qt.)
std::optional<int> AnswerWithoutDisplay(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break; // what follows is DIR, whatever it looks like
        if (arg == "--version" || arg == "-v") {
            std::cout << "tesselar " << TESSELAR_VERSION << "\n";
            return 0;
        }
        if (arg == "--help" || arg == "-h" || arg == "-?") {
            std::cout << "Usage: tesselar [options] [DIR]\n"
                      << kDescription << "\n\n"
                      << "Options:\n"
                         "  -h, --help     Displays help on commandline options.\n"
                         "  --help-all     Displays help including Qt specific options.\n"
                         "  -v, --version  Displays version information.\n\n"
                         "Arguments:\n"
                         "  DIR            "
                      << kDirHelp << "\n";
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = AnswerWithoutDisplay(argc, argv))
        return *status;

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
    parser.setApplicationDescription(kDescription);
    parser.addHelpOption();
    parser.addOption({{"v", "version"}, "Displays version information."});
    parser.addPositionalArgument("DIR", kDirHelp);
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
