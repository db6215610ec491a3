// Stands in for the engine's Misc/PackageName.h: long package names and the files they live in. "/Game/" is the
// project's Content folder; "/Engine/", "/Script/" and "/Temp/" packages live only in memory here.
#pragma once

#include "CoreMinimal.h"

class FPackageName
{
public:
	/** "/Game/A/walk" -> "<Project>/Content/A/walk" + extension; fatal for a root that is not mounted. */
	static FString LongPackageNameToFilename(const FString& InLongPackageName, const FString& InExtension = FString());
	static bool TryConvertLongPackageNameToFilename(const FString& InLongPackageName, FString& OutFilename,
		const FString& InExtension = FString());
	static bool TryConvertFilenameToLongPackageName(const FString& InFilename, FString& OutPackageName,
		FString* OutFailureReason = nullptr);
	/** "/Game/A/walk" -> "/Game/A". */
	static FString GetLongPackagePath(const FString& InLongPackageName);
	/** "/Game/A/walk" -> "walk". */
	static FString GetShortName(const FString& LongName);
	static FString GetLongPackageAssetName(const FString& InLongPackageName) { return GetShortName(InLongPackageName); }
	/** "/Game/A/walk.walk" -> "/Game/A/walk". */
	static FString ObjectPathToPackageName(const FString& InObjectPath);
	/** "/Game/A/walk.walk" -> "walk". */
	static FString ObjectPathToObjectName(const FString& InObjectPath);
	static bool IsValidLongPackageName(const FString& InLongPackageName, bool bIncludeReadOnlyRoots = false,
		FText* OutReason = nullptr);
	/** A root with files behind it: "/Game/". */
	static bool IsValidPath(const FString& InPath);
	static bool DoesPackageExist(const FString& LongPackageName, FString* OutFilename = nullptr);
	static const FString& GetAssetPackageExtension();
	static const FString& GetMapPackageExtension();
	static bool IsMapPackageExtension(const TCHAR* Ext);
};
