#pragma once
// Draws a map with the game's own pictures, as the map view shows it while
// "Game Graphics" is on: walls and doors as their chunks of the page file,
// floor areas in the floor colour with a faint tint per area, sprites over
// plane 0 with their transparency, actors marked with their facing and skill
// level. A marker the rules of play know (the ambush and secret-elevator
// floors, push walls, turning points, the victory tile) keeps the floor or
// the wall under it in sight and wears a badge (MarkerBadges). Every other
// word without a picture (a word the picture table does not list, an empty
// chunk, a game without a page file) draws its symbol enlarged without
// smoothing, by the rules of MapRenderer: display
// flags, split planes and byte modes, the type filter. A split plane always
// shows symbols, since its words are no engine words.
//
// A tile is 8 x factor pixels (64 at factor 8, where every wall and sprite
// pixel is its chunk's pixel). Pictures are reduced once per tile size by
// averaging and kept, so a paint copies rows; only the tiles of the painted
// rectangle are drawn, and nothing the size of the map times the factor
// squared is held unless a whole picture is asked for.

#include "core/Failure.h"
#include "core/Image.h"
#include "core/MapHandler.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/MapRenderer.h"
#include "engine/EngineRules.h"
#include "symbols/SymbolTables.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tsl {

inline constexpr int kMaxPictureSide = 16384;
inline constexpr const char* kPictureTooLargeCaption = "Picture too large";

struct PlanePass;

class GameMapRenderer {
public:
    GameMapRenderer();
    // With no graphics every word draws its symbol.
    explicit GameMapRenderer(std::shared_ptr<const GameGraphics> graphics);
    ~GameMapRenderer();
    GameMapRenderer(GameMapRenderer&&) noexcept;
    GameMapRenderer& operator=(GameMapRenderer&&) noexcept;

    // New graphics (or none) drop every reduced picture.
    void SetGraphics(std::shared_ptr<const GameGraphics> graphics);
    const GameGraphics* Graphics() const { return graphics_.get(); }
    // The same game with another page file: with `chunk` (a wall or sprite
    // replaced, nothing moved), only that chunk's reduced pictures are made
    // anew; without (chunks added or removed), every one.
    void ReplacePages(std::shared_ptr<const GameGraphics> graphics, std::optional<int> chunk);
    // The rules of play, which give the marks of an actor's facing and
    // skill level; without them the picture table's columns do.
    void SetRules(std::shared_ptr<const EngineRules> rules);

    // Paints the part of the view at `factor` whose top-left pixel is
    // (left, top) into `target`, which keeps its size: the view's paint
    // event passes its exposed rectangle. Pixels beyond the map are black;
    // the actors `skill` hides are left out.
    void Paint(Image& target, int left, int top, int factor, const MapList& map, const SymbolTables& tables,
               const std::vector<PlaneDisplay>& display, int valueMode, const SkillFilter& skill = {});

    // The whole map as the view draws it at `factor` ("Save Map As BMP",
    // tesselar-cli render), refused when a side would exceed 16384 pixels.
    Outcome<Image> RenderMap(const MapList& map, const SymbolTables& tables, const std::vector<PlaneDisplay>& display,
                             int valueMode, int factor);
    // A stored block of `width` x `height` words per plane (the clipboard
    // manager's previews): every plane shown, whole words, no type filter.
    Outcome<Image> RenderBlock(std::span<const std::vector<std::uint16_t>> planes, int width, int height, int factor,
                               const SymbolTables& tables);

    // Whether `value` on `plane` shows a game picture (the table lists it
    // and its chunk is there).
    bool HasPicture(int plane, std::uint16_t value) const;
    // The picture of one value of `plane`, `size` pixels a side, for the
    // symbol list and the side panel's rows: the game picture with its marks
    // when it has one (and `split` is false), otherwise its symbol enlarged;
    // what is transparent shows `background`.
    Image WordPicture(int plane, std::uint16_t value, int size, const SymbolTables& tables,
                      std::uint32_t background = kBlackPixel, bool split = false);

    // The memory the reduced pictures of tile size 8 x `factor` hold now,
    // and of all sizes together.
    std::size_t CacheBytes(int factor) const;
    std::size_t CacheBytes() const;

private:
    struct Caches;
    struct Look;
    struct TileTarget;

    Look LookOf(int plane, std::uint16_t value, int side);
    // A word without a picture that the rules call a marker: its badge.
    Look MarkerLook(int plane, std::uint16_t value, int side);
    std::uint32_t MarkerFloor(const MapList& map, int x, int y, int side);
    void DrawTile(const TileTarget& tile, const MapList& map, const std::vector<PlanePass>& passes, int tx, int ty,
                  int valueMode);
    void RenderAll(Image& image, const MapList& map, const std::vector<PlanePass>& passes, int factor, int valueMode);

    std::shared_ptr<const GameGraphics> graphics_;
    std::shared_ptr<const EngineRules> rules_;
    std::unique_ptr<Caches> caches_;
};

// The failure RenderMap and RenderBlock give for a picture of w x h pixels
// when a side exceeds 16384 pixels; nothing when it fits.
std::optional<Failure> CheckPictureSize(long long width, long long height);

} // namespace tsl
