// Stand-in for the engine's Containers/Map.h: TPair and TMap (hashed by GetTypeHash, compared with ==, so FString
// keys ignore case as they do in the engine), iterating in insertion order while nothing was removed.
#pragma once

#include "Containers/Array.h"
#include "Templates/TypeHash.h"
#include <unordered_map>

template <typename KeyType, typename ValueType>
struct TPair
{
	KeyType Key;
	ValueType Value;

	TPair() = default;
	template <typename K, typename V>
	TPair(K&& InKey, V&& InValue)
		: Key(Forward<K>(InKey))
		, Value(Forward<V>(InValue))
	{
	}
	bool operator==(const TPair& Other) const { return Key == Other.Key && Value == Other.Value; }
	const KeyType& Get0() const { return Key; }
	const ValueType& Get1() const { return Value; }
};

template <typename KeyType, typename ValueType>
TPair<std::decay_t<KeyType>, std::decay_t<ValueType>> MakeTuple(KeyType&& Key, ValueType&& Value)
{
	return TPair<std::decay_t<KeyType>, std::decay_t<ValueType>>(Forward<KeyType>(Key), Forward<ValueType>(Value));
}

template <typename InKeyType, typename InValueType, typename SetAllocator = void, typename KeyFuncs = void>
class TMap
{
public:
	using KeyType = InKeyType;
	using ValueType = InValueType;
	using ElementType = TPair<KeyType, ValueType>;

	TMap() = default;
	TMap(std::initializer_list<ElementType> List)
	{
		for (const ElementType& Pair : List)
		{
			Add(Pair.Key, Pair.Value);
		}
	}
	TMap(const TMap& Other) = default;
	TMap(TMap&& Other) = default;
	TMap& operator=(const TMap& Other) = default;
	TMap& operator=(TMap&& Other) = default;

	int32 Num() const { return Pairs.Num(); }
	bool IsEmpty() const { return Pairs.IsEmpty(); }

	ValueType& Add(const KeyType& Key, const ValueType& Value) { return Emplace(Key, Value); }
	ValueType& Add(const KeyType& Key, ValueType&& Value) { return Emplace(Key, MoveTemp(Value)); }
	ValueType& Add(KeyType&& Key, ValueType&& Value) { return Emplace(MoveTemp(Key), MoveTemp(Value)); }
	ValueType& Add(KeyType&& Key, const ValueType& Value) { return Emplace(MoveTemp(Key), Value); }
	ValueType& Add(const KeyType& Key) { return Emplace(Key, ValueType()); }
	ValueType& Add(const ElementType& Pair) { return Emplace(Pair.Key, Pair.Value); }

	/** Adds the pair, or replaces the value of an equal key (the key's first spelling is kept). */
	template <typename K, typename V>
	ValueType& Emplace(K&& Key, V&& Value)
	{
		if (ValueType* Existing = Find(Key))
		{
			*Existing = Forward<V>(Value);
			return *Existing;
		}
		const int32 Index = Pairs.Emplace(Forward<K>(Key), Forward<V>(Value));
		IndexByHash.emplace(GetTypeHash(Pairs[Index].Key), Index);
		return Pairs[Index].Value;
	}

	ValueType& FindOrAdd(const KeyType& Key)
	{
		if (ValueType* Existing = Find(Key))
		{
			return *Existing;
		}
		return Emplace(Key, ValueType());
	}
	ValueType& FindOrAdd(const KeyType& Key, const ValueType& Value)
	{
		if (ValueType* Existing = Find(Key))
		{
			return *Existing;
		}
		return Emplace(Key, Value);
	}

	ValueType* Find(const KeyType& Key)
	{
		const int32 Index = IndexOf(Key);
		return Index == INDEX_NONE ? nullptr : &Pairs[Index].Value;
	}
	const ValueType* Find(const KeyType& Key) const
	{
		const int32 Index = IndexOf(Key);
		return Index == INDEX_NONE ? nullptr : &Pairs[Index].Value;
	}
	ValueType FindRef(const KeyType& Key) const
	{
		const ValueType* Value = Find(Key);
		return Value ? *Value : ValueType();
	}
	ValueType& FindChecked(const KeyType& Key)
	{
		ValueType* Value = Find(Key);
		check(Value != nullptr);
		return *Value;
	}
	const ValueType& FindChecked(const KeyType& Key) const
	{
		const ValueType* Value = Find(Key);
		check(Value != nullptr);
		return *Value;
	}
	ValueType& operator[](const KeyType& Key) { return FindChecked(Key); }
	const ValueType& operator[](const KeyType& Key) const { return FindChecked(Key); }
	const KeyType* FindKey(const ValueType& Value) const
	{
		for (const ElementType& Pair : Pairs)
		{
			if (Pair.Value == Value)
			{
				return &Pair.Key;
			}
		}
		return nullptr;
	}

