#include "app/Versions.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr std::size_t kMaxPartDigits = 9; // keeps every part well inside unsigned long

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<VersionNumber> ParseVersion(std::string_view text)
{
    text = Trimmed(text);
    VersionNumber parts;
    while (true) {
        const std::size_t dot = std::min(text.find('.'), text.size());
        const std::string_view part = text.substr(0, dot);
        if (part.empty() || part.size() > kMaxPartDigits ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        unsigned long value = 0;
        for (const char c : part)
            value = value * 10 + static_cast<unsigned long>(c - '0');
        parts.push_back(value);
        if (dot == text.size())
            return parts;
        text.remove_prefix(dot + 1);
    }
}

int CompareVersions(const VersionNumber& a, const VersionNumber& b)
{
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const unsigned long x = i < a.size() ? a[i] : 0;
        const unsigned long y = i < b.size() ? b[i] : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

RemoteVersion JudgeRemoteVersion(std::string_view remote, const VersionNumber& own)
{
    const std::optional<VersionNumber> parsed = ParseVersion(remote);
    if (!parsed)
        return RemoteVersion::Unreadable;
    return CompareVersions(*parsed, own) > 0 ? RemoteVersion::Newer : RemoteVersion::NotNewer;
}

} // namespace tsl
