#include "core/IniFile.h"

#include "core/FileSystem.h"
#include "core/TableText.h"
#include "core/TextFile.h"

#include <algorithm>
#include <climits>
#include <mutex>

#include <sys/stat.h>

namespace tsl {

namespace {

std::string NormalName(std::string_view name)
{
    return ToUpperAscii(Trimmed(name));
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool ValidSectionName(std::string_view name)
{
    return !Trimmed(name).empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool ValidKeyName(std::string_view key)
{
    const std::string_view trimmed = Trimmed(key);
    return !trimmed.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
           trimmed.front() != '[' && trimmed.front() != ';';
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionHeaderName(std::string_view line)
{
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    std::string_view name = trimmed.substr(1);
    name = name.substr(0, name.find(']'));
    return Trimmed(name);
}

// The key name of a "key=value" line as written, or empty.
std::string_view KeyOfLine(std::string_view line)
{
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return {};
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    return Trimmed(line.substr(0, eq));
}

} // namespace

// ---------------------------------------------------------------- IniDocument

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument doc;
    for (std::string& line : SplitLines(text)) {
        if (auto name = SectionHeaderName(line)) {
            Section section;
            section.name = std::string(*name);
            section.header = std::move(line);
            doc.sectionIndex_.try_emplace(NormalName(section.name), doc.sections_.size());
            doc.sections_.push_back(std::move(section));
        } else if (doc.sections_.empty()) {
            doc.preamble_.push_back(std::move(line));
        } else {
            AddEntry(doc.sections_.back(), std::move(line));
        }
    }
    return doc;
}

void IniDocument::AddEntry(Section& section, std::string text)
{
    Entry entry;
    entry.key = ToUpperAscii(KeyOfLine(text));
    entry.text = std::move(text);
    if (!entry.key.empty())
        section.keys[entry.key].push_back(section.entries.size());
    section.entries.push_back(std::move(entry));
}

std::string IniDocument::Text() const
{
    std::string text;
    auto add = [&text](const std::string& line) {
        text += line;
        text += "\r\n";
    };
    for (const std::string& line : preamble_)
        add(line);
    for (const Section& section : sections_) {
        add(section.header);
        for (const Entry& entry : section.entries)
            if (!entry.removed)
                add(entry.text);
    }
    return text;
}

IniDocument::Section* IniDocument::FindSection(std::string_view name)
{
    const auto it = sectionIndex_.find(NormalName(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const
{
    const auto it = sectionIndex_.find(NormalName(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Entry* IniDocument::FindEntry(std::string_view section, std::string_view key) const
{
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    const auto it = s->keys.find(NormalName(key));
    return it == s->keys.end() ? nullptr : &s->entries[it->second.front()];
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const
{
    const Entry* entry = FindEntry(section, key);
    if (!entry)
        return std::nullopt;
    const std::string_view line = entry->text;
    return std::string(Trimmed(line.substr(line.find('=') + 1)));
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    if (!ValidSectionName(section) || !ValidKeyName(key) || HasLineBreak(value))
        return false;
    Section* s = FindSection(section);
    if (!s) {
        Section added;
        added.name = std::string(Trimmed(section));
        added.header = "[" + added.name + "]";
        sectionIndex_.emplace(NormalName(section), sections_.size());
        sections_.push_back(std::move(added));
        s = &sections_.back();
    }
    const std::string normalKey = NormalName(key);
    if (const auto it = s->keys.find(normalKey); it != s->keys.end()) {
        Entry& entry = s->entries[it->second.front()];
        entry.text = std::string(KeyOfLine(entry.text)) + "=" + std::string(value);
        return true;
    }
    // After the last line that holds something; blank lines that close the
    // section stay after the new key. Only blank or removed lines follow the
    // place, so the recorded key positions stay valid.
    std::size_t at = s->entries.size();
    while (at > 0 && (s->entries[at - 1].removed || Trimmed(s->entries[at - 1].text).empty()))
        --at;
    Entry entry;
    entry.text = std::string(Trimmed(key)) + "=" + std::string(value);
    entry.key = normalKey;
    s->entries.insert(s->entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    s->keys[normalKey].push_back(at);
    return true;
}

bool IniDocument::Remove(std::string_view section, std::string_view key)
{
    Section* s = FindSection(section);
    if (!s)
        return false;
    const auto it = s->keys.find(NormalName(key));
    if (it == s->keys.end())
        return false;
    // Marked rather than erased, so that the positions of the other keys hold.
    s->entries[it->second.front()].removed = true;
    it->second.erase(it->second.begin());
    if (it->second.empty())
        s->keys.erase(it);
    return true;
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (const Section& s : sections_)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    const Section* s = FindSection(section);
    if (!s)
        return names;
    for (const Entry& entry : s->entries)
        if (!entry.removed && !entry.key.empty())
            names.emplace_back(KeyOfLine(entry.text));
    return names;
}

// -------------------------------------------------------------------- IniFile

namespace {

// Every write through an IniFile counts here, so that the other objects of
// the program on the same file notice it even when the file system's times
// are too coarse to tell two writes apart.
std::mutex generationsMutex;
std::unordered_map<std::string, std::uint64_t>& Generations()
{
    static std::unordered_map<std::string, std::uint64_t> generations;
    return generations;
}

std::string GenerationKey(const std::filesystem::path& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().string();
}

std::uint64_t Generation(const std::string& key, bool advance)
{
    std::lock_guard lock(generationsMutex);
    std::uint64_t& generation = Generations()[key];
    if (advance)
        ++generation;
    return generation;
}

} // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)), generationKey_(GenerationKey(path_)) {}

IniFile::Stamp IniFile::CurrentStamp() const
{
    Stamp stamp;
    stamp.generation = Generation(generationKey_, false);
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uintmax_t>(info.st_dev);
    stamp.inode = static_cast<std::uintmax_t>(info.st_ino);
    stamp.size = static_cast<std::uintmax_t>(info.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    return stamp;
}

void IniFile::Refresh() const
{
    // Within a batch the document in memory is the newer one.
    if (batchDepth_ > 0)
        return;
    const Stamp now = CurrentStamp();
    if (stamp_ && *stamp_ == now)
        return;
    std::optional<std::string> text = now.exists ? ReadTextFile(path_) : std::nullopt;
    doc_ = IniDocument::Parse(text ? *text : std::string());
    stamp_ = now;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    Refresh();
    auto value = doc_.Find(section, key);
    return value ? *value : std::string(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    Refresh();
    const auto value = doc_.Find(section, key);
    if (!value || value->empty())
        return fallback;
    std::size_t i = 0;
    bool negative = false;
    if ((*value)[0] == '-' || (*value)[0] == '+') {
        negative = (*value)[0] == '-';
        ++i;
    }
    long long number = 0;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
        number = number * 10 + ((*value)[i] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            number = static_cast<long long>(INT_MAX) + 1; // saturate: no overflow, however long
    }
    number = negative ? -number : number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const
{
    Refresh();
    return doc_.Find(section, key).has_value();
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const
{
    Refresh();
    return doc_.KeyNames(section);
}

bool IniFile::Store()
{
    const bool ok = ReplaceTextFile(path_, doc_.Text());
    Generation(generationKey_, true);
    // After a failed write the next read takes the file as it is on disk.
    stamp_ = ok ? std::optional<Stamp>(CurrentStamp()) : std::nullopt;
    return ok;
}

bool IniFile::Changed(bool ok)
{
    if (batchDepth_ > 0) {
        batchPending_ = batchPending_ || ok;
        batchFailed_ = batchFailed_ || !ok;
        return ok;
    }
    return ok && Store();
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Refresh();
    return Changed(doc_.Set(section, key, value));
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, long long value)
{
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    Refresh();
    if (!doc_.Remove(section, key))
        return true;
    return Changed(true);
}

IniFile::Batch::Batch(IniFile& file) : file_(&file)
{
    file_->Refresh();
    if (file_->batchDepth_++ == 0) {
        file_->batchPending_ = false;
        file_->batchFailed_ = false;
    }
}

IniFile::Batch::~Batch()
{
    Commit();
}

bool IniFile::Batch::Commit()
{
    if (done_)
        return result_;
    done_ = true;
    result_ = !file_->batchFailed_;
    if (--file_->batchDepth_ > 0)
        return result_;
    if (file_->batchPending_)
        result_ = file_->Store() && result_;
    file_->batchPending_ = false;
    return result_;
}

} // namespace tsl
