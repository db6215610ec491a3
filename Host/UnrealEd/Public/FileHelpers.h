// Stands in for the engine's FileHelpers.h: saving packages from the editor without dialogs.
#pragma once

#include "Kismet/BlueprintFunctionLibrary.h"

class UPackage;

class UEditorLoadingAndSavingUtils : public UBlueprintFunctionLibrary
{
	HOST_DECLARE_CLASS(UEditorLoadingAndSavingUtils, UBlueprintFunctionLibrary, UnrealEd)
public:
	/** Saves each package to its file (only dirty ones with bOnlyDirty); false if any save failed. */
	static bool SavePackages(const TArray<UPackage*>& PackagesToSave, bool bOnlyDirty);
	/** Appends the dirty packages that hold assets (no level). */
	static void GetDirtyContentPackages(TArray<UPackage*>& OutDirtyPackages);
	/** Appends the dirty packages that hold a level. */
	static void GetDirtyMapPackages(TArray<UPackage*>& OutDirtyPackages);
	static bool SaveDirtyPackages(const bool bSaveMapPackages, const bool bSaveContentPackages);
};
