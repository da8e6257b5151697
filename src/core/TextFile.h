#pragma once
// The text files of the system (INI files, symbol files, symbol types): lines
// that end in CR LF, LF or CR when read, and in CR LF when written. Files are
// replaced as a whole, so a failed write leaves the previous file as it was.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

// The lines of a text; the line end after the last line adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// The whole file as text, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path);

// Writes the file under a temporary name beside it, then moves it into
// place; false (and the previous file untouched) when that fails.
bool ReplaceTextFile(const std::filesystem::path& path, std::string_view text);

} // namespace tsl
