// Small helpers shared by the stand-in's googletest suites.
#pragma once

#include "CoreMinimal.h"
#include "HAL/FileManager.h"

#include <cstdlib>
#include <stdlib.h>
#include <string>

namespace HostTest
{
/** Text as UTF-8, for gtest's messages and for C APIs; a NUL inside the text is kept. */
inline std::string Utf8(const FString& Text)
{
	const FTCHARToUTF8 Converted(*Text, Text.Len());
	return std::string(Converted.Get(), (size_t)Converted.Length());
}

/** A fresh directory under the temporary directory (with a trailing slash), removed with everything in it afterwards.
 */
class FTempDir
{
public:
	FTempDir()
	{
		const char* Base = std::getenv("TMPDIR");
		std::string Template = std::string(Base && *Base ? Base : "/tmp") + "/HostTest-XXXXXX";
		Path = FString(UTF8_TO_TCHAR(mkdtemp(Template.data()))) + TEXT("/");
	}
	~FTempDir() { IFileManager::Get().DeleteDirectory(*Path, false, true); }
	FTempDir(const FTempDir&) = delete;
	FTempDir& operator=(const FTempDir&) = delete;

	FString Path;
};
} // namespace HostTest
