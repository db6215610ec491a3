// Stand-in for the engine's Templates/UniquePtr.h: single ownership of a heap object, deleted with its owner.
#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include <cstddef>
#include <type_traits>

/** Deletes what a TUniquePtr owns. */
template <typename T>
struct TDefaultDelete
{
	TDefaultDelete() = default;
	template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TDefaultDelete(const TDefaultDelete<U>&)
	{
	}
	void operator()(T* Ptr) const { delete Ptr; }
};

/** Owns one object: moved, never copied; deletes it when reset or destroyed. */
template <typename T, typename Deleter = TDefaultDelete<T>>
class TUniquePtr : private Deleter
{
	template <typename OtherT, typename OtherDeleter>
	friend class TUniquePtr;

public:
	TUniquePtr() = default;
	TUniquePtr(std::nullptr_t) {}
	explicit TUniquePtr(T* InPtr)
		: Ptr(InPtr)
	{
	}
	TUniquePtr(TUniquePtr&& Other)
		: Deleter(MoveTemp(Other.GetDeleter()))
		, Ptr(Other.Ptr)
	{
		Other.Ptr = nullptr;
	}
	template <typename OtherT, typename OtherDeleter, typename = std::enable_if_t<std::is_convertible_v<OtherT*, T*>>>
	TUniquePtr(TUniquePtr<OtherT, OtherDeleter>&& Other)
		: Deleter(MoveTemp(Other.GetDeleter()))
		, Ptr(Other.Ptr)
	{
		Other.Ptr = nullptr;
	}
	TUniquePtr(const TUniquePtr&) = delete;
	TUniquePtr& operator=(const TUniquePtr&) = delete;
	TUniquePtr& operator=(TUniquePtr&& Other)
	{
		if (this != &Other)
		{
			Reset(Other.Release());
			GetDeleter() = MoveTemp(Other.GetDeleter());
		}
		return *this;
	}
	TUniquePtr& operator=(std::nullptr_t)
	{
		Reset();
		return *this;
	}
	~TUniquePtr() { Reset(); }

	bool IsValid() const { return Ptr != nullptr; }
	explicit operator bool() const { return IsValid(); }
	bool operator!() const { return !IsValid(); }
	T* operator->() const { return Ptr; }
	T& operator*() const { return *Ptr; }
	T* Get() const { return Ptr; }
	/** Gives up ownership without deleting. */
	T* Release() { return Exchange(Ptr, nullptr); }
	/** Deletes the object owned so far and owns InPtr instead. */
	void Reset(T* InPtr = nullptr)
	{
		if (Ptr != InPtr)
		{
			T* Old = Exchange(Ptr, InPtr);
			if (Old)
			{
				GetDeleter()(Old);
			}
		}
	}
	Deleter& GetDeleter() { return static_cast<Deleter&>(*this); }
	const Deleter& GetDeleter() const { return static_cast<const Deleter&>(*this); }

private:
	T* Ptr = nullptr;
};

/** Makes a T from Args, owned by the returned pointer. */
template <typename T, typename... TArgs>
TUniquePtr<T> MakeUnique(TArgs&&... Args)
{
	return TUniquePtr<T>(new T(Forward<TArgs>(Args)...));
}
