// Stands in for the engine's UObject/TopLevelAssetPath.h: a package name and an object name, "/Script/Engine.AnimSequence".
#pragma once

#include "CoreMinimal.h"

class UObject;

class FTopLevelAssetPath
{
public:
	FTopLevelAssetPath() = default;
	FTopLevelAssetPath(FName InPackageName, FName InAssetName)
		: PackageName(InPackageName)
		, AssetName(InAssetName)
	{
	}
	/** From "/Package/Path.Object"; anything else gives an empty path. */
	explicit FTopLevelAssetPath(const FString& Path) { TrySetPath(Path); }
	explicit FTopLevelAssetPath(const TCHAR* Path) { TrySetPath(FString(Path)); }
	explicit FTopLevelAssetPath(const UObject* InObject);

	bool TrySetPath(const FString& Path);
	FName GetPackageName() const { return PackageName; }
	FName GetAssetName() const { return AssetName; }
	bool IsValid() const { return !PackageName.IsNone(); }
	bool IsNull() const { return PackageName.IsNone(); }
	void Reset()
	{
		PackageName = FName();
		AssetName = FName();
	}
	FString ToString() const;
	bool operator==(const FTopLevelAssetPath& Other) const
	{
		return PackageName == Other.PackageName && AssetName == Other.AssetName;
	}
	bool operator!=(const FTopLevelAssetPath& Other) const { return !(*this == Other); }
	friend uint32 GetTypeHash(const FTopLevelAssetPath& P)
	{
		return HashCombine(GetTypeHash(P.PackageName), GetTypeHash(P.AssetName));
	}

private:
	FName PackageName;
	FName AssetName;
};
