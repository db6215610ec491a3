// Stands in for the engine's WorkspaceMenuStructureModule.h: the module that owns the Window/Tools menu structure.
// There is no IWorkspaceMenuStructureModule: load this class by name, or use WorkspaceMenu::GetMenuStructure().
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"
#include "WorkspaceMenuStructure.h"

class FWorkspaceMenuStructureModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/** The menu structure; valid while the module is loaded. */
	virtual const IWorkspaceMenuStructure& GetWorkspaceMenuStructure() const;
	/** Empties the level editor's group, as the level editor does when it rebuilds its tabs. */
	void ResetLevelEditorCategory();
	void ResetToolsCategory();

private:
	TSharedPtr<IWorkspaceMenuStructure> WorkspaceMenuStructure;
};

// Every program that sees this module's header can load it by name: the module is linked in statically, and a
// registration here (rather than in the module's source file) keeps the linker from dropping it.
namespace HostModuleRegistration
{
inline FStaticallyLinkedModuleRegistrant<FWorkspaceMenuStructureModule> WorkspaceMenuStructure(TEXT("WorkspaceMenuStructure"));
}

namespace WorkspaceMenu
{
inline FWorkspaceMenuStructureModule& GetModule()
{
	return FModuleManager::LoadModuleChecked<FWorkspaceMenuStructureModule>("WorkspaceMenuStructure");
}

inline const IWorkspaceMenuStructure& GetMenuStructure()
{
	return GetModule().GetWorkspaceMenuStructure();
}
} // namespace WorkspaceMenu
