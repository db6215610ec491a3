// Stands in for the engine's UObject/WeakObjectPtrTemplates.h: the typed weak object pointer.
#pragma once

#include "UObject/WeakObjectPtr.h"
#include <type_traits>

template <class T>
class TObjectPtr;

template <class T = UObject>
struct TWeakObjectPtr
{
public:
	TWeakObjectPtr() = default;
	TWeakObjectPtr(std::nullptr_t) {}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr(U* Object)
		: Weak((const UObject*)(const T*)Object)
	{
	}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr(const TWeakObjectPtr<U>& Other)
		: Weak(Other.HostGetWeak())
	{
	}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr(const TObjectPtr<U>& Other)
		: TWeakObjectPtr(Other.Get())
	{
	}
	template <class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TWeakObjectPtr& operator=(U* Object)
	{
		Weak = (const UObject*)(const T*)Object;
		return *this;
	}

	T* Get(bool bEvenIfGarbage) const { return (T*)Weak.Get(bEvenIfGarbage); }
	T* Get() const { return (T*)Weak.Get(); }
	T* operator->() const { return Get(); }
	T& operator*() const { return *Get(); }
	explicit operator bool() const { return Get() != nullptr; }
	bool IsValid(bool bEvenIfGarbage = false, bool bThreadsafeTest = false) const
	{
		return Weak.IsValid(bEvenIfGarbage, bThreadsafeTest);
	}
	bool IsStale(bool bIncludingGarbage = true) const { return Weak.IsStale(bIncludingGarbage); }
	bool IsExplicitlyNull() const { return Weak.IsExplicitlyNull(); }
	void Reset() { Weak.Reset(); }
	template <class U>
	bool operator==(const TWeakObjectPtr<U>& Other) const
	{
		return Weak == Other.HostGetWeak();
	}
	template <class U>
	bool operator!=(const TWeakObjectPtr<U>& Other) const
	{
		return !(Weak == Other.HostGetWeak());
	}
	bool operator==(const T* Other) const { return Get() == Other; }
	bool operator!=(const T* Other) const { return Get() != Other; }
	friend uint32 GetTypeHash(const TWeakObjectPtr& P) { return GetTypeHash(P.Weak); }

private:
	template <class>
	friend class TWeakObjectPtr;

	const FWeakObjectPtr& HostGetWeak() const { return Weak; }

	FWeakObjectPtr Weak;
};

template <class T>
TWeakObjectPtr<T> MakeWeakObjectPtr(T* Object)
{
	return TWeakObjectPtr<T>(Object);
}
