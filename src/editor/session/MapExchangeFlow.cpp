#include "editor/session/MapExchangeFlow.h"

#include "exchange/ImportMaps.h"
#include "exchange/MapExporter.h"

namespace tsl {

namespace {

const FileFilter kImportFilter{"All Map Files (*.tsl, *.lvl, *.flr, *.map)|*.tsl;*.lvl;*.flr;*.map|"
                               "TSL Map Files (*.tsl)|*.tsl|FloEdit Level Files (*.lvl)|*.lvl|"
                               "MapEdit Floor Files (*.flr)|*.flr|ChaosEdit / WDC Map Files (*.map)|*.map|"
                               "All Files (*.*)|*.*",
                               0};
const FileFilter kChaosEditFilter{"TSL Map Files (*.tsl)|*.tsl|FloEdit Level Files (*.lvl)|*.lvl|"
                                  "MapEdit Floor Files (*.flr)|*.flr|ChaosEdit Map Files (*.map)|*.map|"
                                  "All Files (*.*)|*.*",
                                  3};
const FileFilter kWdcFilter{"TSL Map Files (*.tsl)|*.tsl|FloEdit Level Files (*.lvl)|*.lvl|"
                            "MapEdit Floor Files (*.flr)|*.flr|WDC Map Files (*.map)|*.map|All Files (*.*)|*.*",
                            0};

Answer AskDestination(Prompter& prompter, std::size_t count)
{
    if (count < 2)
        return prompter.Message("Do you wish to copy the map to the clipboard manager?\n\n"
                                "By clicking \"No\" you import the map directly.",
                                "Import map", MessageIcon::Question, Buttons::YesNoCancel);
    return prompter.Message("This file has more than one map in it.\n\n"
                            "Do you wish to copy them to the clipboard manager?\n\n"
                            "By clicking \"No\" you import the maps directly.",
                            "Import maps", MessageIcon::Question, Buttons::YesNoCancel);
}

} // namespace

ImportResult ImportMaps(const MapHandler& set, Prompter& prompter)
{
    ImportResult result;
    const auto path = prompter.ChooseOpenFile("Import map(s)", kImportFilter);
    if (!path)
        return result;
    auto contents = ReadImportFile(*path, set.NumPlanes, set.NameLength);
    if (!contents) {
        prompter.Show(contents.failure());
        return result;
    }
    if (contents->Maps.empty()) {
        prompter.Message("The map file holds no maps!", kImportCaption, MessageIcon::Warning, Buttons::Ok);
        return result;
    }
    switch (AskDestination(prompter, contents->Maps.size())) {
    case Answer::Yes:
        result.Destination = ImportDestination::ClipboardManager;
        break;
    case Answer::No:
        break;
    default:
        return result;
    }
    if (result.Destination == ImportDestination::None) {
        if (auto failure = CheckDirectImport(set, contents->Maps)) {
            prompter.Show(*failure);
            return result;
        }
        result.Destination = ImportDestination::Direct;
    }
    result.Maps = std::move(contents->Maps);
    return result;
}

EditResult ImportIntoSession(EditorSession& session, Prompter& prompter)
{
    // The file dialog takes the mouse: a gesture still held ends first.
    EditResult result = session.EndGesture();
    ImportResult imported = ImportMaps(session.Maps(), prompter);
    const std::size_t n = imported.Maps.size();
    if (imported.Destination == ImportDestination::ClipboardManager) {
        CB_Manager* manager = session.ClipboardManager();
        if (!manager)
            manager = &session.CreateClipboardManager();
        for (ExchangeMap& map : imported.Maps)
            manager->Entries.push_back(session.MakeClipboardEntry(map.Width, map.Height, std::move(map.Planes)));
        manager->Discard = false;
        result.Status = std::to_string(n) + (n == 1 ? " map" : " maps") + " put into the clipboard manager";
        session.RebuildHistories();
    } else if (imported.Destination == ImportDestination::Direct) {
        auto change = session.Document().Begin();
        MapHandler& maps = change.Set();
        maps.CurrentMap = InsertExchangeMaps(maps, std::move(imported.Maps));
        change.Commit();
        result.Status = std::to_string(n) + (n == 1 ? " map" : " maps") + " imported";
    }
    if (imported.Destination != ImportDestination::None) {
        session.SetValueMode(kIntMode);
        session.SelectPlane(0);
        result.ValuesChanged = true;
        result.Overlay = true;
    }
    if (const CB_Manager* manager = session.ClipboardManager(); manager && manager->Discard)
        session.DestroyClipboardManager();
    return result;
}

bool ExportMaps(const MapHandler& set, Prompter& prompter, const MapExporterDialog& exporter)
{
    const bool chaosEdit = prompter.Message("Do you wish to export the map in ChaosEdit format?\n\n"
                                            "By clicking \"No\" you can export the map(s) in a different map format.",
                                            "Export map(s)", MessageIcon::Question, Buttons::YesNo) == Answer::Yes;
    const auto path = prompter.ChooseSaveFile("Export map(s)", chaosEdit ? kChaosEditFilter : kWdcFilter, "tsl");
    if (!path)
        return false;
    const ExchangeFormat format = ExportFormatFor(*path, chaosEdit);
    std::vector<int> maps;
    if (format == ExchangeFormat::TSL || format == ExchangeFormat::FloEdit || format == ExchangeFormat::WDC) {
        const auto chosen = exporter();
        if (!chosen)
            return false;
        maps = MapsToExport(*chosen, set);
    } else if (set.CurrentMap >= 0 && set.CurrentMap < set.NumMaps()) {
        maps.push_back(set.CurrentMap);
    }
    if (auto failure = WriteExchangeFile(*path, format, maps, set)) {
        prompter.Show(*failure);
        return false;
    }
    return true;
}

} // namespace tsl
