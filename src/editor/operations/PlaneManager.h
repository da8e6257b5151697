#pragma once
// The plane manager's work on an open project: the planes' names and display
// flags in the structure's settings, and changing the number of planes of
// every map, which rewrites the structure, reloads the set with planes added
// or dropped and saves the game's map files at once.

#include "core/Failure.h"
#include "core/Prompter.h"
#include "editor/document/Project.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr int kMaxPlaneCount = 32767;
inline constexpr const char* kPlaneManagerCaption = "Plane Manager";
inline constexpr const char* kSaveMapsCaption = "Save maps";
inline constexpr const char* kAutosaveQuestion =
    "Your map files are getting autosaved, if you change the number of planes.\n\nDo you wish to continue?";

// The count field's text as a plane count; the refusal when it is empty or
// outside 1 ... 32767.
Outcome<int> ParsePlaneCount(std::string_view text);

// The names of planes 0 ... numPlanes - 1 ("Unknown Plane" when missing), as
// texts to show (UTF-8).
std::vector<std::string> PlaneNames(const IniFile& settings, int numPlanes);
// Stores a plane's name (Windows-1252 bytes, as PlaneName reads it).
void WritePlaneName(IniFile& settings, int plane, std::string_view name);
// Both flags of a plane at once, as 1 or 0.
void WritePlaneFlags(IniFile& settings, int plane, bool show, bool split);

// The question before the plane count goes down to `count`: which planes
// lose their words in every map, which symbol files are deleted, and where
// the previous files are kept (Yes / No).
Question PlaneReductionQuestion(const Project& project, int count);

// Writes the maps the way "Save Project" does (the editor shows its progress
// dialog); the default saves straight away.
using SaveMaps = std::function<std::optional<Failure>(const MapHandler&)>;

// Gives every map of the project `count` planes (another count than its
// own): the structure gets or loses the plane entries and symbol files, the
// set is read again from the game's files (added planes are 0, dropped ones
// are gone), the project's symbol tables are rebuilt, and the game's files
// are saved. The set read and saved comes back, its first map current, for
// the caller to put in the project's place (as its files hold it), starting
// every history anew. On any failure the project, the structure's entries
// and symbol files and the game's files stay as they were, and the failure
// says what went wrong. The save's
// backup generation (when the set's policy keeps them) holds, besides the
// replaced map files, the structure's settings file as it was and the symbol
// files of removed planes, so that restoring it undoes the change.
Outcome<MapHandler> ChangePlaneCount(Project& project, int count, const SaveMaps& save = {});

} // namespace tsl
