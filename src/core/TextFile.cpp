#include "core/TextFile.h"

#include "core/FileSystem.h"


namespace tsl {

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& path)
{
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool ReplaceTextFile(const std::filesystem::path& path, std::string_view text)
{
    return !ReplaceFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace tsl
