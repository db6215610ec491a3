#pragma once

#include <cstddef>
#include <string>

namespace tvsim
{
// Lower-case hexadecimal text of `Bytes` random bytes from the OS's generator.
std::string RandomHex(std::size_t Bytes);

// Identifier for characters and jobs: 16 lower-case hex digits. URL-safe, opaque, and long
// enough that a client's "first 8 characters" of it still tell two jobs apart.
std::string NewId();
} // namespace tvsim
