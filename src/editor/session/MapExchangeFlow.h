#pragma once
// The import and export commands up to the point where the window takes
// over: their dialogs and questions through the Prompter, the reading and
// checking of the file, where the maps go (the map set or the clipboard
// manager) with what that does to the editing state, and the writing of the
// export. The window shows the status texts and redraws.

#include "core/MapHandler.h"
#include "editor/session/EditorSession.h"
#include "core/Prompter.h"
#include "exchange/ExchangeFormats.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

enum class ImportDestination { None, ClipboardManager, Direct };

struct ImportResult {
    // None: cancelled or refused.
    ImportDestination Destination = ImportDestination::None;
    // The maps read, in file order.
    std::vector<ExchangeMap> Maps;
};

// Asks for a file, reads it and asks where its maps go; for a direct import
// the maps are ones `set` can take (InsertExchangeMaps puts them in). A file
// that cannot be read or that the set cannot take gives None.
ImportResult ImportMaps(const MapHandler& set, Prompter& prompter);

// The import command on an open project: the maps go into the clipboard
// manager (made when there is none) or, in one transaction, into the map
// set, which then counts as changed and shows the first of them (each
// inserted as Add Map inserts a new map). Whenever maps arrived, every map's
// history starts anew, the value mode goes back to whole words and plane 0
// is selected, and the result's status says how many came. A manager that
// holds nothing worth keeping is discarded.
EditResult ImportIntoSession(EditorSession& session, Prompter& prompter);

// The map exporter: the chosen maps in the order picked (possibly none), or
// nothing when it was cancelled.
using MapExporterDialog = std::function<std::optional<std::vector<int>>()>;

// Asks for the format and the file, shows the exporter for the formats that
// hold several maps, and writes the file. True when a file was written.
bool ExportMaps(const MapHandler& set, Prompter& prompter, const MapExporterDialog& exporter);

} // namespace tsl
