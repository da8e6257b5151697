#pragma once
// The names of the page file's digitised sounds: the structure's
// "sounds.txt", a comma-separated table that users edit for their mods, each
// line "number,name" (the name is the rest of the line), the number the
// sound's place in the page file's sound table. The shipped structures name
// them from the engine's own sound list ("Halt", "Death scream 4
// (Aiieee)"); a sound the table does not name is known by its number.

#include "core/Failure.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace tsl {

class SoundNames {
public:
    // `fileName` names the text in messages.
    static Outcome<SoundNames> Parse(std::string_view text, const std::string& fileName);
    static Outcome<SoundNames> Load(const std::filesystem::path& path);

    // The name of sound `number`; empty when the table has none.
    std::string_view Name(int number) const;
    int Count() const { return static_cast<int>(names_.size()); }

private:
    std::map<int, std::string> names_;
};

} // namespace tsl