	bool Contains(const KeyType& Key) const { return IndexOf(Key) != INDEX_NONE; }

	int32 Remove(const KeyType& Key)
	{
		const int32 Index = IndexOf(Key);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		Pairs.RemoveAt(Index);
		Reindex();
		return 1;
	}
	bool RemoveAndCopyValue(const KeyType& Key, ValueType& OutValue)
	{
		const int32 Index = IndexOf(Key);
		if (Index == INDEX_NONE)
		{
			return false;
		}
		OutValue = MoveTemp(Pairs[Index].Value);
		Pairs.RemoveAt(Index);
		Reindex();
		return true;
	}

	void Empty(int32 ExpectedNumElements = 0)
	{
		Pairs.Empty(ExpectedNumElements);
		IndexByHash.clear();
	}
	void Reset()
	{
		Pairs.Reset();
		IndexByHash.clear();
	}

	template <typename Allocator>
	int32 GetKeys(TArray<KeyType, Allocator>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}
	template <typename Allocator>
	void GenerateKeyArray(TArray<KeyType, Allocator>& OutKeys) const
	{
		GetKeys(OutKeys);
	}
	template <typename Allocator>
	void GenerateValueArray(TArray<ValueType, Allocator>& OutValues) const
	{
		OutValues.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutValues.Add(Pair.Value);
		}
	}

	template <typename Predicate>
	void KeySort(const Predicate& Pred)
	{
		Pairs.StableSort([&Pred](const ElementType& A, const ElementType& B) { return Pred(A.Key, B.Key); });
		Reindex();
	}
	template <typename Predicate>
	void ValueSort(const Predicate& Pred)
	{
		Pairs.StableSort([&Pred](const ElementType& A, const ElementType& B) { return Pred(A.Value, B.Value); });
		Reindex();
	}

	bool OrderIndependentCompareEqual(const TMap& Other) const
	{
		if (Num() != Other.Num())
		{
			return false;
		}
		for (const ElementType& Pair : Pairs)
		{
			const ValueType* OtherValue = Other.Find(Pair.Key);
			if (!OtherValue || !(*OtherValue == Pair.Value))
			{
				return false;
			}
		}
		return true;
	}

	auto begin() { return Pairs.begin(); }
	auto end() { return Pairs.end(); }
	auto begin() const { return Pairs.begin(); }
	auto end() const { return Pairs.end(); }

private:
	int32 IndexOf(const KeyType& Key) const
	{
		const auto Range = IndexByHash.equal_range(GetTypeHash(Key));
		for (auto It = Range.first; It != Range.second; ++It)
		{
			if (Pairs[It->second].Key == Key)
			{
				return It->second;
			}
		}
		return INDEX_NONE;
	}
	void Reindex()
	{
		IndexByHash.clear();
		for (int32 Index = 0; Index < Pairs.Num(); ++Index)
		{
			IndexByHash.emplace(GetTypeHash(Pairs[Index].Key), Index);
		}
	}

	TArray<ElementType> Pairs;
	std::unordered_multimap<uint32, int32> IndexByHash;
};

/** TSet with the same hashing and equality rules as TMap. */
template <typename InElementType, typename KeyFuncs = void, typename Allocator = void>
class TSet
{
public:
	using ElementType = InElementType;

	TSet() = default;
	TSet(std::initializer_list<ElementType> List)
	{
		for (const ElementType& Item : List)
		{
			Add(Item);
		}
	}
	int32 Num() const { return Items.Num(); }
	bool IsEmpty() const { return Items.IsEmpty(); }
	void Add(const ElementType& Item, bool* bIsAlreadyInSetPtr = nullptr)
	{
		const bool bAlready = Items.Contains(Item);
		if (bIsAlreadyInSetPtr)
		{
			*bIsAlreadyInSetPtr = bAlready;
		}
		if (!bAlready)
		{
			Items.Add(Item, 0);
		}
	}
	bool Contains(const ElementType& Item) const { return Items.Contains(Item); }
	int32 Remove(const ElementType& Item) { return Items.Remove(Item); }
	void Empty() { Items.Empty(); }
	void Reset() { Items.Reset(); }
	TArray<ElementType> Array() const
	{
		TArray<ElementType> Result;
		Items.GetKeys(Result);
		return Result;
	}

	auto begin() const { return KeyIterator{Items.begin()}; }
	auto end() const { return KeyIterator{Items.end()}; }

private:
	using FMapType = TMap<ElementType, uint8>;
	using FInnerIterator = decltype(std::declval<const FMapType&>().begin());
	struct KeyIterator
	{
		FInnerIterator It;
		const ElementType& operator*() const { return It->Key; }
		KeyIterator& operator++()
		{
			++It;
			return *this;
		}
		bool operator!=(const KeyIterator& Other) const { return It != Other.It; }
		bool operator==(const KeyIterator& Other) const { return It == Other.It; }
	};
	FMapType Items;
};
