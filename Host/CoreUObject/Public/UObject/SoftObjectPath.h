// Stands in for the engine's UObject/SoftObjectPath.h: a reference to an object by its path, resolved on demand.
#pragma once

#include "CoreMinimal.h"
#include "UObject/TopLevelAssetPath.h"

class UObject;

struct FSoftObjectPath
{
	FSoftObjectPath() = default;
	FSoftObjectPath(const FString& Path) { SetPath(Path); }
	FSoftObjectPath(const TCHAR* Path) { SetPath(FString(Path)); }
	FSoftObjectPath(const FTopLevelAssetPath& InAssetPath, const FString& InSubPathString = FString())
		: AssetPath(InAssetPath)
		, SubPathString(InSubPathString)
	{
	}
	FSoftObjectPath(const UObject* InObject);

	/** "/Game/A/walk.walk" (with ":Sub" when it names a sub-object). */
	FString ToString() const;
	FString GetAssetPathString() const { return AssetPath.ToString(); }
	const FTopLevelAssetPath& GetAssetPath() const { return AssetPath; }
	FName GetLongPackageFName() const { return AssetPath.GetPackageName(); }
	FString GetLongPackageName() const { return AssetPath.GetPackageName().ToString(); }
	FString GetAssetName() const { return AssetPath.GetAssetName().ToString(); }
	const FString& GetSubPathString() const { return SubPathString; }
	void SetPath(const FString& Path);
	bool IsValid() const { return AssetPath.IsValid(); }
	bool IsNull() const { return AssetPath.IsNull(); }
	void Reset()
	{
		AssetPath.Reset();
		SubPathString.Reset();
	}
	/** The object if it is in memory. */
	UObject* ResolveObject() const;
	/** The object, loading its package if needed. */
	UObject* TryLoad() const;
	bool operator==(const FSoftObjectPath& Other) const
	{
		return AssetPath == Other.AssetPath && SubPathString == Other.SubPathString;
	}
	bool operator!=(const FSoftObjectPath& Other) const { return !(*this == Other); }

private:
	FTopLevelAssetPath AssetPath;
	FString SubPathString;
};
