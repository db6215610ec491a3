// Stands in for the engine's AssetRegistry/AssetData.h: what the asset registry knows of one asset without loading it.
#pragma once

#include "CoreMinimal.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/TopLevelAssetPath.h"

class UClass;
class UObject;

enum class EResolveClass : uint8
{
	No,
	Yes
};

struct FAssetData
{
	/** "/Game/A/fox/walk". */
	FName PackageName;
	/** "/Game/A/fox". */
	FName PackagePath;
	/** "walk". */
	FName AssetName;
	/** "/Script/Engine.AnimSequence". */
	FTopLevelAssetPath AssetClassPath;

	FAssetData() = default;
	/** From an object in memory. */
	FAssetData(const UObject* InAsset);
	FAssetData(FName InPackageName, FName InPackagePath, FName InAssetName, FTopLevelAssetPath InAssetClassPath);

	bool IsValid() const { return !PackageName.IsNone() && !AssetName.IsNone(); }
	/** The class if it is loaded (native classes always are); the asset itself is not loaded. */
	UClass* GetClass(EResolveClass ResolveClass = EResolveClass::No) const;
	/** Finds the asset in memory or loads its package; nullptr when it is missing. The stand-in's loader has no
	 *  load tags and ignores them. */
	UObject* GetAsset(TSet<FName> LoadTags = {}) const;
	bool IsAssetLoaded() const;
	bool IsInstanceOf(const UClass* BaseClass) const;
	/** "/Game/A/fox/walk.walk". */
	FString GetObjectPathString() const;
	FSoftObjectPath GetSoftObjectPath() const;
	/** "AnimSequence /Game/A/fox/walk.walk". */
	FString GetFullName() const;
	FString GetExportTextName() const;
	bool operator==(const FAssetData& Other) const
	{
		return PackageName == Other.PackageName && AssetName == Other.AssetName;
	}
	bool operator!=(const FAssetData& Other) const { return !(*this == Other); }
};
