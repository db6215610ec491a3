// Path text handling with the engine's rules, and the project's directories derived from HostEngine's project.
#include "Misc/Paths.h"

#include "HAL/PlatformProcess.h"
#include "HostCorePrivate.h"
#include "HostEngine.h"
#include "Misc/Guid.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{
bool IsSlashOrBackslash(TCHAR C)
{
	return C == '/' || C == '\\';
}

int32 LastSeparator(const FString& InPath)
{
	return InPath.FindLastCharByPredicate(IsSlashOrBackslash);
}

/** The '.' that starts the extension of the last component, or INDEX_NONE. */
int32 ExtensionDot(const FString& InPath)
{
	int32 Dot = INDEX_NONE;
	if (!InPath.FindLastChar('.', Dot))
	{
		return INDEX_NONE;
	}
	const int32 Separator = LastSeparator(InPath);
	return Separator != INDEX_NONE && Separator > Dot ? INDEX_NONE : Dot;
}

bool StatIs(const FString& InPath, mode_t Type)
{
	struct stat Info;
	const std::string Native = HostCore::ToNative(InPath);
	return !Native.empty() && stat(Native.c_str(), &Info) == 0 && (Info.st_mode & S_IFMT) == Type;
}

const FString& StartupWorkingDir()
{
	static const FString Dir = HostCore::GetWorkingDir();
	return Dir;
}
// Taken when the program starts, before anything can change the working directory.
const FString& GLaunchDirAtStartup = StartupWorkingDir();
} // namespace

FString FPaths::ProjectDir()
{
	return HostCore::GetProjectDir();
}

FString FPaths::ProjectSavedDir()
{
	return ProjectDir() + TEXT("Saved/");
}

FString FPaths::ProjectContentDir()
{
	return ProjectDir() + TEXT("Content/");
}

FString FPaths::ProjectConfigDir()
{
	return ProjectDir() + TEXT("Config/");
}

FString FPaths::ProjectIntermediateDir()
{
	return ProjectDir() + TEXT("Intermediate/");
}

FString FPaths::ProjectPluginsDir()
{
	return ProjectDir() + TEXT("Plugins/");
}

FString FPaths::ProjectLogDir()
{
	return ProjectSavedDir() + TEXT("Logs/");
}

FString FPaths::ProjectUserDir()
{
	return ProjectDir();
}

FString FPaths::GetProjectFilePath()
{
	return HostEngine::GetProjectFile();
}

FString FPaths::EngineDir()
{
	return FString(FPlatformProcess::BaseDir()) + TEXT("Engine/");
}

FString FPaths::LaunchDir()
{
	return StartupWorkingDir();
}

bool FPaths::FileExists(const FString& InPath)
{
	return StatIs(InPath, S_IFREG);
}

bool FPaths::DirectoryExists(const FString& InPath)
{
	return StatIs(InPath, S_IFDIR);
}

FString FPaths::GetCleanFilename(const FString& InPath)
{
	return InPath.RightChop(LastSeparator(InPath) + 1);
}

FString FPaths::GetBaseFilename(const FString& InPath, bool bRemovePath)
{
	FString Result = bRemovePath ? GetCleanFilename(InPath) : InPath;
	const int32 Dot = ExtensionDot(Result);
	if (Dot != INDEX_NONE)
	{
		Result.LeftInline(Dot);
	}
	return Result;
}

FString FPaths::GetPath(const FString& InPath)
{
	const int32 Separator = LastSeparator(InPath);
	return Separator == INDEX_NONE ? FString() : InPath.Left(Separator);
}

FString FPaths::GetExtension(const FString& InPath, bool bIncludeDot)
{
	const FString Filename = GetCleanFilename(InPath);
	int32 Dot = INDEX_NONE;
	if (Filename.FindLastChar('.', Dot))
	{
		return Filename.Mid(Dot + (bIncludeDot ? 0 : 1));
	}
	return FString();
}

FString FPaths::GetPathLeaf(const FString& InPath)
{
	int32 End = InPath.Len();
	while (End > 0 && IsSlashOrBackslash(InPath[End - 1]))
	{
		--End;
	}
	return GetCleanFilename(InPath.Left(End));
}

