// The editor object: made when the program starts, with an empty level in a "/Temp/" package, an undo buffer and
// the actor selection; transactions, undo and redo; selection as the running editor's UUnrealEdEngine does it.
#include "Editor.h"
#include "Editor/TransBuffer.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"
#include "ScopedTransaction.h"
#include "Selection.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"

namespace
{
UEditorEngine* HostCreateEditor()
{
	UUnrealEdEngine* Editor = NewObject<UUnrealEdEngine>(GetTransientPackage(), FName(TEXT("UnrealEdEngine_0")));
	Editor->AddToRoot();
	GEngine = Editor;
	Editor->HostResetEditorWorld();
	return Editor;
}

/** The object and everything inside it. */
void GatherWithInner(UObject* Object, TArray<UObject*>& Out)
{
	Out.Add(Object);
	GetObjectsWithOuter(Object, Out, true);
}
} // namespace

UEditorEngine* GEditor = HostCreateEditor();

// ----------------------------------------------------------------------------------------------------------------
// Undo buffer

class UTransBuffer::FHostTransaction : public ITransaction
{
public:
	explicit FHostTransaction(const FText& InTitle)
		: Title(InTitle)
	{
	}

	virtual void SaveObject(UObject* Object) override
	{
		if (!Object)
		{
			return;
		}
		const FWeakObjectPtr Weak(Object);
		for (const FRecord& Record : Records)
		{
			if (Record.Object == Weak)
			{
				return;
			}
		}
		for (const FWeakObjectPtr& Made : Created)
		{
			if (Made == Weak)
			{
				return;
			}
		}
		Records.push_back(FRecord{Weak, HostObjects::SaveObjectState(Object), {}});
	}

	virtual void HostObjectCreated(UObject* Object) override { Created.push_back(FWeakObjectPtr(Object)); }

	bool IsEmpty() const { return Records.empty() && Created.empty(); }

	void ApplyUndo()
	{
		for (FRecord& Record : Records)
		{
			if (UObject* Object = Record.Object.Get(true))
			{
				Record.After = HostObjects::SaveObjectState(Object);
			}
		}
		for (auto It = Records.rbegin(); It != Records.rend(); ++It)
		{
			if (UObject* Object = It->Object.Get(true))
			{
				HostObjects::LoadObjectState(Object, It->Before);
				Object->MarkPackageDirty();
			}
		}
		for (const FWeakObjectPtr& Made : Created)
		{
			if (UObject* Object = Made.Get(true))
			{
				TArray<UObject*> All;
				GatherWithInner(Object, All);
				for (UObject* Each : All)
				{
					Each->MarkAsGarbage();
				}
			}
		}
	}

	void ApplyRedo()
	{
		for (const FWeakObjectPtr& Made : Created)
		{
			if (UObject* Object = Made.Get(true))
			{
				Object->ClearGarbage();
				TArray<UObject*> Inner;
				GetObjectsWithOuter(Object, Inner, true);
				for (UObject* Each : Inner)
				{
					Each->ClearGarbage();
				}
			}
		}
		for (FRecord& Record : Records)
		{
			if (UObject* Object = Record.Object.Get(true); Object && !Record.After.empty())
			{
				HostObjects::LoadObjectState(Object, Record.After);
				Object->MarkPackageDirty();
			}
		}
	}

	FText Title;

private:
	struct FRecord
	{
		FWeakObjectPtr Object;
		std::vector<uint8> Before;
		std::vector<uint8> After;
	};
	std::vector<FRecord> Records;
	std::vector<FWeakObjectPtr> Created;
};

int32 UTransBuffer::Begin(const TCHAR* SessionContext, const FText& Description)
{
	(void)SessionContext;
	if (ActiveCount++ == 0)
	{
		Current = std::make_shared<FHostTransaction>(Description);
		GUndo = Current.get();
	}
	return (int32)Queue.size() - UndoCount;
}

int32 UTransBuffer::End()
{
	check(ActiveCount > 0);
	const int32 Index = (int32)Queue.size() - UndoCount;
	if (--ActiveCount == 0)
	{
		GUndo = nullptr;
		// A step in which nothing was recorded leaves no undo entry.
		if (Current && !Current->IsEmpty())
		{
			Queue.resize(Queue.size() - (size_t)UndoCount);
			UndoCount = 0;
			Queue.push_back(Current);
		}
		Current.reset();
	}
	return Index;
}

void UTransBuffer::Cancel(int32 StartIndex)
{
	(void)StartIndex;
	if (ActiveCount == 0 || !Current)
	{
		return;
	}
	Current->ApplyUndo();
	Current.reset();
	ActiveCount = 0;
	GUndo = nullptr;
}

