#pragma once

#include <string>

namespace tvsim
{
// One line per call, to stderr or to the file given with --log-file. Thread-safe.
void SetLogFile(const std::string& Path);
void LogLine(const std::string& Line);
} // namespace tvsim
