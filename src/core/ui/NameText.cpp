#include "core/ui/NameText.h"

#include "core/Windows1252.h"

namespace tsl {

QString NameToQt(std::string_view bytes)
{
    const std::string text = Windows1252ToUtf8(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Outcome<std::string> NameFromQt(const QString& text, std::string_view what, const char* caption)
{
    return TypedName(text.toStdString(), what, caption);
}

} // namespace tsl
