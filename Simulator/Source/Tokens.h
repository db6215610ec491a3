#pragma once

#include <cstdint>
#include <string>

namespace tvsim
{
// Download links carry their own permission: "token" is an HMAC-SHA256 (hex) over the file's
// path and the expiry time, keyed with the server's secret. No API key travels with a download.
std::string SignDownload(const std::string& Secret, const std::string& Path, std::int64_t ExpiresAt);

// True when `Token` is the signature of Path and ExpiresAt under Secret (constant-time compare).
bool CheckDownloadToken(const std::string& Secret, const std::string& Path, std::int64_t ExpiresAt,
	const std::string& Token);
} // namespace tvsim
