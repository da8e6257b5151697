#include "graphics/PageExport.h"

#include "core/FileSystem.h"
#include "graphics/PagePictureExchange.h"
#include "graphics/SoundFiles.h"

#include <cstdio>

namespace tsl {

namespace {

std::string Numbered(const char* format, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, format, number);
    return name;
}

} // namespace

std::string WallFileName(int chunk)
{
    return Numbered("wall-%04d.png", chunk);
}

std::string SpriteFileName(int chunk)
{
    return Numbered("sprite-%04d.png", chunk);
}

std::string SoundFileName(int number)
{
    return Numbered("sound-%03d.wav", number);
}

Outcome<std::vector<std::string>> ExportPages(const PageSet& pages, const Palette& palette,
                                              const std::filesystem::path& folder,
                                              const std::optional<std::set<int>>& chunks)
{
    const auto wanted = [&](int chunk) { return !chunks || chunks->count(chunk) > 0; };
    std::vector<FileWrite> files;
    for (int chunk = 0; chunk < pages.FirstSoundChunk(); ++chunk) {
        const PageSet::Chunk bytes = pages.ChunkAt(chunk);
        if (!bytes || !wanted(chunk))
            continue;
        if (pages.KindOf(chunk) == ChunkKind::Wall) {
            files.push_back({folder / WallFileName(chunk), WallPng(std::span(*bytes).first(kPicturePixels), palette)});
            continue;
        }
        Sprite sprite;
        if (!DecodeSprite(*bytes, sprite)) // a set read from a file was checked, an edited one holds sprites that decode
            files.push_back({folder / SpriteFileName(chunk), SpritePng(sprite, palette)});
    }
    for (const DigitisedSound& sound : pages.Sounds())
        if (sound.present > 0 && wanted(sound.firstChunk))
            files.push_back({folder / SoundFileName(sound.number), EncodeWav(pages.SoundSamples(sound.number))});

    const auto failed = [](const DiskError& error) {
        return Failure{"Couldn't write " + error.Describe() + "!", kPageExportCaption, MessageIcon::Error};
    };
    if (auto error = MakeDirectories(folder))
        return failed(*error);
    if (auto error = WriteFiles(files))
        return failed(*error);
    std::vector<std::string> written;
    for (const FileWrite& file : files)
        written.push_back(file.target.filename().string());
    return written;
}

} // namespace tsl
