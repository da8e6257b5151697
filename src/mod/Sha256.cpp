#include "mod/Sha256.h"

#include <openssl/evp.h>

#include <array>
#include <new>

namespace tsl {

std::string Sha256Hex(std::span<const std::uint8_t> data)
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    // EVP_Digest fails only when the library cannot allocate its context.
    if (EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 15];
    }
    return hex;
}

} // namespace tsl
