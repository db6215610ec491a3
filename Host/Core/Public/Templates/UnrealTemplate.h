// Stand-in for the engine's Templates/UnrealTemplate.h: MoveTemp, Forward, Swap and array counting.
#pragma once

#include "CoreTypes.h"
#include <type_traits>
#include <utility>

template <typename T>
FORCEINLINE constexpr std::remove_reference_t<T>&& MoveTemp(T&& Obj)
{
	static_assert(!std::is_const_v<std::remove_reference_t<T>>, "MoveTemp called on a const object");
	return static_cast<std::remove_reference_t<T>&&>(Obj);
}

template <typename T>
FORCEINLINE constexpr T CopyTemp(const T& Val)
{
	return Val;
}

template <typename T>
FORCEINLINE constexpr T&& Forward(std::remove_reference_t<T>& Obj)
{
	return static_cast<T&&>(Obj);
}

template <typename T>
FORCEINLINE constexpr T&& Forward(std::remove_reference_t<T>&& Obj)
{
	return static_cast<T&&>(Obj);
}

template <typename T>
FORCEINLINE void Swap(T& A, T& B)
{
	T Temp = MoveTemp(A);
	A = MoveTemp(B);
	B = MoveTemp(Temp);
}

template <typename T, typename U = T>
FORCEINLINE T Exchange(T& Obj, U&& NewValue)
{
	T Old = MoveTemp(Obj);
	Obj = Forward<U>(NewValue);
	return Old;
}

template <typename T, SIZE_T N>
constexpr SIZE_T UE_ARRAY_COUNT_HELPER(T (&)[N])
{
	return N;
}
#define UE_ARRAY_COUNT(Array) UE_ARRAY_COUNT_HELPER(Array)

/** Base class that removes copying, as the engine's FNoncopyable does. */
class FNoncopyable
{
protected:
	FNoncopyable() = default;
	~FNoncopyable() = default;

public:
	FNoncopyable(const FNoncopyable&) = delete;
	FNoncopyable& operator=(const FNoncopyable&) = delete;
};

/** Restores a variable's value when the scope ends. */
template <typename RefType, typename AssignedType = RefType>
class TGuardValue : private FNoncopyable
{
public:
	TGuardValue(RefType& InReference, const AssignedType& InNewValue)
		: Ref(InReference)
		, OldValue(InReference)
	{
		Ref = InNewValue;
	}
	~TGuardValue() { Ref = OldValue; }

private:
	RefType& Ref;
	RefType OldValue;
};
