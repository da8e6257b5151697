#include "graphics/PageExport.h"

#include "core/FileSystem.h"
#include "graphics/PagePictureExchange.h"
#include "graphics/SoundFiles.h"

#include <cstdio>
#include <map>
#include <utility>

namespace tsl {

namespace {

std::string Numbered(const char* format, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, format, number);
    return name;
}

// "2", "1 to 16382", "1, 3 and 5 to 9": numbers in ascending order.
std::string NumberList(const std::vector<int>& numbers)
{
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t end = i + 1;
        while (end < numbers.size() && numbers[end] == numbers[end - 1] + 1)
            ++end;
        runs.push_back(std::to_string(numbers[i]) + (end - i > 1 ? " to " + std::to_string(numbers[end - 1]) : ""));
        i = end;
    }
    std::string text;
    for (std::size_t i = 0; i < runs.size(); ++i)
        text += (i == 0 ? "" : i + 1 == runs.size() ? " and " : ", ") + runs[i];
    return text;
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

std::vector<std::string> PagesExport::Shared() const
{
    std::vector<std::string> notes;
    for (const Sound& sound : sounds)
        if (!sound.same.empty())
            notes.push_back(SoundFileName(sound.number) + " is also " + (sound.same.size() == 1 ? "sound " : "sounds ") +
                            NumberList(sound.same) + " (the same bytes).");
    return notes;
}

Outcome<PagesExport> PlanPagesExport(const PageSet& pages, const std::optional<std::set<int>>& chunks)
{
    const auto wanted = [&](int chunk) { return !chunks || chunks->count(chunk) > 0; };
    PagesExport plan;
    for (int chunk = 0; chunk < pages.FirstSoundChunk(); ++chunk)
        if (pages.ChunkAt(chunk) && wanted(chunk))
            plan.pictures.push_back(chunk);

    // One file for the sounds of the same chunks and length.
    std::map<std::pair<int, std::size_t>, std::size_t> files;
    std::uint64_t bytes = 0;
    for (const DigitisedSound& sound : pages.Sounds()) {
        if (sound.present == 0 || !wanted(sound.firstChunk))
            continue;
        const auto [file, fresh] = files.try_emplace({sound.firstChunk, sound.present}, plan.sounds.size());
        if (!fresh) {
            plan.sounds[file->second].same.push_back(sound.number);
            continue;
        }
        plan.sounds.push_back({sound.number, {}});
        bytes += sound.present;
    }
    // Sounds apart from each other take at most what their chunks hold.
    std::uint64_t held = 0;
    for (int chunk = pages.FirstSoundChunk(); chunk < pages.SoundTableChunk(); ++chunk)
        if (const PageSet::Chunk bytesOf = pages.ChunkAt(chunk))
            held += bytesOf->size();
    if (bytes > held)
        return Failure{"The sounds would take " + std::to_string(bytes) + " bytes written out, more than the " +
                           std::to_string(held) + " bytes of the page file's sound chunks: sounds of its table "
                                                  "overlap. Nothing was written.",
                       kPageExportCaption, MessageIcon::Warning};
    return plan;
}

Outcome<std::vector<std::string>> WritePagesExport(const PageSet& pages, const Palette& palette, const PagesExport& plan,
                                                   const std::filesystem::path& folder)
{
    const auto failed = [](const DiskError& error) {
        return Failure{"Couldn't write " + error.Describe() + "!", kPageExportCaption, MessageIcon::Error};
    };
    if (auto error = MakeDirectories(folder))
        return failed(*error);
    FileBatch batch;
    std::vector<std::string> written;
    const auto write = [&](const std::string& name, const Bytes& content) {
        written.push_back(name);
        return batch.Add(folder / name, content);
    };
    for (const int chunk : plan.pictures) {
        const PageSet::Chunk bytes = pages.ChunkAt(chunk);
        std::optional<DiskError> error;
        if (pages.KindOf(chunk) == ChunkKind::Wall) {
            error = write(WallFileName(chunk), WallPng(std::span(*bytes).first(kPicturePixels), palette));
        } else {
            Sprite sprite;
            if (!DecodeSprite(*bytes, sprite)) // a set read from a file was checked, an edited one holds sprites that decode
                error = write(SpriteFileName(chunk), SpritePng(sprite, palette));
        }
        if (error)
            return failed(*error);
    }
    const std::vector<DigitisedSound> sounds = pages.Sounds();
    for (const PagesExport::Sound& sound : plan.sounds)
        if (auto error = write(SoundFileName(sound.number),
                               EncodeWav(pages.SoundSamples(sounds[static_cast<std::size_t>(sound.number)]))))
            return failed(*error);
    if (auto error = batch.Commit())
        return failed(*error);
    return written;
}

} // namespace tsl
