// Stands in for the engine's Editor/Transactor.h: the undo buffer's interface.
#pragma once

#include "UObject/Object.h"

class UTransactor : public UObject
{
	HOST_DECLARE_CLASS(UTransactor, UObject, UnrealEd)
public:
	/** Opens a step, or nests in the open one; returns the step's index. */
	virtual int32 Begin(const TCHAR* SessionContext, const FText& Description) = 0;
	/** Closes one level; the step is kept when the outermost level closes with something recorded in it. */
	virtual int32 End() = 0;
	/** Throws the open step away, restoring what it recorded. */
	virtual void Cancel(int32 StartIndex = 0) = 0;
	/** Reverts the latest step; false when there is none. */
	virtual bool Undo(bool bCanRedo = true) = 0;
	virtual bool Redo() = 0;
	virtual bool CanUndo(FText* Text = nullptr) = 0;
	virtual bool CanRedo(FText* Text = nullptr) = 0;
	virtual int32 GetQueueLength() const = 0;
	virtual int32 GetUndoCount() const = 0;
	virtual void Reset(const FText& Reason) = 0;
	virtual bool IsActive() = 0;
	/** The description of a kept step, oldest first. */
	virtual FText GetUndoContext(int32 QueueIndex) const = 0;
};
