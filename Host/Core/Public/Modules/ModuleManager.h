// Stands in for the engine's Modules/ModuleManager.h: modules are linked into the program and register a maker under
// their name (IMPLEMENT_MODULE); loading one by name makes it once and starts it. Names compare without regard to case.
#pragma once

#include "Containers/Array.h"
#include "CoreTypes.h"
#include "Modules/ModuleInterface.h"
#include "Templates/Function.h"
#include "UObject/NameTypes.h"

class FModuleManager
{
public:
	typedef TFunction<IModuleInterface*()> FInitializeStaticallyLinkedModule;

	/** The process's one module manager. */
	static FModuleManager& Get();

	bool IsModuleLoaded(const FName InModuleName) const;
	/** Makes and starts the module on first use; nullptr when no module of that name is linked in. */
	IModuleInterface* LoadModule(const FName InModuleName);
	/** As LoadModule, but a missing module is a fatal error, as in the engine. */
	IModuleInterface& LoadModuleChecked(const FName InModuleName);
	/** The module if it is loaded already, else nullptr. */
	IModuleInterface* GetModule(const FName InModuleName);
	/** Shuts the module down and drops it; true when it was loaded. */
	bool UnloadModule(const FName InModuleName, bool bIsShutdown = false);
	/** Whether a module of that name is linked into the program. */
	bool ModuleExists(const TCHAR* ModuleName) const;
	/** Remembers how to make a module that is linked into the program; IMPLEMENT_MODULE calls it. */
	void RegisterStaticallyLinkedModule(const FName InModuleName, const FInitializeStaticallyLinkedModule& InInitializer);
	/** Shuts down every loaded module, the last loaded first. */
	void UnloadModulesAtShutdown();

	template <typename TModuleInterface>
	static TModuleInterface& LoadModuleChecked(const FName InModuleName)
	{
		return static_cast<TModuleInterface&>(Get().LoadModuleChecked(InModuleName));
	}
	template <typename TModuleInterface>
	static TModuleInterface* LoadModulePtr(const FName InModuleName)
	{
		return static_cast<TModuleInterface*>(Get().LoadModule(InModuleName));
	}
	template <typename TModuleInterface>
	static TModuleInterface& GetModuleChecked(const FName InModuleName)
	{
		IModuleInterface* Module = Get().GetModule(InModuleName);
		check(Module != nullptr);
		return static_cast<TModuleInterface&>(*Module);
	}
	template <typename TModuleInterface>
	static TModuleInterface* GetModulePtr(const FName InModuleName)
	{
		return static_cast<TModuleInterface*>(Get().GetModule(InModuleName));
	}

private:
	FModuleManager() = default;
	struct FModuleEntry
	{
		FName Name;
		FInitializeStaticallyLinkedModule Initializer;
		IModuleInterface* Module = nullptr;
		int32 LoadOrder = 0;
	};
	FModuleEntry* FindEntry(const FName InModuleName);
	const FModuleEntry* FindEntry(const FName InModuleName) const;

	TArray<FModuleEntry> Entries;
	int32 NextLoadOrder = 1;
};

/** Registers a module that is linked into the program, under its name. */
template <class ModuleClass>
class FStaticallyLinkedModuleRegistrant
{
public:
	explicit FStaticallyLinkedModuleRegistrant(const TCHAR* InModuleName)
	{
		FModuleManager::Get().RegisterStaticallyLinkedModule(
			FName(InModuleName), []() -> IModuleInterface* { return new ModuleClass(); });
	}
};

/** An empty module object for modules that need no start-up code. */
class FDefaultModuleImpl : public IModuleInterface
{
};

#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName) \
	static FStaticallyLinkedModuleRegistrant<ModuleImplClass> ModuleRegistrant##ModuleName(TEXT(#ModuleName));
#define IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
