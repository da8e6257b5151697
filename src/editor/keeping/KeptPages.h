#pragma once
// The page document as a kept document: its recovery file is the page file
// as the next save would write it ("<key>.vswap"), so it reads back through
// the page file's own checks, and could even be put in the game's folder
// by hand.

#include "editor/keeping/KeptDocument.h"
#include "graphics/PageDocument.h"

namespace tsl {

class KeptPages : public KeptDocument {
public:
    // `pages` must outlive this.
    explicit KeptPages(PageDocument& pages);

    std::string RecoveryExtension() const override { return "vswap"; }
    std::filesystem::path SavedFile() const override { return pages_.Path(); }
    bool Changed() const override { return pages_.Changed(); }
    Keeping Keep() const override;
    Outcome<Taking> Read(Bytes bytes) const override;

private:
    PageDocument& pages_;
    PageDocument::Token following_;
};

} // namespace tsl
