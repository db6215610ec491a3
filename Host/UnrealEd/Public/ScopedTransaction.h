// Stands in for the engine's ScopedTransaction.h: one undo step for the lifetime of this object.
#pragma once

#include "CoreMinimal.h"

class UObject;

class FScopedTransaction
{
public:
	/** Opens a step when there is an editor with an undo buffer (and bShouldActuallyTransact). */
	FScopedTransaction(const FText& SessionName, const bool bShouldActuallyTransact = true);
	FScopedTransaction(const TCHAR* TransactionContext, const FText& SessionName, UObject* PrimaryObject,
		const bool bShouldActuallyTransact = true);
	FScopedTransaction(const FScopedTransaction&) = delete;
	FScopedTransaction& operator=(const FScopedTransaction&) = delete;
	/** Closes the step. */
	~FScopedTransaction();
	/** Throws the step away. */
	void Cancel();
	bool IsOutstanding() const { return Index != -1; }

private:
	void Construct(const TCHAR* TransactionContext, const FText& SessionName, UObject* PrimaryObject, bool bShouldActuallyTransact);
	int32 Index = -1;
};
