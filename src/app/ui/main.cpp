// tesselar [DIR]: the map editor. DIR, when given, is opened at start as a
// recent project would be, without the directory dialog.

#include "app/ui/AppPaths.h"
#include "editor/ui/Cursors.h"
#include "app/ui/QtPrompter.h"
#include "editor/ui/TEditorBox.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tesselar");
    QApplication::setOrganizationName("Tesselar");
    QApplication::setApplicationVersion(TESSELAR_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Tesselar, the map editor for Wolfenstein 3-D engine games.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("DIR", "A game's data directory to open at start.");
    parser.process(app);

    tsl::RegisterCursors();
    tsl::QtPrompter prompter;
    tsl::TEditorBox editor(prompter, tsl::DefaultEnvironment());
    prompter.SetParent(&editor);
    editor.show();

    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) {
        const std::filesystem::path directory = args.first().toStdString();
        QTimer::singleShot(0, &editor, [&editor, directory] { editor.OpenDirectory(directory); });
    }
    return QApplication::exec();
}
