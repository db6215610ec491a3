// Stand-in for the engine's Containers/Array.h: TArray with int32 indices, bounds checked as the engine's checks are.
#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include <algorithm>
#include <initializer_list>
#include <vector>

template <typename T>
class TArrayView;

/** Element storage; std::vector<bool> is avoided so that GetData() and references behave for every type. */
template <typename T>
struct THostArrayElement
{
	using Type = T;
};

template <typename InElementType, typename InAllocatorType = void>
class TArray
{
public:
	using ElementType = InElementType;
	using SizeType = int32;

	TArray() = default;
	TArray(std::initializer_list<ElementType> List)
		: Items(List)
	{
	}
	TArray(const ElementType* Ptr, int32 Count)
		: Items(Ptr, Ptr + Count)
	{
		check(Count >= 0);
	}
	template <typename OtherElementType, typename OtherAllocator>
	explicit TArray(const TArray<OtherElementType, OtherAllocator>& Other)
	{
		Items.reserve(Other.Num());
		for (const OtherElementType& Item : Other)
		{
			Items.emplace_back(Item);
		}
	}

	FORCEINLINE int32 Num() const { return (int32)Items.size(); }
	FORCEINLINE int32 Max() const { return (int32)Items.capacity(); }
	FORCEINLINE bool IsEmpty() const { return Items.empty(); }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	FORCEINLINE SIZE_T GetTypeSize() const { return sizeof(ElementType); }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return Items.capacity() * sizeof(ElementType); }

	FORCEINLINE ElementType* GetData() { return Items.data(); }
	FORCEINLINE const ElementType* GetData() const { return Items.data(); }

	FORCEINLINE ElementType& operator[](int32 Index)
	{
		RangeCheck(Index);
		return Items[Index];
	}
	FORCEINLINE const ElementType& operator[](int32 Index) const
	{
		RangeCheck(Index);
		return Items[Index];
	}

	ElementType& Last(int32 IndexFromTheEnd = 0) { return (*this)[Num() - IndexFromTheEnd - 1]; }
	const ElementType& Last(int32 IndexFromTheEnd = 0) const { return (*this)[Num() - IndexFromTheEnd - 1]; }
	ElementType& Top() { return Last(); }
	const ElementType& Top() const { return Last(); }

	ElementType Pop(bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		RangeCheck(0);
		ElementType Result = MoveTemp(Items.back());
		Items.pop_back();
		return Result;
	}
	void Push(const ElementType& Item) { Add(Item); }
	void Push(ElementType&& Item) { Add(MoveTemp(Item)); }

	int32 Add(const ElementType& Item)
	{
		Items.push_back(Item);
		return Num() - 1;
	}
	int32 Add(ElementType&& Item)
	{
		Items.push_back(MoveTemp(Item));
		return Num() - 1;
	}
	ElementType& Add_GetRef(const ElementType& Item)
	{
		Items.push_back(Item);
		return Items.back();
	}
	ElementType& Add_GetRef(ElementType&& Item)
	{
		Items.push_back(MoveTemp(Item));
		return Items.back();
	}
	int32 AddUnique(const ElementType& Item)
	{
		const int32 Index = Find(Item);
		return Index != INDEX_NONE ? Index : Add(Item);
	}
	template <typename... ArgsType>
	int32 Emplace(ArgsType&&... Args)
	{
		Items.emplace_back(Forward<ArgsType>(Args)...);
		return Num() - 1;
	}
	template <typename... ArgsType>
	ElementType& Emplace_GetRef(ArgsType&&... Args)
	{
		Items.emplace_back(Forward<ArgsType>(Args)...);
		return Items.back();
	}
	int32 AddDefaulted(int32 Count = 1)
	{
		check(Count >= 0);
		const int32 Index = Num();
		Items.resize(Items.size() + Count);
		return Index;
	}
	ElementType& AddDefaulted_GetRef() { return Items.emplace_back(); }
	int32 AddZeroed(int32 Count = 1) { return AddDefaulted(Count); }
	/** The engine leaves these elements uninitialised; the stand-in value-initialises them, which is a valid choice of "any value". */
	int32 AddUninitialized(int32 Count = 1) { return AddDefaulted(Count); }

	void Insert(const ElementType& Item, int32 Index)
	{
		check(Index >= 0 && Index <= Num());
		Items.insert(Items.begin() + Index, Item);
	}
	void Insert(ElementType&& Item, int32 Index)
	{
		check(Index >= 0 && Index <= Num());
		Items.insert(Items.begin() + Index, MoveTemp(Item));
	}

	template <typename OtherAllocator>
	void Append(const TArray<ElementType, OtherAllocator>& Source)
	{
		Items.insert(Items.end(), Source.begin(), Source.end());
	}
	template <typename OtherAllocator>
	void Append(TArray<ElementType, OtherAllocator>&& Source)
	{
		Items.insert(Items.end(), std::make_move_iterator(Source.begin()), std::make_move_iterator(Source.end()));
		Source.Empty();
	}
	void Append(const ElementType* Ptr, int32 Count)
	{
		check(Count >= 0 && (Ptr != nullptr || Count == 0));
		if (Count > 0)
		{
			Items.insert(Items.end(), Ptr, Ptr + Count);
		}
	}
	void Append(std::initializer_list<ElementType> List) { Items.insert(Items.end(), List.begin(), List.end()); }
	TArray& operator+=(const TArray& Other)
	{
		Append(Other);
		return *this;
	}

	void RemoveAt(int32 Index, int32 Count = 1, bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		check(Count >= 0 && Index >= 0 && Index + Count <= Num());
		Items.erase(Items.begin() + Index, Items.begin() + Index + Count);
	}
	void RemoveAtSwap(int32 Index, int32 Count = 1, bool bAllowShrinking = true) { RemoveAt(Index, Count, bAllowShrinking); }
	int32 Remove(const ElementType& Item)
	{
		return RemoveAll([&Item](const ElementType& Element) { return Element == Item; });
	}
	int32 RemoveSingle(const ElementType& Item)
	{
		const int32 Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAt(Index);
		return 1;
	}
	int32 RemoveSwap(const ElementType& Item) { return Remove(Item); }
	template <typename Predicate>
	int32 RemoveAll(const Predicate& Pred)
	{
		const SIZE_T Before = Items.size();
		Items.erase(std::remove_if(Items.begin(), Items.end(), Pred), Items.end());
		return (int32)(Before - Items.size());
	}
	template <typename Predicate>
	int32 RemoveAllSwap(const Predicate& Pred)
	{
		return RemoveAll(Pred);
	}

	void Empty(int32 Slack = 0)
	{
		Items.clear();
		if (Slack == 0)
		{
			Items.shrink_to_fit();
		}
		else
		{
			Items.reserve(Slack);
		}
	}
	void Reset(int32 NewSize = 0)
	{
		Items.clear();
		Items.reserve(NewSize);
	}
	void Reserve(int32 Number)
	{
		check(Number >= 0);
		Items.reserve(Number);
	}
	void SetNum(int32 NewNum, bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		check(NewNum >= 0);
		Items.resize(NewNum);
	}
	/** Replaces the contents with Count copies of Element. */
	void Init(const ElementType& Element, int32 Count)
	{
		check(Count >= 0);
		Items.assign(Count, Element);
	}
	void SetNumZeroed(int32 NewNum, bool bAllowShrinking = true) { SetNum(NewNum, bAllowShrinking); }
	void SetNumUninitialized(int32 NewNum, bool bAllowShrinking = true) { SetNum(NewNum, bAllowShrinking); }
	void Shrink() { Items.shrink_to_fit(); }

	int32 Find(const ElementType& Item) const
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			if (Items[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	bool Find(const ElementType& Item, int32& Index) const
	{
		Index = Find(Item);
		return Index != INDEX_NONE;
	}
	int32 FindLast(const ElementType& Item) const
	{
		for (int32 Index = Num() - 1; Index >= 0; --Index)
		{
			if (Items[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	template <typename ComparisonType>
	bool Contains(const ComparisonType& Item) const
	{
		for (const ElementType& Element : Items)
		{
			if (Element == Item)
			{
				return true;
			}
		}
		return false;
	}
	template <typename Predicate>
	ElementType* FindByPredicate(Predicate Pred)
	{
		for (ElementType& Element : Items)
		{
			if (Pred(Element))
			{
				return &Element;
			}
		}
		return nullptr;
	}
	template <typename Predicate>
	const ElementType* FindByPredicate(Predicate Pred) const
	{
		for (const ElementType& Element : Items)
		{
			if (Pred(Element))
			{
				return &Element;
			}
		}
		return nullptr;
	}
	template <typename KeyType>
	ElementType* FindByKey(const KeyType& Key)
	{
		return FindByPredicate([&Key](const ElementType& Element) { return Element == Key; });
	}
	template <typename Predicate>
	int32 IndexOfByPredicate(Predicate Pred) const
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			if (Pred(Items[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	template <typename KeyType>
	int32 IndexOfByKey(const KeyType& Key) const
	{
		return IndexOfByPredicate([&Key](const ElementType& Element) { return Element == Key; });
	}
	template <typename Predicate>
	bool ContainsByPredicate(Predicate Pred) const
	{
		return FindByPredicate(Pred) != nullptr;
	}
	template <typename Predicate>
	TArray FilterByPredicate(Predicate Pred) const
	{
		TArray Result;
		for (const ElementType& Element : Items)
		{
			if (Pred(Element))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	void Sort()
	{
		std::sort(Items.begin(), Items.end(), [](const ElementType& A, const ElementType& B) { return A < B; });
	}
	template <typename Predicate>
	void Sort(const Predicate& Pred)
	{
		std::sort(Items.begin(), Items.end(), Pred);
	}
	template <typename Predicate>
	void StableSort(const Predicate& Pred)
	{
		std::stable_sort(Items.begin(), Items.end(), Pred);
	}
	void StableSort()
	{
		std::stable_sort(Items.begin(), Items.end(), [](const ElementType& A, const ElementType& B) { return A < B; });
	}

	bool operator==(const TArray& Other) const { return Items == Other.Items; }
	bool operator!=(const TArray& Other) const { return !(*this == Other); }

	auto begin() { return Items.begin(); }
	auto end() { return Items.end(); }
	auto begin() const { return Items.begin(); }
	auto end() const { return Items.end(); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The stand-in's storage, for Host code that hands the bytes to a library. */
	std::vector<ElementType>& HostStorage() { return Items; }
	const std::vector<ElementType>& HostStorage() const { return Items; }
#endif

private:
	FORCEINLINE void RangeCheck(int32 Index) const
	{
		check(Index >= 0 && Index < Num());
	}

	std::vector<ElementType> Items;
};

template <typename T, typename A>
FORCEINLINE uint32 GetTypeHash(const TArray<T, A>& Array)
{
	uint32 Hash = 0;
	for (const T& Item : Array)
	{
		Hash = HashCombine(Hash, GetTypeHash(Item));
	}
	return Hash;
}

/** A non-owning view of contiguous elements, as the engine's TArrayView. */
template <typename InElementType>
class TArrayView
{
public:
	using ElementType = InElementType;

	TArrayView() = default;
	TArrayView(ElementType* InData, int32 InNum)
		: DataPtr(InData)
		, ArrayNum(InNum)
	{
	}
	template <typename OtherElementType, typename A>
	TArrayView(const TArray<OtherElementType, A>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}
	template <typename OtherElementType, typename A>
	TArrayView(TArray<OtherElementType, A>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}

	int32 Num() const { return ArrayNum; }
	bool IsEmpty() const { return ArrayNum == 0; }
	ElementType* GetData() const { return DataPtr; }
	ElementType& operator[](int32 Index) const
	{
		check(Index >= 0 && Index < ArrayNum);
		return DataPtr[Index];
	}
	ElementType* begin() const { return DataPtr; }
	ElementType* end() const { return DataPtr + ArrayNum; }

private:
	ElementType* DataPtr = nullptr;
	int32 ArrayNum = 0;
};

template <typename T>
using TConstArrayView = TArrayView<const T>;

template <typename T>
TArrayView<T> MakeArrayView(T* Data, int32 Num)
{
	return TArrayView<T>(Data, Num);
}
