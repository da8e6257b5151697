#include "editor/document/Project.h"

#include "core/Windows1252.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr const char* kLoadCaption = "Error loading maps";

std::string StructureMissingText(const std::string& extension)
{
    return "Couldn't find a map definition structure for \"" + extension +
           "\"-files!\n\nDo you wish to create a map definition structure for \"" + extension + "\"-files?";
}

bool AskExtendedNames(Prompter& prompter)
{
    return prompter.Message("Do you use extended map names (32 characters)?", "Extended map names confirmation",
                            MessageIcon::Question, Buttons::YesNo) == Answer::Yes;
}

// The WDC-compatible and extended-name flags, settled against the size of the
// header file found; false when the user's answer ends the open.
bool SettleWdcFlags(const GameFiles& files, Prompter& prompter, bool& wdc, bool& extendedNames)
{
    const WdcMismatch mismatch = CheckWdcSetting(files, wdc);
    if (mismatch == WdcMismatch::LooksWdc) {
        if (prompter.Message(kLooksWdcText, kLoadCaption, MessageIcon::Warning, Buttons::YesNoCancel) != Answer::Yes)
            return false;
        extendedNames = AskExtendedNames(prompter);
        wdc = true;
    } else if (mismatch == WdcMismatch::LooksPlain) {
        if (prompter.Message(std::string(kLooksPlainText) + "\n\nDo you wish to deactivate the WDC compatible flag?",
                             kLoadCaption, MessageIcon::Warning, Buttons::YesNo) != Answer::Yes)
            return false;
        extendedNames = AskExtendedNames(prompter);
        wdc = false;
    }
    return true;
}

} // namespace

bool Project::SplitPlane(int plane) const
{
    return Settings->ReadBool("SplitPlanes", std::to_string(plane), false);
}

OpenOutcome OpenProject(const OpenRequest& request, Prompter& prompter, const StructureDialog& structureDialog)
{
    OpenOutcome outcome;

    std::filesystem::path directory;
    if (request.directory) {
        directory = *request.directory;
    } else {
        auto chosen = prompter.ChooseDirectory(kChooseGameDirectoryPrompt, request.startDirectory);
        if (!chosen) {
            outcome.result = OpenResult::Cancelled;
            return outcome;
        }
        directory = *chosen;
    }

    auto files = LocateGameFiles(directory);
    if (!files) {
        prompter.Show(files.failure());
        return outcome;
    }

    const fs::path& root = request.mapDefsRoot;
    if (!StructureExists(root, files->Extension, files->HeaderExecutable)) {
        if (prompter.Message(StructureMissingText(files->Extension), "Error loading map definition structure",
                             MessageIcon::Question, Buttons::YesNo) != Answer::Yes)
            return outcome;
        if (!structureDialog || !structureDialog(files->Extension, files->HeaderExecutable))
            return outcome;
        if (!StructureExists(root, files->Extension, files->HeaderExecutable))
            return outcome;
    }

    auto settings = std::make_unique<IniFile>(StructureSettingsPath(root, files->Extension, files->HeaderExecutable));
    const StructureSettings structure = ReadStructureSettings(*settings);

    bool wdc = structure.WDCCompatibleMaps;
    bool extendedNames = structure.ExtendedMapNames;
    if (!SettleWdcFlags(*files, prompter, wdc, extendedNames))
        return outcome;

    MapHandler maps;
    maps.UseGameFiles(directory, *files);
    maps.NumPlanes = structure.NumPlanes;
    maps.ExtendedMapNames = extendedNames;
    maps.NameLength = extendedNames ? 32 : 16;
    maps.NearTag = static_cast<std::uint16_t>(structure.NearTag);
    maps.FarTag = static_cast<std::uint16_t>(structure.FarTag);
    maps.Compression = files->FileVersion == DataFileVersion::GameMaps ? structure.Compression : 0;
    maps.WDCCompatibleMaps = wdc;
    maps.CurrentMap = 0;
    maps.Backups = request.backups;

    const LoadReport report = maps.Load();
    if (!report.ok()) {
        prompter.Show(*report.failure);
        return outcome;
    }
    if (report.warning)
        prompter.Show(*report.warning);
    if (auto damage = report.DamageMessage())
        prompter.Show(*damage);
    if (maps.NumMaps() == 0) {
        prompter.Show(Failure{"The map files hold no maps!", kLoadCaption, MessageIcon::Warning});
        return outcome;
    }

    auto project = std::make_unique<Project>(std::move(maps));
    project->StructureFolder = StructureFolder(root, files->Extension, files->HeaderExecutable);
    project->Settings = std::move(settings);
    if (auto failure =
            project->Symbols.LoadMapSymbols(project->StructureFolder, *project->Settings, project->Maps().NumPlanes)) {
        prompter.Show(*failure);
        return outcome;
    }
    project->Rules = LoadEngineRules(project->StructureFolder, *project->Settings, project->Symbols);

    outcome.result = OpenResult::Opened;
    outcome.project = std::move(project);
    return outcome;
}

std::string TitleFor(const Project* project)
{
    if (!project || project->Maps().NumMaps() == 0)
        return "Tesselar";
    // A name buffer can be longer than NameLength after the name length was
    // changed in the map configurations.
    const auto length = static_cast<std::size_t>(std::max(project->Maps().NameLength, 0));
    return "Tesselar: " + Windows1252ToUtf8(MapNameText(project->Maps().Current().Name).substr(0, length));
}

} // namespace tsl
