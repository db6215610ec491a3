// The menus registry: menus by name, sections and entries with owners, start-up callbacks.
#include "ToolMenus.h"
#include "Framework/Application/SlateApplication.h"
#include "HostToolMenus.h"
#include "ToolMenusPrivate.h"

namespace
{
/** What exists outside the menus object: the waiting callbacks and the editor's start-up state. */
struct FMenusGlobals
{
	FSimpleMulticastDelegate StartupCallbacks;
	bool bUIEnabled = true;
	bool bEngineStarted = true;
	UToolMenus* Menus = nullptr;
};

FMenusGlobals& Globals()
{
	// Never destroyed: modules unregister from their ShutdownModule, which may run during static destruction.
	static FMenusGlobals* Instance = new FMenusGlobals();
	return *Instance;
}
} // namespace

UToolMenus* UToolMenus::Get()
{
	FMenusGlobals& State = Globals();
	if (!State.Menus)
	{
		State.Menus = FPopulateMenuBuilderWithToolMenuEntry::MakeMenus();
	}
	return State.Menus;
}

UToolMenus* UToolMenus::TryGet()
{
	return Get();
}

bool UToolMenus::IsToolMenuUIEnabled()
{
	return FSlateApplication::IsInitialized() && Globals().bUIEnabled;
}

FDelegateHandle UToolMenus::RegisterStartupCallback(const FSimpleMulticastDelegate::FDelegate& InDelegate)
{
	FMenusGlobals& State = Globals();
	if (State.bEngineStarted && IsToolMenuUIEnabled() && TryGet())
	{
		InDelegate.ExecuteIfBound();
		return FDelegateHandle();
	}
	return State.StartupCallbacks.Add(InDelegate);
}

void UToolMenus::UnRegisterStartupCallback(FDelegateHandle InHandle)
{
	Globals().StartupCallbacks.Remove(InHandle);
}

void UToolMenus::UnRegisterStartupCallback(const void* UserPointer)
{
	Globals().StartupCallbacks.RemoveAll(UserPointer);
}

void UToolMenus::UnregisterOwner(FToolMenuOwner Owner)
{
	if (UToolMenus* Menus = Globals().Menus)
	{
		Menus->UnregisterOwnerInternal(Owner);
	}
}

void UToolMenus::UnregisterOwnerByName(FName InOwnerName)
{
	UnregisterOwnerInternal(FToolMenuOwner(InOwnerName));
}

void UToolMenus::UnregisterOwnerInternal(FToolMenuOwner Owner)
{
	if (!Owner.IsSet())
	{
		return;
	}
	for (TPair<FName, TSharedRef<UToolMenu>>& Pair : Menus)
	{
		UToolMenu& Menu = Pair.Value.Get();
		for (FToolMenuSection& Section : Menu.Sections)
		{
			Section.RemoveEntriesByOwner(Owner);
		}
		// A section the owner made goes once it is empty; one that still holds others' entries stays.
		Menu.Sections.RemoveAll([&Owner](const FToolMenuSection& Section) { return Section.Owner == Owner && Section.Blocks.IsEmpty(); });
	}
}

UToolMenu* UToolMenus::RegisterMenu(FName Name, const FName Parent, EMultiBoxType Type, bool /*bWarnIfAlreadyRegistered*/)
{
	UToolMenu* Menu = ExtendMenu(Name);
	Menu->MenuParent = Parent;
	Menu->MenuType = Type;
	Menu->bRegistered = true;
	return Menu;
}

UToolMenu* UToolMenus::ExtendMenu(const FName Name)
{
	if (UToolMenu* Existing = FindMenu(Name))
	{
		return Existing;
	}
	TSharedRef<UToolMenu> Menu = MakeShared<UToolMenu>();
	Menu->MenuName = Name;
	Menus.Add(TPair<FName, TSharedRef<UToolMenu>>(Name, Menu));
	return &Menu.Get();
}

