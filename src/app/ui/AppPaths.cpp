#include "app/ui/AppPaths.h"

#include "editor/AppSettings.h"
#include "core/ExecutableDir.h"
#include "core/FileSystem.h"

#include <QStandardPaths>

#include <unistd.h>

namespace tsl {

namespace {

bool Writable(const std::filesystem::path& dir)
{
    return ::access(dir.c_str(), W_OK) == 0;
}

std::filesystem::path UserFolder(QStandardPaths::StandardLocation location)
{
    std::filesystem::path dir = QStandardPaths::writableLocation(location).toStdString();
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    return dir;
}

} // namespace

EditorEnvironment DefaultEnvironment()
{
    const std::filesystem::path beside = ExecutableDir();
    const std::filesystem::path shipped = ShippedDataDir(beside);
    const std::filesystem::path installedMapDefs = ResolveNoCase(shipped, "MapDefs");
    // Only a portable copy keeps its settings beside itself: an installed one
    // never writes into its bin folder, even where it could.
    if (shipped == beside && Writable(beside))
        return {ResolveNoCase(beside, kAppSettingsFileName), installedMapDefs};

    EditorEnvironment env;
    env.settingsFile = UserFolder(QStandardPaths::AppConfigLocation) / kAppSettingsFileName;
    env.mapDefsRoot = UserFolder(QStandardPaths::AppDataLocation) / "MapDefs";
    std::error_code ec;
    if (!std::filesystem::exists(env.mapDefsRoot, ec) && std::filesystem::is_directory(installedMapDefs, ec))
        std::filesystem::copy(installedMapDefs, env.mapDefsRoot, std::filesystem::copy_options::recursive, ec);
    return env;
}

std::filesystem::path ManualFile()
{
    return ShippedDataDir() / "manual" / "index.html";
}

} // namespace tsl
