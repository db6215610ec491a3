// Stands in for the engine's AssetRegistry/AssetRegistryModule.h: the module that hands out the asset registry.
#pragma once

#include "AssetRegistry/IAssetRegistry.h"
#include "Modules/ModuleManager.h"

class FAssetRegistryModule : public IModuleInterface
{
public:
	virtual IAssetRegistry& Get() const { return IAssetRegistry::GetChecked(); }
	static IAssetRegistry& GetRegistry() { return IAssetRegistry::GetChecked(); }
};

/** Makes the module known under its name in every program that includes this header. */
inline FStaticallyLinkedModuleRegistrant<FAssetRegistryModule> GHostAssetRegistryModuleRegistrant(TEXT("AssetRegistry"));
