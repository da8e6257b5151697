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
    // The file is there: what failed is the browser, and the user can still
    // open the manual by hand.
    if (!open_(QUrl::fromLocalFile(QString::fromStdString(manual_.string()))))
        prompter_.Message("No browser could be started to show the user manual. You can open it yourself:\n\n" +
                              manual_.string(),
                          kHelpCaption, MessageIcon::Error, Buttons::Ok);
}

} // namespace tsl
