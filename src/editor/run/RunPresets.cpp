#include "editor/run/RunPresets.h"

#include "editor/run/GameLauncher.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace tsl {

namespace {

std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

// The first of `names` the PATH has, and where; the first name when none.
struct Found {
    std::string name;
    std::string where;
};
Found FirstOnPath(std::initializer_list<const char*> names, std::string_view path)
{
    for (const char* name : names)
        if (auto where = FindOnPath(name, path))
            return {name, *where};
    return {*names.begin(), {}};
}

// The DOS executables of the game folder, by name.
std::vector<std::string> DosExecutables(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && Upper(name.substr(name.size() - 4)) == ".EXE" && entry.is_regular_file(error))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A word of a command in quotes when it holds what the splitting would take apart.
std::string Quoted(const std::string& word)
{
    if (word.find_first_of(" \t'\"\\") == std::string::npos)
        return word;
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

bool IsSpearExtension(std::string_view extension)
{
    const std::string ext = Upper(extension);
    return ext == "SOD" || ext == "SDM" || ext == "SD1" || ext == "SD2" || ext == "SD3";
}

std::vector<RunPreset> RunPresets(const std::filesystem::path& gameFolder, std::string_view extension,
                                  std::string_view path)
{
    const bool spear = IsSpearExtension(extension);
    std::vector<RunPreset> presets;

    const Found wolf4sdl = FirstOnPath({"wolf4sdl", "wolf3d"}, path);
    presets.push_back({"Wolf4SDL",
                       wolf4sdl.name + " --tedlevel %m --nowait --%k %[" + (spear ? "--debugmode" : "--goobers") + "]",
                       wolf4sdl.where});

    const Found ecwolf = FirstOnPath({"ecwolf"}, path);
    presets.push_back({"ECWolf", ecwolf.name + " --data %e --tedlevel MAP%N --skill %s --nowait", ecwolf.where});

    const Found dosbox = FirstOnPath({"dosbox", "dosbox-x"}, path);
    for (const std::string& executable : DosExecutables(gameFolder))
        presets.push_back({"DOSBox: " + executable,
                           dosbox.name + " -c 'mount c \"%d\"' -c c: -c " +
                               Quoted(executable + " -tedlevel %m -nowait -%k %[" + (spear ? "-debugmode" : "-goobers") +
                                      "]") +
                               " -c exit",
                           dosbox.where});

    presets.push_back({"Custom command", "", "", true});
    return presets;
}

} // namespace tsl
