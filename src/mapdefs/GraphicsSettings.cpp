#include "mapdefs/GraphicsSettings.h"

#include <charconv>

namespace tsl {

namespace {

constexpr const char* kSection = "Graphics";
constexpr const char* kPaletteKey = "Palette";
constexpr const char* kPicturesKey = "Pictures";
constexpr const char* kChunksKey = "Chunks";
constexpr const char* kCeilingKey = "CeilingColours";
constexpr const char* kFloorKey = "FloorColour";
constexpr const char* kToggleKey = "GameGraphics";

std::vector<int> ColourList(std::string_view text)
{
    std::vector<int> colours;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            comma = text.size();
        std::string_view field = text.substr(start, comma - start);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
            field.remove_prefix(1);
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
            field.remove_suffix(1);
        int value = -1;
        const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || ec != std::errc() || ptr != field.data() + field.size() || value < 0 || value > 255)
            return {};
        colours.push_back(value);
        start = comma + 1;
    }
    return colours;
}

} // namespace

int GraphicsSettings::CeilingColour(int map, int fallback) const
{
    if (map < 0 || static_cast<std::size_t>(map) >= CeilingColours.size())
        return fallback;
    return CeilingColours[static_cast<std::size_t>(map)];
}

GraphicsSettings ReadGraphicsSettings(const IniFile& settings)
{
    GraphicsSettings graphics;
    graphics.Palette = settings.ReadString(kSection, kPaletteKey, "");
    graphics.Pictures = settings.ReadString(kSection, kPicturesKey, "");
    graphics.Chunks = settings.ReadString(kSection, kChunksKey, "");
    graphics.CeilingColours = ColourList(settings.ReadString(kSection, kCeilingKey, ""));
    const int floor = settings.ReadInteger(kSection, kFloorKey, kDefaultFloorColour);
    graphics.FloorColour = floor >= 0 && floor <= 255 ? floor : kDefaultFloorColour;
    if (settings.HasKey(kSection, kToggleKey))
        graphics.GameGraphics = settings.ReadBool(kSection, kToggleKey, true);
    return graphics;
}

bool WriteGraphicsSettings(IniFile& settings, const GraphicsSettings& graphics)
{
    std::string ceiling;
    for (std::size_t i = 0; i < graphics.CeilingColours.size(); ++i)
        ceiling += (i ? "," : "") + std::to_string(graphics.CeilingColours[i]);
    IniFile::Batch batch(settings);
    bool ok = settings.WriteString(kSection, kPaletteKey, graphics.Palette);
    ok = settings.WriteString(kSection, kPicturesKey, graphics.Pictures) && ok;
    if (!graphics.Chunks.empty())
        ok = settings.WriteString(kSection, kChunksKey, graphics.Chunks) && ok;
    ok = settings.WriteString(kSection, kCeilingKey, ceiling) && ok;
    ok = settings.WriteInteger(kSection, kFloorKey, graphics.FloorColour) && ok;
    if (graphics.GameGraphics)
        ok = settings.WriteBool(kSection, kToggleKey, *graphics.GameGraphics) && ok;
    return batch.Commit() && ok;
}

bool GameGraphicsWanted(const IniFile& settings, bool gameHasPageFile)
{
    return settings.ReadBool(kSection, kToggleKey, gameHasPageFile);
}

bool WriteGameGraphics(IniFile& settings, bool on)
{
    return settings.WriteBool(kSection, kToggleKey, on);
}

} // namespace tsl
