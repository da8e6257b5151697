#pragma once
// The tables of a map definition structure that users edit (the rules of
// play, the picture table, the sound names, the palette) and the lists in
// the values of its settings, read through one tokenizer and one way of
// saying what is wrong: "Line 4 of "pictures.txt": the plane is a number
// from 0 to 99." A table is lines of fields; blank lines and lines that
// start with "#" are notes. The symbol files and "mapsymboltypes.txt" keep
// their own reading (SymbolFiles), since other programs write them too.

#include "core/Failure.h"
#include "core/TextFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tsl {

// The text without blanks and tabs at either end.
std::string_view Trimmed(std::string_view text);

// The fields of a line between separators, each trimmed, empty ones kept
// ("a,,b" has three). With `most`, the last field holds the rest of the
// line, separators and all (a name with commas in it).
std::vector<std::string_view> Fields(std::string_view line, char separator = ',',
                                     std::size_t most = std::numeric_limits<std::size_t>::max());

// The items of a list separated by blanks or tabs; none is empty.
std::vector<std::string_view> Items(std::string_view list);

// A whole decimal number from `min` to `max` that is the whole text.
std::optional<int> WholeNumber(std::string_view text, int min, int max);

// One number, or a range "first-last" (first not above last), each from
// `min` to `max`.
std::optional<std::pair<int, int>> NumberRange(std::string_view text, int min, int max);

// A line of a table that holds something: its number from 1, trimmed.
struct TableLine {
    std::size_t number = 0;
    std::string_view text;
};

// Reads every line of `text` that is not a note through `read`, which says
// what is wrong with it (nothing: the line is good). The first line that is
// wrong ends the reading: "Line N of "<fileName>": <what>." under `caption`.
std::optional<Failure> ReadTable(std::string_view text, std::string_view fileName, const char* caption,
                                 const std::function<std::optional<std::string>(const TableLine&)>& read);

// What is wrong with line `line` of `fileName`, as every table says it.
Failure LineFailure(std::string_view fileName, std::size_t line, std::string_view what, const char* caption);

// The table in `path`, read by T::Parse(text, fileName); a file that cannot
// be read is "<what> "<path>" cannot be read." under `caption`.
template <typename T>
Outcome<T> LoadTable(const std::filesystem::path& path, std::string_view what, const char* caption)
{
    const auto text = ReadTextFile(path);
    if (!text)
        return Failure{std::string(what) + " \"" + path.string() + "\" cannot be read.", caption, MessageIcon::Warning};
    return T::Parse(*text, path.string());
}

// The tables whose lines start "plane,words,kind": the rules of play and the
// picture table. `words` is one word or a range "first-last"; a word of a
// plane is given on one line only.
struct WordLine {
    std::size_t number = 0; // of the line, from 1
    int plane = 0;
    int first = 0;
    int last = 0;
    std::string_view kind;
    std::vector<std::string_view> rest; // the fields after the kind
};

inline constexpr int kMaxTablePlane = 99;

// Reads such a table: `form` is what a line that has too few fields is told
// ("a rule is plane,words,kind[,attribute...]"), `given` what a word given
// again has ("a rule": "plane 0 word 5 has a rule already, on line 1").
std::optional<Failure> ReadWordTable(std::string_view text, std::string_view fileName, const char* caption,
                                     std::string_view form, std::string_view given,
                                     const std::function<std::optional<std::string>(const WordLine&)>& read);

} // namespace tsl
