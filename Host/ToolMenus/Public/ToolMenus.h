// Stands in for the engine's ToolMenus.h: the editor's registry of menus and their extensions.
//
// As in the engine: a start-up callback runs at once when the menu UI is up, and otherwise waits for the end of the
// engine's start-up (never, in commandlets); PushOwner/PopOwner are private (use FToolMenuOwnerScoped); a new
// section and each entry take the current owner; UnregisterOwner removes the owner's entries from every menu and
// then the owner's sections that are left empty. ExtendMenu never fails: it makes the menu when it is unknown.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Commands/UIAction.h"
#include "Framework/MultiBox/MultiBoxDefs.h"
#include "Textures/SlateIcon.h"
#include "ToolMenu.h"
#include "ToolMenuDelegates.h"
#include "ToolMenuEntry.h"
#include "ToolMenuMisc.h"
#include "ToolMenuOwner.h"
#include "ToolMenuSection.h"

class UToolMenus
{
public:
	/** The menus, made on first use. */
	static UToolMenus* Get();
	/** The menus, or null before they exist. */
	static UToolMenus* TryGet();
	/** Whether menus are shown: false in commandlets and without a UI application. */
	static bool IsToolMenuUIEnabled();

	/** Runs the callback now when menus are up; otherwise when the engine has finished starting. */
	static FDelegateHandle RegisterStartupCallback(const FSimpleMulticastDelegate::FDelegate& InDelegate);
	static void UnRegisterStartupCallback(FDelegateHandle InHandle);
	/** Removes the waiting callbacks bound to that object (not lambdas). */
	static void UnRegisterStartupCallback(const void* UserPointer);
	/** Removes everything the owner added, from every menu; safe when the menus do not exist. */
	static void UnregisterOwner(FToolMenuOwner Owner);

	UToolMenu* RegisterMenu(FName Name, const FName Parent = NAME_None, EMultiBoxType Type = EMultiBoxType::Menu,
		bool bWarnIfAlreadyRegistered = true);
	/** The menu of that name, made (unregistered) when unknown, so extensions can come before the menu. */
	UToolMenu* ExtendMenu(const FName Name);
	/** The menu of that name, or null. */
	UToolMenu* FindMenu(const FName Name);
	bool IsMenuRegistered(const FName Name) const;
	void RemoveMenu(const FName MenuName);
	void RemoveSection(const FName MenuName, const FName Section);
	void RemoveEntry(const FName MenuName, const FName Section, const FName Name);
	void UnregisterOwnerByName(FName InOwnerName);
	/** The owner new sections and entries get: the innermost FToolMenuOwnerScoped, or none. */
	FToolMenuOwner CurrentOwner() const;
	void RefreshAllWidgets() {}
	/** Rebuilds the widgets made from that menu; the headless menus have none to rebuild. */
	bool RefreshMenuWidget(const FName /*Name*/) { return false; }
	static FName JoinMenuPaths(const FName Base, const FName Child);

private:
	UToolMenus() = default;
	void PushOwner(const FToolMenuOwner InOwner);
	void PopOwner(const FToolMenuOwner InOwner);
	void UnregisterOwnerInternal(FToolMenuOwner Owner);

	friend struct FToolMenuOwnerScoped;
	// The engine's menu builder; the stand-in's menu display (HostToolMenus.h) goes by that name.
	friend class FPopulateMenuBuilderWithToolMenuEntry;

	TArray<TPair<FName, TSharedRef<UToolMenu>>> Menus;
	TArray<FToolMenuOwner> OwnerStack;
};

/** Makes an owner current for a scope: everything added inside belongs to it. */
struct FToolMenuOwnerScoped
{
	FToolMenuOwnerScoped(const FToolMenuOwner InOwner)
		: Owner(InOwner)
	{
		UToolMenus::Get()->PushOwner(InOwner);
	}
	~FToolMenuOwnerScoped() { UToolMenus::Get()->PopOwner(Owner); }
	FToolMenuOwnerScoped(const FToolMenuOwnerScoped&) = delete;
	FToolMenuOwnerScoped& operator=(const FToolMenuOwnerScoped&) = delete;

	FToolMenuOwner GetOwner() const { return Owner; }

private:
	FToolMenuOwner Owner;
};
