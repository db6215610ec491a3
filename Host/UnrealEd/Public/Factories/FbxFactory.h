// Stands in for the engine's Factories/FbxFactory.h: imports FBX files as skeletal meshes (with skeleton, physics
// asset and clips) or as clips bound to an existing skeleton. The stand-in reads files with assimp.
#pragma once

#include "Factories/Factory.h"
#include "Factories/FbxImportUI.h"

class UFbxFactory : public UFactory
{
	HOST_DECLARE_CLASS(UFbxFactory, UFactory, UnrealEd)
public:
	/** Makes its own ImportUI, as the engine's PostInitProperties does; assigning ImportUI replaces it. */
	virtual void PostInitProperties() override;
	TObjectPtr<class UFbxImportUI> ImportUI;
	TObjectPtr<class UFbxImportUI> OriginalImportUI;
	/** Whether an automated import detects the asset type from the file. */
	void SetDetectImportTypeOnImport(bool bDetectState) { bDetectImportTypeOnImport = bDetectState; }
	virtual bool FactoryCanImport(const FString& Filename) override;
	virtual UObject* FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags,
		const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled) override;

private:
	bool bDetectImportTypeOnImport = true;
};
