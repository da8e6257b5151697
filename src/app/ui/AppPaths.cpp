#include "app/ui/AppPaths.h"

#include "editor/settings/AppSettings.h"
#include "core/ExecutableDir.h"
#include "core/FileSystem.h"
#include "core/UserFolders.h"

#include <QStandardPaths>

namespace tsl {

namespace {

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
    const std::filesystem::path installedMapDefs = ResolveNoCase(ShippedDataDir(beside), "MapDefs");
    EditorEnvironment env;
    // Backups and recovery files live in the user's folders for every copy,
    // where tesselar-cli finds them too.
    env.backupsRoot = DefaultBackupsRoot();
    env.recoveryRoot = DefaultRecoveryRoot();
    if (IsPortableCopy(beside)) {
        env.settingsFile = ResolveNoCase(beside, kAppSettingsFileName);
        env.mapDefsRoot = installedMapDefs;
        return env;
    }

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