UToolMenu* UToolMenus::FindMenu(const FName Name)
{
	for (TPair<FName, TSharedRef<UToolMenu>>& Pair : Menus)
	{
		if (Pair.Key == Name)
		{
			return &Pair.Value.Get();
		}
	}
	return nullptr;
}

bool UToolMenus::IsMenuRegistered(const FName Name) const
{
	UToolMenu* Menu = const_cast<UToolMenus*>(this)->FindMenu(Name);
	return Menu && Menu->IsRegistered();
}

void UToolMenus::RemoveMenu(const FName MenuName)
{
	Menus.RemoveAll([MenuName](const TPair<FName, TSharedRef<UToolMenu>>& Pair) { return Pair.Key == MenuName; });
}

void UToolMenus::RemoveSection(const FName MenuName, const FName Section)
{
	if (UToolMenu* Menu = FindMenu(MenuName))
	{
		Menu->RemoveSection(Section);
	}
}

void UToolMenus::RemoveEntry(const FName MenuName, const FName Section, const FName Name)
{
	if (UToolMenu* Menu = FindMenu(MenuName))
	{
		if (FToolMenuSection* Found = Menu->FindSection(Section))
		{
			Found->RemoveEntry(Name);
		}
	}
}

FToolMenuOwner UToolMenus::CurrentOwner() const
{
	return OwnerStack.Num() > 0 ? OwnerStack.Last() : FToolMenuOwner();
}

void UToolMenus::PushOwner(const FToolMenuOwner InOwner)
{
	OwnerStack.Add(InOwner);
}

void UToolMenus::PopOwner(const FToolMenuOwner InOwner)
{
	// The engine checks that scopes nest; a mismatch is a programming error.
	check(OwnerStack.Num() > 0 && OwnerStack.Last() == InOwner);
	OwnerStack.Pop();
}

FName UToolMenus::JoinMenuPaths(const FName Base, const FName Child)
{
	return FName(Base.ToString() + TEXT(".") + Child.ToString());
}

FToolMenuSection& UToolMenu::AddSection(const FName SectionName, const TAttribute<FText>& InLabel, const FToolMenuInsert InPosition)
{
	if (FToolMenuSection* Existing = FindSection(SectionName))
	{
		if (InLabel.IsSet())
		{
			Existing->Label = InLabel;
		}
		if (!InPosition.IsDefault())
		{
			Existing->InsertPosition = InPosition;
		}
		return *Existing;
	}
	FToolMenuSection& Section = Sections.AddDefaulted_GetRef();
	Section.Name = SectionName;
	Section.Label = InLabel;
	Section.InsertPosition = InPosition;
	Section.Owner = UToolMenus::Get()->CurrentOwner();
	return Section;
}

FToolMenuSection& UToolMenu::FindOrAddSection(const FName SectionName)
{
	if (FToolMenuSection* Existing = FindSection(SectionName))
	{
		return *Existing;
	}
	return AddSection(SectionName);
}

FToolMenuSection* UToolMenu::FindSection(const FName SectionName)
{
	for (FToolMenuSection& Section : Sections)
	{
		if (Section.Name == SectionName)
		{
			return &Section;
		}
	}
	return nullptr;
}

void UToolMenu::RemoveSection(const FName SectionName)
{
	Sections.RemoveAll([SectionName](const FToolMenuSection& Section) { return Section.Name == SectionName; });
}

FToolMenuEntry& UToolMenu::AddMenuEntry(const FName SectionName, const FToolMenuEntry& Args)
{
	return FindOrAddSection(SectionName).AddEntry(Args);
}

FToolMenuEntry& FToolMenuSection::AddEntry(const FToolMenuEntry& Args)
{
	FToolMenuEntry Entry = Args;
	Entry.Owner = UToolMenus::Get()->CurrentOwner();
	if (!Entry.Name.IsNone())
	{
		if (FToolMenuEntry* Existing = FindEntry(Entry.Name))
		{
			*Existing = Entry;
			return *Existing;
		}
	}
	return Blocks.Add_GetRef(Entry);
}

