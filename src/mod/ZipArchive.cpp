#include "mod/ZipArchive.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace tsl {

namespace {

struct WriterDeleter {
    void operator()(archive* a) const { archive_write_free(a); }
};
struct ReaderDeleter {
    void operator()(archive* a) const { archive_read_free(a); }
};
struct EntryDeleter {
    void operator()(archive_entry* e) const { archive_entry_free(e); }
};

Failure ZipFailure(archive* a, const std::string& what)
{
    const char* reason = a ? archive_error_string(a) : nullptr;
    return {what + (reason ? std::string(" (") + reason + ")" : std::string()) + ".", kZipErrorCaption,
            MessageIcon::Error};
}

la_ssize_t Append(archive*, void* target, const void* buffer, size_t length)
{
    auto& bytes = *static_cast<Bytes*>(target);
    const auto* first = static_cast<const std::uint8_t*>(buffer);
    bytes.insert(bytes.end(), first, first + length);
    return static_cast<la_ssize_t>(length);
}

} // namespace

Outcome<Bytes> WriteZip(const std::vector<ZipEntry>& entries)
{
    Bytes zip;
    std::unique_ptr<archive, WriterDeleter> a(archive_write_new());
    if (!a || archive_write_set_format_zip(a.get()) != ARCHIVE_OK ||
        archive_write_set_bytes_in_last_block(a.get(), 1) != ARCHIVE_OK ||
        archive_write_open(a.get(), &zip, nullptr, Append, nullptr) != ARCHIVE_OK)
        return ZipFailure(a.get(), "The zip archive could not be started");
    for (const ZipEntry& entry : entries) {
        std::unique_ptr<archive_entry, EntryDeleter> e(archive_entry_new());
        archive_entry_set_pathname(e.get(), entry.name.c_str());
        archive_entry_set_size(e.get(), static_cast<la_int64_t>(entry.content.size()));
        archive_entry_set_filetype(e.get(), AE_IFREG);
        archive_entry_set_perm(e.get(), 0644);
        archive_entry_set_mtime(e.get(), static_cast<time_t>(entry.time), 0);
        if (archive_write_header(a.get(), e.get()) != ARCHIVE_OK ||
            (!entry.content.empty() &&
             archive_write_data(a.get(), entry.content.data(), entry.content.size()) !=
                 static_cast<la_ssize_t>(entry.content.size())))
            return ZipFailure(a.get(), "\"" + entry.name + "\" could not be put into the zip archive");
    }
    if (archive_write_close(a.get()) != ARCHIVE_OK)
        return ZipFailure(a.get(), "The zip archive could not be completed");
    return zip;
}

Outcome<std::vector<ZipEntry>> ReadZip(std::span<const std::uint8_t> zip, std::size_t limit)
{
    std::unique_ptr<archive, ReaderDeleter> a(archive_read_new());
    if (!a || archive_read_support_format_zip(a.get()) != ARCHIVE_OK ||
        archive_read_open_memory(a.get(), zip.data(), zip.size()) != ARCHIVE_OK)
        return ZipFailure(a.get(), "The zip archive does not read");
    std::vector<ZipEntry> entries;
    std::size_t total = 0;
    archive_entry* e = nullptr;
    for (;;) {
        const int status = archive_read_next_header(a.get(), &e);
        if (status == ARCHIVE_EOF)
            return entries;
        if (status != ARCHIVE_OK)
            return ZipFailure(a.get(), "The zip archive does not read");
        if (archive_entry_filetype(e) != AE_IFREG)
            return ZipFailure(nullptr, "The zip archive holds something other than files");
        ZipEntry entry;
        entry.name = archive_entry_pathname(e) ? archive_entry_pathname(e) : "";
        entry.time = archive_entry_mtime(e);
        std::uint8_t block[16384];
        for (;;) {
            const la_ssize_t got = archive_read_data(a.get(), block, sizeof block);
            if (got < 0)
                return ZipFailure(a.get(), "\"" + entry.name + "\" of the zip archive does not read");
            if (got == 0)
                break;
            total += static_cast<std::size_t>(got);
            if (total > limit)
                return ZipFailure(nullptr, "The zip archive unpacks to more than " + std::to_string(limit) + " bytes");
            entry.content.insert(entry.content.end(), block, block + got);
        }
        entries.push_back(std::move(entry));
    }
}

} // namespace tsl
