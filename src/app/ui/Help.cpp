#include "app/ui/Help.h"

#include <QString>

namespace tsl {

namespace {

constexpr const char* kHelpCaption = "Help";

} // namespace

Help::Help(Prompter& prompter, std::filesystem::path manual, UrlOpener open)
    : prompter_(prompter), manual_(std::move(manual)), open_(std::move(open))
{
}

void Help::Show()
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(manual_, ec)) {
        prompter_.Message("Couldn't find help file!", kHelpCaption, MessageIcon::Error, Buttons::Ok);
        return;
    }
    // No browser, or none that takes the file: the same as having no viewer.
    if (!open_(QUrl::fromLocalFile(QString::fromStdString(manual_.string()))))
        prompter_.Message("Couldn't load help file!", kHelpCaption, MessageIcon::Error, Buttons::Ok);
}

} // namespace tsl
