#include "editor/render/PageWords.h"

#include "graphics/SoundFiles.h"

#include <algorithm>
#include <cstdio>

namespace tsl {

std::map<int, std::vector<PageWord>> WordsByChunk(const PictureTable& table, int firstSprite,
                                                  const SymbolTables* symbols)
{
    std::map<int, std::vector<PageWord>> words;
    for (const PictureEntry& line : table.Entries())
        for (int value = line.value; value <= line.last; ++value) {
            const PictureEntry entry = PictureTable::WordOf(line, static_cast<std::uint16_t>(value));
            const std::vector<int> chunks = EntryChunks(entry, firstSprite);
            if (chunks.empty())
                continue;
            PageWord word{entry.plane, entry.value, {}};
            if (symbols && entry.plane < symbols->NumPlanes())
                if (const auto index = symbols->FindSymbol(entry.plane, entry.value))
                    word.name = symbols->PlaneSymbols(entry.plane)[static_cast<std::size_t>(*index)].SymbolName;
            for (const int chunk : chunks) {
                std::vector<PageWord>& list = words[chunk];
                if (std::find(list.begin(), list.end(), word) == list.end())
                    list.push_back(word);
            }
        }
    return words;
}

std::string WordList(const std::vector<PageWord>& words)
{
    std::string text;
    for (const PageWord& word : words) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(word.value);
        if (!word.name.empty())
            text += " " + word.name;
    }
    return text;
}

std::string SoundSeconds(std::size_t samples)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(samples) / kSoundRate);
    return text;
}

} // namespace tsl
