#include "editor/keeping/Recovery.h"

#include "core/BackupGenerations.h"
#include "core/TextFile.h"
#include "core/UserFolders.h"
#include "exchange/ExchangeFormats.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <numeric>

namespace tsl {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTslMagic = "TSL1.0";
constexpr std::string_view kExtension = ".tsl";
constexpr std::string_view kPlaceExtension = ".place";
constexpr std::string_view kPlaceHeader = "[Place]";

Failure NotRecovered(const fs::path& file, const std::string& why)
{
    return Failure{"The recovery file " + file.string() + " " + why + "\n\nNothing was recovered.", kRecoverCaption,
                   MessageIcon::Warning};
}

std::optional<fs::file_time_type> WriteTime(const fs::path& file)
{
    std::error_code ec;
    const auto time = fs::last_write_time(file, ec);
    if (ec)
        return std::nullopt;
    return time;
}

// Whether `key` ends as a game folder's key does: "-" and eight hex digits.
bool EndsAsKey(std::string_view key)
{
    return key.size() > 9 && key[key.size() - 9] == '-' &&
           std::all_of(key.end() - 8, key.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The time in the name of a put-aside file "<key>-<time id>.<extension>".
std::optional<std::chrono::sys_seconds> SetAsideTime(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size())
        return std::nullopt;
    const std::string stem = name.substr(0, dot);
    for (std::size_t length : {16u, 19u, 20u}) // the id alone, with "-NN", with "-NNN"
        if (stem.size() > length + 1 && stem[stem.size() - length - 1] == '-' &&
            EndsAsKey(std::string_view(stem).substr(0, stem.size() - length - 1)))
            if (auto time = ParseTimeId(std::string_view(stem).substr(stem.size() - length)))
                return time;
    return std::nullopt;
}

// The extensions of the files of the recovery `file` ("tsl", "vswap"...),
// its place left out.
std::vector<std::string> RecoveryExtensions(const fs::path& file)
{
    const std::string key = file.stem().string() + ".";
    std::vector<std::string> extensions;
    for (const std::string& name : ListDirectory(file.parent_path())) {
        std::error_code ec;
        if (name.size() > key.size() && name.starts_with(key) && name.find('.', key.size()) == std::string::npos &&
            name != PlaceFilePath(file).filename().string() &&
            fs::is_regular_file(fs::symlink_status(file.parent_path() / name, ec)))
            extensions.push_back(name.substr(key.size()));
    }
    return extensions;
}

KeptDocument* KeptOf(const std::vector<KeptDocument*>& kept, const std::string& extension)
{
    const auto found = std::find_if(kept.begin(), kept.end(),
                                    [&](const KeptDocument* d) { return d->RecoveryExtension() == extension; });
    return found == kept.end() ? nullptr : *found;
}

std::string NameOf(const KeptDocument& document)
{
    return document.SavedFile().filename().string();
}

} // namespace

fs::path RecoveryFilePath(const fs::path& root, const fs::path& gameDir)
{
    return root / (GameFolderKey(gameDir) + std::string(kExtension));
}

fs::path KeptFilePath(const fs::path& recoveryFile, const std::string& extension)
{
    fs::path kept = recoveryFile;
    kept.replace_extension("." + extension);
    return kept;
}

fs::path PlaceFilePath(const fs::path& recoveryFile)
{
    fs::path place = recoveryFile;
    place.replace_extension(kPlaceExtension);
    return place;
}

namespace {

std::string Joined(const std::vector<std::uint16_t>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i ? "," : "") + std::to_string(values[i]);
    return text;
}

std::optional<std::vector<std::uint16_t>> Values(std::string_view text)
{
    std::vector<std::uint16_t> values;
    while (!text.empty()) {
        const std::size_t comma = std::min(text.find(','), text.size());
        const std::string item(text.substr(0, comma));
        char* end = nullptr;
        const unsigned long value = std::strtoul(item.c_str(), &end, 10);
        if (item.empty() || *end != 0 || value > 0xFFFF)
            return std::nullopt;
        values.push_back(static_cast<std::uint16_t>(value));
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return values;
}

} // namespace

std::optional<Failure> WritePlaceFile(const fs::path& file, const EditorPlace& place)
{
    const std::string text = std::string(kPlaceHeader) + "\r\nMap=" + std::to_string(place.Map) +
                             "\r\nZoom=" + std::to_string(place.Zoom) + "\r\nLeft=" + Joined(place.Left) +
                             "\r\nRight=" + Joined(place.Right) + "\r\n";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (auto error = ReplaceFile(file, std::span<const std::uint8_t>(bytes, text.size())))
        return Failure{"The place of the unsaved maps couldn't be autosaved to " + error->Describe() + "!",
                       kAutosaveCaption, MessageIcon::Error};
    return std::nullopt;
}

std::optional<EditorPlace> ReadPlaceFile(const fs::path& file)
{
    const auto text = ReadTextFile(file);
    if (!text || !text->starts_with(kPlaceHeader))
        return std::nullopt;
    EditorPlace place;
    std::string_view rest(*text);
    int found = 0;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        const auto values = Values(line.substr(equals + 1));
        if (!values)
            return std::nullopt;
        if (key == "Map" && values->size() == 1)
            place.Map = (*values)[0];
        else if (key == "Zoom" && values->size() == 1)
            place.Zoom = (*values)[0];
        else if (key == "Left")
            place.Left = *values;
        else if (key == "Right")
            place.Right = *values;
        else
            continue;
        ++found;
    }
    if (found != 4)
        return std::nullopt;
    return place;
}

