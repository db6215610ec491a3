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

/**
 * Opens a file for writing as the engine's Unix file layer does: created with 0664 less the umask when missing (an
 * existing file keeps its permissions), locked against a second writer, and emptied at once unless bAppend. The
 * file is written in place: no temporary file, no sync. -1 with errno set on failure.
 */
int OpenForWriting(const std::string& NativePath, bool bAppend);
/** Writes all of Size bytes to the descriptor, retrying short writes. */
bool WriteAll(int Descriptor, const void* Data, SIZE_T Size);
/** Creates the directory and its missing parents; true when it exists afterwards. */
bool MakeDirectoryTree(const std::string& NativePath);
} // namespace HostCore
