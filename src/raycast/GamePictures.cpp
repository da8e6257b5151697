#include "raycast/GamePictures.h"

#include "core/FileSystem.h"

namespace tsl {

Outcome<GamePictures> LoadGamePictures(const MapHandler& maps, const IniFile& structureSettings,
                                       const std::filesystem::path& structureFolder)
{
    (void)structureSettings;
    (void)structureFolder;
    const std::string name = "VSWAP." + maps.Extension;
    return Failure{"The page file " + (maps.Path / name).string() + " cannot be read.", "3D Preview",
                   MessageIcon::Warning};
}

GamePictures PlainGamePictures()
{
    return GamePictures{};
}

} // namespace tsl
