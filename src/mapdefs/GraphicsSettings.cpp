#include "mapdefs/GraphicsSettings.h"

#include "core/TableText.h"

namespace tsl {

namespace {

constexpr const char* kSection = "Graphics";
constexpr const char* kPaletteKey = "Palette";
constexpr const char* kPicturesKey = "Pictures";
constexpr const char* kChunksKey = "Chunks";
constexpr const char* kSoundsKey = "Sounds";
constexpr const char* kCeilingKey = "CeilingColours";
constexpr const char* kFloorKey = "FloorColour";
constexpr const char* kToggleKey = "GameGraphics";

std::vector<int> ColourList(std::string_view text)
{
    std::vector<int> colours;
    if (text.empty())
        return colours;
    for (const std::string_view field : Fields(text)) {
        const auto value = WholeNumber(field, 0, 255);
        if (!value)
            return {};
        colours.push_back(*value);
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
    graphics.Sounds = settings.ReadString(kSection, kSoundsKey, "");
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
    if (!graphics.Sounds.empty())
        ok = settings.WriteString(kSection, kSoundsKey, graphics.Sounds) && ok;
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