MapHandler RecoverySnapshot(const MapHandler& maps)
{
    MapHandler snapshot;
    UpdateRecoverySnapshot(snapshot, maps);
    return snapshot;
}

void UpdateRecoverySnapshot(MapHandler& snapshot, const MapHandler& maps)
{
    snapshot.NumPlanes = maps.NumPlanes;
    snapshot.NameLength = maps.NameLength;
    snapshot.Maps.resize(maps.Maps.size());
    for (std::size_t i = 0; i < maps.Maps.size(); ++i) {
        const MapList& map = maps.Maps[i];
        MapList& copy = snapshot.Maps[i];
        copy.Width = map.Width;
        copy.Height = map.Height;
        copy.Name = map.Name;
        copy.Planes.resize(map.Planes.size());
        for (std::size_t p = 0; p < map.Planes.size(); ++p)
            copy.Planes[p] = map.Planes[p]; // into the memory the copy has
    }
}

std::optional<Failure> WriteRecoveryFile(const fs::path& file, const MapHandler& snapshot)
{
    std::vector<int> all(snapshot.Maps.size());
    std::iota(all.begin(), all.end(), 0);
    auto bytes = BuildExchangeFile(ExchangeFormat::TSL, all, snapshot);
    if (!bytes)
        return Failure{"The unsaved maps couldn't be autosaved: " + bytes.failure().text, kAutosaveCaption,
                       MessageIcon::Error};
    std::optional<DiskError> error = MakeDirectories(file.parent_path());
    if (!error)
        error = ReplaceFile(file, *bytes);
    if (error)
        return Failure{"The unsaved maps couldn't be autosaved to " + error->Describe() + "!", kAutosaveCaption,
                       MessageIcon::Error};
    return std::nullopt;
}

