#pragma once
// INI files as the Windows private-profile functions keep them, which is
// what the settings files of the system were written with and what users
// edit by hand: section and key names match without regard to letter case,
// a read gives the default for a missing key, every write reaches the disk at
// once, the other lines of the file and their order are kept, lines end in
// CR LF, and values are neither quoted nor escaped.
//
// Reading a file: a line "[name]" starts a section; in a section, a line
// "key=value" is a key (blanks around key and value do not count); lines
// before the first section, comment lines (";") and other lines are kept
// but never match. When a section or key appears twice, the first counts.
// A new key goes after the last non-blank line of its section, a new section
// at the end of the file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tsl {

// The lines of one INI file in memory.
class IniDocument {
public:
    static IniDocument Parse(std::string_view text);
    // The file's text, every line followed by CR LF.
    std::string Text() const;

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // False, and nothing changed, when the names or the value cannot be
    // stored on one line: a line break anywhere, "]" in a section name, "="
    // in a key, or an empty or blank name.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // False when the key was not there.
    bool Remove(std::string_view section, std::string_view key);

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    struct Entry {
        std::string text;
        std::string key;  // upper case; empty for a line that is no key
        bool removed = false;
    };
    struct Section {
        std::string header; // the "[name]" line as it stands
        std::string name;   // as written
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::vector<std::size_t>> keys; // positions of each key, in order
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;
    static void AddEntry(Section& section, std::string text);

    std::vector<std::string> preamble_; // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // first section of each name
};

// One INI file on disk. Reads see what is on the disk: when the file changed
// since it was last read (another IniFile of the program wrote it, or a user
// changed its size or time), it is read again. Writes go to the disk at
// once, unless a Batch is open.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // The leading decimal number of the value (an optional sign, then
    // digits; 0 when it has none, clamped to the range of int); the
    // fallback when the key is missing or its value is empty.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // True when the integer is not 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // False when the value cannot be stored (see IniDocument::Set) or the
    // file cannot be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, long long value);
    bool WriteBool(std::string_view section, std::string_view key, bool value); // as 1 or 0
    // True when the key is gone from the file (also when it was not there).
    bool DeleteKey(std::string_view section, std::string_view key);

    // Holds the writes of one operation back and writes the file once when
    // committed or destroyed: creating a structure writes hundreds of keys.
    class Batch {
    public:
        explicit Batch(IniFile& file);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Writes the file now; false when it, or any write of the batch, failed.
        bool Commit();

    private:
        IniFile* file_;
        bool done_ = false;
        bool result_ = true;
    };

private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
        std::uint64_t generation = 0; // writes through any IniFile of this program
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    Stamp CurrentStamp() const;
    void Refresh() const;
    bool Changed(bool ok);
    bool Store();

    std::filesystem::path path_;
    std::string generationKey_;
    mutable IniDocument doc_;
    mutable std::optional<Stamp> stamp_; // of the file doc_ was read from
    int batchDepth_ = 0;
    bool batchPending_ = false;
    bool batchFailed_ = false;
};

} // namespace tsl
