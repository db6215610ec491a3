// Stands in for the engine's Factories/Factory.h: makes assets, here from files on disk.
#pragma once

#include "UObject/Object.h"

class FFeedbackContext;
class UAssetImportTask;

class UFactory : public UObject
{
	HOST_DECLARE_CLASS(UFactory, UObject, UnrealEd)
public:
	/** The class of asset this factory makes. */
	TObjectPtr<UClass> SupportedClass;
	/** "fbx;FBX meshes and animations" style entries. */
	TArray<FString> Formats;
	uint32 bCreateNew : 1 = 0;
	uint32 bEditorImport : 1 = 0;
	uint32 bText : 1 = 0;
	int32 ImportPriority = 100;
	/** The task being run by IAssetTools::ImportAssetTasks, while it runs. */
	TObjectPtr<UAssetImportTask> AssetImportTask;

	/** Whether the file's extension is one of Formats. */
	virtual bool FactoryCanImport(const FString& Filename);
	virtual UObject* FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags,
		const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled);
	virtual UClass* ResolveSupportedClass() { return SupportedClass.Get(); }
	/** Objects made by the last import besides the one returned. */
	const TArray<UObject*>& GetAdditionalImportedObjects() const { return AdditionalImportedObjects; }
	/** Empties the additional objects. */
	virtual void CleanUp() { AdditionalImportedObjects.Empty(); }
	bool IsAutomatedImport() const;

protected:
	TArray<UObject*> AdditionalImportedObjects;
};
