#pragma once
// Everything the first-person view takes from a game besides its maps: the
// pictures of its page file in its palette's colours, by chunk number, and
// what each map word shows, from the structure's picture table and its
// ceiling and floor colours. Built once per project from the graphics the
// map view reads too.

#include "graphics/PageFile.h"
#include "graphics/Palette.h"
#include "graphics/PictureTable.h"
#include "mapdefs/GraphicsSettings.h"
#include "raycast/LevelBuilder.h"
#include "raycast/PagePictures.h"

namespace tsl {

struct GamePictures {
    PagePictures pages;
    WordPictures words;
};

// Walls and doors from the wall chunks (a wall word's light and dark
// picture as EntryChunks gives them for `pages` as they stand, so walls
// added or removed are followed; doors and their frames are the eight chunks
// before the first sprite), sprites and actors from the sprite chunks (an
// actor that rotates with every side of each of its frames), the ceiling of
// every map and the floor from the palette. Only the chunks that some word
// shows are decoded, and chunks that are the same bytes of the file once.
GamePictures BuildGamePictures(const PageFile& pages, const Palette& palette, const PictureTable& table,
                               const GraphicsSettings& settings);

// The picture of `chunk` read again from `pages`, where some word shows it:
// a wall or sprite replaced, nothing moved. Pages that shared its picture
// keep theirs.
void RefreshPicture(GamePictures& pictures, const PageFile& pages, const Palette& palette, int chunk);

// What is drawn without a page file: walls and doors in plain colours, no
// sprites, a grey floor and ceiling.
GamePictures PlainGamePictures();

} // namespace tsl