Outcome<std::vector<MapList>> ReadRecoveryFile(const fs::path& file, const MapHandler& maps)
{
    const auto bytes = ReadWholeFile(file);
    if (!bytes)
        return NotRecovered(file, "couldn't be read.");
    // Read as TSL by its magic alone: the size rule that takes any file of
    // 16384 bytes for a MapEdit floor file has no business here.
    ByteReader in(*bytes);
    std::span<const std::uint8_t> magic;
    if (!in.ReadSpan(kTslMagic.size(), magic) || std::memcmp(magic.data(), kTslMagic.data(), magic.size()) != 0)
        return NotRecovered(file, "is not a TSL map file, so it is no recovery file of Tesselar.");
    auto header = ReadExchangeHeader(in, ExchangeFormat::TSL);
    if (!header)
        return NotRecovered(file, "is damaged or incomplete:\n\n" + header.failure().text);
    if (header->NumMaps == 0)
        return NotRecovered(file, "holds no map.");
    if (header->NumPlanes != static_cast<std::uint32_t>(maps.NumPlanes))
        return NotRecovered(file, "holds maps of " + std::to_string(header->NumPlanes) +
                                      " planes, but the maps of this game have " + std::to_string(maps.NumPlanes) +
                                      ".");
    std::vector<MapList> recovered;
    for (std::uint32_t i = 0; i < header->NumMaps; ++i) {
        auto map = ReadExchangeMap(in, *header, maps.NumPlanes, maps.NameLength);
        if (!map)
            return NotRecovered(file, "is damaged or incomplete:\n\n" + map.failure().text);
        MapList made = maps.CreateMap(map->Width, map->Height, "");
        made.Index = static_cast<std::int32_t>(i);
        made.Name = std::move(map->Name);
        made.Planes = std::move(map->Planes);
        recovered.push_back(std::move(made));
    }
    return recovered;
}

Outcome<RecoveredWork> ReadRecovery(const fs::path& file, const MapHandler& maps,
                                    const std::vector<KeptDocument*>& kept)
{
    RecoveredWork work;
    for (const std::string& extension : RecoveryExtensions(file)) {
        if (extension == kExtension.substr(1)) {
            auto read = ReadRecoveryFile(file, maps);
            if (!read)
                return read.failure();
            work.Maps = std::move(*read);
            continue;
        }
        const fs::path keptFile = KeptFilePath(file, extension);
        const KeptDocument* document = KeptOf(kept, extension);
        if (!document)
            return NotRecovered(keptFile, "holds changes to a file this game does not have now.");
        auto bytes = ReadWholeFile(keptFile);
        if (!bytes)
            return NotRecovered(keptFile, "couldn't be read.");
        auto taking = document->Read(std::move(*bytes));
        if (!taking)
            return NotRecovered(keptFile, "is damaged or incomplete:\n\n" + taking.failure().text);
        work.Documents.push_back(std::move(*taking));
    }
    work.Place = ReadPlaceFile(PlaceFilePath(file));
    return work;
}

void UseRecoveredWork(MapDocument& document, RecoveredWork work)
{
    if (work.Maps)
        UseRecoveredMaps(document, std::move(*work.Maps));
    for (const KeptDocument::Taking& take : work.Documents)
        take();
}

void UseRecoveredMaps(MapDocument& document, std::vector<MapList> recovered)
{
    auto change = document.Begin();
    MapHandler& maps = change.Set();
    maps.Maps = std::move(recovered);
    maps.Headers.clear();
    for (const MapList& map : maps.Maps)
        maps.Headers.push_back(MapHandler::HeaderFor(map));
    maps.CurrentMap = 0;
    change.Commit();
}

std::optional<std::chrono::sys_seconds> RecoveryTime(const fs::path& file)
{
    std::optional<fs::file_time_type> newest;
    for (const std::string& extension : RecoveryExtensions(file))
        if (const auto time = WriteTime(KeptFilePath(file, extension)); time && (!newest || *time > *newest))
            newest = time;
    if (!newest)
        return std::nullopt;
    return std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::to_sys(*newest));
}

