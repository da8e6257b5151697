#pragma once
// SHA-256 of a file's bytes, as sha256sum prints it: 64 lower-case
// hexadecimal digits. OpenSSL's libcrypto computes it.

#include <cstdint>
#include <span>
#include <string>

namespace tsl {

std::string Sha256Hex(std::span<const std::uint8_t> data);

} // namespace tsl
