// Stand-in for the engine's HAL/FileManager.h: the file manager behind IFileManager::Get() and the read/write flags.
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Templates/Function.h"

enum EFileRead
{
	FILEREAD_None = 0x00,
	/** A failure is fatal. */
	FILEREAD_NoFail = 0x01,
	/** No warning in the log when the file cannot be read. */
	FILEREAD_Silent = 0x02,
	FILEREAD_AllowWrite = 0x04,
};

enum EFileWrite
{
	FILEWRITE_None = 0x00,
	/** A failure is fatal. */
	FILEWRITE_NoFail = 0x01,
	/** Fail instead of replacing an existing file. */
	FILEWRITE_NoReplaceExisting = 0x02,
	/** Replace a file even when it is read-only. */
	FILEWRITE_EvenIfReadOnly = 0x04,
	/** Add to the end of an existing file. */
	FILEWRITE_Append = 0x08,
	FILEWRITE_AllowRead = 0x10,
	/** No warning in the log when the file cannot be written. */
	FILEWRITE_Silent = 0x20,
};

enum ECopyResult
{
	COPY_OK = 0,
	COPY_Fail = 1,
	COPY_Canceled = 2,
};

class FArchive;
class FCopyProgress;

/** Callback of IterateDirectory: the full path of an entry and whether it is a directory; false stops the walk. */
using FDirectoryVisitorFunc = TFunction<bool(const TCHAR* FilenameOrDirectory, bool bIsDirectory)>;

class IFileManager
{
public:
	virtual ~IFileManager() = default;

	/** The process's file manager. */
	static IFileManager& Get();

	/** An archive reading the file from its start, or null when it cannot be opened. The caller deletes it. */
	virtual FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags = 0) = 0;

	/**
	 * An archive writing the file in place (emptied at once unless FILEWRITE_Append, missing directories made), or
	 * null when it cannot be opened. Write failures set the archive's error and log an Error unless FILEWRITE_Silent.
	 * The caller deletes the archive.
	 */
	virtual FArchive* CreateFileWriter(const TCHAR* Filename, uint32 WriteFlags = 0) = 0;

	/** Creates the directory (with its missing parents when Tree); true if it exists afterwards. */
	virtual bool MakeDirectory(const TCHAR* Path, bool Tree = false) = 0;
	virtual bool DirectoryExists(const TCHAR* InDirectory) = 0;
	/** Regular files only. */
	virtual bool FileExists(const TCHAR* Filename) = 0;
	/** The size in bytes, or INDEX_NONE when the file is missing or is a directory. */
	virtual int64 FileSize(const TCHAR* Filename) = 0;
	/** True when the file exists and its owner may not write it. */
	virtual bool IsReadOnly(const TCHAR* Filename) = 0;
	/** Deletes a file; true when it is gone (or was never there, unless RequireExists). Read-only needs EvenReadOnly.
	 */
	virtual bool Delete(
		const TCHAR* Filename, bool RequireExists = false, bool EvenReadOnly = false, bool Quiet = false) = 0;
	/** Deletes an empty directory, or everything under it when Tree. */
	virtual bool DeleteDirectory(const TCHAR* Path, bool RequireExists = false, bool Tree = false) = 0;
	/** Moves Src to Dest (the DESTINATION comes first), creating Dest's directory; Replace allows overwriting. */
	virtual bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace = true, bool EvenIfReadOnly = false,
		bool Attributes = false, bool bDoNotRetryOrError = false) = 0;
	/** Copies Src to Dest (the DESTINATION comes first); an ECopyResult. */
	virtual uint32 Copy(const TCHAR* Dest, const TCHAR* Src, bool Replace = true, bool EvenIfReadOnly = false,
		bool Attributes = false, FCopyProgress* Progress = nullptr, EFileRead ReadFlags = FILEREAD_None,
		EFileWrite WriteFlags = FILEWRITE_None) = 0;

	/**
	 * Adds to FileNames the names (without directory) of the entries matching Filename, a path whose last component
	 * may hold '*' and '?' wildcards (a directory, then *.fbx); FileNames is not cleared. Sorted by name.
	 */
	virtual void FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories) = 0;
	/** The files in Directory with the extension FileExtension ("fbx", ".fbx" or a wildcard; null for all). */
	virtual void FindFiles(TArray<FString>& FoundFiles, const TCHAR* Directory, const TCHAR* FileExtension = nullptr);
	/** Full paths of the entries under StartDirectory, at any depth, whose names match the wildcard Filename. */
	virtual void FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename,
		bool Files, bool Directories, bool bClearFileNames = true);
	/** Calls Visitor for each entry of Directory (not "." or ".."); false when the directory cannot be read. */
	virtual bool IterateDirectory(const TCHAR* Directory, FDirectoryVisitorFunc Visitor) = 0;
	/** As IterateDirectory, descending into each directory after visiting it. */
	virtual bool IterateDirectoryRecursively(const TCHAR* Directory, FDirectoryVisitorFunc Visitor);

	/** The full path an external program should be given to read this file. */
	virtual FString ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename) = 0;
	/** The full path an external program should be given to write this file. */
	virtual FString ConvertToAbsolutePathForExternalAppForWrite(const TCHAR* Filename) = 0;
};