bool RecoveryIsNewer(const fs::path& file, const MapHandler& maps, const std::vector<KeptDocument*>& kept)
{
    const std::vector<std::string> extensions = RecoveryExtensions(file);
    if (extensions.empty())
        return false;
    return std::all_of(extensions.begin(), extensions.end(), [&](const std::string& extension) {
        const auto recovery = WriteTime(KeptFilePath(file, extension));
        std::vector<fs::path> saved;
        if (extension == kExtension.substr(1)) {
            saved = {maps.HeaderFilePath(), maps.DataFilePath()};
            if (maps.HeaderInExecutable)
                saved.push_back(maps.ExecutablePath());
        } else if (const KeptDocument* document = KeptOf(kept, extension)) {
            saved = {document->SavedFile()};
        } else {
            return false; // of a file the game no longer has: put aside unasked
        }
        // File times move in ticks of the system's clock, so a file written just
        // after another can carry the same time: then asking is the safe side.
        return recovery && std::all_of(saved.begin(), saved.end(), [&](const fs::path& savedFile) {
                   const auto time = WriteTime(savedFile);
                   return !time || *time <= *recovery;
               });
    });
}

Question RecoveryQuestion(const fs::path& file, std::chrono::sys_seconds time, const std::vector<KeptDocument*>& kept)
{
    const std::vector<std::string> extensions = RecoveryExtensions(file);
    const bool maps = std::find(extensions.begin(), extensions.end(), kExtension.substr(1)) != extensions.end();
    std::vector<std::string> others;
    for (const KeptDocument* document : kept)
        if (std::find(extensions.begin(), extensions.end(), document->RecoveryExtension()) != extensions.end())
            others.push_back(NameOf(*document));
    const std::string where = file.parent_path().string() + " for " + std::to_string(kSetAsideDays) + " days";
    if (others.empty())
        return {"Unsaved changes to these maps were autosaved at " + LocalTimeText(time) +
                    ".\n\nDo you wish to recover them?\n\nYes: the recovered maps replace the ones just loaded; "
                    "nothing is written to the game files until you save.\nNo: the recovery file is put aside in " +
                    where + "; Import Map opens it.",
                kRecoverCaption};
    std::vector<std::string> what = others;
    if (maps)
        what.insert(what.begin(), "these maps");
    std::vector<std::string> recovered = others;
    if (maps)
        recovered.insert(recovered.begin(), "maps");
    const bool one = recovered.size() == 1;
    return {"Unsaved changes to " + JoinAnd(what) + " were autosaved at " + LocalTimeText(time) +
                ".\n\nDo you wish to recover them?\n\nYes: the recovered " + JoinAnd(recovered) +
                (one ? " replaces the one" : " replace the ones") +
                " just loaded; nothing is written to the game files until you save.\nNo: the recovery " +
                (one ? "file is" : "files are") + " put aside in " + where +
                (maps ? "; Import Map opens the maps' file." : "."),
            kRecoverCaption};
}

Outcome<fs::path> SetRecoveryAside(const fs::path& file)
{
    const auto time = RecoveryTime(file);
    if (!time)
        return Failure{"The recovery file " + file.string() + " is gone.", kRecoverCaption, MessageIcon::Warning};
    std::vector<std::string> extensions = RecoveryExtensions(file);
    // The maps' file first: its new name is the one to tell.
    std::stable_partition(extensions.begin(), extensions.end(),
                          [](const std::string& e) { return e == kExtension.substr(1); });
    const std::string stem = file.stem().string() + "-" + TimeId(*time);
    for (int number = 0; number < 100; ++number) {
        std::string name = stem;
        if (number > 0)
            name += (number < 10 ? "-0" : "-") + std::to_string(number);
        // One name for all the files, free for each.
        const bool taken = std::any_of(extensions.begin(), extensions.end(), [&](const std::string& extension) {
            std::error_code ec;
            return fs::exists(fs::symlink_status(file.parent_path() / (name + "." + extension), ec));
        });
        if (taken)
            continue;
        for (const std::string& extension : extensions)
            if (auto error = RenameEntry(KeptFilePath(file, extension), file.parent_path() / (name + "." + extension)))
                return Failure{"The recovery file couldn't be put aside: " + error->Describe() + ".", kRecoverCaption,
                               MessageIcon::Error};
        RemoveEntry(PlaceFilePath(file));
        return file.parent_path() / (name + "." + extensions.front());
    }
    return Failure{"The recovery file couldn't be put aside: " + file.string() + " has too many older ones.",
                   kRecoverCaption, MessageIcon::Error};
}