bool UTransBuffer::Undo(bool bCanRedo)
{
	if (ActiveCount > 0 || UndoCount >= (int32)Queue.size())
	{
		return false;
	}
	const size_t Index = Queue.size() - (size_t)UndoCount - 1;
	Queue[Index]->ApplyUndo();
	++UndoCount;
	if (!bCanRedo)
	{
		Queue.resize(Index);
		UndoCount = 0;
	}
	return true;
}

bool UTransBuffer::Redo()
{
	if (ActiveCount > 0 || UndoCount <= 0)
	{
		return false;
	}
	const size_t Index = Queue.size() - (size_t)UndoCount;
	Queue[Index]->ApplyRedo();
	--UndoCount;
	return true;
}

bool UTransBuffer::CanUndo(FText* Text)
{
	const bool bCan = ActiveCount == 0 && UndoCount < (int32)Queue.size();
	if (bCan && Text)
	{
		*Text = Queue[Queue.size() - (size_t)UndoCount - 1]->Title;
	}
	return bCan;
}

bool UTransBuffer::CanRedo(FText* Text)
{
	const bool bCan = ActiveCount == 0 && UndoCount > 0;
	if (bCan && Text)
	{
		*Text = Queue[Queue.size() - (size_t)UndoCount]->Title;
	}
	return bCan;
}

void UTransBuffer::Reset(const FText& Reason)
{
	(void)Reason;
	Queue.clear();
	UndoCount = 0;
}

FText UTransBuffer::GetUndoContext(int32 QueueIndex) const
{
	return QueueIndex >= 0 && QueueIndex < (int32)Queue.size() ? Queue[(size_t)QueueIndex]->Title : FText::GetEmpty();
}

void UTransBuffer::BeginDestroy()
{
	if (Current && GUndo == Current.get())
	{
		GUndo = nullptr;
	}
	Current.reset();
	Queue.clear();
	Super::BeginDestroy();
}

// ----------------------------------------------------------------------------------------------------------------
// Scoped transactions

FScopedTransaction::FScopedTransaction(const FText& SessionName, const bool bShouldActuallyTransact)
{
	Construct(TEXT(""), SessionName, nullptr, bShouldActuallyTransact);
}

FScopedTransaction::FScopedTransaction(
	const TCHAR* TransactionContext, const FText& SessionName, UObject* PrimaryObject, const bool bShouldActuallyTransact)
{
	Construct(TransactionContext, SessionName, PrimaryObject, bShouldActuallyTransact);
}

void FScopedTransaction::Construct(
	const TCHAR* TransactionContext, const FText& SessionName, UObject* PrimaryObject, bool bShouldActuallyTransact)
{
	if (bShouldActuallyTransact && GEditor && GEditor->Trans && !GEditor->bIsSimulatingInEditor)
	{
		Index = GEditor->BeginTransaction(TransactionContext, SessionName, PrimaryObject);
	}
	else
	{
		Index = -1;
	}
}

FScopedTransaction::~FScopedTransaction()
{
	if (Index != -1 && GEditor)
	{
		GEditor->EndTransaction();
	}
}

void FScopedTransaction::Cancel()
{
	if (Index != -1 && GEditor)
	{
		GEditor->CancelTransaction(Index);
		Index = -1;
	}
}

// ----------------------------------------------------------------------------------------------------------------
// Selection

void USelection::Select(UObject* InObject)
{
	Select(InObject, true);
}

void USelection::Select(UObject* InObject, bool bSelect)
{
	if (!InObject)
	{
		return;
	}
	if (!bSelect)
	{
		Deselect(InObject);
		return;
	}
	if (!IsSelected(InObject))
	{
		SelectedObjects.Add(InObject);
	}
}

void USelection::Deselect(UObject* InObject)
{
	SelectedObjects.RemoveAll([InObject](const TObjectPtr<UObject>& Entry) { return Entry.Get() == InObject; });
}

void USelection::DeselectAll(UClass* InClass)
{
	SelectedObjects.RemoveAll(
		[InClass](const TObjectPtr<UObject>& Entry) { return !InClass || !Entry.Get() || Entry->IsA(InClass); });
}

bool USelection::IsSelected(const UObject* InObject) const
{
	return InObject && IsValid(InObject) &&
		SelectedObjects.ContainsByPredicate([InObject](const TObjectPtr<UObject>& Entry) { return Entry.Get() == InObject; });
}

TArray<TWeakObjectPtr<UObject>> USelection::LiveSelection() const
{
	TArray<TWeakObjectPtr<UObject>> Live;
	for (const TObjectPtr<UObject>& Entry : SelectedObjects)
	{
		if (IsValid(Entry.Get()))
		{
			Live.Add(Entry.Get());
		}
	}
	return Live;
}

