// Stands in for the engine's Framework/Views/TableViewTypeTraits.h: which item types lists and combo boxes take
// (shared, weak and raw pointers) and their "nothing selected" form.
#pragma once

#include "CoreMinimal.h"

template <typename T>
struct TListTypeTraits;

template <typename T, ESPMode Mode>
struct TListTypeTraits<TSharedPtr<T, Mode>>
{
	using NullableType = TSharedPtr<T, Mode>;
	static bool IsPtrValid(const NullableType& InPtr) { return InPtr.IsValid(); }
	static NullableType MakeNullPtr() { return NullableType(); }
	static TSharedPtr<T, Mode> NullableItemTypeConvertToItemType(const NullableType& InPtr) { return InPtr; }
};

template <typename T, ESPMode Mode>
struct TListTypeTraits<TSharedRef<T, Mode>>
{
	using NullableType = TSharedPtr<T, Mode>;
	static bool IsPtrValid(const NullableType& InPtr) { return InPtr.IsValid(); }
	static NullableType MakeNullPtr() { return NullableType(); }
	static TSharedRef<T, Mode> NullableItemTypeConvertToItemType(const NullableType& InPtr) { return InPtr.ToSharedRef(); }
};

template <typename T, ESPMode Mode>
struct TListTypeTraits<TWeakPtr<T, Mode>>
{
	using NullableType = TWeakPtr<T, Mode>;
	static bool IsPtrValid(const NullableType& InPtr) { return InPtr.IsValid(); }
	static NullableType MakeNullPtr() { return NullableType(); }
	static TWeakPtr<T, Mode> NullableItemTypeConvertToItemType(const NullableType& InPtr) { return InPtr; }
};

template <typename T>
struct TListTypeTraits<T*>
{
	using NullableType = T*;
	static bool IsPtrValid(T* InPtr) { return InPtr != nullptr; }
	static NullableType MakeNullPtr() { return nullptr; }
	static T* NullableItemTypeConvertToItemType(T* InPtr) { return InPtr; }
};
