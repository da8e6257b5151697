#include "graphics/SoundNames.h"

#include "core/TableText.h"
#include "graphics/PageFile.h"
#include "graphics/PageSet.h"

namespace tsl {

Outcome<SoundNames> SoundNames::Parse(std::string_view text, const std::string& fileName)
{
    SoundNames sounds;
    std::map<int, std::size_t> lineOf;
    const auto read = [&](const TableLine& line) -> std::optional<std::string> {
        const auto fields = Fields(line.text, ',', 2);
        if (fields.size() < 2 || fields[1].empty())
            return std::string("a sound is number,name");
        const auto number = WholeNumber(fields[0], 0, kMaxSounds - 1);
        if (!number)
            return "the sound is a number from 0 to " + std::to_string(kMaxSounds - 1);
        if (const auto earlier = lineOf.find(*number); earlier != lineOf.end())
            return "sound " + std::to_string(*number) + " has a name already, on line " + std::to_string(earlier->second);
        lineOf.emplace(*number, line.number);
        sounds.names_.emplace(*number, std::string(fields[1]));
        return std::nullopt;
    };
    if (auto failure = ReadTable(text, fileName, kGraphicsErrorCaption, read))
        return *failure;
    return sounds;
}

Outcome<SoundNames> SoundNames::Load(const std::filesystem::path& path)
{
    return LoadTable<SoundNames>(path, "The sound names", kGraphicsErrorCaption);
}

std::string_view SoundNames::Name(int number) const
{
    const auto found = names_.find(number);
    return found == names_.end() ? std::string_view() : std::string_view(found->second);
}

} // namespace tsl
