#include "raycast/Walk.h"

#include "raycast/Projection.h"

#include <algorithm>
#include <cmath>

namespace tsl {

namespace {

// The engine's doors (WL_ACT1.C): they slide 1024 units of 0xFFFF a tic
// and stay open 300 tics before they try to close.
constexpr std::int32_t kDoorStep = 1 << 10;
constexpr std::int32_t kDoorOpen = 0xFFFF;
constexpr int kOpenTics = 300;
// A push wall crosses into the next tile every 128 tics, and stops after two.
constexpr int kPushTicsPerTile = 128;
constexpr int kPushTiles = 2;
constexpr int kPushPositions = 64; // drawn in 64ths of a tile
// The player's start and most rounds (WL_DEF.H, GiveAmmo).
constexpr int kStartAmmo = 8;
constexpr int kMostAmmo = 99;
// What the keys move the player by in a tic (BASEMOVE * MOVESCALE units, and
// BASEMOVE / ANGLESCALE degrees); running doubles both.
constexpr double kMovePerTic = 35.0 * 150.0 / kTileUnits;
constexpr double kTurnPerTic = 35.0 / 20.0;
constexpr double kRunFactor = 2.0;

int Floor(double value)
{
    return static_cast<int>(std::floor(value));
}

// The tile a step in direction `facing` leads to from (x, y).
void StepTowards(Facing facing, int& x, int& y)
{
    switch (facing) {
    case Facing::East: ++x; break;
    case Facing::North: --y; break;
    case Facing::West: --x; break;
    case Facing::South: ++y; break;
    default: break;
    }
}

} // namespace

Walk::Walk(const MapList& map, int mapNumber, const WordPictures& words, int skill, const Camera& start)
    : map_(map), rules_(words.rules ? words.rules : std::make_shared<const EngineRules>()), walls_(words.walls),
      skill_(skill), level_(BuildLevel(map, mapNumber, words, skill)), camera_(start), ammo_(kStartAmmo)
{
    // A map without its object plane plays as one whose objects are all 0.
    if (map_.Planes.size() < 2)
        map_.Planes.resize(2);
    for (auto& plane : map_.Planes)
        plane.resize(map_.WordCount(), 0);
    TurnCamera(camera_, 0);
    FindThings();
}

void Walk::FindThings()
{
    const std::size_t tiles = static_cast<std::size_t>(map_.Width) * static_cast<std::size_t>(map_.Height);
    doorAt_.assign(tiles, -1);
    occupied_.assign(tiles, 0);
    for (int y = 0; y < map_.Height; ++y)
        for (int x = 0; x < map_.Width; ++x) {
            const std::size_t index = level_.IndexOf(x, y);
            if (level_.At(index).kind == CellKind::Door) {
                const WordMeaning& tile = TileAt(x, y);
                const bool known = tile.kind == WordKind::Door;
                doorAt_[index] = static_cast<std::int32_t>(doors_.size());
                doors_.push_back({x, y, known ? tile.vertical : map_.Word(0, x, y) % 2 == 0,
                                  known ? tile.lock : std::uint8_t{0}});
            }
            const WordMeaning& object = ObjectAt(x, y);
            if (object.kind == WordKind::PushWall)
                ++secrets_.total;
            if (object.kind == WordKind::Static && object.bonus == Bonus::Treasure)
                ++treasure_.total;
            if ((object.kind == WordKind::Static && object.blocks) || object.kind == WordKind::Corpse) {
                occupied_[index] = 1;
                if (object.kind == WordKind::Static)
                    level_.SetBlocking(x, y);
            }
            if (object.IsActor() && (skill_ <= 0 || object.PresentOn(skill_))) {
                // A patrol holds the tile it sets out for (SpawnPatrol).
                int heldX = x, heldY = y;
                if (object.patrol)
                    StepTowards(object.facing, heldX, heldY);
                if (level_.Inside(heldX, heldY))
                    occupied_[level_.IndexOf(heldX, heldY)] = 1;
            }
        }
}

bool Walk::Tic(const WalkControl& control)
{
    if (Ended())
        return false;
    ++tics_;
    bool changed = MoveDoors();
    changed = MovePushWall() || changed;
    const Camera before = camera_;
    const double factor = control.run ? kRunFactor : 1.0;
    TurnCamera(camera_, std::clamp(control.turn, -1.0, 1.0) * kTurnPerTic * factor);
    const double step = kMovePerTic * factor;
    MoveCamera(level_, camera_, std::clamp(control.forward, -1.0, 1.0) * step,
               std::clamp(control.right, -1.0, 1.0) * step);
    changed = changed || !(camera_ == before);
    const int x = Floor(camera_.x), y = Floor(camera_.y);
    if (level_.Inside(x, y) && ObjectAt(x, y).kind == WordKind::Victory) {
        end_ = WalkEnd::Victory;
        return true;
    }
    return TakeNear() || changed;
}

bool Walk::Use()
{
    missingKey_ = 0;
    if (Ended())
        return false;
    // The nearest of the four directions, from the whole degrees the engine
    // keeps the player's angle in; the elevator switch only east or west.
    const int angle = Floor(camera_.angle);
    int dx = 0, dy = 0;
    if (angle < 45 || angle > 315)
        dx = 1;
    else if (angle < 135)
        dy = -1;
    else if (angle < 225)
        dx = -1;
    else
        dy = 1;
    const int px = Floor(camera_.x), py = Floor(camera_.y);
    const int x = px + dx, y = py + dy;
    if (!level_.Inside(x, y))
        return false;
    if (ObjectAt(x, y).kind == WordKind::PushWall)
        return Push(x, y, dx, dy);
    if (dx != 0 && level_.At(x, y).kind == CellKind::Wall && TileAt(x, y).elevatorSwitch) {
        const auto thrown = walls_.find(static_cast<std::uint16_t>(map_.Word(0, x, y) + 1));
        if (thrown != walls_.end())
            level_.SetWall(x, y, thrown->second.light, thrown->second.dark);
        end_ = level_.Inside(px, py) && TileAt(px, py).secret ? WalkEnd::SecretExit : WalkEnd::Exit;
        return true;
    }
    const std::int32_t door = doorAt_[level_.IndexOf(x, y)];
    if (door < 0)
        return false;
    OperateDoor(doors_[static_cast<std::size_t>(door)]);
    return true;
}

void Walk::GiveKey(int key)
{
    if (key >= 1 && key <= kMaxKeys)
        keys_ |= 1u << (key - 1);
}

bool Walk::HasKey(int key) const
{
    return key >= 1 && key <= kMaxKeys && (keys_ & (1u << (key - 1))) != 0;
}

bool Walk::MoveDoors()
{
    bool moved = false;
    for (Door& door : doors_) {
        switch (door.action) {
        case DoorAction::Closed:
            break;
        case DoorAction::Open:
            if (++door.openTics >= kOpenTics)
                CloseDoor(door);
            break;
        case DoorAction::Opening:
            door.position = std::min(door.position + kDoorStep, kDoorOpen);
            if (door.position == kDoorOpen) {
                door.openTics = 0;
                door.action = DoorAction::Open;
            }
            moved = true;
            break;
        case DoorAction::Closing: {
            // Something got into the door: it opens again.
            const bool playerIn = Floor(camera_.x) == door.x && Floor(camera_.y) == door.y;
            if (occupied_[level_.IndexOf(door.x, door.y)] || playerIn) {
                OpenDoor(door);
                break;
            }
            door.position = std::max(door.position - kDoorStep, 0);
            if (door.position == 0)
                door.action = DoorAction::Closed;
            moved = true;
            break;
        }
        }
        ShowDoor(door);
    }
    return moved;
}

void Walk::OperateDoor(Door& door)
{
    if (door.lock >= 1 && door.lock <= kMaxKeys && !HasKey(door.lock)) {
        missingKey_ = door.lock;
        return;
    }
    if (door.action == DoorAction::Closed || door.action == DoorAction::Closing)
        OpenDoor(door);
    else
        CloseDoor(door);
}

void Walk::OpenDoor(Door& door)
{
    if (door.action == DoorAction::Open)
        door.openTics = 0;
    else
        door.action = DoorAction::Opening;
    Mark(door.x, door.y, WalkMarkKind::DoorOpened);
}

void Walk::CloseDoor(Door& door)
{
    // Not onto anything standing in it, nor onto the player in it or
    // reaching into it from either side it is passed from.
    if (occupied_[level_.IndexOf(door.x, door.y)])
        return;
    const Fixed px = ToFixed(camera_.x), py = ToFixed(camera_.y);
    const int tileX = px >> 16, tileY = py >> 16;
    if (tileX == door.x && tileY == door.y)
        return;
    if (door.vertical && tileY == door.y &&
        (((px + kMinDistUnits) >> 16) == door.x || ((px - kMinDistUnits) >> 16) == door.x))
        return;
    if (!door.vertical && tileX == door.x &&
        (((py + kMinDistUnits) >> 16) == door.y || ((py - kMinDistUnits) >> 16) == door.y))
        return;
    door.action = DoorAction::Closing;
    ShowDoor(door);
}

void Walk::ShowDoor(const Door& door)
{
    // Open only when all the way open and not yet closing: until then the
    // door stops the player, as it does in the engine.
    level_.SetDoorOpening(door.x, door.y, door.action == DoorAction::Open ? 1.0 : door.position / 65536.0);
}

bool Walk::Push(int x, int y, int dx, int dy)
{
    if (pushWall_ || level_.At(x, y).kind != CellKind::Wall || Occupied(x + dx, y + dy))
        return false;
    ++secrets_.found;
    const Cell cell = level_.At(x, y);
    const std::uint16_t word = map_.Word(0, x, y);
    level_.SetEmpty(x, y);
    level_.pushWall = PushWall{x, y, dx, dy, 0.0, cell.light, cell.dark};
    // Pushed once: the word goes, and the tile takes the player's floor.
    map_.SetWord(1, x, y, 0);
    map_.SetWord(0, x, y, map_.Word(0, Floor(camera_.x), Floor(camera_.y)));
    pushWall_ = Moving{x, y, dx, dy, 1, word};
    Mark(x, y, WalkMarkKind::WallPushed);
    return true;
}

bool Walk::MovePushWall()
{
    if (!pushWall_)
        return false;
    Moving& wall = *pushWall_;
    const int block = wall.state / kPushTicsPerTile;
    ++wall.state;
    if (wall.state / kPushTicsPerTile != block) {
        if (wall.state >= kPushTiles * kPushTicsPerTile) {
            StopPushWall(wall.x + wall.dx, wall.y + wall.dy);
            return true;
        }
        wall.x += wall.dx;
        wall.y += wall.dy;
        const int nextX = wall.x + wall.dx, nextY = wall.y + wall.dy;
        if (Occupied(nextX, nextY) || PlayerBoxTouches(nextX, nextY)) {
            StopPushWall(wall.x, wall.y);
            return true;
        }
    }
    level_.pushWall->x = wall.x;
    level_.pushWall->y = wall.y;
    level_.pushWall->offset = static_cast<double>((wall.state / 2) % kPushPositions) / kPushPositions;
    return true;
}

void Walk::StopPushWall(int x, int y)
{
    level_.SetWall(x, y, level_.pushWall->light, level_.pushWall->dark);
    map_.SetWord(0, x, y, pushWall_->word);
    level_.pushWall.reset();
    pushWall_.reset();
    Mark(x, y, WalkMarkKind::WallMoved);
}

bool Walk::Occupied(int x, int y) const
{
    if (!level_.Inside(x, y) || (level_.pushWall && level_.pushWall->Covers(x, y)))
        return true;
    const std::size_t index = level_.IndexOf(x, y);
    switch (level_.At(index).kind) {
    case CellKind::Wall:
        return true;
    case CellKind::Door:
        return doors_[static_cast<std::size_t>(doorAt_[index])].action != DoorAction::Open;
    case CellKind::Empty:
        break;
    }
    return occupied_[index] != 0;
}

bool Walk::PlayerBoxTouches(int x, int y) const
{
    const Fixed px = ToFixed(camera_.x), py = ToFixed(camera_.y);
    return ((px - kMinDistUnits) >> 16) <= x && x <= ((px + kMinDistUnits) >> 16) &&
           ((py - kMinDistUnits) >> 16) <= y && y <= ((py + kMinDistUnits) >> 16);
}

bool Walk::TakeNear()
{
    const int px = Floor(camera_.x), py = Floor(camera_.y);
    bool taken = false;
    for (int y = py - 1; y <= py + 1; ++y)
        for (int x = px - 1; x <= px + 1; ++x) {
            if (Ended() || !level_.Inside(x, y))
                continue;
            const WordMeaning& object = ObjectAt(x, y);
            if (object.kind != WordKind::Static || object.bonus == Bonus::None || !Grabbed(x, y) || !Take(object))
                continue;
            map_.SetWord(1, x, y, 0);
            std::erase_if(level_.sprites, [&](const LevelSprite& sprite) {
                return !sprite.actor && Floor(sprite.x) == x && Floor(sprite.y) == y;
            });
            Mark(x, y, WalkMarkKind::ItemTaken);
            taken = true;
        }
    return taken;
}

bool Walk::Grabbed(int x, int y) const
{
    const int px = Floor(camera_.x), py = Floor(camera_.y);
    // The engine takes what it draws near enough: the player's own tile is
    // always seen, a neighbour when the way to it is open.
    auto seeThrough = [&](int tx, int ty) {
        const Cell& cell = level_.At(tx, ty);
        return cell.kind == CellKind::Empty || (cell.kind == CellKind::Door && level_.DoorOpening(tx, ty) > 0);
    };
    if ((x != px || y != py) && !seeThrough(x, y))
        return false;
    if (x != px && y != py && !seeThrough(x, py) && !seeThrough(px, y))
        return false;
    // TransformTile: the object's middle less than a tile ahead of the eye
    // (drawn its fudge nearer) and within half a tile to either side.
    const ViewPoint view = MakeViewPoint(camera_);
    const Fixed gx = (x << 16) + kTileUnits / 2 - view.x;
    const Fixed gy = (y << 16) + kTileUnits / 2 - view.y;
    const Fixed ahead = FixedMul(gx, view.cos) - FixedMul(gy, view.sin) - kStaticFudgeUnits;
    const Fixed aside = FixedMul(gx, view.sin) + FixedMul(gy, view.cos);
    return ahead < kTileUnits && aside > -kTileUnits / 2 && aside < kTileUnits / 2;
}

bool Walk::Take(const WordMeaning& bonus)
{
    auto giveAmmo = [this](int rounds) { ammo_ = std::min(ammo_ + rounds, kMostAmmo); };
    switch (bonus.bonus) {
    case Bonus::Key:
        GiveKey(bonus.key);
        return true;
    case Bonus::Treasure:
        ++treasure_.found;
        giveAmmo(bonus.give);
        return true;
    case Bonus::Weapon:
        giveAmmo(bonus.give);
        return true;
    case Bonus::Ammo:
        if (ammo_ >= kMostAmmo)
            return false;
        giveAmmo(bonus.give);
        return true;
    case Bonus::Spear:
        end_ = WalkEnd::Spear;
        return true;
    case Bonus::Health: // nothing hurts in a walk: the health stays full, and the item where it is
    case Bonus::None:
        break;
    }
    return false;
}

void Walk::Mark(int x, int y, WalkMarkKind kind)
{
    const WalkMark mark{x, y, kind};
    if (std::find(marks_.begin(), marks_.end(), mark) == marks_.end())
        marks_.push_back(mark);
}

std::string KeyName(int key)
{
    switch (key) {
    case 1: return "Gold key";
    case 2: return "Silver key";
    default: return "Key " + std::to_string(key);
    }
}

namespace {

std::string Lowered(std::string text)
{
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string Ratio(const char* name, const WalkCount& count)
{
    return std::string(name) + " ratio " + std::to_string(count.Percent()) + "% (" + std::to_string(count.found) +
           " of " + std::to_string(count.total) + ")";
}

} // namespace

std::string WalkStatusLine(const Walk& walk)
{
    std::string keys;
    for (int key = 1; key <= kMaxKeys; ++key)
        if (walk.HasKey(key))
            keys += (keys.empty() ? "" : ", ") + Lowered(KeyName(key));
    return "Keys: " + (keys.empty() ? std::string("none") : keys) + "   Ammo " + std::to_string(walk.Ammo()) +
           "   Treasure " + std::to_string(walk.Treasure().found) + " of " + std::to_string(walk.Treasure().total) +
           "   Secrets " + std::to_string(walk.Secrets().found) + " of " + std::to_string(walk.Secrets().total);
}

std::vector<std::string> WalkEndLines(const Walk& walk)
{
    std::string how;
    switch (walk.End()) {
    case WalkEnd::Playing: return {};
    case WalkEnd::Exit: how = "Level completed"; break;
    case WalkEnd::SecretExit: how = "Level completed by the secret elevator"; break;
    case WalkEnd::Victory: how = "The episode is won"; break;
    case WalkEnd::Spear: how = "The Spear is taken"; break;
    }
    const int seconds = walk.TicsPlayed() / kTicsPerSecond;
    const std::string secondsText = std::to_string(seconds % 60);
    return {how, "Time " + std::to_string(seconds / 60) + ":" + (secondsText.size() < 2 ? "0" : "") + secondsText,
            Ratio("Secret", walk.Secrets()), Ratio("Treasure", walk.Treasure())};
}

} // namespace tsl
