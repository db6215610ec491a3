// Stands in for the engine's AssetToolsModule.h: the module that hands out the asset tools.
#pragma once

#include "IAssetTools.h"
#include "Modules/ModuleManager.h"

class FAssetToolsModule : public IModuleInterface
{
public:
	virtual IAssetTools& Get() const;
	/** Loads the module if needed. */
	static FAssetToolsModule& GetModule() { return FModuleManager::LoadModuleChecked<FAssetToolsModule>(TEXT("AssetTools")); }
};

/** Makes the module known under its name in every program that includes this header. */
inline FStaticallyLinkedModuleRegistrant<FAssetToolsModule> GHostAssetToolsModuleRegistrant(TEXT("AssetTools"));
