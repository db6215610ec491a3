// Stands in for the engine's ContentBrowserModule.h: the module that hands out the Content Browser.
#pragma once

#include "CoreMinimal.h"
#include "IContentBrowserSingleton.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"

class FContentBrowserModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/** The Content Browser (non-static: reach it through the loaded module). */
	virtual IContentBrowserSingleton& Get() const;

private:
	IContentBrowserSingleton* ContentBrowserSingleton = nullptr;
};

// Every program that sees this module's header can load it by name: the module is linked in statically, and a
// registration here (rather than in the module's source file) keeps the linker from dropping it.
namespace HostModuleRegistration
{
inline FStaticallyLinkedModuleRegistrant<FContentBrowserModule> ContentBrowser(TEXT("ContentBrowser"));
}