FString FPaths::ChangeExtension(const FString& InPath, const FString& InNewExtension)
{
	const int32 Dot = ExtensionDot(InPath);
	if (Dot == INDEX_NONE)
	{
		return InPath;
	}
	FString Result = InPath.Left(Dot);
	if (!InNewExtension.IsEmpty() && InNewExtension[0] != '.')
	{
		Result.AppendChar('.');
	}
	return Result + InNewExtension;
}

FString FPaths::SetExtension(const FString& InPath, const FString& InNewExtension)
{
	const int32 Dot = ExtensionDot(InPath);
	FString Result = Dot == INDEX_NONE ? InPath : InPath.Left(Dot);
	if (!InNewExtension.IsEmpty() && InNewExtension[0] != '.')
	{
		Result.AppendChar('.');
	}
	return Result + InNewExtension;
}

void FPaths::Split(const FString& InPath, FString& PathPart, FString& FilenamePart, FString& ExtensionPart)
{
	PathPart = GetPath(InPath);
	FilenamePart = GetBaseFilename(InPath);
	ExtensionPart = GetExtension(InPath);
}

void FPaths::NormalizeFilename(FString& InPath)
{
	InPath.ReplaceCharInline('\\', '/', ESearchCase::CaseSensitive);
}

void FPaths::NormalizeDirectoryName(FString& InPath)
{
	NormalizeFilename(InPath);
	if (InPath.EndsWith(TEXT("/"), ESearchCase::CaseSensitive) &&
		!InPath.EndsWith(TEXT("//"), ESearchCase::CaseSensitive) &&
		!InPath.EndsWith(TEXT(":/"), ESearchCase::CaseSensitive))
	{
		InPath.LeftChopInline(1);
	}
}

bool FPaths::CollapseRelativeDirectories(FString& InPath)
{
	// Walks the components after any drive and leading separators, keeping each separator as it was written.
	const std::u16string& Text = InPath.HostStorage();
	std::u16string Prefix;
	SIZE_T Pos = 0;
	if (Text.size() >= 2 && Text[1] == u':' && FChar::IsAlpha(Text[0]))
	{
		Pos = 2;
	}
	while (Pos < Text.size() && IsSlashOrBackslash(Text[Pos]))
	{
		++Pos;
	}
	Prefix = Text.substr(0, Pos);

	struct FComponent
	{
		std::u16string Name;
		std::u16string Separator;
	};
	std::vector<FComponent> Kept;
	while (Pos < Text.size())
	{
		SIZE_T End = Pos;
		while (End < Text.size() && !IsSlashOrBackslash(Text[End]))
		{
			++End;
		}
		SIZE_T After = End;
		while (After < Text.size() && IsSlashOrBackslash(Text[After]))
		{
			++After;
		}
		FComponent Component{Text.substr(Pos, End - Pos), Text.substr(End, After - End)};
		if (Component.Name == u"..")
		{
			if (Kept.empty())
			{
				return false;
			}
			Kept.pop_back();
			if (Component.Separator.empty() && !Kept.empty())
			{
				// "a/b/.." is "a", as the engine has it.
				Kept.back().Separator.clear();
			}
		}
		else if (Component.Name != u".")
		{
			Kept.push_back(MoveTemp(Component));
		}
		Pos = After;
	}

	std::u16string Result = Prefix;
	for (const FComponent& Component : Kept)
	{
		Result += Component.Name;
		Result += Component.Separator;
	}
	InPath.HostStorage() = MoveTemp(Result);
	return true;
}

void FPaths::RemoveDuplicateSlashes(FString& InPath)
{
	std::u16string& Text = InPath.HostStorage();
	std::u16string Result;
	Result.reserve(Text.size());
	for (char16_t Character : Text)
	{
		if (Character == u'/' && !Result.empty() && Result.back() == u'/')
		{
			continue;
		}
		Result.push_back(Character);
	}
	Text = MoveTemp(Result);
}

bool FPaths::IsRelative(const FString& InPath)
{
	const bool bRooted = InPath.StartsWith(TEXT("/"), ESearchCase::CaseSensitive) ||
						 InPath.StartsWith(TEXT("\\"), ESearchCase::CaseSensitive) ||
						 (InPath.Len() >= 2 && FChar::IsAlpha(InPath[0]) && InPath[1] == ':');
	return !bRooted;
}

