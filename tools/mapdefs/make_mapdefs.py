#!/usr/bin/env python3
"""Writes the ready map definition structures shipped in data/MapDefs.

One structure per game extension: Wolfenstein 3-D (WL1, WL3, WL6; the sample
game uses WL6 too) and Spear of Destiny (SOD, SDM, SD2, SD3). Every file is
written from the tables and the 8 x 8 pictures below, so the folders come out
byte for byte the same on every run:

    python3 tools/mapdefs/make_mapdefs.py            # rewrite data/MapDefs
    python3 tools/mapdefs/make_mapdefs.py --check    # compare, write nothing
    python3 tools/mapdefs/make_mapdefs.py --preview /tmp/sheets

The tile values follow how the game engine reads its maps (id Software
released its source): plane 0 below 107 is solid, except the doors 90..101
and the ambush marker 106; 107..143 are the floor areas (107 doubling as the
secret-elevator floor); plane 1 is scanned for player starts, static objects,
actors, turning arrows, the pushwall and the end trigger.

Python 3 standard library only.
"""

import argparse
import pathlib
import struct
import sys
import zlib

from chunk_names import chunk_lines

# --------------------------------------------------------------------------
# Palette and pictures
# --------------------------------------------------------------------------

# The editor's fixed 16-colour pattern palette, digit -> RGB.
PALETTE = {
    "0": 0x000000, "1": 0x800000, "2": 0x008000, "3": 0x808000,
    "4": 0x000080, "5": 0x800080, "6": 0x008080, "7": 0xC0C0C0,
    "8": 0x808080, "9": 0xFF0000, "A": 0x00FF00, "B": 0xFFFF00,
    "C": 0x0000FF, "D": 0xFF00FF, "E": 0x00FFFF, "F": 0xFFFFFF,
}

# Colour names used in the art, so that the tables read as words.
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = "01234567"
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = "89ABCDEF"


class Pic:
    """An 8 x 8 picture: rows of palette digits, "0" being black (which the
    editor shows as transparent on every plane but the first)."""

    def __init__(self, rows):
        rows = [r.replace(".", "0") for r in rows]
        if len(rows) != 8 or any(len(r) != 8 for r in rows):
            raise ValueError("a picture is 8 rows of 8 pixels: %r" % (rows,))
        for r in rows:
            for c in r:
                if c not in PALETTE:
                    raise ValueError("not a palette digit: %r in %r" % (c, r))
        self.rows = rows

    def digits(self):
        return "".join(self.rows)

    def over(self, art, **colours):
        """This picture with `art` drawn over it: "." keeps the pixel below,
        a letter given in `colours` or a palette digit paints."""
        out = []
        for below, above in zip(self.rows, art):
            line = ""
            for b, a in zip(below, above):
                if a == ".":
                    line += b
                else:
                    line += colours.get(a, a)
            out.append(line)
        return Pic(out)

    def rotated_left(self):
        """Turned a quarter anticlockwise: east becomes north."""
        return Pic(["".join(self.rows[y][7 - x] for y in range(8)) for x in range(8)])

    def turned(self, quarters):
        pic = self
        for _ in range(quarters % 4):
            pic = pic.rotated_left()
        return pic


def paint(art, **colours):
    """A picture from ASCII art: "." is black, letters are looked up in
    `colours`, palette digits stand for themselves."""
    return Pic(["".join(colours.get(c, c) if c != "." else "0" for c in row) for row in art])


BLANK = Pic(["........"] * 8)

# --------------------------------------------------------------------------
# Plane 0: walls, doors, floors
# --------------------------------------------------------------------------

# Wall surfaces. b = body, m = mortar or seam, h = light, s = shade.
STONE = [            # big blocks in running bond
    "hbbmhbbb",
    "bbbmbbbb",
    "bbsmbbbs",
    "mmmmmmmm",
    "bhbbbbmh",
    "bbbbbbmb",
    "bbbbsbmb",
    "mmmmmmmm",
]
STONE_B = [          # smaller, irregular stones
    "hbbbmhbb",
    "bbsbmbbs",
    "mmmmmmmm",
    "bmhbbbbm",
    "bmbbbsbm",
    "mmmmmmmm",
    "hbbmhbbb",
    "bsbmbbsb",
]
BRICK = [            # narrow bricks
    "hbbbmhbb",
    "bbbsmbbs",
    "mmmmmmmm",
    "bmhbbbmh",
    "bmbbbsmb",
    "mmmmmmmm",
    "hbbbmhbb",
    "mmmmmmmm",
]
PLANKS = [           # upright boards
    "bhmbbmhb",
    "bbmbsmbb",
    "bbmbbmbb",
    "sbmbbmbs",
    "bbmhbmbb",
    "bbmbbmbb",
    "bsmbbmbb",
    "bbmbbmsb",
]
PANEL = [            # smooth plates with seams and rivets
    "hbbbmhbb",
    "bbbbmbbb",
    "bbsbmbbs",
    "bbbbmbbb",
    "mmmmmmmm",
    "hbbbmhbb",
    "bbsbmbbs",
    "bbbbmbbb",
]
WEAVE = [            # basket weave
    "hbbmbmhb",
    "bbsmbmbs",
    "mmmmbmmm",
    "bmhbbbbm",
    "bmbbsbbm",
    "mmmmmmmm",
    "hbbmbmhb",
    "bsbmbmbb",
]
MARBLE = [           # veined slabs
    "bbhbbbbm",
    "bbbhbbhb",
    "sbbbhhbb",
    "bsbbbbbb",
    "bbsbbbbs",
    "hbbsbbsb",
    "bhbbssbb",
    "mbbbbbbb",
]


def surface(template, b, m, h=None, s=None):
    return paint(template, b=b, m=m, h=h or b, s=s or b)


def grey_stone():
    return surface(STONE, SILVER, GREY, WHITE, GREY)


def blue_stone():
    return surface(STONE, BLUE, NAVY, AQUA, NAVY)


def wood():
    return surface(PLANKS, OLIVE, MAROON, YELLOW, MAROON)


def red_brick():
    return surface(BRICK, RED, MAROON, WHITE, MAROON)


def purple_stone():
    return surface(STONE_B, PURPLE, BLACK, FUCHSIA, BLACK)


def brown_stone():
    return surface(STONE_B, MAROON, OLIVE, RED, BLACK)


def brown_weave():
    return surface(WEAVE, MAROON, OLIVE, RED, BLACK)


def brown_marble():
    return surface(MARBLE, MAROON, BLACK, OLIVE, PURPLE)


def grey_wall():
    return surface(PANEL, SILVER, GREY, WHITE, GREY)


def blue_wall():
    return surface(PANEL, BLUE, NAVY, AQUA, NAVY)


def steel():
    return surface(PANEL, TEAL, NAVY, SILVER, NAVY)


# Decorations laid over a wall surface ("." keeps the surface).
FLAG = [             # banner with a white disc
    "..9999..",
    "..9999..",
    "..9FF9..",
    "..F00F..",
    "..9FF9..",
    "..9999..",
    "..9999..",
    "..9..9..",
]
PORTRAIT = [         # framed portrait
    "........",
    ".333333.",
    ".310013.",
    ".317713.",
    ".307703.",
    ".311113.",
    ".333333.",
    "........",
]
EAGLE = [            # golden eagle
    "........",
    "B..BB..B",
    "BB.BB.BB",
    ".BBBBBB.",
    "..BBBB..",
    "...BB...",
    "..B..B..",
    "........",
]
ARCH_EAGLE = [       # eagle in a dark arch
    "..0000..",
    ".000000.",
    ".0B00B0.",
    ".0BBBB0.",
    ".00BB00.",
    ".0B00B0.",
    ".000000.",
    "........",
]
CELL = [            # barred cell
    "........",
    ".080080.",
    ".080080.",
    ".080080.",
    ".080080.",
    ".080080.",
    ".080080.",
    "........",
]
CELL_SKELETON = [
    "........",
    ".080080.",
    ".08FF80.",
    ".08FF80.",
    ".080F80.",
    ".08FF80.",
    ".08F0F0.",
    "........",
]
IRON_CROSS = [
    "........",
    "..7007..",
    "...00...",
    ".700007.",
    ".700007.",
    "...00...",
    "..7007..",
    "........",
]
WREATH = [           # green wreath round an emblem
    "........",
    "..2222..",
    ".2FFFF2.",
    ".2F00F2.",
    ".2F00F2.",
    ".2FFFF2.",
    "..2222..",
    "........",
]
SIGN = [             # white sign with red lettering
    "........",
    "........",
    "FFFFFFFF",
    "F9F99F9F",
    "FFFFFFFF",
    "........",
    "........",
    "........",
]
NOTICE = [           # white sign with dark lettering
    "........",
    ".FFFFFF.",
    ".F4444F.",
    ".FFFFFF.",
    ".F44F4F.",
    ".FFFFFF.",
    "........",
    "........",
]
BLOOD = [
    ".9...9..",
    ".9...9..",
    ".99..1..",
    "..1..9..",
    "..9..9..",
    "..9...1.",
    "..1...9.",
    "......9.",
]
BLOOD_2 = [
    "9.....9.",
    "9..9..9.",
    "1..9..1.",
    "9..1....",
    "9..9....",
    "...9....",
    "...1....",
    "........",
]
BLOOD_3 = [
    "..999...",
    "..991...",
    "...9....",
    "...1..9.",
    "......9.",
    "......1.",
    "........",
    "........",
]
MOSS = [
    "2.......",
    "22....2.",
    ".2...22.",
    "......2.",
    "..2.....",
    ".222....",
    "....2..2",
    "....22.2",
]
MOSS_2 = [
    ".....22.",
    "....222.",
    ".2...2..",
    "22......",
    ".2....2.",
    "......22",
    "..22....",
    "...2....",
]
SKULL = [
    "........",
    "..FFFF..",
    ".FFFFFF.",
    ".F00F00.",
    ".FFFFFF.",
    "..F0F0..",
    "..FFFF..",
    "........",
]
EMBLEM = [           # white roundel
    "........",
    "..FFFF..",
    ".FF00FF.",
    ".F0FF0F.",
    ".F0FF0F.",
    ".FF00FF.",
    "..FFFF..",
    "........",
]
VENT = [
    "........",
    ".888888.",
    ".000000.",
    ".888888.",
    ".000000.",
    ".888888.",
    ".000000.",
    "........",
]
MAP_CHART = [
    "........",
    ".333333.",
    ".3A22A3.",
    ".32AA23.",
    ".3A2A23.",
    ".333333.",
    "........",
    "........",
]

STAINED_GLASS = paint([
    "88888888",
    "8CC89B98",
    "8CC89998",
    "88888888",
    "89B8CCC8",
    "89B8CAC8",
    "89B8CCC8",
    "88888888",
])
LANDSCAPE = paint([
    "88888888",
    "8EEEEEE8",
    "8EFFEEE8",
    "8EEEEEE8",
    "8EEEEAE8",
    "8AEEAAA8",
    "8A222AA8",
    "88888888",
])
ENTRANCE = paint([  # the door the level begins at
    "77777777",
    "78888887",
    "78866887",
    "786EE687",
    "786E6687",
    "78666687",
    "78666687",
    "77777777",
])


def elevator(lever):
    """The elevator's walls: ribbed panels round a switch box. The switch is
    up (lime) before use; the engine turns 21 into 22 when it is thrown,
    which shows it down (red)."""
    box = ["87000087", "87000087", "87000087", "87000087"]
    if lever == "up":
        box[1] = box[2] = "870A0087"
    else:
        box[2] = box[3] = "87090087"
    return Pic(["87878787", "87878787"] + box + ["87878787", "87878787"])


# A 3 x 5 digit font for the walls that carry their number.
DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
    "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    "5": ["###", "#..", "###", "..#", "###"],
    "6": ["###", "#..", "###", "#.#", "###"],
    "7": ["###", "..#", "..#", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"],
    "9": ["###", "#.#", "###", "..#", "###"],
}


