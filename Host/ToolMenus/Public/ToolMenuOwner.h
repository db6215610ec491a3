// Stands in for the engine's ToolMenuOwner.h: who registered a menu extension, so that it can be removed as a
// whole. Owners made from names compare as names (without regard to case); owners made from pointers as pointers.
#pragma once

#include "CoreMinimal.h"

struct FToolMenuOwner
{
	/** No owner: unregistering it removes nothing. */
	FToolMenuOwner()
		: ValueType(EValueType::None)
	{
	}
	FToolMenuOwner(const void* InPointer)
		: ValuePointer(InPointer)
		, ValueType(InPointer ? EValueType::Pointer : EValueType::None)
	{
	}
	FToolMenuOwner(const WIDECHAR* InValue)
		: ValueName(InValue)
		, ValueType(EValueType::Name)
	{
	}
	FToolMenuOwner(const ANSICHAR* InValue)
		: ValueName(InValue)
		, ValueType(EValueType::Name)
	{
	}
	FToolMenuOwner(const FName InValue)
		: ValueName(InValue)
		, ValueType(InValue.IsNone() ? EValueType::None : EValueType::Name)
	{
	}

	bool operator==(const FToolMenuOwner& Other) const
	{
		if (ValueType != Other.ValueType)
		{
			return false;
		}
		switch (ValueType)
		{
			case EValueType::Pointer:
				return ValuePointer == Other.ValuePointer;
			case EValueType::Name:
				return ValueName == Other.ValueName;
			default:
				return true;
		}
	}
	bool operator!=(const FToolMenuOwner& Other) const { return !(*this == Other); }

	bool IsSet() const { return ValueType != EValueType::None; }
	/** The owner's name, or none for pointer owners. */
	FName TryGetName() const { return ValueType == EValueType::Name ? ValueName : FName(); }

private:
	enum class EValueType : uint8
	{
		None,
		Name,
		Pointer,
	};

	const void* ValuePointer = nullptr;
	FName ValueName;
	EValueType ValueType;
};