std::optional<DiskError> RemoveRecoveryFile(const fs::path& file)
{
    RemoveEntry(PlaceFilePath(file));
    std::optional<DiskError> first;
    for (const std::string& extension : RecoveryExtensions(file))
        if (auto error = RemoveEntry(KeptFilePath(file, extension)); error && !first)
            first = error;
    return first;
}

int RemoveOldRecoveries(const fs::path& root, std::chrono::system_clock::time_point now)
{
    const auto limit = now - std::chrono::days(kSetAsideDays);
    int removed = 0;
    for (const std::string& name : ListDirectory(root)) {
        const auto time = SetAsideTime(name);
        std::error_code ec;
        if (time && *time < limit && fs::is_regular_file(fs::symlink_status(root / name, ec)) &&
            !RemoveEntry(root / name))
            ++removed;
    }
    return removed;
}

Autosaver::Autosaver(fs::path file) : file_(std::move(file)), worker_([this] { Run(); }) {}

Autosaver::~Autosaver()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void Autosaver::Save(const MapHandler& maps, const std::optional<EditorPlace>& place)
{
    MapHandler snapshot;
    {
        // A snapshot still waiting is replaced by this newer one.
        std::lock_guard lock(mutex_);
        snapshot = std::move(waiting_ ? *waiting_ : spare_);
        waiting_.reset();
    }
    UpdateRecoverySnapshot(snapshot, maps);
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(snapshot);
        kept_.erase(std::string(kExtension.substr(1))); // a removal asked before
        if (place)
            place_ = place;
    }
    wake_.notify_all();
}

void Autosaver::SavePlace(const EditorPlace& place)
{
    {
        std::lock_guard lock(mutex_);
        place_ = place;
    }
    wake_.notify_all();
}

void Autosaver::Keep(const std::string& extension, const std::string& name, KeptDocument::Keeping keeping)
{
    {
        std::lock_guard lock(mutex_);
        kept_[extension] = {name, std::move(keeping)};
    }
    wake_.notify_all();
}

void Autosaver::Drop(const std::string& extension)
{
    {
        std::lock_guard lock(mutex_);
        if (extension == kExtension.substr(1))
            waiting_.reset();
        kept_[extension] = {};
    }
    wake_.notify_all();
}

void Autosaver::Wait()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !waiting_ && !place_ && kept_.empty() && !writing_; });
}

std::optional<Failure> Autosaver::TakeFailure()
{
    std::lock_guard lock(mutex_);
    return std::exchange(failure_, std::nullopt);
}

std::optional<DiskError> Autosaver::Discard()
{
    {
        std::unique_lock lock(mutex_);
        waiting_.reset();
        place_.reset();
        kept_.clear();
        idle_.wait(lock, [this] { return !writing_; });
    }
    return RemoveRecoveryFile(file_);
}

namespace {

// One kept document's recovery file written (or, without `keeping`, removed).
std::optional<Failure> WriteKeptFile(const fs::path& target, const std::string& name,
                                     const KeptDocument::Keeping& keeping)
{
    if (!keeping) {
        RemoveEntry(target);
        return std::nullopt;
    }
    auto bytes = keeping();
    if (!bytes)
        return Failure{"The unsaved changes to " + name + " couldn't be autosaved: " + bytes.failure().text,
                       kAutosaveCaption, MessageIcon::Error};
    std::optional<DiskError> error = MakeDirectories(target.parent_path());
    if (!error)
        error = ReplaceFile(target, *bytes);
    if (error)
        return Failure{"The unsaved changes to " + name + " couldn't be autosaved to " + error->Describe() + "!",
                       kAutosaveCaption, MessageIcon::Error};
    return std::nullopt;
}

} // namespace

