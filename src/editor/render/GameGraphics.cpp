#include "editor/render/GameGraphics.h"

#include "graphics/PageFileSaving.h"
#include "mapdefs/StructureStore.h"

namespace tsl {

namespace {

GraphicsLoad Without(GraphicsStatus status, std::string text)
{
    GraphicsLoad load;
    load.Status = status;
    load.Problem = {std::move(text), kGraphicsErrorCaption, MessageIcon::Warning};
    return load;
}

} // namespace

Outcome<SoundNames> LoadSoundNames(const std::filesystem::path& structureFolder, const GraphicsSettings& settings)
{
    if (settings.Sounds.empty())
        return SoundNames{};
    const auto path = ResolveStructureFile(structureFolder, settings.Sounds);
    if (!path)
        return Failure{"The sound names \"" + settings.Sounds + "\" must lie in " + structureFolder.string() + ".",
                       kGraphicsErrorCaption, MessageIcon::Warning};
    return SoundNames::Load(*path);
}

GraphicsLoad LoadGameGraphics(const std::filesystem::path& gameDir, std::string_view extension,
                              const std::filesystem::path& structureFolder, const IniFile& settings)
{
    GraphicsSettings chosen = ReadGraphicsSettings(settings);
    if (!chosen.Configured())
        return Without(GraphicsStatus::NotConfigured,
                       "\"" + settings.Path().string() +
                           "\" names no palette and picture table for the game's own graphics.");
    const auto pagePath = FindPageFile(gameDir, extension);
    if (auto interrupted = DescribeInterruptedPageSave(gameDir, extension))
        return Without(GraphicsStatus::Failed, interrupted->text);
    if (!pagePath)
        return Without(GraphicsStatus::NoPageFile, "There is no page file \"VSWAP." + std::string(extension) +
                                                       "\" in " + gameDir.string() + ".");

    auto failed = [](const Failure& failure) {
        GraphicsLoad load;
        load.Status = GraphicsStatus::Failed;
        load.Problem = failure;
        return load;
    };
    const auto palettePath = ResolveStructureFile(structureFolder, chosen.Palette);
    const auto picturesPath = ResolveStructureFile(structureFolder, chosen.Pictures);
    if (!palettePath || !picturesPath)
        return Without(GraphicsStatus::Failed, "The palette \"" + chosen.Palette + "\" and the picture table \"" +
                                                   chosen.Pictures + "\" must lie in " + structureFolder.string() +
                                                   ".");
    auto pages = PageFile::Load(*pagePath);
    if (!pages)
        return failed(pages.failure());
    auto palette = Palette::Load(*palettePath);
    if (!palette)
        return failed(palette.failure());
    auto pictures = PictureTable::Load(*picturesPath);
    if (!pictures)
        return failed(pictures.failure());
    auto sounds = LoadSoundNames(structureFolder, chosen);
    if (!sounds)
        return failed(sounds.failure());

    GraphicsLoad load;
    load.Status = GraphicsStatus::Loaded;
    load.Graphics = std::make_shared<const GameGraphics>(
        GameGraphics{std::move(*pages), *palette, std::move(*pictures), std::move(chosen), std::move(*sounds)});
    return load;
}

} // namespace tsl
