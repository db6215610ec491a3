// Pieces shared by the core's files that are no part of the engine's interface.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Templates/Function.h"
#include <string>

class FArchive;

namespace HostCore
{
/** IFileManager::CreateFileReader: an archive reading the file, or null when it cannot be opened (or is a directory). */
FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags);

/** The path as the operating system takes it: UTF-8, with '\' turned into '/'. */
std::string ToNative(const TCHAR* Path);
std::string ToNative(const FString& Path);
FString FromNative(const std::string& Path);

/** The current project's directory (the default one when none was set), absolute and ending in '/'. */
FString GetProjectDir();
/** The working directory, absolute and ending in '/'. */
FString GetWorkingDir();

struct FWriteOptions
{
	/** Permission bits for the written file; 0 keeps those of the file replaced (or gives 0666 less the umask). */
	uint32 Mode = 0;
	/** Fail when the file exists. */
	bool bNoReplace = false;
	/** Replace the file even when its owner may not write it. */
	bool bEvenIfReadOnly = false;
	/** Add to the end of the file in place (the one case not written through a temporary file). */
	bool bAppend = false;
};

/**
 * Writes a file crash-safely: Producer writes the content to a temporary file beside the target (creating missing
 * directories), which is flushed to disk and renamed over the target. On any failure the target is as it was, the
 * temporary file is gone, and OutError says why. Producer gets the descriptor and returns false on failure.
 */
bool WriteFileAtomically(
	const FString& Filename, const FWriteOptions& Options, TFunction<bool(int)> Producer, FString* OutError = nullptr);
/** Writes all of Size bytes to the descriptor, retrying short writes. */
bool WriteAll(int Descriptor, const void* Data, SIZE_T Size);
/** Creates the directory and its missing parents; true when it exists afterwards. */
bool MakeDirectoryTree(const std::string& NativePath);
} // namespace HostCore
