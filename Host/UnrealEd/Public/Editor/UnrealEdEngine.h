// Stands in for the engine's Editor/UnrealEdEngine.h: the editor object of the running editor, which implements
// actor selection.
#pragma once

#include "Editor/EditorEngine.h"

class UUnrealEdEngine : public UEditorEngine
{
	HOST_DECLARE_CLASS(UUnrealEdEngine, UEditorEngine, UnrealEd)
public:
	/** Selects or deselects the actor (not a hidden one unless bSelectEvenIfHidden); bNotify sends a selection notice. */
	virtual void SelectActor(AActor* Actor, bool bInSelected, bool bNotify, bool bSelectEvenIfHidden = false,
		bool bForceRefresh = false) override;
	/** Deselects every actor; bNoteSelectionChange sends a selection notice. */
	virtual void SelectNone(bool bNoteSelectionChange, bool bDeselectBSPSurfs, bool WarnAboutManyActors = true) override;
	virtual void NoteSelectionChange(bool bNotify = true) override;
};
