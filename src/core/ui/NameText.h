#pragma once
// Names as the windows show and take them: the files hold Windows-1252
// bytes, the controls Unicode. A name shown and not edited comes back as the
// bytes it was; typed text that Windows-1252 cannot hold is refused.

#include "core/Failure.h"

#include <QString>

#include <string>
#include <string_view>

namespace tsl {

QString NameToQt(std::string_view bytes);

// The bytes of a typed name, or the message refusing it (see TypedName).
Outcome<std::string> NameFromQt(const QString& text, std::string_view what, const char* caption);

} // namespace tsl
