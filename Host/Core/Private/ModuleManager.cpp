// The module manager: a list of the modules linked into the program, each made and started on its first load.
#include "Modules/ModuleManager.h"

FModuleManager& FModuleManager::Get()
{
	// Made on first use so that registrations from other files' static initialisers always find it.
	static FModuleManager* Manager = new FModuleManager();
	return *Manager;
}

FModuleManager::FModuleEntry* FModuleManager::FindEntry(const FName InModuleName)
{
	for (FModuleEntry& Entry : Entries)
	{
		if (Entry.Name == InModuleName)
		{
			return &Entry;
		}
	}
	return nullptr;
}

const FModuleManager::FModuleEntry* FModuleManager::FindEntry(const FName InModuleName) const
{
	return const_cast<FModuleManager*>(this)->FindEntry(InModuleName);
}

void FModuleManager::RegisterStaticallyLinkedModule(
	const FName InModuleName, const FInitializeStaticallyLinkedModule& InInitializer)
{
	if (FModuleEntry* Existing = FindEntry(InModuleName))
	{
		// The same header-level registrant runs once per file that includes it; the first one counts.
		if (!Existing->Initializer)
		{
			Existing->Initializer = InInitializer;
		}
		return;
	}
	FModuleEntry Entry;
	Entry.Name = InModuleName;
	Entry.Initializer = InInitializer;
	Entries.Add(MoveTemp(Entry));
}

bool FModuleManager::IsModuleLoaded(const FName InModuleName) const
{
	const FModuleEntry* Entry = FindEntry(InModuleName);
	return Entry && Entry->Module;
}

bool FModuleManager::ModuleExists(const TCHAR* ModuleName) const
{
	return FindEntry(FName(ModuleName)) != nullptr;
}

IModuleInterface* FModuleManager::LoadModule(const FName InModuleName)
{
	FModuleEntry* Entry = FindEntry(InModuleName);
	if (!Entry || !Entry->Initializer)
	{
		return nullptr;
	}
	if (!Entry->Module)
	{
		Entry->Module = Entry->Initializer();
		Entry->LoadOrder = NextLoadOrder++;
		if (Entry->Module)
		{
			Entry->Module->StartupModule();
		}
	}
	return Entry->Module;
}

IModuleInterface& FModuleManager::LoadModuleChecked(const FName InModuleName)
{
	IModuleInterface* Module = LoadModule(InModuleName);
	check(Module != nullptr);
	return *Module;
}

IModuleInterface* FModuleManager::GetModule(const FName InModuleName)
{
	FModuleEntry* Entry = FindEntry(InModuleName);
	return Entry ? Entry->Module : nullptr;
}

bool FModuleManager::UnloadModule(const FName InModuleName, bool bIsShutdown)
{
	(void)bIsShutdown;
	FModuleEntry* Entry = FindEntry(InModuleName);
	if (!Entry || !Entry->Module)
	{
		return false;
	}
	IModuleInterface* Module = Entry->Module;
	Entry->Module = nullptr;
	Module->ShutdownModule();
	delete Module;
	return true;
}

void FModuleManager::UnloadModulesAtShutdown()
{
	for (;;)
	{
		FModuleEntry* Latest = nullptr;
		for (FModuleEntry& Entry : Entries)
		{
			if (Entry.Module && (!Latest || Entry.LoadOrder > Latest->LoadOrder))
			{
				Latest = &Entry;
			}
		}
		if (!Latest)
		{
			return;
		}
		UnloadModule(Latest->Name, true);
	}
}
