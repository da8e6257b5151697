#include "editor/keeping/KeptPages.h"

namespace tsl {

KeptPages::KeptPages(PageDocument& pages) : pages_(pages)
{
    following_ = pages_.Listen([this](const PageChange&) { Tell(); });
}

KeptDocument::Keeping KeptPages::Keep() const
{
    // The chunks are shared and never change, so the copy is a list of
    // pointers; the file is put together on the autosave's thread.
    return [pages = pages_.Pages()] { return pages.Encode(); };
}

Outcome<KeptDocument::Taking> KeptPages::Read(Bytes bytes) const
{
    auto file = PageFile::Parse(std::move(bytes), SavedFile().filename().string());
    if (!file)
        return file.failure();
    return Taking([&pages = pages_, set = PageSet::From(*file)] { pages.TakeRecovered(set); });
}

} // namespace tsl
