// Long package names and their files: "/Game/" is the only root with files behind it.
#include "Misc/PackageName.h"
#include "UObject/HostObjects.h"
#include <filesystem>

namespace
{
const TCHAR* const GameRoot = TEXT("/Game/");

bool IsMemoryOnlyRoot(const FString& Name)
{
	return Name.StartsWith(TEXT("/Engine/")) || Name.StartsWith(TEXT("/Script/")) || Name.StartsWith(TEXT("/Temp/"));
}
} // namespace

const FString& FPackageName::GetAssetPackageExtension()
{
	static const FString Extension(TEXT(".uasset"));
	return Extension;
}

const FString& FPackageName::GetMapPackageExtension()
{
	static const FString Extension(TEXT(".umap"));
	return Extension;
}

bool FPackageName::IsMapPackageExtension(const TCHAR* Ext)
{
	return Ext && FString(Ext) == GetMapPackageExtension();
}

bool FPackageName::TryConvertLongPackageNameToFilename(
	const FString& InLongPackageName, FString& OutFilename, const FString& InExtension)
{
	if (!InLongPackageName.StartsWith(GameRoot, ESearchCase::CaseSensitive))
	{
		return false;
	}
	OutFilename = HostObjects::GetContentDir() + InLongPackageName.RightChop(FCString::Strlen(GameRoot)) + InExtension;
	return true;
}

FString FPackageName::LongPackageNameToFilename(const FString& InLongPackageName, const FString& InExtension)
{
	FString Result;
	const bool bConverted = TryConvertLongPackageNameToFilename(InLongPackageName, Result, InExtension);
	check(bConverted);
	return Result;
}

bool FPackageName::TryConvertFilenameToLongPackageName(
	const FString& InFilename, FString& OutPackageName, FString* OutFailureReason)
{
	const std::filesystem::path Full = std::filesystem::absolute(std::filesystem::path(FTCHARToUTF8(*InFilename).Get()));
	const std::string FullText = Full.lexically_normal().generic_string();
	const FString Normal((int32)FullText.size(), (const UTF8CHAR*)FullText.data());
	const FString ContentDir = HostObjects::GetContentDir();
	if (!Normal.StartsWith(ContentDir, ESearchCase::CaseSensitive))
	{
		if (OutFailureReason)
		{
			*OutFailureReason = FString::Printf(TEXT("%s is not in the project's Content folder"), *InFilename);
		}
		return false;
	}
	FString Relative = Normal.RightChop(ContentDir.Len());
	int32 Dot = INDEX_NONE;
	int32 Slash = INDEX_NONE;
	Relative.FindLastChar('.', Dot);
	Relative.FindLastChar('/', Slash);
	if (Dot != INDEX_NONE && Dot > Slash)
	{
		Relative.LeftInline(Dot);
	}
	OutPackageName = FString(GameRoot) + Relative;
	return true;
}

FString FPackageName::GetLongPackagePath(const FString& InLongPackageName)
{
	int32 Slash = INDEX_NONE;
	if (InLongPackageName.FindLastChar('/', Slash))
	{
		return InLongPackageName.Left(Slash);
	}
	return InLongPackageName;
}

FString FPackageName::GetShortName(const FString& LongName)
{
	int32 Slash = INDEX_NONE;
	if (LongName.FindLastChar('/', Slash))
	{
		return LongName.RightChop(Slash + 1);
	}
	return LongName;
}

FString FPackageName::ObjectPathToPackageName(const FString& InObjectPath)
{
	int32 Dot = INDEX_NONE;
	if (InObjectPath.FindChar('.', Dot))
	{
		return InObjectPath.Left(Dot);
	}
	return InObjectPath;
}

FString FPackageName::ObjectPathToObjectName(const FString& InObjectPath)
{
	int32 Dot = INDEX_NONE;
	if (InObjectPath.FindChar('.', Dot))
	{
		return InObjectPath.RightChop(Dot + 1);
	}
	return InObjectPath;
}

bool FPackageName::IsValidLongPackageName(const FString& InLongPackageName, bool bIncludeReadOnlyRoots, FText* OutReason)
{
	const bool bRootOk = InLongPackageName.StartsWith(GameRoot, ESearchCase::CaseSensitive) ||
		(bIncludeReadOnlyRoots && IsMemoryOnlyRoot(InLongPackageName));
	const bool bShapeOk = !InLongPackageName.EndsWith(TEXT("/")) && !InLongPackageName.Contains(TEXT("//")) &&
		!InLongPackageName.Contains(TEXT(".")) && !InLongPackageName.Contains(TEXT(":"));
	if ((!bRootOk || !bShapeOk) && OutReason)
	{
		*OutReason = FText::FromString(FString::Printf(TEXT("%s is not a valid long package name"), *InLongPackageName));
	}
	return bRootOk && bShapeOk;
}

bool FPackageName::IsValidPath(const FString& InPath)
{
	return InPath.StartsWith(GameRoot, ESearchCase::CaseSensitive) || InPath.Equals(TEXT("/Game"));
}

bool FPackageName::DoesPackageExist(const FString& LongPackageName, FString* OutFilename)
{
	FString Filename;
	if (!TryConvertLongPackageNameToFilename(LongPackageName, Filename, GetAssetPackageExtension()))
	{
		return false;
	}
	std::error_code Error;
	const bool bExists = std::filesystem::is_regular_file(std::filesystem::path(FTCHARToUTF8(*Filename).Get()), Error);
	if (bExists && OutFilename)
	{
		*OutFilename = Filename;
	}
	return bExists;
}