int32 USelection::Num() const
{
	return LiveSelection().Num();
}

UObject* USelection::GetSelectedObject(const int32 InIndex) const
{
	const TArray<TWeakObjectPtr<UObject>> Live = LiveSelection();
	return Live.IsValidIndex(InIndex) ? Live[InIndex].Get() : nullptr;
}

void USelection::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << SelectedObjects;
}

// ----------------------------------------------------------------------------------------------------------------
// Editor object

FWorldContext& UEditorEngine::GetEditorWorldContext(bool bEnsureIsGWorld)
{
	(void)bEnsureIsGWorld;
	for (FWorldContext* Context : WorldContexts)
	{
		if (Context->WorldType == EWorldType::Editor)
		{
			return *Context;
		}
	}
	check(!"There is no editor world context");
	return *WorldContexts[0];
}

UWorld* UEditorEngine::HostResetEditorWorld()
{
	for (FWorldContext* Context : WorldContexts)
	{
		if (Context->WorldType == EWorldType::Editor && Context->World())
		{
			Context->World()->GetPackage()->MarkAsGarbage();
		}
	}
	for (FWorldContext* Context : WorldContexts)
	{
		delete Context;
	}
	WorldContexts.Empty();
	if (!Trans)
	{
		Trans = NewObject<UTransBuffer>(this, FName(TEXT("TransBuffer")));
	}
	Trans->Reset(FText::GetEmpty());
	if (!SelectedActors)
	{
		SelectedActors = NewObject<USelection>(this, FName(TEXT("SelectedActors")), RF_Transactional);
	}
	SelectedActors->DeselectAll();
	UWorld* World = UWorld::CreateWorld(EWorldType::Editor, false);
	CreateNewWorldContext(EWorldType::Editor).SetCurrentWorld(World);
	return World;
}

int32 UEditorEngine::BeginTransaction(const TCHAR* TransactionContext, const FText& Description, UObject* PrimaryObject)
{
	(void)PrimaryObject;
	return Trans ? Trans->Begin(TransactionContext, Description) : -1;
}

int32 UEditorEngine::EndTransaction()
{
	return Trans ? Trans->End() : -1;
}

void UEditorEngine::CancelTransaction(int32 Index)
{
	if (Trans)
	{
		Trans->Cancel(Index);
	}
}

bool UEditorEngine::UndoTransaction(bool bCanRedo)
{
	return Trans && Trans->Undo(bCanRedo);
}

bool UEditorEngine::RedoTransaction()
{
	return Trans && Trans->Redo();
}

void UEditorEngine::ResetTransaction(const FText& Reason)
{
	if (Trans)
	{
		Trans->Reset(Reason);
	}
}

bool UEditorEngine::IsTransactionActive() const
{
	return Trans && Trans->IsActive();
}

void UEditorEngine::SyncBrowserToObjects(const TArray<UObject*>& InObjectsToSync, bool bFocusContentBrowser)
{
	TArray<FAssetData> Assets;
	for (UObject* Object : InObjectsToSync)
	{
		if (IsValid(Object))
		{
			Assets.Add(FAssetData(Object));
		}
	}
	SyncBrowserToObjects(Assets, bFocusContentBrowser);
}

void UEditorEngine::SyncBrowserToObjects(const TArray<FAssetData>& InAssetsToSync, bool bFocusContentBrowser)
{
	HostSyncedAssets = InAssetsToSync;
	bHostBrowserFocused = bFocusContentBrowser;
	++HostSyncCount;
}

void UUnrealEdEngine::SelectActor(AActor* Actor, bool bInSelected, bool bNotify, bool bSelectEvenIfHidden, bool bForceRefresh)
{
	(void)bSelectEvenIfHidden;
	(void)bForceRefresh;
	USelection* Selection = GetSelectedActors();
	if (!IsValid(Actor) || !Selection || Selection->IsSelected(Actor) == bInSelected)
	{
		return;
	}
	Selection->Modify(false);
	Selection->Select(Actor, bInSelected);
	if (bNotify)
	{
		NoteSelectionChange();
	}
}

void UUnrealEdEngine::SelectNone(bool bNoteSelectionChange, bool bDeselectBSPSurfs, bool WarnAboutManyActors)
{
	(void)bDeselectBSPSurfs;
	(void)WarnAboutManyActors;
	USelection* Selection = GetSelectedActors();
	if (!Selection)
	{
		return;
	}
	if (Selection->Num() > 0)
	{
		Selection->Modify(false);
		Selection->DeselectAll();
	}
	if (bNoteSelectionChange)
	{
		NoteSelectionChange();
	}
}

void UUnrealEdEngine::NoteSelectionChange(bool bNotify)
{
	if (bNotify)
	{
		++HostSelectionNotices;
	}
}
