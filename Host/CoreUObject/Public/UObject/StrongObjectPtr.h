// Stands in for the engine's UObject/StrongObjectPtr.h: keeps an object rooted while the holder lives.
#pragma once

#include "UObject/Object.h"
#include "UObject/WeakObjectPtrTemplates.h"

template <class T>
class TStrongObjectPtr
{
public:
	TStrongObjectPtr() = default;
	explicit TStrongObjectPtr(T* InObject) { Reset(InObject); }
	TStrongObjectPtr(const TStrongObjectPtr& Other) { Reset(Other.Get()); }
	TStrongObjectPtr& operator=(const TStrongObjectPtr& Other)
	{
		Reset(Other.Get());
		return *this;
	}
	~TStrongObjectPtr() { Reset(); }
	T* Get() const { return Object.Get(true); }
	T* operator->() const { return Get(); }
	explicit operator bool() const { return Get() != nullptr; }
	bool IsValid() const { return Get() != nullptr; }
	void Reset(T* NewObject = nullptr)
	{
		if (T* Old = Get())
		{
			Old->RemoveFromRoot();
		}
		Object = NewObject;
		if (NewObject)
		{
			NewObject->AddToRoot();
		}
	}

private:
	TWeakObjectPtr<T> Object;
};
