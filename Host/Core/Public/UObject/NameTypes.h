// Stand-in for the engine's UObject/NameTypes.h: FName compares without regard to case and keeps its own spelling.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

enum EName
{
	NAME_None = 0,
};

enum EFindName
{
	FNAME_Find,
	FNAME_Add,
};

class FName
{
public:
	FName() = default;
	FName(EName) {}
	FName(const TCHAR* Name, EFindName FindType = FNAME_Add);
	FName(const ANSICHAR* Name, EFindName FindType = FNAME_Add);
	FName(const FString& Name, EFindName FindType = FNAME_Add);

	/** The spelling this name was made with. */
	FString ToString() const;
	void ToString(FString& Out) const { Out = ToString(); }
	void AppendString(FString& Out) const { Out += ToString(); }
	bool IsNone() const { return ComparisonIndex == 0; }
	bool IsValid() const { return true; }
	uint32 GetComparisonIndex() const { return ComparisonIndex; }
	int32 Compare(const FName& Other) const;
	bool LexicalLess(const FName& Other) const { return Compare(Other) < 0; }
	bool IsEqual(const FName& Other) const { return ComparisonIndex == Other.ComparisonIndex; }

	bool operator==(const FName& Other) const { return ComparisonIndex == Other.ComparisonIndex; }
	bool operator!=(const FName& Other) const { return ComparisonIndex != Other.ComparisonIndex; }
	bool operator==(EName) const { return ComparisonIndex == 0; }
	bool operator!=(EName) const { return ComparisonIndex != 0; }
	bool FastLess(const FName& Other) const { return ComparisonIndex < Other.ComparisonIndex; }

	friend uint32 GetTypeHash(const FName& Name) { return Name.ComparisonIndex; }

private:
	uint32 ComparisonIndex = 0;
	uint32 DisplayIndex = 0;
};

inline FString LexToString(const FName& Name)
{
	return Name.ToString();
}
