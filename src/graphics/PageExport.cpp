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
    std::vector<std::string> written;
    const auto write = [&](const std::string& name, const Bytes& bytes) -> std::optional<Failure> {
        if (auto error = ReplaceFile(folder / name, bytes))
            return Failure{"Couldn't write " + error->Describe() + "!", kPageExportCaption, MessageIcon::Error};
        written.push_back(name);
        return std::nullopt;
    };
    if (auto error = MakeDirectories(folder))
        return Failure{"Couldn't make the folder " + error->Describe() + "!", kPageExportCaption, MessageIcon::Error};

    for (int chunk = 0; chunk < pages.FirstSoundChunk(); ++chunk) {
        const PageSet::Chunk bytes = pages.ChunkAt(chunk);
        if (!bytes || !wanted(chunk))
            continue;
        std::optional<Failure> failure;
        if (pages.KindOf(chunk) == ChunkKind::Wall) {
            failure = write(WallFileName(chunk), WallPng(std::span(*bytes).first(kPicturePixels), palette));
        } else {
            Sprite sprite;
            if (DecodeSprite(*bytes, sprite))
                continue; // a set read from a file was checked; an edited one holds only sprites that decode
            failure = write(SpriteFileName(chunk), SpritePng(sprite, palette));
        }
        if (failure)
            return *failure;
    }
    for (const DigitisedSound& sound : pages.Sounds()) {
        if (sound.present == 0 || !wanted(sound.firstChunk))
            continue;
        if (auto failure = write(SoundFileName(sound.number), EncodeWav(pages.SoundSamples(sound.number))))
            return *failure;
    }
    return written;
}

} // namespace tsl
