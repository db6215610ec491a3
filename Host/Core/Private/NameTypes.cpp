// FName table of the stand-in: one entry per distinct spelling, compared through a case-folded index.
#include "UObject/NameTypes.h"
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace
{
struct FNameTable
{
	std::mutex Lock;
	std::deque<FString> Spellings;
	std::unordered_map<std::u16string, uint32> ByExact;
	std::unordered_map<std::u16string, uint32> ByFolded;

	FNameTable()
	{
		Spellings.push_back(FString(TEXT("None")));
		ByExact.emplace(u"None", 0);
		ByFolded.emplace(u"none", 0);
	}

	static FNameTable& Get()
	{
		static FNameTable Table;
		return Table;
	}
};
} // namespace

FName::FName(const TCHAR* Name, EFindName FindType)
	: FName(FString(Name), FindType)
{
}

FName::FName(const ANSICHAR* Name, EFindName FindType)
	: FName(FString(Name), FindType)
{
}

FName::FName(const FString& Name, EFindName FindType)
{
	if (Name.IsEmpty())
	{
		return;
	}
	FNameTable& Table = FNameTable::Get();
	std::lock_guard<std::mutex> Guard(Table.Lock);
	const std::u16string Folded = Name.ToLower().HostStorage();
	auto Found = Table.ByFolded.find(Folded);
	if (Found == Table.ByFolded.end())
	{
		if (FindType == FNAME_Find)
		{
			return;
		}
		const uint32 Index = (uint32)Table.Spellings.size();
		Table.Spellings.push_back(Name);
		Table.ByExact.emplace(Name.HostStorage(), Index);
		Found = Table.ByFolded.emplace(Folded, Index).first;
	}
	ComparisonIndex = Found->second;
	auto Exact = Table.ByExact.find(Name.HostStorage());
	if (Exact == Table.ByExact.end())
	{
		const uint32 Index = (uint32)Table.Spellings.size();
		Table.Spellings.push_back(Name);
		Exact = Table.ByExact.emplace(Name.HostStorage(), Index).first;
	}
	DisplayIndex = Exact->second;
}

FString FName::ToString() const
{
	FNameTable& Table = FNameTable::Get();
	std::lock_guard<std::mutex> Guard(Table.Lock);
	return Table.Spellings[DisplayIndex];
}

int32 FName::Compare(const FName& Other) const
{
	return ToString().Compare(Other.ToString(), ESearchCase::IgnoreCase);
}