FToolMenuEntry& FToolMenuSection::AddMenuEntry(const FName InName, const TAttribute<FText>& InLabel,
	const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon, const FToolUIActionChoice& InAction,
	const EUserInterfaceActionType UserInterfaceActionType, const FName InTutorialHighlightName)
{
	return AddEntry(FToolMenuEntry::InitMenuEntry(InName, InLabel, InToolTip, InIcon, InAction, UserInterfaceActionType, InTutorialHighlightName));
}

FToolMenuEntry& FToolMenuSection::AddSeparator(const FName InName)
{
	return AddEntry(FToolMenuEntry::InitSeparator(InName));
}

FToolMenuEntry* FToolMenuSection::FindEntry(const FName InName)
{
	for (FToolMenuEntry& Entry : Blocks)
	{
		if (Entry.Name == InName)
		{
			return &Entry;
		}
	}
	return nullptr;
}

const FToolMenuEntry* FToolMenuSection::FindEntry(const FName InName) const
{
	return const_cast<FToolMenuSection*>(this)->FindEntry(InName);
}

int32 FToolMenuSection::RemoveEntry(const FName InName)
{
	return Blocks.RemoveAll([InName](const FToolMenuEntry& Entry) { return Entry.Name == InName; });
}

int32 FToolMenuSection::RemoveEntriesByOwner(const FToolMenuOwner InOwner)
{
	return Blocks.RemoveAll([&InOwner](const FToolMenuEntry& Entry) { return Entry.Owner == InOwner; });
}

FToolMenuEntry FToolMenuEntry::InitMenuEntry(const FName InName, const TAttribute<FText>& InLabel,
	const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon, const FToolUIActionChoice& InAction,
	const EUserInterfaceActionType UserInterfaceActionType, const FName InTutorialHighlightName)
{
	FToolMenuEntry Entry;
	Entry.Name = InName;
	Entry.Type = EMultiBlockType::MenuEntry;
	Entry.Label = InLabel;
	Entry.ToolTip = InToolTip;
	Entry.Icon = InIcon;
	Entry.Action = InAction;
	Entry.UserInterfaceActionType = UserInterfaceActionType;
	Entry.TutorialHighlightName = InTutorialHighlightName;
	return Entry;
}

FToolMenuEntry FToolMenuEntry::InitSeparator(const FName InName)
{
	FToolMenuEntry Entry;
	Entry.Name = InName;
	Entry.Type = EMultiBlockType::Separator;
	return Entry;
}

bool FToolMenuEntry::TryExecuteToolUIAction(const FToolMenuContext& InContext)
{
	// As the engine's: only an FToolUIAction runs here; an entry made with a plain FUIAction does nothing.
	const FToolUIAction* ToolAction = Action.GetToolUIAction();
	if (!ToolAction || !ToolAction->ExecuteAction.IsBound())
	{
		return false;
	}
	if (ToolAction->CanExecuteAction.IsBound() && !ToolAction->CanExecuteAction.Execute(InContext))
	{
		return false;
	}
	ToolAction->ExecuteAction.Execute(InContext);
	return true;
}

namespace HostToolMenus
{
void SetUIEnabled(bool bInEnabled)
{
	Globals().bUIEnabled = bInEnabled;
}

void BeginEngineStartup()
{
	Globals().bEngineStarted = false;
}

void FinishEngineStartup()
{
	FMenusGlobals& State = Globals();
	State.bEngineStarted = true;
	if (UToolMenus::IsToolMenuUIEnabled())
	{
		// Taken out first: a callback may register another one, which then runs at once.
		FSimpleMulticastDelegate Waiting = State.StartupCallbacks;
		State.StartupCallbacks.Clear();
		Waiting.Broadcast();
	}
}

bool HasWaitingStartupCallbacks()
{
	return Globals().StartupCallbacks.IsBound();
}

void Reset()
{
	FMenusGlobals& State = Globals();
	State.StartupCallbacks.Clear();
	State.bUIEnabled = true;
	State.bEngineStarted = true;
	FPopulateMenuBuilderWithToolMenuEntry::DestroyMenus(State.Menus);
	State.Menus = nullptr;
}
} // namespace HostToolMenus
