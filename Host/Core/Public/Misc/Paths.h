// Stand-in for the engine's Misc/Paths.h: path text handling and the project's directories. Both '/' and '\' separate
// path components; results use '/'.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include <utility>

class FPaths
{
public:
	/** The project's directory, absolute and ending in '/' (see HostEngine::SetProjectFile). */
	static FString ProjectDir();
	/** ProjectDir()/Saved/ */
	static FString ProjectSavedDir();
	/** ProjectDir()/Content/ */
	static FString ProjectContentDir();
	/** ProjectDir()/Config/ */
	static FString ProjectConfigDir();
	/** ProjectDir()/Intermediate/ */
	static FString ProjectIntermediateDir();
	/** ProjectDir()/Plugins/ */
	static FString ProjectPluginsDir();
	/** ProjectSavedDir()/Logs/ */
	static FString ProjectLogDir();
	/** Where per-user files of the project go: the project directory, as in the engine without an override. */
	static FString ProjectUserDir();
	/** The project descriptor (.uproject), or "" when the project was opened by directory. */
	static FString GetProjectFilePath();
	/** The engine's directory: "Engine/" beside the running executable (nothing is read from it). */
	static FString EngineDir();
	/** The working directory the process started in, ending in '/'. */
	static FString LaunchDir();

	/** True when InPath names an existing regular file (directories do not count). */
	static bool FileExists(const FString& InPath);
	static bool DirectoryExists(const FString& InPath);

	/** The part after the last '/' or '\' ("" when the path ends in one). */
	static FString GetCleanFilename(const FString& InPath);
	/** The clean file name (or the whole path when !bRemovePath) without its extension. */
	static FString GetBaseFilename(const FString& InPath, bool bRemovePath = true);
	/** The part before the last separator, without it; "" when there is none. */
	static FString GetPath(const FString& InPath);
	/** The text after the last '.' of the clean file name; "" when there is none. */
	static FString GetExtension(const FString& InPath, bool bIncludeDot = false);
	/** The last component, ignoring trailing separators ("a/b/" gives "b"). */
	static FString GetPathLeaf(const FString& InPath);
	/** Replaces an existing extension; a path without one comes back unchanged. */
	static FString ChangeExtension(const FString& InPath, const FString& InNewExtension);
	/** Replaces the extension, or adds it when there is none. */
	static FString SetExtension(const FString& InPath, const FString& InNewExtension);
	/** Splits into path, base file name and extension. */
	static void Split(const FString& InPath, FString& PathPart, FString& FilenamePart, FString& ExtensionPart);

	/** Joins the pieces with one '/' between each two (as FString's operator/). */
	template <typename... PathTypes> static FString Combine(PathTypes&&... InPaths)
	{
		FString Result;
		bool bFirst = true;
		(CombineOne(Result, bFirst, FString(std::forward<PathTypes>(InPaths))), ...);
		return Result;
	}

	/** Turns every '\' into '/'. */
	static void NormalizeFilename(FString& InPath);
	/** Turns every '\' into '/' and drops one trailing '/' (not that of "//" or "C:/"). */
	static void NormalizeDirectoryName(FString& InPath);
	/** Removes "." components and ".." with the component before it; false when ".." would climb above the start. */
	static bool CollapseRelativeDirectories(FString& InPath);
	/** Replaces runs of '/' with one. */
	static void RemoveDuplicateSlashes(FString& InPath);
	/** True unless the path starts with '/', '\' or a drive ("C:"). */
	static bool IsRelative(const FString& InPath);
	/** An absolute, normalised path: a relative one is taken from FPlatformProcess::BaseDir(). */
	static FString ConvertRelativePathToFull(const FString& InPath);
	/** An absolute, normalised path: a relative one is taken from BasePath. */
	static FString ConvertRelativePathToFull(const FString& BasePath, const FString& InPath);
	/** Makes InPath relative to the directory InRelativeTo (a path ending in '/' is a directory); false if impossible.
	 */
	static bool MakePathRelativeTo(FString& InPath, const TCHAR* InRelativeTo);
	/** Same file or directory once both are made full and normalised (case counts on this platform). */
	static bool IsSamePath(const FString& PathA, const FString& PathB);
	/** Characters that no file system accepts in a name: \ / : * ? " < > | and control characters. */
	static const FString& GetInvalidFileSystemChars();
	/** Replaces (or, with no replacement, drops) the characters of GetInvalidFileSystemChars. */
	static FString MakeValidFileName(const FString& InString, TCHAR InReplacementChar = 0);
	/** A file name in Path that does not exist yet: Prefix, a new GUID, Extension. */
	static FString CreateTempFilename(
		const TCHAR* Path, const TCHAR* Prefix = TEXT(""), const TCHAR* Extension = TEXT(".tmp"));

private:
	static void CombineOne(FString& Result, bool& bFirst, const FString& Piece)
	{
		Result = bFirst ? Piece : Result / Piece;
		bFirst = false;
	}
};
