// Stands in for the engine's Modules/ModuleInterface.h: what every module object offers the module manager.
#pragma once

#include "CoreTypes.h"

class IModuleInterface
{
public:
	virtual ~IModuleInterface() {}
	/** Called right after the module object is made, when the module is loaded. */
	virtual void StartupModule() {}
	/** Called before the module is unloaded. */
	virtual void ShutdownModule() {}
	virtual void PreUnloadCallback() {}
	virtual void PostLoadCallback() {}
	virtual bool SupportsDynamicReloading() { return true; }
	virtual bool SupportsAutomaticShutdown() { return true; }
	virtual bool IsGameModule() const { return false; }
};
