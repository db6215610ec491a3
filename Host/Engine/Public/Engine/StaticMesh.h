// Stands in for the engine's Engine/StaticMesh.h: a mesh without bones. The stand-in keeps only what the editor reads
// of it here, the record of the file it was imported from.
#pragma once

#include "EditorFramework/AssetImportData.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"

class UStaticMesh : public UObject
{
	HOST_DECLARE_CLASS(UStaticMesh, UObject, Engine)
public:
	UAssetImportData* GetAssetImportData() const { return AssetImportData.Get(); }
	void SetAssetImportData(UAssetImportData* InData) { AssetImportData = InData; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

	/** The file this mesh was imported from (public in the engine too). */
	TObjectPtr<UAssetImportData> AssetImportData;
};