FString FPaths::ConvertRelativePathToFull(const FString& InPath)
{
	return ConvertRelativePathToFull(FString(FPlatformProcess::BaseDir()), InPath);
}

FString FPaths::ConvertRelativePathToFull(const FString& BasePath, const FString& InPath)
{
	FString Full = IsRelative(InPath) ? BasePath / InPath : InPath;
	NormalizeFilename(Full);
	CollapseRelativeDirectories(Full);
	if (Full.IsEmpty())
	{
		Full = TEXT("/");
	}
	return Full;
}

bool FPaths::MakePathRelativeTo(FString& InPath, const TCHAR* InRelativeTo)
{
	FString Target = ConvertRelativePathToFull(InPath);
	FString Source = ConvertRelativePathToFull(FString(InRelativeTo));
	// The directory to start from: InRelativeTo itself when it ends in '/', else its parent.
	Source = GetPath(Source);
	TArray<FString> TargetParts;
	TArray<FString> SourceParts;
	Target.ParseIntoArray(TargetParts, TEXT("/"), true);
	Source.ParseIntoArray(SourceParts, TEXT("/"), true);
	const bool bTargetIsDirectory = Target.EndsWith(TEXT("/"), ESearchCase::CaseSensitive);
	if (TargetParts.Num() > 0 && SourceParts.Num() > 0 && TargetParts[0].Contains(TEXT(":")) &&
		!TargetParts[0].Equals(SourceParts[0]))
	{
		return false;
	}
	int32 Common = 0;
	while (Common < TargetParts.Num() && Common < SourceParts.Num() && TargetParts[Common].Equals(SourceParts[Common]))
	{
		++Common;
	}
	FString Result;
	for (int32 Index = Common; Index < SourceParts.Num(); ++Index)
	{
		Result += TEXT("../");
	}
	for (int32 Index = Common; Index < TargetParts.Num(); ++Index)
	{
		Result += TargetParts[Index];
		if (Index + 1 < TargetParts.Num() || bTargetIsDirectory)
		{
			Result += TEXT("/");
		}
	}
	InPath = Result;
	return true;
}

bool FPaths::IsSamePath(const FString& PathA, const FString& PathB)
{
	FString FullA = ConvertRelativePathToFull(PathA);
	FString FullB = ConvertRelativePathToFull(PathB);
	RemoveDuplicateSlashes(FullA);
	RemoveDuplicateSlashes(FullB);
	while (FullA.Len() > 1 && FullA.EndsWith(TEXT("/"), ESearchCase::CaseSensitive))
	{
		FullA.LeftChopInline(1);
	}
	while (FullB.Len() > 1 && FullB.EndsWith(TEXT("/"), ESearchCase::CaseSensitive))
	{
		FullB.LeftChopInline(1);
	}
	return FullA.Equals(FullB, ESearchCase::CaseSensitive);
}

const FString& FPaths::GetInvalidFileSystemChars()
{
	static const FString InvalidChars(TEXT("\\/:*?\"<>|"));
	return InvalidChars;
}

FString FPaths::MakeValidFileName(const FString& InString, TCHAR InReplacementChar)
{
	const FString& Invalid = GetInvalidFileSystemChars();
	FString Result;
	Result.Reserve(InString.Len());
	for (TCHAR Character : InString)
	{
		int32 Unused = INDEX_NONE;
		if (Character < 0x20 || Invalid.FindChar(Character, Unused))
		{
			if (InReplacementChar != 0)
			{
				Result.AppendChar(InReplacementChar);
			}
		}
		else
		{
			Result.AppendChar(Character);
		}
	}
	return Result;
}

FString FPaths::CreateTempFilename(const TCHAR* Path, const TCHAR* Prefix, const TCHAR* Extension)
{
	FString Candidate;
	do
	{
		Candidate = FString(Path) / (FString(Prefix) + FGuid::NewGuid().ToString() + Extension);
	} while (FileExists(Candidate) || DirectoryExists(Candidate));
	return Candidate;
}