# Dark inks by tens, so that neighbouring numbers group at a glance while
# the plain grey block suggests no material.
NUMBER_INKS = {0: BLACK, 1: BLACK, 2: BLACK, 3: NAVY, 4: MAROON, 5: GREEN, 6: PURPLE}


def numbered(value, body=GREY, edge=SILVER):
    """A plain grey block showing its tile number: for walls whose picture in
    the game is not pinned down here, so they are told apart by number."""
    text = "%02d" % (value % 100)
    ink = NUMBER_INKS[value // 10]
    rows = [[body] * 8 for _ in range(8)]
    for i, ch in enumerate(text):
        for y, line in enumerate(DIGITS[ch]):
            for x, c in enumerate(line):
                if c == "#":
                    rows[1 + y][i * 4 + x] = ink
    for x in range(8):
        rows[7][x] = edge
    for y in range(8):
        rows[y][7] = edge
    return Pic(["".join(r) for r in rows])


def wolf_walls():
    """Wolfenstein 3-D wall tiles 1..49: each value shows the texture pair
    (value - 1) * 2 and (value - 1) * 2 + 1 of the game's VSWAP file."""
    g, b, w, r = grey_stone(), blue_stone(), wood(), red_brick()
    walls = [
        (1, "Grey Stone 1", g),
        (2, "Grey Stone 2", surface(STONE_B, SILVER, GREY, WHITE, GREY)),
        (3, "Grey Stone (Flag)", g.over(FLAG)),
        (4, "Grey Stone (Portrait)", g.over(PORTRAIT)),
        (5, "Blue Stone (Cell)", b.over(CELL)),
        (6, "Grey Stone (Eagle Arch)", g.over(ARCH_EAGLE)),
        (7, "Blue Stone (Cell with Skeleton)", b.over(CELL_SKELETON)),
        (8, "Blue Stone 1", b),
        (9, "Blue Stone 2", surface(STONE_B, BLUE, NAVY, AQUA, NAVY)),
        (10, "Wood (Eagle)", w.over(EAGLE)),
        (11, "Wood (Portrait)", w.over(PORTRAIT)),
        (12, "Wood", w),
        (13, "Level Entrance Door", ENTRANCE),
        (14, "Steel (Verboten Sign)", steel().over(SIGN)),
        (15, "Steel", steel()),
        (16, "Landscape Window", LANDSCAPE),
        (17, "Red Brick", r),
        (18, "Red Brick (Wreath)", r.over(WREATH)),
        (19, "Purple Stone", purple_stone()),
        (20, "Red Brick (Eagle)", r.over(EAGLE)),
        (21, "Elevator Wall (Switch Up)", elevator("up")),
        (22, "Elevator Wall (Switch Down)", elevator("down")),
        (23, "Wood (Iron Cross)", w.over(IRON_CROSS)),
        (24, "Grey Stone with Moss 1", g.over(MOSS)),
        (25, "Purple Stone (Blood)", purple_stone().over(BLOOD)),
        (26, "Grey Stone with Moss 2", g.over(MOSS_2)),
        (27, "Grey Stone 3", surface(STONE, GREY, BLACK, SILVER, BLACK)),
        (28, "Grey Stone (Sign)", g.over(NOTICE)),
        (29, "Brown Weave", brown_weave()),
        (30, "Brown Weave (Blood 1)", brown_weave().over(BLOOD)),
        (31, "Brown Weave (Blood 2)", brown_weave().over(BLOOD_2)),
        (32, "Brown Weave (Blood 3)", brown_weave().over(BLOOD_3)),
        (33, "Stained Glass", STAINED_GLASS),
        (34, "Blue Wall (Skull)", blue_wall().over(SKULL)),
        (35, "Grey Wall 1", grey_wall()),
        (36, "Blue Wall (Emblem)", blue_wall().over(EMBLEM)),
        (37, "Grey Wall (Vent)", grey_wall().over(VENT)),
        (38, "Multicoloured Brick", paint(BRICK, b=GREY, m=BLACK, h=MAROON, s=NAVY)),
        (39, "Wall 39", numbered(39)),
        (40, "Blue Stone (Sign)", b.over(NOTICE)),
        (41, "Brown Marble 1", brown_marble()),
        (42, "Grey Wall (Map)", grey_wall().over(MAP_CHART)),
        (43, "Brown Stone 1", brown_stone()),
        (44, "Brown Stone 2", surface(STONE, MAROON, OLIVE, RED, BLACK)),
        (45, "Brown Marble 2", surface(MARBLE, MAROON, BLACK, RED, OLIVE)),
        (46, "Brown Marble (Flag)", brown_marble().over(FLAG)),
        (47, "Wood Panelling", surface(PANEL, OLIVE, MAROON, YELLOW, MAROON)),
        (48, "Wall 48", numbered(48)),
        (49, "Wall 49", numbered(49)),
    ]
    return [(v, n, p, "w", "0") for v, n, p in walls]


def spear_walls():
    """Spear of Destiny wall tiles 1..63. The first ones are taken to show
    the textures Wolfenstein 3-D shows there; 21 and 22 are the elevator
    switch because the engine turns 21 into 22 when the switch is used. The
    others carry their number, as their pictures are not pinned down here."""
    same = {v: (n, p) for v, n, p, _t, _d in wolf_walls() if v <= 20}
    walls = []
    for v in range(1, 64):
        if v in same:
            name, pic = same[v]
        elif v == 21:
            name, pic = "Elevator Wall (Switch Up)", elevator("up")
        elif v == 22:
            name, pic = "Elevator Wall (Switch Down)", elevator("down")
        else:
            name, pic = "Wall %d" % v, numbered(v)
        walls.append((v, name, pic, "w", "0"))
    return walls


def door(orientation, slab, mark=None):
    """A door seen from above: the leaf runs along the wall line between its
    two frame walls; a lock shows as a coloured band across the leaf."""
    leaf = [
        "..8888..",
        "...SE...",
        "...SE...",
        "...SE...",
        "...SE...",
        "...SE...",
        "...SE...",
        "..8888..",
    ]
    pic = paint(leaf, S=slab[0], E=slab[1])
    if mark:
        pic = pic.over(["........", "........", "........",
                        "..%s.." % mark, "..%s.." % mark,
                        "........", "........", "........"])
    return pic if orientation == "v" else pic.rotated_left()


def elevator_door(orientation):
    pic = paint([
        "..8888..",
        "..7FF7..",
        "..7887..",
        "..7FF7..",
        "..7887..",
        "..7FF7..",
        "..7887..",
        "..8888..",
    ])
    return pic if orientation == "v" else pic.rotated_left()


def doors():
    """Doors 90..101: even values stand in a vertical wall line, odd ones in a
    horizontal one; (value - 90) / 2 is the lock: none, gold key, silver key,
    keys 3 and 4 (which no object of the games gives), elevator."""
    kinds = [
        ("Door", None, "", "d"),
        ("Gold Key Door", "BBBB", "", "ld"),
        ("Silver Key Door", "7FF7", "", "ld"),
        ("Key 3 Door", "9999", " (No Key in Game)", "ld"),
        ("Key 4 Door", "DDDD", " (No Key in Game)", "ld"),
    ]
    out = []
    value = 90
    for name, mark, note, kind in kinds:
        for orientation, word in (("v", "Vertical"), ("h", "Horizontal")):
            pic = door(orientation, (TEAL, AQUA), mark)
            out.append((value, "%s %s%s" % (name, word, note), pic, kind, "0"))
            value += 1
    out.append((100, "Elevator Door Vertical", elevator_door("v"), "d", "0"))
    out.append((101, "Elevator Door Horizontal", elevator_door("h"), "d", "0"))
    return out


# Floor areas: six dot layouts times six dark colours give 36 pictures, one
# per area code, and neighbouring codes always differ in colour.
FLOOR_LAYOUTS = [
    ["........", ".x...x..", "........", "........",
     "........", "...x...x", "........", "........"],
    ["x.......", "........", "..x.....", "........",
     "....x...", "........", "......x.", "........"],
    ["........", ".xx.....", ".xx.....", "........",
     "........", ".....xx.", ".....xx.", "........"],
    ["........", ".xxx....", "........", "........",
     "........", "....xxx.", "........", "........"],
    ["........", ".x......", ".x......", ".x...x..",
     ".....x..", ".....x..", "........", "........"],
    ["........", "........", "...x....", "..xxx...",
     "...x....", "........", "........", "........"],
]
FLOOR_COLOURS = [MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL]

AMBUSH = paint([
    "........",
    "...88...",
    "..8..8..",
    "..8..8..",
    "..8888..",
    "..8..8..",
    "..8..8..",
    "........",
])
SECRET_ELEVATOR_FLOOR = paint([
    "........",
    "..BBBB..",
    ".B......",
    "..BBB...",
    ".....B..",
    ".BBBB...",
    "........",
    "........",
])


def floors():
    """106 makes the actors on it deaf (the engine then gives the tile the
    area of a neighbour); 107 is area 0, and using the elevator switch while
    standing on it leads to the secret level; 108..143 are the areas that
    sound and alerts travel through."""
    out = [
        (106, "Ambush Marker (Deaf Actors)", AMBUSH, "tt", "0"),
        (107, "Secret Elevator Floor", SECRET_ELEVATOR_FLOOR, "tt", "0"),
    ]
    for k in range(36):
        pic = paint(FLOOR_LAYOUTS[k // 6], x=FLOOR_COLOURS[k % 6])
        out.append((108 + k, "Floor Area %d" % (k + 1), pic, "f", "0"))
    return out


# --------------------------------------------------------------------------
# Plane 1: objects and actors
# --------------------------------------------------------------------------

# Arrows pointing east and north-east; the other directions are turns.
THICK_ARROW_E = [
    "........",
    "....x...",
    "....xx..",
    "xxxxxxx.",
    "xxxxxxx.",
    "....xx..",
    "....x...",
    "........",
]
THIN_ARROW_E = [
    "........",
    "....x...",
    ".....x..",
    "xxxxxxx.",
    ".....x..",
    "....x...",
    "........",
    "........",
]
THIN_ARROW_NE = [
    "...xxxx.",
    ".....xx.",
    "....x.x.",
    "...x..x.",
    "..x.....",
    ".x......",
    "x.......",
    "........",
]

# Direction codes in the order the engine counts its eight directions.
DIRECTIONS8 = ["e", "ne", "n", "nw", "w", "sw", "s", "se"]
DIRECTION_WORDS = {"e": "East", "ne": "Northeast", "n": "North", "nw": "Northwest",
                   "w": "West", "sw": "Southwest", "s": "South", "se": "Southeast"}


def arrow8(direction, colour):
    i = DIRECTIONS8.index(direction)
    base = THIN_ARROW_E if i % 2 == 0 else THIN_ARROW_NE
    return paint(base, x=colour).turned(i // 2)


def player_starts():
    """19..22: the player starts facing north, east, south, west."""
    out = []
    for value, direction in ((19, "n"), (20, "e"), (21, "s"), (22, "w")):
        quarters = {"e": 0, "n": 1, "w": 2, "s": 3}[direction]
        pic = paint(THICK_ARROW_E, x=LIME).turned(quarters)
        out.append((value, "Player Start %s" % DIRECTION_WORDS[direction], pic, "sp", direction))
    return out


def turning_points():
    """90..97: a moving actor that reaches one turns to face east,
    north-east, ... south-east."""
    return [(90 + i, "Turn %s" % DIRECTION_WORDS[d], arrow8(d, FUCHSIA), "tp", d)
            for i, d in enumerate(DIRECTIONS8)]


PUSHWALL = paint([
    "DDDDDDDD",
    "D......D",
    "D.F..F.D",
    "D..FF..D",
    "D..FF..D",
    "D.F..F.D",
    "D......D",
    "DDDDDDDD",
])
END_TRIGGER = paint([
    "8F9F9F9.",
    "89F9F9F.",
    "8F9F9F9.",
    "89F9F9F.",
    "8.......",
    "8.......",
    "8.......",
    "88......",
])


def markers():
    """98 marks a pushwall (a secret) on the wall tile it stands on; walking
    onto 99 ends the game with the victory sequence."""
    return [
        (98, "Pushwall (Secret Door)", PUSHWALL, "sd", "0"),
        (99, "End Trigger", END_TRIGGER, "tt", "0"),
    ]


# Actors. Each is drawn as a pointer in its own colour facing east and is
# turned for the other directions, with a white tip where it looks. A
# standing actor is solid, a moving one hollow. The corner marks tell the
# lowest skill level at which the actor appears: one lime corner for every
# level, two yellow corners from level 3, three red corners on level 4 only.
ACTOR_BODY = [
    "........",
    "..xxx...",
    "..xxxx..",
    "..xxxxx^",
    "..xxxxx^",
    "..xxxx..",
    "..xxx...",
    "........",
]
HOLLOW = [
    "........",
    "........",
    "........",
    "...00...",
    "...00...",
    "........",
    "........",
    "........",
]
CORNERS = [
    (["LL......", "L.......", "........", "........",
      "........", "........", "........", "........"]),
    (["......LL", ".......L", "........", "........",
      "........", "........", "........", "........"]),
    (["........", "........", "........", "........",
      "........", "........", ".......L", "......LL"]),
]
LEVEL_MARKS = {1: (1, LIME), 3: (2, YELLOW), 4: (3, RED)}
ACTOR_DIRECTIONS = [("e", 0), ("n", 1), ("w", 2), ("s", 3)]


def actor_pic(body, quarters, level, moving):
    pic = paint(ACTOR_BODY, x=body, **{"^": WHITE})
    if moving:
        pic = pic.over(HOLLOW)
    pic = pic.turned(quarters)
    count, colour = LEVEL_MARKS[level]
    for corner in CORNERS[:count]:
        pic = pic.over(corner, L=colour)
    return pic


# Which value ranges the engine reads for each soldier kind: standing from
# `stand`, moving from `stand + 4`, the direction added (east, north, west,
# south); the medium and hard copies lie `step` and 2 * `step` above.
SOLDIERS = [
    ("Guard", 108, 36, OLIVE),
    ("Officer", 116, 36, WHITE),
    ("SS", 126, 36, BLUE),
    ("Dog", 134, 36, RED),
    ("Mutant", 216, 18, LIME),
]


def soldiers():
    out = []
    for name, base, step, colour in SOLDIERS:
        for level, offset in ((1, 0), (3, step), (4, 2 * step)):
            for moving in (False, True):
                for direction, quarters in ACTOR_DIRECTIONS:
                    value = base + offset + (4 if moving else 0) + quarters
                    kind = ("mg" if moving else "sg") + str(level)
                    label = "%s %s %s (Level %d)" % (name, "Moving" if moving else "Standing",
                                                    DIRECTION_WORDS[direction], level)
                    out.append((value, label, actor_pic(colour, quarters, level, moving), kind, direction))
    return out


def boss_pic(colour, crown=YELLOW):
    return paint([
        ".c.cc.c.",
        ".cccccc.",
        "..xFFx..",
        ".xxxxxx.",
        "xxxxxxxx",
        "x.xxxx.x",
        "..x..x..",
        ".xx..xx.",
    ], x=colour, c=crown)


def ghost_pic(colour, eyes=WHITE, pupils=BLUE):
    return paint([
        "..xxxx..",
        ".xxxxxx.",
        ".eexxee.",
        "xepxxepx",
        "xxxxxxxx",
        "xxxxxxxx",
        "xxxxxxxx",
        "xx.xx.xx",
    ], x=colour, e=eyes, p=pupils)


DEAD_GUARD = paint([
    "........",
    "........",
    "........",
    "..99....",
    ".3333337",
    ".9933337",
    "..999...",
    "........",
])


def dead_guard():
    """124: a dead guard lying on the floor, an actor without a fight."""
    return (124, "Dead Guard", DEAD_GUARD, "oa", "0")


# --------------------------------------------------------------------------
# Static objects
# --------------------------------------------------------------------------

def barrel(body, band, shine):
    return paint([
        "..bbbb..",
        ".BBBBBB.",
        ".bsbbbb.",
        ".BBBBBB.",
        ".bsbbbb.",
        ".bsbbbb.",
        ".BBBBBB.",
        "..bbbb..",
    ], b=body, B=band, s=shine)


def key_pic(metal, shade):
    return paint([
        "........",
        ".mm.....",
        "m..m....",
        "m..mmmmm",
        "m..m.s.s",
        ".mm..s..",
        "........",
        "........",
    ], m=metal, s=shade)


def well(water):
    return paint([
        "........",
        "..8888..",
        ".8wwww8.",
        "8wwEwww8",
        "8wwwwww8",
        ".8wwww8.",
        "..8888..",
        "........",
    ], w=water, E=AQUA if water != BLACK else BLACK)


def gibs(variant):
    arts = [
        ["........", "........", ".9..9...", "..999.9.",
         ".99F99..", "..9FF99.", ".9.99...", "........"],
        ["........", "......9.", "..9.....", ".9F99...",
         "..99F9..", ".99.999.", "...9..9.", "........"],
    ]
    return paint(arts[variant])


def bones(variant):
    arts = [
        ["........", "........", "........", "..F.....",
         ".FFF..F.", "F..FFF..", ".F..F.F.", "........"],
        ["........", "........", "..FF....", ".F00F...",
         ".FFFF.F.", "..F.FF..", ".F...F..", "........"],
        ["........", "........", "........", ".F...F..",
         "..F.F...", "...F.FF.", "..F.F..F", ".F......"],
    ]
    return paint(arts[variant])


def gore(variant):
    """Blocking gore decorations of Spear of Destiny, told apart by layout."""
    arts = [
        ["...8....", "...8....", "..FFF...", "..F0F...",
         "..999...", "...8.9..", "..989...", ".99999.."],
        ["........", "..9..9..", ".99999..", "99F9999.",
         ".9999F9.", "99999999", ".9.99.9.", "........"],
        ["..8888..", ".8F..F8.", ".8.F9.8.", ".89F..8.",
         ".8..9F8.", ".8F9..8.", ".888888.", "........"],
        ["........", "........", "........", "..9999..",
         ".999999.", "9991F999", ".999999.", "..9999.."],
        ["...88...", "...88...", "..FFFF..", "..9FF9..",
         "...99...", "..9..9..", ".9....9.", "99....99"],
        ["..FFF...", ".F0F0F..", ".FFFFF..", "..F.F...",
         "...8....", "...8....", "..999...", ".99999.."],
    ]
    return paint(arts[variant])


PICS = {
    "puddle": paint(["........", "........", "........", "........",
                     "..CCCC..", ".CEECCC.", "..CCCC..", "........"]),
    "green barrel": barrel(GREEN, LIME, LIME),
    "wooden barrel": barrel(OLIVE, MAROON, YELLOW),
    "table and chairs": paint(["...11...", "........", ".133331.", "..3BB3..",
                               "..3333..", ".133331.", "........", "...11..."]),
    "floor lamp": paint(["..BBBB..", ".BBFFBB.", "...88...", "...88...",
                         "...88...", "...88...", "..8888..", "........"]),
    "chandelier": paint(["...77...", "...77...", ".B7777B.", ".B.BB.B.",
                         ".F.FF.F.", "........", "........", "........"]),
    "hanged skeleton": paint(["...88...", "...88...", "...FF...", "..FFFF..",
                              ".F.FF.F.", "...FF...", "..F..F..", "..F..F.."]),
    "dog food": paint(["........", "........", "........", "..3333..",
                       ".CCCCCC.", "..CCCC..", "........", "........"]),
    "pillar": paint([".777777.", "..7F87..", "..7F87..", "..7F87..",
                     "..7F87..", "..7F87..", ".777777.", "........"]),
    "potted tree": paint(["..2AA2..", ".2A22A2.", ".2AA2A2.", "..2AA2..",
                          "...33...", "...33...", "..1111..", "..1111.."]),
    "skeleton lying": paint(["........", "........", ".F.F.FF.", "FFFFFFFF",
                             ".F.F.FF.", "........", "........", "........"]),
    "sink": paint(["........", "...88...", ".FFFFFF.", ".F7777F.",
                   "..FFFF..", "...FF...", "...FF...", "........"]),
    "potted plant": paint([".A..A.A.", "..AA.A..", ".A2AA2A.", "..2AA2..",
                           "...22...", "..1111..", "..1111..", "...11..."]),
    "vase": paint(["..CCCC..", "...CC...", "..CCCC..", ".CCECCC.",
                   ".CEECCC.", ".CCCCCC.", "..CCCC..", "...44..."]),
    "bare table": paint(["........", "........", ".333333.", ".3BBBB3.",
                         ".333333.", ".1....1.", ".1....1.", "........"]),
    "ceiling light": paint(["........", "........", "..BBBB..", ".BFFFFB.",
                            ".BFFFFB.", "..BBBB..", "........", "........"]),
    "red light": paint(["........", "........", "..9999..", ".99DD99.",
                        ".99DD99.", "..9999..", "........", "........"]),
    "kitchen utensils": paint(["88888888", ".7..7..7", ".7..7..7", "777.7.77",
                               "777..777", "........", "........", "........"]),
    "armour": paint(["...77...", "..7F77..", "...77...", ".777777.",
                     "7.7777.7", "..7777..", "..7..7..", ".77..77."]),
    "cage": paint(["...88...", "..8888..", ".8.88.8.", ".8.88.8.",
                   ".8.88.8.", ".888888.", "........", "........"]),
    "cage skeleton": paint(["...88...", ".888888.", ".8F8F.8.", ".8FFF.8.",
                            ".8.F..8.", ".8F.F.8.", ".888888.", "........"]),
    "skeleton remains": paint(["..FF....", "..FFF...", "..FF....", "...F.F..",
                               "..FFF...", "...F....", "..F.FF..", ".FF..F.."]),
    "gold key": key_pic(YELLOW, OLIVE),
    "silver key": key_pic(WHITE, SILVER),
    "bed": paint(["........", ".333333.", ".3FF7F3.", ".377773.",
                  ".377773.", ".377773.", ".333333.", ".1....1."]),
    "basket": paint(["........", "........", "..3..3..", ".3....3.",
                     ".333333.", ".313131.", "..3333..", "........"]),
    "food": paint(["........", "........", "...33...", "..3BB3..",
                   ".771177.", "..7777..", "........", "........"]),
    "first aid": paint(["........", ".FFFFFF.", ".FF99FF.", ".F9999F.",
                        ".F9999F.", ".FF99FF.", ".FFFFFF.", "........"]),
    "clip": paint(["........", "...BB...", "..8888..", "..8778..",
                   "..8778..", "..8888..", "..8888..", "........"]),
    "small clip": paint(["........", "........", "........", "...B....",
                         "..888...", "..878...", "..888...", "........"]),
    "ammo box": paint(["........", "........", ".BBBBBB.", ".333333.",
                       ".3F3FF3.", ".333333.", ".333333.", "........"]),
    "machine gun": paint(["........", "........", "88888777", ".8883...",
                          "..88.3..", ".....3..", "........", "........"]),
    "chaingun": paint(["........", ".7777777", "88888888", ".7777777",
                       ".888.3..", ".....33.", "........", "........"]),
    "cross": paint(["...BB...", "...BB...", ".BBBBBB.", ".BBBBBB.",
                    "...BB...", "...BB...", "...BB...", "........"]),
    "chalice": paint(["........", ".BBBBBB.", ".B3333B.", "..BBBB..",
                      "...BB...", "...BB...", "..BBBB..", "........"]),
    "chest": paint(["........", ".333333.", ".3BBBB3.", ".333333.",
                    ".3C9BB3.", ".3BBBB3.", ".333333.", "........"]),
    "crown": paint(["........", ".B.BB.B.", ".BBBBBB.", ".B9BB9B.",
                    ".BBCCBB.", ".BBBBBB.", "........", "........"]),
    "extra life": paint(["..CCCC..", ".CCFCCC.", "CCFFCCCC", "CCCFCCCC",
                         "CCCFCCCC", "CCFFFCCC", ".CCCCCC.", "..CCCC.."]),
    "gibs 1": gibs(0),
    "gibs 2": gibs(1),
    "well": well(BLUE),
    "empty well": well(BLACK),
    "flag": paint([".8......", ".899999.", ".89FF99.", ".89FF99.",
                   ".899999.", ".8......", ".8......", "888....."]),
    "apogee sign": paint(["........", "FFFFFFFF", "F44F444F", "FFFFFFFF",
                          "F444F44F", "FFFFFFFF", "...88...", "...88..."]),
    "bones 1": bones(0),
    "bones 2": bones(1),
    "bones 3": bones(2),
    "pots and pans": paint(["88888888", ".8..8..8", ".8..8..8", "33.777.3",
                            "33.777.3", "...777..", "........", "........"]),
    "stove": paint([".88.....", ".88.....", "88888888", "8F8888F8",
                    "87777778", "87999978", "87777778", "88888888"]),
    "spear rack": paint(["F.F.F.F.", "7.7.7.7.", "3.3.3.3.", "3.3.3.3.",
                         "3.3.3.3.", "3.3.3.3.", "3333333.", "3.....3."]),
    "vines": paint(["2A2.2A2.", ".2..2.2.", ".A..A.2.", ".2..2.A.",
                    ".2....2.", ".A....2.", "......A.", "........"]),
    "marble pillar": paint([".FFFFFF.", "..F77F..", "..F77F..", "..F77F..",
                            "..F77F..", "..F77F..", ".FFFFFF.", "........"]),
    "truck": paint(["........", "....222.", "....2EE2", "22222222",
                    "22222222", "22222222", ".88..88.", ".88..88."]),
    "spear": paint(["......7F", ".....7F7", "....B7..", "...B....",
                    "..B.....", ".B......", "B.......", "........"]),
}

# Plane 1 values 23 and up: the engine's static object list, in its order.
WOLF_STATICS = [
    (23, "Puddle", "puddle"),
    (24, "Green Barrel", "green barrel"),
    (25, "Table and Chairs", "table and chairs"),
    (26, "Floor Lamp", "floor lamp"),
    (27, "Chandelier", "chandelier"),
    (28, "Hanged Skeleton", "hanged skeleton"),
    (29, "Dog Food (+4 Health)", "dog food"),
    (30, "Pillar", "pillar"),
    (31, "Potted Tree", "potted tree"),
    (32, "Skeleton (Lying)", "skeleton lying"),
    (33, "Sink", "sink"),
    (34, "Potted Plant", "potted plant"),
    (35, "Vase", "vase"),
    (36, "Bare Table", "bare table"),
    (37, "Ceiling Light", "ceiling light"),
    (38, "Kitchen Utensils", "kitchen utensils"),
    (39, "Suit of Armour", "armour"),
    (40, "Hanging Cage", "cage"),
    (41, "Hanging Cage (Skeleton)", "cage skeleton"),
    (42, "Skeleton Remains", "skeleton remains"),
    (43, "Gold Key", "gold key"),
    (44, "Silver Key", "silver key"),
    (45, "Bed", "bed"),
    (46, "Basket", "basket"),
    (47, "Food (+10 Health)", "food"),
    (48, "First Aid Kit (+25 Health)", "first aid"),
    (49, "Ammo Clip (+8)", "clip"),
    (50, "Machine Gun", "machine gun"),
    (51, "Chaingun", "chaingun"),
    (52, "Cross (100 Points)", "cross"),
    (53, "Chalice (500 Points)", "chalice"),
    (54, "Treasure Chest (1000 Points)", "chest"),
    (55, "Crown (5000 Points)", "crown"),
    (56, "Extra Life", "extra life"),
    (57, "Gibs 1 (+1 Health When Low)", "gibs 1"),
    (58, "Wooden Barrel", "wooden barrel"),
    (59, "Well", "well"),
    (60, "Empty Well", "empty well"),
    (61, "Gibs 2 (+1 Health When Low)", "gibs 2"),
    (62, "Flag", "flag"),
    (63, "Call Apogee Sign", "apogee sign"),
    (64, "Bones 1", "bones 1"),
    (65, "Bones 2", "bones 2"),
    (66, "Bones 3", "bones 3"),
    (67, "Pots and Pans", "pots and pans"),
    (68, "Stove", "stove"),
    (69, "Spear Rack", "spear rack"),
    (70, "Vines", "vines"),
    # The list's last entry: the half clip dropped by guards.
    (71, "Ammo Clip (+4)", "small clip"),
]

# Spear of Destiny replaces some pictures (and makes them block), and adds
# four objects; its list then ends with the half clip one place later, which
# no map value reaches.
SPEAR_CHANGES = {
    33: ("Gore Decoration 1", "gore 1"),
    38: ("Gore Decoration 2", "gore 2"),
    45: ("Gore Decoration 3", "gore 3"),
    63: ("Red Ceiling Light", "red light"),
    67: ("Gore Decoration 4", "gore 4"),
    68: ("Gore Decoration 5", "gore 5"),
    69: ("Gore Decoration 6", "gore 6"),
    71: ("Marble Pillar", "marble pillar"),
    72: ("Ammo Box (+25)", "ammo box"),
    73: ("Truck", "truck"),
    74: ("Spear of Destiny", "spear"),
}
for _i in range(6):
    PICS["gore %d" % (_i + 1)] = gore(_i)

KEYS = {43, 44}


def statics(table):
    return [(v, name, PICS[pic], "k" if v in KEYS else "so", "0") for v, name, pic in table]


def spear_statics():
    table = {v: (n, p) for v, n, p in WOLF_STATICS}
    for v, change in SPEAR_CHANGES.items():
        table[v] = change
    return statics([(v, n, p) for v, (n, p) in sorted(table.items())])


def wolf_bosses_and_ghosts():
    """The bosses and the ghosts of Wolfenstein 3-D, one value each."""
    return [
        (160, "Fake Hitler", boss_pic(SILVER), "b", "0"),
        (178, "Hitler (Mech Suit)", boss_pic(GREY, RED), "b", "0"),
        (179, "General Fettgesicht", boss_pic(RED), "b", "0"),
        (196, "Dr. Schabbs", boss_pic(WHITE), "b", "0"),
        (197, "Gretel Grosse", boss_pic(AQUA), "b", "0"),
        (214, "Hans Grosse", boss_pic(BLUE), "b", "0"),
        (215, "Otto Giftmacher", boss_pic(OLIVE), "b", "0"),
        (224, "Ghost Blinky (Red)", ghost_pic(RED), "oa", "0"),
        (225, "Ghost Clyde (Yellow)", ghost_pic(YELLOW), "oa", "0"),
        (226, "Ghost Pinky (Pink)", ghost_pic(FUCHSIA), "oa", "0"),
        (227, "Ghost Inky (Cyan)", ghost_pic(AQUA), "oa", "0"),
    ]


def spear_bosses():
    """The bosses of Spear of Destiny and its spectre, one value each."""
    return [
        (106, "Spectre", ghost_pic(SILVER, WHITE, BLACK), "oa", "0"),
        (107, "Angel of Death", boss_pic(FUCHSIA), "b", "0"),
        (125, "Trans Grosse", boss_pic(LIME), "b", "0"),
        (142, "Uber Mutant", boss_pic(PURPLE, RED), "b", "0"),
        (143, "Barnacle Wilhelm", boss_pic(OLIVE), "b", "0"),
        (161, "Death Knight", boss_pic(SILVER, RED), "b", "0"),
    ]


# --------------------------------------------------------------------------
# Tables and files
# --------------------------------------------------------------------------

NOTHING = (0, "Nothing", BLANK, "ot", "0")


def wolf_planes():
    plane0 = [NOTHING] + wolf_walls() + doors() + floors()
    plane1 = ([NOTHING] + player_starts() + statics(WOLF_STATICS) + turning_points() +
              markers() + soldiers() + [dead_guard()] + wolf_bosses_and_ghosts())
    return [plane0, plane1, [NOTHING]]


def spear_planes():
    plane0 = [NOTHING] + spear_walls() + doors() + floors()
    plane1 = ([NOTHING] + player_starts() + spear_statics() + turning_points() +
              markers() + soldiers() + [dead_guard()] + spear_bosses())
    return [plane0, plane1, [NOTHING]]


def ordered(plane):
    """Value 0 first (values without a symbol are drawn with the first line),
    the rest by value."""
    first, rest = plane[0], sorted(plane[1:], key=lambda s: s[0])
    return [first] + rest


BUILTIN_TYPES = [
    ("w", "Wall"), ("f", "Floor"), ("to", "Tile Object"), ("k", "Key"),
    ("so", "Static Object"), ("tt", "Tile Trigger"), ("tp", "Turning Point"),
    ("sp", "Start Position"), ("sd", "Secret Door"), ("d", "Door"),
    ("ld", "Locked Door"), ("sg1", "Level 1 Guards (Standing)"),
    ("mg1", "Level 1 Guards (Moving)"), ("sg3", "Level 3 Guards (Standing)"),
    ("mg3", "Level 3 Guards (Moving)"), ("sg4", "Level 4 Guards (Standing)"),
    ("mg4", "Level 4 Guards (Moving)"), ("b", "Boss"), ("oa", "Other Actor"),
]
TYPES = BUILTIN_TYPES + [("ot", "Other Tile")]
PLANE_NAMES = ["Walls and Floors", "Objects and Actors", "Extra"]
VALID_DIRECTIONS = {"0", "e", "ne", "n", "nw", "w", "sw", "s", "se"}

GAMES = {
    "WL1": wolf_planes, "WL3": wolf_planes, "WL6": wolf_planes,
    "SOD": spear_planes, "SDM": spear_planes, "SD2": spear_planes, "SD3": spear_planes,
}


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def symbol_lines(plane):
    return ["%d,%s,%s,%s,%s" % (v, name, pic.digits(), kind, direction)
            for v, name, pic, kind, direction in plane]


def settings_lines(planes):
    lines = ["[General]", "ExtendedMapNames=0", "WDCCompatibleMaps=0", "Compression=1",
             "RLEWTag=43981", "NearTag=167", "FarTag=168", "MapGrid=0", "ZoomFactor=0", "",
             "[Planes]", "NumPlanes=%d" % len(planes)]
    lines += ["%d=plane%d.txt" % (i, i + 1) for i in range(len(planes))]
    lines += ["", "[PlaneNames]"] + ["%d=%s" % (i, n) for i, n in enumerate(PLANE_NAMES)]
    lines += ["", "[ShowPlanes]"] + ["%d=1" % i for i in range(len(planes))]
    lines += ["", "[SplitPlanes]"] + ["%d=0" % i for i in range(len(planes))]
    # What the engine holds per map (its MAXDOORS, MAXSTATS and MAXACTORS less
    # the player), for the map check.
    lines += ["", "[Limits]", "MaxDoors=64", "MaxStatics=399", "MaxActors=149"]
    return lines


def facing_groups():
    """The words that are one object facing different ways, as (key, plane,
    [(value, direction), ...]): the player starts, the turning points and
    every soldier group, read from the same tables as their symbols."""
    groups = [("PlayerStart", 1, [(v, d) for v, _n, _p, _k, d in player_starts()]),
              ("TurningPoint", 1, [(v, d) for v, _n, _p, _k, d in turning_points()])]
    for name, base, step, _colour in SOLDIERS:
        for level, offset in ((1, 0), (3, step), (4, 2 * step)):
            for moving in (False, True):
                first = base + offset + (4 if moving else 0)
                groups.append(("%s%s%d" % (name, "Moving" if moving else "Standing", level), 1,
                               [(first + q, d) for d, q in ACTOR_DIRECTIONS]))
    return groups


def door_groups():
    """Doors face along their wall line: an even word stands in a vertical
    line (passed from east or west), the odd one after it in a horizontal
    line, so that a quarter turn exchanges the two and a mirror keeps them."""
    return [(name.split(" Vertical")[0].replace(" ", ""), 0,
             [(v + 1, "e"), (v, "n"), (v + 1, "w"), (v, "s")])
            for v, name, _p, _k, _d in doors() if v % 2 == 0]


def facing_lines(planes):
    """Section Facing of the settings (see README): one key per group,
    PLANE,WORDS,DIRECTIONS, the words as the first of words that follow on
    by one where they do."""
    lines = ["", "[Facing]"]
    for key, plane, members in facing_groups() + door_groups():
        values = [v for v, _d in members]
        symbols = {v: (k, d) for v, _n, _p, k, d in planes[plane]}
        for v, d in members:
            kind, direction = symbols.get(v, (None, None))
            door = kind in ("d", "ld") and direction == "0" and (v % 2 == 0) == (d in ("n", "s"))
            if direction != d and not door:
                raise SystemExit("facing group %s: %d does not face %s in plane %d" % (key, v, d, plane))
        if values == list(range(values[0], values[0] + len(values))):
            words = str(values[0])
        else:
            words = " ".join(str(v) for v in values)
        lines.append("%s=%d,%s,%s" % (key, plane, words, " ".join(d for _v, d in members)))
    return lines


def check_plane(ext, index, plane):
    """What the editor cannot read or would misread stops the run."""
    if plane[0][:2] != (0, "Nothing") or plane[0][2].digits() != "0" * 64 or plane[0][3:] != ("ot", "0"):
        raise SystemExit("%s plane %d: the first line must be the default record" % (ext, index))
    seen = set()
    type_ids = {t for t, _ in TYPES}
    for v, name, pic, kind, direction in plane:
        where = "%s plane %d value %d" % (ext, index, v)
        if not 0 <= v <= 65535:
            raise SystemExit(where + ": out of range")
        if v in seen:
            raise SystemExit(where + ": given twice")
        seen.add(v)
        if not name or "," in name or name != name.strip() or not name.isascii():
            raise SystemExit(where + ": bad name %r" % name)
        if len(pic.digits()) != 64:
            raise SystemExit(where + ": bad picture")
        if kind not in type_ids:
            raise SystemExit(where + ": unknown type %r" % kind)
        if direction not in VALID_DIRECTIONS:
            raise SystemExit(where + ": bad direction %r" % direction)
    floor_values = [v for v, _n, _p, kind, _d in plane if kind == "f"]
    if floor_values and (min(floor_values) != 108 or max(floor_values) != 143):
        raise SystemExit("%s plane %d: floor areas must be 108..143" % (ext, index))


def structure_files(ext):
    """File name -> bytes for one structure folder."""
    planes = [ordered(p) for p in GAMES[ext]()]
    files = {}
    for i, plane in enumerate(planes):
        check_plane(ext, i, plane)
        files["plane%d.txt" % (i + 1)] = crlf(symbol_lines(plane))
    files["%s.ini" % ext] = crlf(settings_lines(planes) + facing_lines(planes))
    files["mapsymboltypes.txt"] = crlf(["%s,%s,1" % t for t in TYPES])
    pictures, graphics_section = graphics_files(ext)
    files.update(pictures)
    files["%s.ini" % ext] += crlf(graphics_section)
    rules, engine_section = engine_files(ext)
    files.update(rules)
    flow, levels_key = level_files(ext)
    files.update(flow)
    files["%s.ini" % ext] += crlf(engine_section + levels_key)
    return files


# --------------------------------------------------------------------------
# The game's own pictures: palette, picture table and section [Graphics]
# --------------------------------------------------------------------------
#
# Every number below is taken from id Software's released engine source:
# WL_DEF.H (the sprite enumeration), WL_ACT1.C (statinfo), WL_GAME.C
# (ScanInfoPlane), WL_ACT2.C (the states actors spawn in) and WL_DRAW.C
# (DOORWALL, the door pages, vgaCeiling and the floor colour 0x19).

HERE = pathlib.Path(__file__).resolve().parent

# The sprite enumeration of WL_DEF.H in order: (name, count, games). Names
# stand for their first member (SPR_GRD_S for SPR_GRD_S_1 ...).
_BOTH, _WOLF, _SPEAR = ("wolf", "spear"), ("wolf",), ("spear",)
SPRITE_ENUM = [
    ("SPR_DEMO", 1, _BOTH), ("SPR_DEATHCAM", 1, _BOTH),
    ("SPR_STAT", 48, _BOTH), ("SPR_STAT_48", 4, _SPEAR),
    ("SPR_GRD_S", 8, _BOTH), ("SPR_GRD_W1", 8, _BOTH), ("SPR_GRD_W2", 8, _BOTH), ("SPR_GRD_W3", 8, _BOTH),
    ("SPR_GRD_W4", 8, _BOTH), ("SPR_GRD_PAIN_1", 1, _BOTH), ("SPR_GRD_DIE", 3, _BOTH),
    ("SPR_GRD_PAIN_2", 1, _BOTH), ("SPR_GRD_DEAD", 1, _BOTH), ("SPR_GRD_SHOOT", 3, _BOTH),
    ("SPR_DOG_W1", 8, _BOTH), ("SPR_DOG_W2", 8, _BOTH), ("SPR_DOG_W3", 8, _BOTH), ("SPR_DOG_W4", 8, _BOTH),
    ("SPR_DOG_DIE", 3, _BOTH), ("SPR_DOG_DEAD", 1, _BOTH), ("SPR_DOG_JUMP", 3, _BOTH),
    ("SPR_SS_S", 8, _BOTH), ("SPR_SS_W1", 8, _BOTH), ("SPR_SS_W2", 8, _BOTH), ("SPR_SS_W3", 8, _BOTH),
    ("SPR_SS_W4", 8, _BOTH), ("SPR_SS_PAIN_1", 1, _BOTH), ("SPR_SS_DIE", 3, _BOTH),
    ("SPR_SS_PAIN_2", 1, _BOTH), ("SPR_SS_DEAD", 1, _BOTH), ("SPR_SS_SHOOT", 3, _BOTH),
    ("SPR_MUT_S", 8, _BOTH), ("SPR_MUT_W1", 8, _BOTH), ("SPR_MUT_W2", 8, _BOTH), ("SPR_MUT_W3", 8, _BOTH),
    ("SPR_MUT_W4", 8, _BOTH), ("SPR_MUT_PAIN_1", 1, _BOTH), ("SPR_MUT_DIE", 3, _BOTH),
    ("SPR_MUT_PAIN_2", 1, _BOTH), ("SPR_MUT_DIE_4", 1, _BOTH), ("SPR_MUT_DEAD", 1, _BOTH),
    ("SPR_MUT_SHOOT", 4, _BOTH),
    ("SPR_OFC_S", 8, _BOTH), ("SPR_OFC_W1", 8, _BOTH), ("SPR_OFC_W2", 8, _BOTH), ("SPR_OFC_W3", 8, _BOTH),
    ("SPR_OFC_W4", 8, _BOTH), ("SPR_OFC_PAIN_1", 1, _BOTH), ("SPR_OFC_DIE", 3, _BOTH),
    ("SPR_OFC_PAIN_2", 1, _BOTH), ("SPR_OFC_DIE_4", 1, _BOTH), ("SPR_OFC_DEAD", 1, _BOTH),
    ("SPR_OFC_SHOOT", 3, _BOTH),
    ("SPR_BLINKY_W", 2, _WOLF), ("SPR_PINKY_W", 2, _WOLF), ("SPR_CLYDE_W", 2, _WOLF), ("SPR_INKY_W", 2, _WOLF),
    ("SPR_BOSS_W", 4, _WOLF), ("SPR_BOSS_SHOOT", 3, _WOLF), ("SPR_BOSS_DEAD", 1, _WOLF), ("SPR_BOSS_DIE", 3, _WOLF),
    ("SPR_SCHABB_W", 4, _WOLF), ("SPR_SCHABB_SHOOT", 2, _WOLF), ("SPR_SCHABB_DIE", 3, _WOLF),
    ("SPR_SCHABB_DEAD", 1, _WOLF), ("SPR_HYPO", 4, _WOLF),
    ("SPR_FAKE_W", 4, _WOLF), ("SPR_FAKE_SHOOT", 1, _WOLF), ("SPR_FIRE", 2, _WOLF), ("SPR_FAKE_DIE", 5, _WOLF),
    ("SPR_FAKE_DEAD", 1, _WOLF),
    ("SPR_MECHA_W", 4, _WOLF), ("SPR_MECHA_SHOOT", 3, _WOLF), ("SPR_MECHA_DEAD", 1, _WOLF),
    ("SPR_MECHA_DIE", 3, _WOLF),
    ("SPR_HITLER_W", 4, _WOLF), ("SPR_HITLER_SHOOT", 3, _WOLF), ("SPR_HITLER_DEAD", 1, _WOLF),
    ("SPR_HITLER_DIE", 7, _WOLF),
    ("SPR_GIFT_W", 4, _WOLF), ("SPR_GIFT_SHOOT", 2, _WOLF), ("SPR_GIFT_DIE", 3, _WOLF), ("SPR_GIFT_DEAD", 1, _WOLF),
    ("SPR_ROCKET", 8, _BOTH), ("SPR_SMOKE", 4, _BOTH), ("SPR_BOOM", 3, _BOTH),
    ("SPR_HROCKET", 8, _SPEAR), ("SPR_HSMOKE", 4, _SPEAR), ("SPR_HBOOM", 3, _SPEAR), ("SPR_SPARK", 4, _SPEAR),
    ("SPR_GRETEL_W", 4, _WOLF), ("SPR_GRETEL_SHOOT", 3, _WOLF), ("SPR_GRETEL_DEAD", 1, _WOLF),
    ("SPR_GRETEL_DIE", 3, _WOLF),
    ("SPR_FAT_W", 4, _WOLF), ("SPR_FAT_SHOOT", 4, _WOLF), ("SPR_FAT_DIE", 3, _WOLF), ("SPR_FAT_DEAD", 1, _WOLF),
    ("SPR_BJ_W", 4, _WOLF), ("SPR_BJ_JUMP", 4, _WOLF),
    ("SPR_TRANS_W", 4, _SPEAR), ("SPR_TRANS_SHOOT", 3, _SPEAR), ("SPR_TRANS_DEAD", 1, _SPEAR),
    ("SPR_TRANS_DIE", 3, _SPEAR),
    ("SPR_WILL_W", 4, _SPEAR), ("SPR_WILL_SHOOT", 4, _SPEAR), ("SPR_WILL_DIE", 3, _SPEAR), ("SPR_WILL_DEAD", 1, _SPEAR),
    ("SPR_UBER_W", 4, _SPEAR), ("SPR_UBER_SHOOT", 4, _SPEAR), ("SPR_UBER_DIE", 4, _SPEAR), ("SPR_UBER_DEAD", 1, _SPEAR),
    ("SPR_DEATH_W", 4, _SPEAR), ("SPR_DEATH_SHOOT", 4, _SPEAR), ("SPR_DEATH_DIE", 6, _SPEAR),
    ("SPR_DEATH_DEAD", 1, _SPEAR),
    ("SPR_SPECTRE_W", 4, _SPEAR), ("SPR_SPECTRE_F", 4, _SPEAR),
    ("SPR_ANGEL_W", 4, _SPEAR), ("SPR_ANGEL_SHOOT", 2, _SPEAR), ("SPR_ANGEL_TIRED", 2, _SPEAR),
    ("SPR_ANGEL_DIE", 7, _SPEAR), ("SPR_ANGEL_DEAD", 1, _SPEAR),
    ("SPR_KNIFE", 5, _BOTH), ("SPR_PISTOL", 5, _BOTH), ("SPR_MACHINEGUN", 5, _BOTH), ("SPR_CHAIN", 5, _BOTH),
]
# The sprites the enumeration gives each game (the shareware's page file
# holds 436 sprite chunks).
SPRITE_COUNT = {"wolf": 436, "spear": 421}


def sprite_numbers(game):
    """Name -> sprite number of the first member, for one game."""
    numbers, at = {}, 0
    for name, count, games in SPRITE_ENUM:
        if game in games:
            numbers[name] = at
            at += count
    if at != SPRITE_COUNT[game]:
        raise SystemExit("%s: the sprite enumeration gives %d sprites" % (game, at))
    return numbers


# The eight door chunks before the first sprite (DOORWALL = first sprite - 8):
# +0/+1 the plain door, +2/+3 the door frame, +4/+5 the elevator door, +6/+7
# the locked doors. A door word even is a vertical door, drawn from the odd
# (dark) chunk of its pair; an odd word a horizontal one, from the even chunk.
DOOR_PAGES = {0: 0, 1: 6, 2: 6, 3: 6, 4: 6, 5: 4}  # lock (word - 90) // 2 -> page

# vgaCeiling of WL_DRAW.C, by map number (episode * 10 + map for Wolfenstein
# 3-D); the engine fills both bytes of a word with the colour.
WOLF_CEILINGS = [
    0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0xbfbf,
    0x4e4e, 0x4e4e, 0x4e4e, 0x1d1d, 0x8d8d, 0x4e4e, 0x1d1d, 0x2d2d, 0x1d1d, 0x8d8d,
    0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0x2d2d, 0xdddd, 0x1d1d, 0x1d1d, 0x9898,
    0x1d1d, 0x9d9d, 0x2d2d, 0xdddd, 0xdddd, 0x9d9d, 0x2d2d, 0x4d4d, 0x1d1d, 0xdddd,
    0x7d7d, 0x1d1d, 0x2d2d, 0x2d2d, 0xdddd, 0xd7d7, 0x1d1d, 0x1d1d, 0x1d1d, 0x2d2d,
    0x1d1d, 0x1d1d, 0x1d1d, 0x1d1d, 0xdddd, 0xdddd, 0x7d7d, 0xdddd, 0xdddd, 0xdddd,
]
SPEAR_CEILINGS = [
    0x6f6f, 0x4f4f, 0x1d1d, 0xdede, 0xdfdf, 0x2e2e, 0x7f7f, 0x9e9e, 0xaeae, 0x7f7f,
    0x1d1d, 0xdede, 0xdfdf, 0xdede, 0xdfdf, 0xdede, 0xe1e1, 0xdcdc, 0x2e2e, 0x1d1d, 0xdcdc,
]
FLOOR_COLOUR = 0x19

# Soldiers: (word of the first standing one, step to the next skill level,
# standing sprite, moving sprite). Each group of four words faces east,
# north, west, south; the moving ones lie 4 above; the copies for skill
# levels 3 and 4 lie one and two steps above. Dogs have no standing frame
# (and the engine places nothing for a standing dog): both show their run.
SOLDIER_PICTURES = [
    (108, 36, "SPR_GRD_S", "SPR_GRD_W1"),
    (116, 36, "SPR_OFC_S", "SPR_OFC_W1"),
    (126, 36, "SPR_SS_S", "SPR_SS_W1"),
    (134, 36, "SPR_DOG_W1", "SPR_DOG_W1"),
    (216, 18, "SPR_MUT_S", "SPR_MUT_W1"),
]
WOLF_BOSS_PICTURES = [
    (160, "SPR_FAKE_W"), (178, "SPR_MECHA_W"), (179, "SPR_FAT_W"), (196, "SPR_SCHABB_W"),
    (197, "SPR_GRETEL_W"), (214, "SPR_BOSS_W"), (215, "SPR_GIFT_W"),
    (224, "SPR_BLINKY_W"), (225, "SPR_CLYDE_W"), (226, "SPR_PINKY_W"), (227, "SPR_INKY_W"),
]
SPEAR_BOSS_PICTURES = [
    (106, "SPR_SPECTRE_W"), (107, "SPR_ANGEL_W"), (125, "SPR_TRANS_W"), (142, "SPR_UBER_W"),
    (143, "SPR_WILL_W"), (161, "SPR_DEATH_W"),
]
FACINGS = ["e", "n", "w", "s"]

# The frames of an actor that the engine draws from eight sides (the states
# of WL_ACT2.C with rotate set, drawn by CalcRotate in WL_DRAW.C): a
# standing soldier its S_1..S_8, a patrol and a dog the four steps W1..W4 of
# eight sides each. Bosses and ghosts show one picture from every side.
STANDING_FRAMES, WALKING_FRAMES = 1, 4

# The engine draws wall word w from chunks 2w - 2 and 2w - 1 (horizwall and
# vertwall of WL_MAIN.C), for the words below MAXWALLTILES 64.
WALL_WORDS = (1, 63)

PICTURES_HEADER = [
    "# Which picture of the game's page file (VSWAP) each map word shows in the map view and the 3D preview.",
    "# plane,words,kind[,number[,facing[,skill[,frames]]]]; words: one word or a range first-last.",
    "# wall: wall chunk number (its light side); without a number word w shows chunks 2w-2 and 2w-1, as the",
    "# engine draws walls, as far as the page file has walls. door: door chunk 0-7 of the eight before the sprites.",
    "# floor: floor area number, drawn flat with a tint of its own. sprite: sprite number.",
    "# actor (standing) and patrol (moving): sprite number, facing 0 e ne n nw w sw s se, skill 0 1 3 4, and",
    "# frames: pictures of eight sides each (front first, then anticlockwise) from the sprite on; 0 one picture.",
    "# Words not listed here, or whose chunk is empty, show their symbol.",
]


def picture_lines(game):
    """The picture table of a game ("wolf" or "spear"), plane by plane."""
    sprites = sprite_numbers(game)
    lines = list(PICTURES_HEADER)
    lines.append("0,%d-%d,wall" % WALL_WORDS)
    for word in range(90, 102):
        vertical = word % 2 == 0
        lines.append("0,%d,door,%d" % (word, DOOR_PAGES[(word - 90) // 2] + (1 if vertical else 0)))
    lines += ["0,%d,floor,%d" % (v, v - 107) for v in range(108, 144)]

    # Static objects: statinfo entry (word - 23); its pictures run from
    # SPR_STAT_0 on. Wolfenstein 3-D's entry 48 is the guards' half clip,
    # SPR_STAT_26 again; Spear of Destiny's 48 to 51 are its own statics.
    last_static = 71 if game == "wolf" else 74
    for word in range(23, last_static + 1):
        entry = word - 23
        sprite = sprites["SPR_STAT"] + (26 if game == "wolf" and entry == 48 else entry)
        lines.append("1,%d,sprite,%d" % (word, sprite))
    for base, step, standing, moving in SOLDIER_PICTURES:
        for level, offset in ((1, 0), (3, step), (4, 2 * step)):
            for patrol, frame in ((False, standing), (True, moving)):
                frames = WALKING_FRAMES if patrol else STANDING_FRAMES
                for d, facing in enumerate(FACINGS):
                    word = base + offset + (4 if patrol else 0) + d
                    lines.append("1,%d,%s,%d,%s,%d,%d" % (word, "patrol" if patrol else "actor", sprites[frame],
                                                          facing, level, frames))
    lines.append("1,124,sprite,%d" % sprites["SPR_GRD_DEAD"])
    for word, frame in WOLF_BOSS_PICTURES if game == "wolf" else SPEAR_BOSS_PICTURES:
        lines.append("1,%d,actor,%d" % (word, sprites[frame]))
    return lines


# The digitised sounds by their number in the page file's sound table, named
# from the engine's sound list (wolfdigimap of WL_MAIN.C, for the full games:
# the symbols of AUDIOWL6.H and AUDIOSOD.H, and their comments in
# parentheses). A number two symbols share names both.
WOLF_DIGI_SOUNDS = [
    (0, "HALTSND", "Halt"), (1, "DOGBARKSND", "Dog bark"), (2, "CLOSEDOORSND", "Close door"),
    (3, "OPENDOORSND", "Open door"), (4, "ATKMACHINEGUNSND", "Attack machine gun"),
    (5, "ATKPISTOLSND", "Attack pistol"), (6, "ATKGATLINGSND", "Attack gatling"), (7, "SCHUTZADSND", "Schutzad"),
    (8, "GUTENTAGSND", "Guten Tag"), (9, "MUTTISND", "Mutti"), (10, "BOSSFIRESND", "Boss fire"),
    (11, "SSFIRESND", "SS fire"), (12, "DEATHSCREAM1SND", "Death scream 1"),
    (13, "DEATHSCREAM2SND DEATHSCREAM3SND", "Death scream 2 and 3"), (14, "TAKEDAMAGESND", "Take damage"),
    (15, "PUSHWALLSND", "Push wall"), (16, "DOGDEATHSND", "Dog death"), (17, "AHHHGSND", "Ahhhg"),
    (18, "DIESND", "Die"), (19, "EVASND", "Eva"), (20, "LEBENSND", "Leben"), (21, "NAZIFIRESND", "Nazi fire"),
    (22, "SLURPIESND", "Slurpie"), (23, "TOT_HUNDSND", "Tot Hund"), (24, "MEINGOTTSND", "Mein Gott"),
    (25, "SCHABBSHASND", "Schabbs ha"), (26, "HITLERHASND", "Hitler ha"), (27, "SPIONSND", "Spion"),
    (28, "NEINSOVASSND", "Nein so vas"), (29, "DOGATTACKSND", "Dog attack"), (30, "LEVELDONESND", "Level done"),
    (31, "MECHSTEPSND", "Mech step"), (32, "YEAHSND", "Yeah"), (33, "SCHEISTSND", "Scheist"),
    (34, "DEATHSCREAM4SND", "Death scream 4 (Aiieee)"), (35, "DEATHSCREAM5SND", "Death scream 5 (Dee-dee)"),
    (36, "DONNERSND", "Donner (episode 4 boss die)"), (37, "EINESND", "Eine (episode 4 boss sighting)"),
    (38, "ERLAUBENSND", "Erlauben (episode 6 boss sighting)"), (39, "DEATHSCREAM6SND", "Death scream 6 (Fart)"),
    (40, "DEATHSCREAM7SND", "Death scream 7 (Gasp)"), (41, "DEATHSCREAM8SND", "Death scream 8 (Guh-boy!)"),
    (42, "DEATHSCREAM9SND", "Death scream 9 (Ah geez!)"), (43, "KEINSND", "Kein (episode 5 boss sighting)"),
    (44, "MEINSND", "Mein (episode 6 boss die)"), (45, "ROSESND", "Rose (episode 5 boss die)"),
]
SPEAR_DIGI_SOUNDS = [
    (0, "HALTSND", "Halt"), (1, "DOGBARKSND", "Dog bark"), (2, "CLOSEDOORSND", "Close door"),
    (3, "OPENDOORSND", "Open door"), (4, "ATKMACHINEGUNSND", "Attack machine gun"),
    (5, "ATKPISTOLSND", "Attack pistol"), (6, "ATKGATLINGSND", "Attack gatling"), (7, "SCHUTZADSND", "Schutzad"),
    (8, "BOSSFIRESND", "Boss fire"), (9, "SSFIRESND", "SS fire"), (10, "DEATHSCREAM1SND", "Death scream 1"),
    (11, "DEATHSCREAM2SND", "Death scream 2"), (12, "TAKEDAMAGESND", "Take damage"),
    (13, "PUSHWALLSND", "Push wall"), (14, "DOGDEATHSND", "Dog death"), (15, "AHHHGSND", "Ahhhg"),
    (16, "LEBENSND", "Leben"), (17, "NAZIFIRESND", "Nazi fire"), (18, "SLURPIESND", "Slurpie"),
    (19, "SPIONSND", "Spion"), (20, "NEINSOVASSND", "Nein so vas"), (21, "DOGATTACKSND", "Dog attack"),
    (22, "LEVELDONESND", "Level done"), (23, "DEATHSCREAM4SND DEATHSCREAM3SND", "Death scream 4 (Aiieee) and 3"),
    (24, "DEATHSCREAM5SND", "Death scream 5 (Dee-dee)"), (25, "DEATHSCREAM6SND", "Death scream 6 (Fart)"),
    (26, "DEATHSCREAM7SND", "Death scream 7 (Gasp)"), (27, "DEATHSCREAM8SND", "Death scream 8 (Guh-boy!)"),
    (28, "DEATHSCREAM9SND", "Death scream 9 (Ah geez!)"), (29, "TRANSSIGHTSND", "Trans sight"),
    (30, "TRANSDEATHSND", "Trans death"), (31, "WILHELMSIGHTSND", "Wilhelm sight"),
    (32, "WILHELMDEATHSND", "Wilhelm death"), (33, "UBERDEATHSND", "Uber death"),
    (34, "KNIGHTSIGHTSND", "Death Knight sight"), (35, "KNIGHTDEATHSND", "Death Knight death"),
    (36, "ANGELSIGHTSND", "Angel sight"), (37, "ANGELDEATHSND", "Angel death"),
    (38, "GETGATLINGSND", "Get gatling"), (39, "GETSPEARSND", "Get spear"),
]

SOUNDS_HEADER = [
    "# The names of the digitised sounds of the game's page file (VSWAP), by their number in its sound table.",
    "# number,name (the name is the rest of the line). A sound not listed here is shown by its number.",
]


def sound_lines(game):
    """The sound names of a game ("wolf" or "spear"), from its full release's list."""
    sounds = WOLF_DIGI_SOUNDS if game == "wolf" else SPEAR_DIGI_SOUNDS
    if [number for number, _, _ in sounds] != list(range(len(sounds))):
        raise SystemExit("%s: the sound list has a gap" % game)
    return SOUNDS_HEADER + ["%d,%s" % (number, name) for number, _, name in sounds]


def graphics_settings_lines(game):
    ceilings = WOLF_CEILINGS if game == "wolf" else SPEAR_CEILINGS
    return ["", "[Graphics]", "Palette=palette.txt", "Pictures=pictures.txt", "Chunks=chunks.txt",
            "Sounds=sounds.txt",
            "CeilingColours=" + ",".join(str(c & 0xFF) for c in ceilings),
            "FloorColour=%d" % FLOOR_COLOUR]


def palette_file(game):
    """The game's VGA palette (tools/mapdefs/wolf3d.txt or spear.txt) with CR LF line ends."""
    source = HERE / ("wolf3d.txt" if game == "wolf" else "spear.txt")
    return crlf(source.read_text(encoding="ascii").splitlines())


def graphics_files(ext):
    """The structure's files for the game's own pictures, and the lines of its [Graphics] section."""
    game = "wolf" if GAMES[ext] is wolf_planes else "spear"
    files = {"palette.txt": palette_file(game), "pictures.txt": crlf(picture_lines(game)),
             "chunks.txt": crlf(chunk_lines(ext)), "sounds.txt": crlf(sound_lines(game))}
    return files, graphics_settings_lines(game)


# --------------------------------------------------------------------------
# The rules of play: engine.txt and section [Engine]
# --------------------------------------------------------------------------
#
# What every word means to the engine, for the map check and the analysis of
# play, from id Software's released engine source: SetupGameLevel and
# ScanInfoPlane in WL_GAME.C (walls below AREATILE 107, the doors 90..101 and
# their locks, AMBUSHTILE 106, which words spawn what on which difficulty),
# statinfo and SpawnStatic in WL_ACT1.C (blocking statics, bonus items and
# which count as treasure), PushWall in WL_ACT1.C, the spawn functions in
# WL_ACT2.C (which actors count toward the kills, which are always deaf),
# KillActor in WL_STATE.C with the death states (which boss drops the gold
# key, whose death ends the level) and Cmd_Use, VictoryTile and GetBonus in
# WL_AGENT.C (the elevator switch 21, the secret elevator's floor 107, the
# victory tile 99, the Spear).

ENGINE_HEADER = [
    "# What each map word means to the game engine: the rules of play for the map check and the",
    "# analysis of a level. plane,words,kind[,attribute...]; words is one word or first-last.",
    "# wall: switch. door: vertical|horizontal, lock=N, elevator. floor: ambush, secret.",
    "# start: facing. static: block, bonus=treasure|key|weapon|health|ammo|spear, key=N,",
    "# give=N (the rounds an ammo bonus, a weapon or the extra life brings).",
    "# actor, boss: stand|patrol, kill, skill=N (lowest skill level placing it), facing, ambush,",
    "# nodoors (opens no door: a dog);",
    "# boss also key=N (dropped when it dies), ends (its death ends the level).",
    "# corpse (stops push walls), pushwall, turn (facing), victory. Unlisted plane-0 words are floor.",
    "# nothing: spoils (plane 1: the spawning changes the actor placed before it, as a standing dog",
    "# does). An unlisted plane-1 word is one the engine places nothing for.",
    "# For the level generator: wall theme=NAME (the family), decorated; static light, decor, value=N",
    "# (points, health, rounds, the weapon's number); actor enemy=guard|officer|ss|dog|mutant.",
]

# statinfo of WL_ACT1.C by entry (word - 23): "block", a bonus, or None for a
# decoration the player walks through. Spear of Destiny's differences follow.
WOLF_STATINFO = [
    None, "block", "block", "block", None, "block", "health", "block",        # 23..30
    "block", None, "block", "block", "block", "block", None, None,            # 31..38
    "block", "block", "block", None, "key=1", "key=2", "block", None,         # 39..46
    "health", "health", "ammo,give=8", "weapon,give=6", "weapon,give=6", "treasure", "treasure", "treasure",  # 47..54
    "treasure", "treasure,give=25", "health", "block", "block", "block", "health", "block",  # 55..62
    "block", None, None, None, None, "block", "block", None,                   # 63..70
    "ammo,give=4",                                                              # 71: the guards' half clip
]
# GetBonus and GiveWeapon in WL_AGENT.C: a clip brings 8 rounds, a dropped one
# 4, a weapon 6, the extra life 25 (and full health); nothing past 99.
SPEAR_STATINFO_CHANGES = {38: "block", 63: None, 67: "block",
                          71: "block", 72: "ammo,give=25", 73: "block", 74: "spear"}

# Soldiers: (kind, word of the first standing one, step to the copies for
# skill levels 3 and 4). SpawnStand places no dog, and counts none.
ENGINE_SOLDIERS = [("guard", 108, 36), ("officer", 116, 36), ("ss", 126, 36), ("dog", 134, 36),
                   ("mutant", 216, 18)]
# Bosses and other actors placed on every skill level: (word, what the
# engine does). Every one counts toward the kills and is always deaf.
WOLF_BOSS_RULES = [
    (160, "boss,kill,ambush"),             # Fake Hitler
    (178, "boss,kill,ambush,ends"),        # Hitler in his mech: dies into Hitler, whose death ends the game
    (179, "boss,kill,ambush,ends"),        # General Fettgesicht
    (196, "boss,kill,ambush,ends"),        # Dr. Schabbs
    (197, "boss,kill,ambush,key=1"),       # Gretel Grosse
    (214, "boss,kill,ambush,key=1"),       # Hans Grosse
    (215, "boss,kill,ambush,ends"),        # Otto Giftmacher
    (224, "actor,kill,ambush"), (225, "actor,kill,ambush"),   # the ghosts, counted as killed already
    (226, "actor,kill,ambush"), (227, "actor,kill,ambush"),
]
SPEAR_BOSS_RULES = [
    (106, "actor,kill,ambush"),            # Spectre
    (107, "boss,kill,ambush,ends"),        # Angel of Death
    (125, "boss,kill,ambush,key=1"),       # Trans Grosse
    (142, "boss,kill,ambush,key=1"),       # Uber Mutant
    (143, "boss,kill,ambush,key=1"),       # Barnacle Wilhelm
    (161, "boss,kill,ambush,key=1"),       # Death Knight
]
ENGINE_MAP_SIZE = 64

# What a bonus gives (GetBonus in WL_AGENT.C): the points of a treasure (the
# extra life none), the health of food, the rounds of ammunition, the
# weapon's number (wp_machinegun 2, wp_chaingun 3).
BONUS_VALUES = {29: 4, 47: 10, 48: 25, 49: 8, 50: 2, 51: 3, 52: 100, 53: 500, 54: 1000, 55: 5000, 56: 0,
                57: 1, 61: 1, 71: 4}
SPEAR_BONUS_VALUES = {72: 25}

# For the level generator, Wolfenstein 3-D only (the Spear of Destiny's wall
# pictures are not pinned down here): the wall families it builds a level
# from, (name, plain walls, decorated walls used sparingly), each wall seen in
# the shareware's page file; the lights it hangs and the decorations it sets
# in rooms.
WOLF_THEMES = [
    ("grey-stone", [1, 2], [3, 4, 6, 28]),
    ("blue-stone", [8, 9], [5, 7]),
    ("wood", [12], [10, 11, 23]),
    ("red-brick", [17], [18, 20]),
    ("purple-stone", [19], [25]),
    ("steel", [15], [14]),
]
WOLF_LIGHTS = [27, 37]                                   # chandelier, ceiling light
WOLF_DECOR = [23, 24, 25, 26, 30, 31, 34, 35, 36, 39, 46, 58, 62]
# The enemies the shareware's page file has pictures of (no officers, no mutants).
SHAREWARE_ENEMIES = {"guard", "ss", "dog"}


def static_rule(entry):
    if entry is None:
        return "static"
    if entry == "block":
        return "static,block"
    if entry.startswith("key="):
        return "static,bonus=key," + entry
    return "static,bonus=" + entry


def wall_lines(game):
    """Plane-0 walls 1..89 and 102..105, the switch 21, and for Wolfenstein 3-D
    the generator's wall families, as ranges of words with the same rule."""
    rule = {v: "wall" for v in list(range(1, 90)) + list(range(102, 106))}
    rule[21] = "wall,switch"
    if game == "wolf":
        for name, plain, decorated in WOLF_THEMES:
            for v in plain:
                rule[v] = "wall,theme=" + name
            for v in decorated:
                rule[v] = "wall,theme=%s,decorated" % name
    lines, words = [], sorted(rule)
    first = words[0]
    for i, v in enumerate(words):
        last = i + 1 == len(words) or words[i + 1] != v + 1 or rule[words[i + 1]] != rule[v]
        if last:
            span = "%d" % v if first == v else "%d-%d" % (first, v)
            lines.append("0,%s,%s" % (span, rule[v]))
            if i + 1 < len(words):
                first = words[i + 1]
    return lines


def engine_lines(game, shareware=False):
    """The rules file of a game ("wolf" or "spear")."""
    lines = list(ENGINE_HEADER)
    lines += wall_lines(game)
    locks = ["", ",lock=1", ",lock=2", ",lock=3", ",lock=4", ",elevator"]
    for word in range(90, 102):
        lines.append("0,%d,door,%s%s" % (word, "vertical" if word % 2 == 0 else "horizontal", locks[(word - 90) // 2]))
    lines += ["0,106,floor,ambush", "0,107,floor,secret", "0,108-143,floor"]

    lines.append("1,19-22,start,facing=n e s w")
    statinfo = {23 + i: entry for i, entry in enumerate(WOLF_STATINFO)}
    if game == "spear":
        statinfo.update(SPEAR_STATINFO_CHANGES)
    else:
        statinfo[72] = None  # ScanInfoPlane spawns the entry past the list's end: nothing, but a static
    values = {**BONUS_VALUES, **(SPEAR_BONUS_VALUES if game == "spear" else {})}
    for word, entry in sorted(statinfo.items()):
        rule = static_rule(entry)
        if word in values and entry not in (None, "block"):
            rule += ",value=%d" % values[word]
        if game == "wolf" and word in WOLF_LIGHTS:
            rule += ",light"
        if game == "wolf" and word in WOLF_DECOR:
            rule += ",decor"
        lines.append("1,%d,%s" % (word, rule))
    lines.append("1,90-97,turn,facing=" + " ".join(DIRECTIONS8))
    lines.append("1,98,pushwall")
    if game == "wolf":
        lines.append("1,99,victory")
    else:
        lines.append("1,99,nothing")  # Spear of Destiny's VictoryTile freezes the player and ends nothing
    for kind, base, step in ENGINE_SOLDIERS:
        for level, offset in ((1, 0), (3, step), (4, 2 * step)):
            for moving in (False, True):
                if kind == "dog" and not moving:
                    # SpawnStand has no case for a dog: it spawns nothing and
                    # changes the actor spawned before it (newobj).
                    first = base + offset
                    lines.append("1,%d-%d,nothing,spoils" % (first, first + 3))
                    continue
                first = base + offset + (4 if moving else 0)
                enemy = "" if shareware and kind not in SHAREWARE_ENEMIES else ",enemy=" + kind
                lines.append("1,%d-%d,actor,%s,kill,skill=%d,facing=e n w s%s%s"
                             % (first, first + 3, "patrol" if moving else "stand", level, enemy,
                                ",nodoors" if kind == "dog" else ""))
    lines.append("1,124,corpse")
    lines += ["1,%d,%s" % (word, rule) for word, rule in (WOLF_BOSS_RULES if game == "wolf" else SPEAR_BOSS_RULES)]
    return sorted_rules(lines)


def sorted_rules(lines):
    """The header, then the rules by plane and first word."""
    notes = [line for line in lines if line.startswith("#")]
    rules = [line for line in lines if not line.startswith("#")]

    def key(line):
        plane, words = line.split(",")[:2]
        return int(plane), int(words.split("-")[0])
    return notes + sorted(rules, key=key)


def engine_files(ext):
    """The structure's rules file, and the lines of its [Engine] section."""
    game = "wolf" if GAMES[ext] is wolf_planes else "spear"
    section = ["", "[Engine]", "Rules=engine.txt", "MapSize=%d" % ENGINE_MAP_SIZE]
    return {"engine.txt": crlf(engine_lines(game, shareware=ext == "WL1"))}, section


# --------------------------------------------------------------------------
# The level flow: levels.txt, named by Levels= in section [Engine]
# --------------------------------------------------------------------------
#
# How the engine strings its floors together, from id Software's released
# engine source: GameLoop in WL_GAME.C (the elevator leads to the next floor;
# in Wolfenstein 3-D any secret elevator leads to the episode's tenth floor,
# which returns to the floor ElevatorBackTo names, and the ninth floor ends
# with its boss, whose death or the victory tile ends the episode; in Spear of
# Destiny the secret elevators of floors 4 and 12 lead to floors 19 and 20,
# which return to floors 5 and 13, a secret elevator elsewhere starts its own
# floor again, and taking the Spear on floor 18 leads to floor 21; the demo
# ends after its second floor), parTimes in WL_INTER.C (minutes, none on the
# boss and secret floors), and the player's running speed: RUNMOVE 70 times
# MOVESCALE 150 in WL_PLAY.C and WL_AGENT.C, in 1/65536 of a tile a tic, 70
# tics a second (TimeCount), a door open after 64 tics (DoorOpening moves it
# tics << 10 up to 0xFFFF, and only an open door lets the player pass), a push
# wall out of its tile after 128 tics (MovePWalls).

LEVELS_HEADER = [
    "# How the engine strings the floors together: where each exit leads, the par times of the",
    "# end screen and the player's speed, for the episode board.",
    "# walk,speed=N (1/65536 tile a tic, running),tics=N (a second),door=N (tics to open),",
    "#   pushwall=N (tics to leave its tile)",
    "# map,N,episode=E[,par=SECONDS][,elevator=M|end][,secret_elevator=M|end][,spear=M|end]",
    "#   [,boss (ends with its boss, the victory tile or the Spear: an elevator breaks the flow)]",
    "#   [,secret (a secret floor: some secret elevator should lead here)]",
    "# Maps are numbered from 1. A boss's death and the victory tile end the episode.",
]

WOLF_PAR_MINUTES = [
    [1.5, 2, 2, 3.5, 3, 3, 2.5, 2.5],
    [1.5, 3.5, 3, 2, 4, 6, 1, 3],
    [1.5, 1.5, 2.5, 2.5, 3.5, 2.5, 2, 6],
    [2, 2, 1.5, 1, 4.5, 3.5, 2, 4.5],
    [2.5, 1.5, 2.5, 2.5, 4, 3, 4.5, 3.5],
    [6.5, 4, 4.5, 6, 5, 5.5, 5.5, 8.5],
]
WOLF_ELEVATOR_BACK_TO = [1, 1, 7, 3, 5, 3]  # ElevatorBackTo: the floor (from 0) after the secret one
WOLF_EPISODES = {"WL1": 1, "WL3": 3, "WL6": 6}
# Spear of Destiny's parTimes by floor from 0; None where the table has "??:??".
SPEAR_PAR_MINUTES = [1.5, 3.5, 2.75, 3.5, None, 4.5, 3.25, 2.75, 4.75, None,
                     6.5, 4.5, 2.75, 4.5, 6, None, 6, None, None, None, None]
SPEAR_FROM_SECRET = {3: 18, 11: 19}  # FROMSECRET1, FROMSECRET2 -> the secret floor (from 0)
WALK_LINE = "walk,speed=10500,tics=70,door=64,pushwall=128"


def map_line(number, episode, par=None, **exits):
    fields = ["map", str(number), "episode=%d" % episode]
    if par is not None:
        fields.append("par=%d" % round(par * 60))
    for kind in ("elevator", "secret_elevator", "spear"):
        if kind in exits:
            fields.append("%s=%s" % (kind, exits[kind]))
    fields += [flag for flag in ("boss", "secret") if exits.get(flag)]
    return ",".join(fields)


def wolf_levels(episodes):
    lines = []
    for e in range(episodes):
        first = e * 10 + 1
        secret = first + 9
        for f in range(8):
            lines.append(map_line(first + f, e + 1, WOLF_PAR_MINUTES[e][f], elevator=first + f + 1,
                                  secret_elevator=secret))
        # GameLoop's mapon++ takes an elevator of the boss floor into the secret floor.
        lines.append(map_line(first + 8, e + 1, elevator=secret, secret_elevator=secret, boss=True))
        back = first + WOLF_ELEVATOR_BACK_TO[e]
        lines.append(map_line(secret, e + 1, elevator=back, secret_elevator=back, secret=True))
    return lines


def spear_levels(demo):
    if demo:  # SPEARDEMO: the game ends once the second floor is done
        return [map_line(1, 1, SPEAR_PAR_MINUTES[0], elevator=2, secret_elevator=1),
                map_line(2, 1, SPEAR_PAR_MINUTES[1], elevator="end", secret_elevator="end")]
    lines = []
    for f in range(18):
        exits = {"elevator": f + 2, "secret_elevator": SPEAR_FROM_SECRET.get(f, f) + 1}
        if f == 17:  # the Death Knight's floor: the Spear leads on, an elevator into the first secret floor
            exits.update(spear=21, boss=True)
        lines.append(map_line(f + 1, 1, SPEAR_PAR_MINUTES[f], **exits))
    for secret, source in ((18, 3), (19, 11)):
        lines.append(map_line(secret + 1, 1, elevator=source + 2, secret_elevator=secret + 1, secret=True))
    lines.append(map_line(21, 1, elevator=22, secret_elevator=21, boss=True))  # mapon++ past the last floor
    return lines


def level_files(ext):
    """The structure's level flow, and the key of its [Engine] section."""
    if ext in WOLF_EPISODES:
        lines = wolf_levels(WOLF_EPISODES[ext])
    else:
        lines = spear_levels(demo=ext == "SDM")
    return {"levels.txt": crlf(LEVELS_HEADER + [WALK_LINE] + lines)}, ["Levels=levels.txt"]


# --------------------------------------------------------------------------
# Preview sheets (PNG) for looking the pictures over
# --------------------------------------------------------------------------

def write_png(path, width, height, pixels):
    raw = b"".join(b"\x00" + bytes(pixels[y * width * 3:(y + 1) * width * 3]) for y in range(height))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    path.write_bytes(png)


def preview(out_dir, scale=6, per_row=16):
    """One sheet per table set and plane: every picture enlarged, on a dark
    blue-grey ground so that black (transparent) pixels show as holes."""
    out_dir.mkdir(parents=True, exist_ok=True)
    for label, make in (("wolf", wolf_planes), ("spear", spear_planes)):
        for index, plane in enumerate(ordered(p) for p in make()):
            cell = 8 * scale + 4
            rows = (len(plane) + per_row - 1) // per_row
            width, height = per_row * cell, rows * cell
            pixels = bytearray([40, 40, 56] * (width * height))
            for n, (_v, _name, pic, _k, _d) in enumerate(plane):
                ox, oy = (n % per_row) * cell + 2, (n // per_row) * cell + 2
                for y in range(8):
                    for x in range(8):
                        rgb = PALETTE[pic.rows[y][x]]
                        if pic.rows[y][x] == "0" and index > 0:
                            continue
                        for dy in range(scale):
                            for dx in range(scale):
                                at = ((oy + y * scale + dy) * width + ox + x * scale + dx) * 3
                                pixels[at:at + 3] = bytes([rgb >> 16, (rgb >> 8) & 255, rgb & 255])
            write_png(out_dir / ("%s_plane%d.png" % (label, index + 1)), width, height, pixels)
            with open(out_dir / ("%s_plane%d.txt" % (label, index + 1)), "w") as legend:
                for n, (v, name, _p, kind, d) in enumerate(plane):
                    legend.write("%3d,%3d  %5d  %-4s %-3s %s\n" % (n // per_row, n % per_row, v, kind, d, name))


# --------------------------------------------------------------------------

def main():
    here = pathlib.Path(__file__).resolve()
    default_out = here.parents[2] / "data" / "MapDefs"
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", type=pathlib.Path, default=default_out,
                        help="the MapDefs folder to write (default: %(default)s)")
    parser.add_argument("--check", action="store_true",
                        help="compare the folders with the tables, write nothing")
    parser.add_argument("--preview", type=pathlib.Path, metavar="DIR",
                        help="also write PNG sheets of the pictures into DIR")
    args = parser.parse_args()

    differences = []
    for ext in GAMES:
        folder = args.out / ext
        for name, data in structure_files(ext).items():
            path = folder / name
            if args.check:
                if not path.is_file() or path.read_bytes() != data:
                    differences.append(str(path))
                continue
            folder.mkdir(parents=True, exist_ok=True)
            if not path.is_file() or path.read_bytes() != data:
                path.write_bytes(data)
    if args.preview:
        preview(args.preview)
    if differences:
        print("out of date:\n  " + "\n  ".join(differences))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
