#include "editor/run/RunChecks.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <system_error>

namespace tsl {

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

} // namespace

KnownProgram KnowProgram(std::string_view program)
{
    const std::string name = Lower(std::filesystem::path(program).filename().string());
    if (name == "wolf4sdl" || name.starts_with("wolf3d"))
        return {"Wolf4SDL", true, true};
    if (name == "ecwolf")
        return {"ECWolf", true, true};
    if (name.starts_with("dosbox"))
        return {"DOSBox", false, false};
    return {std::filesystem::path(program).filename().string(), false, false};
}

std::vector<std::string> NamesWithoutLowerCase(const std::filesystem::path& folder, std::string_view extension)
{
    const std::vector<std::string> names = ListDirectory(folder);
    const std::set<std::string> present(names.begin(), names.end());
    const std::string ending = "." + Lower(extension);
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        const std::string lower = Lower(name);
        if (extension.empty() || !lower.ends_with(ending) || lower == name || present.count(lower))
            continue;
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / name, error))
            missing.push_back(name);
    }
    return missing;
}

std::optional<DiskError> AddLowerCaseLinks(const std::filesystem::path& folder, const std::vector<std::string>& names)
{
    std::vector<std::filesystem::path> made;
    for (const std::string& name : names) {
        const std::filesystem::path link = folder / Lower(name);
        if (auto error = MakeSymbolicLink(name, link)) {
            for (const std::filesystem::path& undone : made)
                RemoveEntry(undone);
            return error;
        }
        made.push_back(link);
    }
    return std::nullopt;
}

bool HasAudioOutput(const std::filesystem::path& devices)
{
    std::error_code error;
    // ALSA names its playback devices pcmC<card>D<device>p.
    for (const std::string& name : ListDirectory(devices, error))
        if (name.starts_with("pcmC") && name.ends_with("p"))
            return true;
    if (const char* server = std::getenv("PULSE_SERVER"); server && *server)
        return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        for (const char* socket : {"pulse/native", "pipewire-0"})
            if (std::filesystem::exists(std::filesystem::path(runtime) / socket, error))
                return true;
    return false;
}

bool ChoosesAudioDriver(const std::vector<std::string>& environment)
{
    return std::any_of(environment.begin(), environment.end(),
                       [](const std::string& setting) { return setting.starts_with("SDL_AUDIODRIVER="); });
}

} // namespace tsl
