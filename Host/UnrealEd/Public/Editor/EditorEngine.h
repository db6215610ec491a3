// Stands in for the engine's Editor/EditorEngine.h: the editor object, with its level world, undo buffer,
// selection and Content Browser sync. Selection is empty here; the running editor is a UUnrealEdEngine.
#pragma once

#include "AssetRegistry/AssetData.h"
#include "Engine/Engine.h"

class AActor;
class USelection;
class UTransactor;
class UWorld;

class UEditorEngine : public UEngine
{
	HOST_DECLARE_CLASS(UEditorEngine, UEngine, UnrealEd)
public:
	/** The undo buffer. */
	TObjectPtr<UTransactor> Trans;
	bool bIsSimulatingInEditor = false;

	/** The context of the level open in the editor; asserts when there is none. */
	FWorldContext& GetEditorWorldContext(bool bEnsureIsGWorld = false);
	virtual void SelectActor(AActor* Actor, bool bInSelected, bool bNotify, bool bSelectEvenIfHidden = false,
		bool bForceRefresh = false)
	{
		(void)Actor;
		(void)bInSelected;
		(void)bNotify;
		(void)bSelectEvenIfHidden;
		(void)bForceRefresh;
	}
	virtual void SelectNone(bool bNoteSelectionChange, bool bDeselectBSPSurfs, bool WarnAboutManyActors = true)
	{
		(void)bNoteSelectionChange;
		(void)bDeselectBSPSurfs;
		(void)WarnAboutManyActors;
	}
	virtual USelection* GetSelectedActors() const { return SelectedActors.Get(); }
	virtual void NoteSelectionChange(bool bNotify = true) { (void)bNotify; }

	int32 BeginTransaction(const TCHAR* TransactionContext, const FText& Description, UObject* PrimaryObject);
	int32 BeginTransaction(const FText& Description) { return BeginTransaction(nullptr, Description, nullptr); }
	int32 EndTransaction();
	void CancelTransaction(int32 Index);
	/** Reverts the latest undo step. */
	bool UndoTransaction(bool bCanRedo = true);
	bool RedoTransaction();
	void ResetTransaction(const FText& Reason);
	bool IsTransactionActive() const;

	void SyncBrowserToObjects(const TArray<UObject*>& InObjectsToSync, bool bFocusContentBrowser = true);
	void SyncBrowserToObjects(const TArray<FAssetData>& InAssetsToSync, bool bFocusContentBrowser = true);

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: what the Content Browser was last asked to show, and whether it was to take focus. */
	const TArray<FAssetData>& HostGetSyncedAssets() const { return HostSyncedAssets; }
	bool HostWasBrowserFocused() const { return bHostBrowserFocused; }
	int32 HostGetSyncCount() const { return HostSyncCount; }
	/** Stand-in only: how many selection-change notices were sent. */
	int32 HostGetSelectionNoticeCount() const { return HostSelectionNotices; }
	/** Stand-in only: replaces the editor level with a new, empty one and clears the undo buffer. */
	UWorld* HostResetEditorWorld();
#endif

protected:
	TObjectPtr<USelection> SelectedActors;
	TArray<FAssetData> HostSyncedAssets;
	bool bHostBrowserFocused = false;
	int32 HostSyncCount = 0;
	int32 HostSelectionNotices = 0;
};
