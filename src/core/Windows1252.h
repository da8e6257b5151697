#pragma once
// Names in the games' map files and in the structures' text files (map, plane,
// symbol and type names) are Windows-1252 bytes, as the old editors wrote
// them; the windows and the command line speak Unicode (UTF-8). Every byte
// has a character: the five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the C1 control characters of the same number,
// as browsers decode them, so that any name read comes back byte for byte.

#include "core/Failure.h"

#include <optional>
#include <string>
#include <string_view>

namespace tsl {

std::string Windows1252ToUtf8(std::string_view bytes);
// One of the five bytes that stand for C1 controls.
constexpr bool IsUndefinedInWindows1252(unsigned char byte)
{
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// The Windows-1252 bytes of UTF-8 `text`; nothing when a character has no
// byte (or the text is no UTF-8), and `refused`, when given, receives the
// first such character.
std::optional<std::string> Utf8ToWindows1252(std::string_view text, std::string* refused = nullptr);

// Typed text (UTF-8) as the bytes a name is stored in, one byte a character;
// refused with a message naming the first character that cannot be stored.
// `what` names the field ("map name"), `caption` the message box.
Outcome<std::string> TypedName(std::string_view text, std::string_view what, const char* caption);

} // namespace tsl
