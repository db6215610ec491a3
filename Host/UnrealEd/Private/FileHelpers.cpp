// Saving packages from the editor: content packages (assets) apart from map packages (a level).
#include "FileHelpers.h"
#include "Engine/World.h"
#include "Misc/PackageName.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"

DEFINE_LOG_CATEGORY_STATIC(LogFileHelpers, Log, All);

namespace
{
bool IsMapPackage(const UPackage* Package)
{
	TArray<UObject*> Inner;
	GetObjectsWithOuter(Package, Inner, false);
	for (UObject* Object : Inner)
	{
		if (Object->IsA<UWorld>())
		{
			return true;
		}
	}
	return false;
}

void GetDirtyPackages(TArray<UPackage*>& Out, bool bMaps)
{
	TArray<UPackage*> Packages;
	HostObjects::GetLoadedPackages(Packages);
	for (UPackage* Package : Packages)
	{
		if (Package->IsDirty() && Package != GetTransientPackage() && !Package->GetName().StartsWith(TEXT("/Script/")) &&
			IsMapPackage(Package) == bMaps)
		{
			Out.Add(Package);
		}
	}
}
} // namespace

bool UEditorLoadingAndSavingUtils::SavePackages(const TArray<UPackage*>& PackagesToSave, bool bOnlyDirty)
{
	bool bAllSaved = true;
	for (UPackage* Package : PackagesToSave)
	{
		if (!IsValid(Package) || (bOnlyDirty && !Package->IsDirty()))
		{
			continue;
		}
		const FString& Extension =
			IsMapPackage(Package) ? FPackageName::GetMapPackageExtension() : FPackageName::GetAssetPackageExtension();
		FString Filename;
		if (!FPackageName::TryConvertLongPackageNameToFilename(Package->GetName(), Filename, Extension))
		{
			UE_LOG(LogFileHelpers, Warning, TEXT("Cannot save %s: it is not in a content folder"), *Package->GetName());
			bAllSaved = false;
			continue;
		}
		FSavePackageArgs Args;
		Args.TopLevelFlags = RF_Standalone;
		bAllSaved &= UPackage::SavePackage(Package, nullptr, *Filename, Args);
	}
	return bAllSaved;
}

void UEditorLoadingAndSavingUtils::GetDirtyContentPackages(TArray<UPackage*>& OutDirtyPackages)
{
	GetDirtyPackages(OutDirtyPackages, false);
}

void UEditorLoadingAndSavingUtils::GetDirtyMapPackages(TArray<UPackage*>& OutDirtyPackages)
{
	GetDirtyPackages(OutDirtyPackages, true);
}

bool UEditorLoadingAndSavingUtils::SaveDirtyPackages(const bool bSaveMapPackages, const bool bSaveContentPackages)
{
	TArray<UPackage*> Packages;
	if (bSaveMapPackages)
	{
		GetDirtyMapPackages(Packages);
	}
	if (bSaveContentPackages)
	{
		GetDirtyContentPackages(Packages);
	}
	return SavePackages(Packages, true);
}
