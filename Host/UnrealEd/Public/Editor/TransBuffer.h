// Stands in for the engine's Editor/TransBuffer.h: the editor's undo buffer. A step keeps each object's state from
// before its first Modify() in the step, and the transactional objects made during it; undo restores the states
// and marks the made objects as garbage, redo goes the other way.
#pragma once

#include "Editor/Transactor.h"
#include "Misc/ITransaction.h"
#include <memory>
#include <vector>

class UTransBuffer : public UTransactor
{
	HOST_DECLARE_CLASS(UTransBuffer, UTransactor, UnrealEd)
public:
	virtual int32 Begin(const TCHAR* SessionContext, const FText& Description) override;
	virtual int32 End() override;
	virtual void Cancel(int32 StartIndex = 0) override;
	virtual bool Undo(bool bCanRedo = true) override;
	virtual bool Redo() override;
	virtual bool CanUndo(FText* Text = nullptr) override;
	virtual bool CanRedo(FText* Text = nullptr) override;
	virtual int32 GetQueueLength() const override { return (int32)Queue.size(); }
	virtual int32 GetUndoCount() const override { return UndoCount; }
	virtual void Reset(const FText& Reason) override;
	virtual bool IsActive() override { return ActiveCount > 0; }
	virtual FText GetUndoContext(int32 QueueIndex) const override;
	virtual void BeginDestroy() override;

	class FHostTransaction;

private:
	std::vector<std::shared_ptr<FHostTransaction>> Queue;
	std::shared_ptr<FHostTransaction> Current;
	int32 ActiveCount = 0;
	/** Steps at the end of the queue that were undone and can be redone. */
	int32 UndoCount = 0;
};
