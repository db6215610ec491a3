#pragma once

#include <optional>
#include <string>

namespace tvsim
{
// Writes `Text` to `Path` so that a reader sees either the old file or the whole new one:
// a temporary file beside it, flushed to disk, then renamed over it. False with a reason on failure.
bool WriteFileAtomically(const std::string& Path, const std::string& Text, std::string* Error = nullptr);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& Path);
} // namespace tvsim
