#include "editor/settings/AppSettings.h"

#include "core/ExecutableDir.h"
#include "core/FileSystem.h"
#include "core/UserFolders.h"

#include <algorithm>

namespace tsl {

namespace {
constexpr const char* kWindow = "Window";
constexpr const char* kUpdate = "Update";
constexpr const char* kRecent = "Recent";
constexpr const char* kSymbolList = "SymbolList";
constexpr const char* kView = "View";
constexpr const char* kGame = "Game";
} // namespace

RunOptions RunOptions::Read(const IniFile& file)
{
    RunOptions options;
    options.Skill = std::clamp(file.ReadInteger(kGame, "Skill", kDefaultRunSkill), 1, 4);
    options.Debug = file.ReadBool(kGame, "Debug", false);
    for (int i = 1; i <= kRecentCommandSlots; ++i) {
        std::string command = file.ReadString(kGame, "Command" + std::to_string(i), "");
        if (command.find_first_not_of(" \t") != std::string::npos)
            options.RecentCommands.push_back(std::move(command));
    }
    return options;
}

bool RunOptions::Write(IniFile& file) const
{
    IniFile::Batch batch(file);
    file.WriteInteger(kGame, "Skill", Skill);
    file.WriteBool(kGame, "Debug", Debug);
    for (int i = 0; i < kRecentCommandSlots; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        file.WriteString(kGame, "Command" + std::to_string(i + 1),
                         slot < RecentCommands.size() ? RecentCommands[slot] : std::string());
    }
    return batch.Commit();
}

void RunOptions::AddRecentCommand(const std::string& command)
{
    if (command.find_first_not_of(" \t") == std::string::npos)
        return;
    std::vector<std::string> commands = {command};
    for (const std::string& kept : RecentCommands)
        if (kept != command && commands.size() < static_cast<std::size_t>(kRecentCommandSlots))
            commands.push_back(kept);
    RecentCommands = std::move(commands);
}

AppSettings AppSettings::Read(const IniFile& file)
{
    AppSettings s;
    s.Window.Left = file.ReadInteger(kWindow, "Left", 0);
    s.Window.Top = file.ReadInteger(kWindow, "Top", 0);
    s.Window.Width = file.ReadInteger(kWindow, "Width", 0);
    s.Window.Height = file.ReadInteger(kWindow, "Height", 0);
    s.Window.WindowState = file.ReadInteger(kWindow, "WindowState", 0);
    s.CheckAtStartup = file.ReadBool(kUpdate, "CheckAtStartup", false);
    s.CheckFileURL = file.ReadString(kUpdate, "CheckFileURL", "");
    s.DownloadURL = file.ReadString(kUpdate, "DownloadURL", "");
    for (int i = 0; i < kRecentSlots; ++i)
        s.RecentList[static_cast<std::size_t>(i)] = file.ReadString(kRecent, std::to_string(i + 1), "");
    s.BackupKeep = std::max(0, file.ReadInteger("Backups", "Keep", kDefaultBackupKeep));
    s.AutosaveInterval = std::max(0, file.ReadInteger("Autosave", "Interval", kDefaultAutosaveInterval));
    const int size = file.ReadInteger(kSymbolList, "PictureSize", 8);
    s.SymbolPictureSize = size == 16 || size == 32 ? size : 8;
    s.ShowReachableArea = file.ReadInteger(kView, "ReachableArea", 0) != 0;
    return s;
}

bool AppSettings::Write(IniFile& file) const
{
    IniFile::Batch batch(file);
    file.WriteInteger(kWindow, "Left", Window.Left);
    file.WriteInteger(kWindow, "Top", Window.Top);
    file.WriteInteger(kWindow, "Width", Window.Width);
    file.WriteInteger(kWindow, "Height", Window.Height);
    file.WriteInteger(kWindow, "WindowState", Window.WindowState);
    file.WriteBool(kUpdate, "CheckAtStartup", CheckAtStartup);
    file.WriteString(kUpdate, "CheckFileURL", CheckFileURL);
    file.WriteString(kUpdate, "DownloadURL", DownloadURL);
    WriteRecent(file);
    return batch.Commit();
}

bool AppSettings::WriteRecent(IniFile& file) const
{
    IniFile::Batch batch(file);
    for (int i = 0; i < kRecentSlots; ++i)
        file.WriteString(kRecent, std::to_string(i + 1), RecentList[static_cast<std::size_t>(i)]);
    return batch.Commit();
}

bool AppSettings::WriteCheckAtStartup(IniFile& file) const
{
    return file.WriteBool(kUpdate, "CheckAtStartup", CheckAtStartup);
}

bool AppSettings::WriteShowReachableArea(IniFile& file) const
{
    return file.WriteInteger(kView, "ReachableArea", ShowReachableArea ? 1 : 0);
}

bool AppSettings::WriteSymbolPictureSize(IniFile& file) const
{
    return file.WriteInteger(kSymbolList, "PictureSize", SymbolPictureSize);
}

bool AppSettings::AddRecentProject(const std::string& directory)
{
    if (RecentList[0] == directory)
        return false;
    // A directory in the list moves to the front; a new one pushes the last out.
    auto slot = std::find(RecentList.begin(), RecentList.end(), directory);
    if (slot == RecentList.end()) {
        slot = RecentList.end() - 1;
        *slot = directory;
    }
    std::rotate(RecentList.begin(), slot, slot + 1);
    return true;
}

std::string RecentCaption(int slot, const std::string& directory)
{
    return "&" + std::to_string(slot) + " " + directory;
}

std::filesystem::path DefaultAppSettingsFile()
{
    const std::filesystem::path beside = ExecutableDir();
    if (IsPortableCopy(beside))
        return ResolveNoCase(beside, kAppSettingsFileName);
    return UserConfigFolder() / kAppSettingsFileName;
}

} // namespace tsl