void Autosaver::Run()
{
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return waiting_ || place_ || !kept_.empty() || stopping_; });
        if (!waiting_ && !place_ && kept_.empty())
            return; // stopping, with nothing left to write
        std::optional<MapHandler> snapshot = std::exchange(waiting_, std::nullopt);
        const std::optional<EditorPlace> place = std::exchange(place_, std::nullopt);
        const std::map<std::string, KeptJob> kept = std::exchange(kept_, {});
        writing_ = true;
        lock.unlock();
        std::optional<Failure> failure = snapshot ? WriteRecoveryFile(file_, *snapshot) : std::nullopt;
        for (const auto& [extension, job] : kept) {
            auto keptFailure = WriteKeptFile(KeptFilePath(file_, extension), job.name, job.keeping);
            if (!failure)
                failure = std::move(keptFailure);
        }
        if (!failure && place)
            failure = WritePlaceFile(PlaceFilePath(file_), *place);
        lock.lock();
        writing_ = false;
        failure_ = std::move(failure);
        if (snapshot)
            spare_ = std::move(*snapshot);
        idle_.notify_all();
    }
}

AutosavePolicy::AutosavePolicy(fs::path file, MapDocument& document, std::vector<KeptDocument*> kept)
    : saver_(std::move(file)), document_(document)
{
    following_ = document_.Listen([this](const DocumentChange& change) {
        // Another map shown is a place to come back to.
        if (change.What != DocumentChange::Kind::SavedState || change.Changed)
            due_ = true;
    });
    kept_.reserve(kept.size()); // the listeners hold the entries' addresses
    for (KeptDocument* keptDocument : kept) {
        Kept& entry = kept_.emplace_back();
        entry.document = keptDocument;
        entry.following = keptDocument->Listen([&entry] { entry.due = true; });
    }
}

bool AutosavePolicy::Due() const
{
    return due_ || std::any_of(kept_.begin(), kept_.end(), [](const Kept& k) { return k.due; });
}

std::optional<Failure> AutosavePolicy::Tick(const EditorPlace& place)
{
    bool placeGoes = false; // with the maps
    if (document_.Changed()) {
        if (due_) {
            saver_.Save(document_.Maps(), place);
            due_ = false;
            written_ = true;
            placeGoes = true;
        }
    } else if (written_) {
        saver_.Drop(std::string(kExtension.substr(1))); // undone back to what the files hold
        written_ = false;
        due_ = false;
    }
    for (Kept& k : kept_) {
        if (k.document->Changed()) {
            if (k.due) {
                saver_.Keep(k.document->RecoveryExtension(), NameOf(*k.document), k.document->Keep());
                k.due = false;
                k.written = true;
            }
        } else if (k.written) {
            saver_.Drop(k.document->RecoveryExtension());
            k.written = false;
            k.due = false;
        }
    }
    const bool anyWritten = written_ || std::any_of(kept_.begin(), kept_.end(), [](const Kept& k) { return k.written; });
    if (!anyWritten) {
        if (placeWritten_)
            Forget();
    } else if (!placeGoes && (!placeWritten_ || place != writtenPlace_)) {
        saver_.SavePlace(place); // only the user moved on, or the maps were not written
    }
    if (anyWritten) {
        placeWritten_ = true;
        writtenPlace_ = place;
    }
    auto failure = saver_.TakeFailure();
    if (!failure || failureTold_)
        return std::nullopt;
    failureTold_ = true;
    return failure;
}

void AutosavePolicy::Forget()
{
    saver_.Discard();
    due_ = false;
    written_ = false;
    placeWritten_ = false;
    for (Kept& k : kept_) {
        k.due = false;
        k.written = false;
    }
}

} // namespace tsl
