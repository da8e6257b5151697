#pragma once
// The editor's block clipboard: the paste buffer with the last copied block
// and its preview, and the clipboard manager of whole maps an import put
// aside. It copies a selection out of a map, hands out a stored map as the
// block to place ("Past into map"), turns the block with the map transforms,
// and writes it into a map; where and when is the pointer tools' business.

#include "editor/operations/MapOperations.h"
#include "editor/operations/PasteBuffer.h"
#include "editor/document/PointerInput.h"

#include <optional>

namespace tsl {

class SymbolTables;

class BlockClipboard {
public:
    // The previews are drawn with `symbols`, which must outlive the clipboard.
    explicit BlockClipboard(const SymbolTables& symbols) : symbols_(symbols) {}

    // Zeroed buffers for `planes` planes of width x height words and nothing
    // to paste; a clipboard manager holding another plane count is dropped.
    void Reset(int planes, int width, int height);

    // The tiles of every plane inside `selection` (kept to the map) become
    // the block (Cut then zeroes BlockTiles in the map).
    void CopyBlock(const MapList& map, int planes, const TileRect& selection);
    // Where the block was copied from, in tiles of its map.
    TileRect BlockTiles() const;
    bool CanPaste() const { return hasBlock_; }
    const CP_Manager& PasteBuffer() const { return buffer_; }
    // Turns or mirrors the block (with its facing objects, as
    // TransformPasteBuffer) and draws its preview again.
    void Transform(MapTransform transform, const FacingGroups& facing = {}, bool turnFacing = true);
    // Writes the block into `map` with its top-left corner on (x, y).
    void PasteInto(MapList& map, int x, int y) const;

    bool CanClipboardManager() const { return manager_ && !manager_->Entries.empty(); }
    // Absent until an import (or a test) stores maps.
    CB_Manager* ClipboardManager() { return manager_ ? &*manager_ : nullptr; }
    const CB_Manager* ClipboardManager() const { return manager_ ? &*manager_ : nullptr; }
    CB_Manager& CreateClipboardManager();
    void DestroyClipboardManager() { manager_.reset(); }
    // A stored map with its preview, for the import and the tests.
    CB_Object MakeClipboardEntry(int width, int height, PlaneSet planes) const;
    // Entry `index` becomes the block, for `planes` planes; false when there
    // is no such entry.
    bool TakeEntry(int index, int planes);

private:
    void MakePreview();

    const SymbolTables& symbols_;
    CP_Manager buffer_;
    std::optional<CB_Manager> manager_;
    bool hasBlock_ = false;
};

} // namespace tsl
