// Stands in for the engine's UObject/ObjectPtr.h. In the engine, garbage collection clears every reflected
// TObjectPtr to an object it destroys; the stand-in has no reflection, so each TObjectPtr remembers its object's
// slot and reads as null once that object has been destroyed (marked garbage but not yet collected still reads).
#pragma once

#include "UObject/WeakObjectPtr.h"
#include <type_traits>

class UObject;

namespace HostObjects
{
int32 GetObjectIndex(const UObject* Object);
}

template <class T>
class TObjectPtr
{
public:
	using ElementType = T;

	TObjectPtr() = default;
	TObjectPtr(std::nullptr_t) {}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr(U* Object)
	{
		Set(Object);
	}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr(const TObjectPtr<U>& Other)
	{
		Set(Other.Get());
	}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TObjectPtr& operator=(U* Object)
	{
		Set(Object);
		return *this;
	}
	TObjectPtr& operator=(std::nullptr_t)
	{
		Set((T*)nullptr);
		return *this;
	}

	T* Get() const
	{
		if (!Pointer || HostObjects::ResolveSlot(Index, Serial, true) == nullptr)
		{
			return nullptr;
		}
		return Pointer;
	}
	operator T*() const { return Get(); }
	T* operator->() const { return Get(); }
	T& operator*() const { return *Get(); }
	explicit operator bool() const { return Get() != nullptr; }
	bool operator!() const { return Get() == nullptr; }
	template <class U>
	bool operator==(const TObjectPtr<U>& Other) const
	{
		return Get() == Other.Get();
	}
	template <class U>
	bool operator==(U* Other) const
	{
		return Get() == Other;
	}
	template <class U>
	bool operator!=(U* Other) const
	{
		return Get() != Other;
	}
	bool operator==(std::nullptr_t) const { return Get() == nullptr; }
	bool operator!=(std::nullptr_t) const { return Get() != nullptr; }
	friend uint32 GetTypeHash(const TObjectPtr& P) { return GetTypeHash((const void*)P.Get()); }

private:
	void Set(T* Object)
	{
		Pointer = Object;
		Index = Object ? HostObjects::GetObjectIndex((const UObject*)Object) : INDEX_NONE;
		Serial = Object ? HostObjects::GetSlotSerialNumber(Index) : 0;
	}

	T* Pointer = nullptr;
	int32 Index = INDEX_NONE;
	int32 Serial = 0;
};

template <class T>
T* ToRawPtr(const TObjectPtr<T>& Ptr)
{
	return Ptr.Get();
}
