#pragma once
// The user manual: HTML pages shipped with the program, opened in the
// desktop's browser.

#include "app/ui/UpdateCheck.h"
#include "core/Prompter.h"

#include <filesystem>

namespace tsl {

class Help {
public:
    Help(Prompter& prompter, std::filesystem::path manual, UrlOpener open);

    // The manual's first page; a message when it is missing, or where it is
    // when no browser could show it.
    void Show();

private:
    Prompter& prompter_;
    std::filesystem::path manual_;
    UrlOpener open_;
};

} // namespace tsl
