#pragma once
// Small levels drawn as text for the tests of the rules of play, read by the
// shipped rules of Wolfenstein 3-D or Spear of Destiny.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tsl::test {

// The rules file of a shipped structure ("WL6", "SOD") as it stands in data/MapDefs.
EngineRules ShippedRules(const std::string& structure);

// A map drawn one character a tile, rows of equal length (plane 2 empty):
//   #  wall          E  elevator switch      .  floor            s  secret-elevator floor
//   |  door (vertical)   -  door (horizontal)   G  gold-key door (vertical)   Q  key-3 door (vertical)
//   P  push wall     >  player start, east    V  victory tile      T  treasure (cross)
//   g  gold key      B  barrel (blocks)       X  dead guard      w  machine gun
//   c  clip          f  food
//   1  guard (every level)  3  guard (level 3 up)  4  guard (level 4)  a  guard on the ambush floor
//   H  Hans Grosse (drops the gold key)       O  Otto Giftmacher (his death ends the level)
//   R  guard patrolling east   L  guard patrolling west   D  dog patrolling east
//   F  N  W  S  turning points east, north, west, south   M  turning point north-west
MapList DrawnMap(const std::vector<std::string>& rows);

// A set in memory (to be saved in `dir`, with extension `extension`) of
// maps drawn as DrawnMap draws them, named "Floor 1", "Floor 2" ...
MapHandler DrawnSet(const std::filesystem::path& dir, const std::vector<std::vector<std::string>>& maps,
                    const std::string& extension = "WL1");

} // namespace tsl::test
