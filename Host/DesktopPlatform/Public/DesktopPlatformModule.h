// Stands in for the engine's DesktopPlatformModule.h: the module that hands out the desktop platform. Use
// FDesktopPlatformModule::Get(); the module's own singleton getter is private.
#pragma once

#include "CoreMinimal.h"
#include "IDesktopPlatform.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"

class FDesktopPlatformModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/** The desktop platform; loads the module when needed. */
	static IDesktopPlatform* Get();
	/** The desktop platform when the module is loaded, else null. */
	static IDesktopPlatform* TryGet();

private:
	virtual IDesktopPlatform* GetSingleton() const { return DesktopPlatform; }

	IDesktopPlatform* DesktopPlatform = nullptr;
};

// Every program that sees this module's header can load it by name: the module is linked in statically, and a
// registration here (rather than in the module's source file) keeps the linker from dropping it.
namespace HostModuleRegistration
{
inline FStaticallyLinkedModuleRegistrant<FDesktopPlatformModule> DesktopPlatform(TEXT("DesktopPlatform"));
}
