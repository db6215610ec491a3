// The object system: one slot per live object (weak pointers compare slot serial numbers), a hash by outer and
// name for lookups, the class registry, construction with name/outer/flags decided before the constructor runs
// (as the engine's object initializer does), renaming, and collection of objects marked as garbage.
#include "HostObjectsPrivate.h"
#include "Misc/ITransaction.h"
#include "UObject/Class.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unordered_map>
#include <vector>

ITransaction* GUndo = nullptr;

namespace HostObjects
{
struct FObjectAccess
{
	static void SetName(UObjectBase* Object, FName Name) { Object->NamePrivate = Name; }
	static void SetOuter(UObjectBase* Object, UObject* Outer) { Object->OuterPrivate = Outer; }
	static void SetClass(UObjectBase* Object, UClass* Class) { Object->ClassPrivate = Class; }
	static void SetIndex(UObjectBase* Object, int32 Index) { Object->InternalIndex = Index; }
	static void SetFlags(UObjectBase* Object, EObjectFlags Flags) { Object->ObjectFlags = Flags; }
};
} // namespace HostObjects

namespace
{
using HostObjects::FObjectAccess;

struct FSlot
{
	UObject* Object = nullptr;
	int32 Serial = 0;
	bool bGarbage = false;
	bool bRooted = false;
};

struct FPending
{
	UClass* Class = nullptr;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags Flags = RF_NoFlags;
	bool bClassObject = false;
};

struct FOuterNameKey
{
	const UObject* Outer;
	uint32 Name;
	bool operator==(const FOuterNameKey& Other) const { return Outer == Other.Outer && Name == Other.Name; }
};

struct FOuterNameKeyHash
{
	size_t operator()(const FOuterNameKey& Key) const
	{
		return std::hash<const void*>()(Key.Outer) ^ (std::hash<uint32>()(Key.Name) * 0x9e3779b97f4a7c15ull);
	}
};

struct FObjectSystem
{
	std::vector<FSlot> Slots;
	std::vector<int32> FreeSlots;
	int32 NextSerial = 1;
	std::unordered_map<FOuterNameKey, UObject*, FOuterNameKeyHash> ByOuterAndName;
	std::unordered_map<const UObject*, std::vector<UObject*>> Children;
	std::vector<UObject*> RootObjects;
	std::vector<FPending> PendingStack;
	std::vector<FObjectInitializer> InitializerStack;
	std::unordered_map<std::u16string, UClass*> ClassesByPath;
	std::vector<UClass*> Classes;
	UClass* ClassOfClasses = nullptr;
	std::unordered_map<const UClass*, int32> NameCounters;
	bool bCollecting = false;
	int32 LoadingDepth = 0;

	static FObjectSystem& Get()
	{
		// Never destroyed: objects may still be reached from other statics while the process exits.
		static FObjectSystem* System = new FObjectSystem();
		return *System;
	}

	UObject* Find(const UObject* Outer, FName Name) const
	{
		auto Found = ByOuterAndName.find(FOuterNameKey{Outer, Name.GetComparisonIndex()});
		return Found == ByOuterAndName.end() ? nullptr : Found->second;
	}
	bool IsGarbage(const UObjectBase* Object) const
	{
		const int32 Index = Object->GetUniqueID();
		return Index >= 0 && Index < (int32)Slots.size() && Slots[Index].bGarbage;
	}
	void Link(UObject* Object)
	{
		ByOuterAndName[FOuterNameKey{Object->GetOuter(), Object->GetFName().GetComparisonIndex()}] = Object;
		if (Object->GetOuter())
		{
			Children[Object->GetOuter()].push_back(Object);
		}
		else
		{
			RootObjects.push_back(Object);
		}
	}
	void Unlink(UObject* Object)
	{
		auto Found = ByOuterAndName.find(FOuterNameKey{Object->GetOuter(), Object->GetFName().GetComparisonIndex()});
		if (Found != ByOuterAndName.end() && Found->second == Object)
		{
			ByOuterAndName.erase(Found);
		}
		std::vector<UObject*>* List = &RootObjects;
		if (Object->GetOuter())
		{
			auto ChildList = Children.find(Object->GetOuter());
			List = ChildList == Children.end() ? nullptr : &ChildList->second;
		}
		if (List)
		{
			List->erase(std::remove(List->begin(), List->end(), Object), List->end());
		}
	}
};

std::u16string FoldedPath(const FString& Path)
{
	return Path.ToLower().HostStorage();
}

/** The engine's class names drop the C++ prefix: USkeletalMesh is "SkeletalMesh", ASkeletalMeshActor "SkeletalMeshActor". */
FString ClassNameFromCppName(const TCHAR* CppName)
{
	FString Name(CppName);
	if (Name.Len() > 1 && (Name[0] == 'U' || Name[0] == 'A') && FChar::IsUpper(Name[1]))
	{
		Name.RightChopInline(1);
	}
	return Name;
}

void CollectNested(const FObjectSystem& System, const UObject* Outer, std::vector<UObject*>& Out)
{
	auto Found = System.Children.find(Outer);
	if (Found == System.Children.end())
	{
		return;
	}
	for (UObject* Child : Found->second)
	{
		Out.push_back(Child);
		CollectNested(System, Child, Out);
	}
}
} // namespace

UObjectBase::UObjectBase()
{
	FObjectSystem& System = FObjectSystem::Get();
	if (System.PendingStack.empty())
	{
		HostAssert::Fail("PendingStack", __FILE__, __LINE__, "objects are made with NewObject, never with new");
	}
	const FPending Pending = System.PendingStack.back();
	System.PendingStack.pop_back();
	ClassPrivate = Pending.Class;
	NamePrivate = Pending.Name;
	OuterPrivate = Pending.Outer;
	ObjectFlags = Pending.Flags;
	if (!System.FreeSlots.empty())
	{
		InternalIndex = System.FreeSlots.back();
		System.FreeSlots.pop_back();
	}
	else
	{
		InternalIndex = (int32)System.Slots.size();
		System.Slots.emplace_back();
	}
	FSlot& Slot = System.Slots[InternalIndex];
	// Objects derive from UObjectBase alone, so the base and the object share their address.
	UObject* Self = reinterpret_cast<UObject*>(this);
	Slot.Object = Self;
	Slot.Serial = System.NextSerial++;
	Slot.bGarbage = false;
	Slot.bRooted = false;
	if (!System.InitializerStack.empty())
	{
		System.InitializerStack.back() = FObjectInitializer(Self);
	}
	if (!Pending.bClassObject)
	{
		System.Link(Self);
	}
}

UObjectBase::~UObjectBase()
{
	FObjectSystem& System = FObjectSystem::Get();
	UObject* Self = reinterpret_cast<UObject*>(this);
	System.Unlink(Self);
	System.Children.erase(Self);
	if (InternalIndex >= 0 && InternalIndex < (int32)System.Slots.size())
	{
		FSlot& Slot = System.Slots[InternalIndex];
		Slot = FSlot();
		System.FreeSlots.push_back(InternalIndex);
	}
}

bool UObjectBase::IsValidLowLevel() const
{
	const FObjectSystem& System = FObjectSystem::Get();
	return InternalIndex >= 0 && InternalIndex < (int32)System.Slots.size() &&
		System.Slots[InternalIndex].Object == reinterpret_cast<const UObject*>(this);
}

bool UObjectInitialized()
{
	return true;
}

UClass* HostObjects::RegisterClass(
	const TCHAR* CppName, UClass* SuperClass, const TCHAR* ScriptPackage, UObject* (*Construct)(), uint32 ClassCastFlags)
{
	(void)ClassCastFlags;
	FObjectSystem& System = FObjectSystem::Get();
	FPending Pending;
	Pending.Class = System.ClassOfClasses;
	Pending.Name = FName(*ClassNameFromCppName(CppName));
	Pending.Flags = RF_Public | RF_Standalone | RF_MarkAsNative;
	Pending.bClassObject = true;
	System.PendingStack.push_back(Pending);
	System.InitializerStack.emplace_back();
	UClass* NewClass = new UClass();
	System.InitializerStack.pop_back();
	System.Slots[NewClass->GetUniqueID()].bRooted = true;
	NewClass->SuperStruct = SuperClass;
	NewClass->ScriptPackage = FString(ScriptPackage);
	NewClass->Construct = Construct;
	if (Construct && Construct == &HostObjects::ConstructInstance<UClass>)
	{
		System.ClassOfClasses = NewClass;
		for (UClass* Existing : System.Classes)
		{
			FObjectAccess::SetClass(Existing, NewClass);
		}
		FObjectAccess::SetClass(NewClass, NewClass);
	}
	System.Classes.push_back(NewClass);
	System.ClassesByPath[FoldedPath(NewClass->ScriptPackage + TEXT(".") + NewClass->GetName())] = NewClass;
	return NewClass;
}

UClass* HostObjects::FindClassByPath(const FString& ClassPath)
{
	FObjectSystem& System = FObjectSystem::Get();
	auto Found = System.ClassesByPath.find(FoldedPath(ClassPath));
	return Found == System.ClassesByPath.end() ? nullptr : Found->second;
}

const FObjectInitializer& HostObjects::HostObjectInitializer()
{
	FObjectSystem& System = FObjectSystem::Get();
	static const FObjectInitializer Empty;
	return System.InitializerStack.empty() ? Empty : System.InitializerStack.back();
}

const FObjectInitializer& FObjectInitializer::Get()
{
	return HostObjects::HostObjectInitializer();
}

UClass* UObject::StaticClass()
{
	static UClass* const Class = HostObjects::RegisterClass(
		TEXT("UObject"), nullptr, TEXT("/Script/CoreUObject"), &HostObjects::ConstructInstance<UObject>, 0);
	return Class;
}

UObject* HostObjects::ResolveSlot(int32 Index, int32 SerialNumber, bool bEvenIfGarbage)
{
	const FObjectSystem& System = FObjectSystem::Get();
	if (Index < 0 || Index >= (int32)System.Slots.size())
	{
		return nullptr;
	}
	const FSlot& Slot = System.Slots[Index];
	if (Slot.Serial != SerialNumber || !Slot.Object || (Slot.bGarbage && !bEvenIfGarbage))
	{
		return nullptr;
	}
	return Slot.Object;
}

int32 HostObjects::GetSlotSerialNumber(int32 Index)
{
	const FObjectSystem& System = FObjectSystem::Get();
	return Index >= 0 && Index < (int32)System.Slots.size() ? System.Slots[Index].Serial : 0;
}

int32 HostObjects::GetObjectIndex(const UObject* Object)
{
	return Object ? Object->GetUniqueID() : INDEX_NONE;
}

FWeakObjectPtr& FWeakObjectPtr::operator=(const UObject* Object)
{
	if (Object && Object->IsValidLowLevel())
	{
		ObjectIndex = Object->GetUniqueID();
		ObjectSerialNumber = HostObjects::GetSlotSerialNumber(ObjectIndex);
	}
	else
	{
		Reset();
	}
	return *this;
}

std::function<bool()> HostDelegates::MakeObjectAliveCheck(const UObject* Object)
{
	const FWeakObjectPtr Weak(Object);
	return [Weak]() { return Weak.IsValid(); };
}

bool HostObjects::IsLoadingPackages()
{
	return FObjectSystem::Get().LoadingDepth > 0;
}

void HostObjects::BeginLoading()
{
	++FObjectSystem::Get().LoadingDepth;
}

void HostObjects::EndLoading()
{
	--FObjectSystem::Get().LoadingDepth;
}

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName)
{
	FObjectSystem& System = FObjectSystem::Get();
	const FString Base = BaseName.IsNone() ? (Class ? Class->GetName() : FString(TEXT("Object"))) : BaseName.ToString();
	int32& Counter = System.NameCounters[Class];
	for (;;)
	{
		const FName Candidate(*FString::Printf(TEXT("%s_%d"), *Base, Counter++));
		if (!System.Find(Outer, Candidate))
		{
			return Candidate;
		}
	}
}

UObject* HostObjects::StaticConstructObject(const UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags)
{
	FObjectSystem& System = FObjectSystem::Get();
	check(Class != nullptr);
	check(Outer != nullptr || Class->IsChildOf(UPackage::StaticClass()));
	if (Name.IsNone())
	{
		Name = MakeUniqueObjectName(Outer, Class);
	}
	if (UObject* Existing = System.Find(Outer, Name))
	{
		if (System.IsGarbage(Existing))
		{
			// A destroyed-but-not-collected object gives way, as the engine renames objects it is about to collect.
			Existing->Rename(*MakeUniqueObjectName(GetTransientPackage(), Existing->GetClass(),
									FName(*FString::Printf(TEXT("TRASH_%s"), *Existing->GetName())))
								 .ToString(),
				GetTransientPackage(), REN_DoNotDirty | REN_NonTransactional);
		}
		else
		{
			std::fprintf(stderr, "Fatal: an object named %s already exists\n",
				FTCHARToUTF8(*Existing->GetPathName()).Get());
			check(!"NewObject with a name that is taken");
		}
	}
	FPending Pending;
	Pending.Class = const_cast<UClass*>(Class);
	Pending.Outer = Outer;
	Pending.Name = Name;
	Pending.Flags = Flags;
	System.PendingStack.push_back(Pending);
	System.InitializerStack.emplace_back();
	UObject* Object = Class->HostConstructInstance();
	System.InitializerStack.pop_back();
	if (!Object)
	{
		System.PendingStack.pop_back();
		check(!"NewObject of an abstract class");
		return nullptr;
	}
	Object->PostInitProperties();
	if (GUndo && Object->HasAnyFlags(RF_Transactional) && !HostObjects::IsLoadingPackages())
	{
		GUndo->HostObjectCreated(Object);
	}
	return Object;
}

UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool ExactClass, EObjectFlags ExclusiveFlags)
{
	FObjectSystem& System = FObjectSystem::Get();
	UObject* Found = System.Find(InOuter, InName);
	if (!Found || System.IsGarbage(Found) || Found->HasAnyFlags(ExclusiveFlags))
	{
		return nullptr;
	}
	if (Class && (ExactClass ? Found->GetClass() != Class : !Found->IsA(Class)))
	{
		return nullptr;
	}
	return Found;
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass)
{
	if (!Name || !*Name)
	{
		return nullptr;
	}
	const FString Path(Name);
	if (InOuter)
	{
		return StaticFindObjectFast(Class, InOuter, FName(*Path), ExactClass);
	}
	if (Path.StartsWith(TEXT("/Script/")))
	{
		UClass* FoundClass = HostObjects::FindClassByPath(Path);
		return FoundClass && (!Class || FoundClass->IsA(Class)) ? FoundClass : nullptr;
	}
	if (Path.StartsWith(TEXT("/Game/")))
	{
		HostObjects::SyncContentMount();
	}
	// "/Pkg/Name.Object:Sub.Deeper": the package, then each object inside the one before.
	int32 Start = 0;
	int32 End = 0;
	while (End < Path.Len() && Path[End] != '.' && Path[End] != ':')
	{
		++End;
	}
	UObject* Current = StaticFindObjectFast(nullptr, nullptr, FName(*Path.Mid(Start, End - Start)));
	while (Current && End < Path.Len())
	{
		Start = End + 1;
		End = Start;
		while (End < Path.Len() && Path[End] != '.' && Path[End] != ':')
		{
			++End;
		}
		Current = StaticFindObjectFast(nullptr, Current, FName(*Path.Mid(Start, End - Start)));
	}
	if (Current && Class && (ExactClass ? Current->GetClass() != Class : !Current->IsA(Class)))
	{
		return nullptr;
	}
	return Current;
}

bool IsGarbageCollecting()
{
	return FObjectSystem::Get().bCollecting;
}

void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	(void)KeepFlags;
	(void)bPerformFullPurge;
	FObjectSystem& System = FObjectSystem::Get();
	if (System.bCollecting)
	{
		return;
	}
	System.bCollecting = true;
	std::vector<UObject*> Doomed;
	for (const FSlot& Slot : System.Slots)
	{
		if (Slot.Object && Slot.bGarbage && !Slot.bRooted)
		{
			Doomed.push_back(Slot.Object);
		}
	}
	// Everything inside a collected object goes with it; the innermost objects are destroyed first.
	std::vector<UObject*> Order;
	std::vector<bool> Seen(System.Slots.size(), false);
	std::function<void(UObject*)> Visit = [&](UObject* Object)
	{
		const int32 Index = Object->GetUniqueID();
		if (Seen[Index])
		{
			return;
		}
		Seen[Index] = true;
		auto Found = System.Children.find(Object);
		if (Found != System.Children.end())
		{
			const std::vector<UObject*> Inner = Found->second;
			for (UObject* Child : Inner)
			{
				Visit(Child);
			}
		}
		Order.push_back(Object);
	};
	for (UObject* Object : Doomed)
	{
		Visit(Object);
	}
	for (UObject* Object : Order)
	{
		System.Slots[Object->GetUniqueID()].bGarbage = true;
		Object->ConditionalBeginDestroy();
		Object->FinishDestroy();
	}
	for (UObject* Object : Order)
	{
		delete Object;
	}
	System.bCollecting = false;
}

void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects, EObjectFlags ExclusionFlags)
{
	FObjectSystem& System = FObjectSystem::Get();
	std::vector<UObject*> Found;
	if (bIncludeNestedObjects)
	{
		CollectNested(System, Outer, Found);
	}
	else
	{
		auto List = System.Children.find(Outer);
		if (List != System.Children.end())
		{
			Found = List->second;
		}
	}
	for (UObject* Object : Found)
	{
		if (!System.IsGarbage(Object) && !Object->HasAnyFlags(ExclusionFlags))
		{
			Results.Add(Object);
		}
	}
}

void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses, EObjectFlags ExcludeFlags)
{
	FObjectSystem& System = FObjectSystem::Get();
	for (const FSlot& Slot : System.Slots)
	{
		if (!Slot.Object || Slot.bGarbage || Slot.Object->HasAnyFlags(ExcludeFlags) || !Slot.Object->GetClass())
		{
			continue;
		}
		const bool bMatches = bIncludeDerivedClasses ? Slot.Object->GetClass()->IsChildOf(ClassToLookFor)
													 : Slot.Object->GetClass() == ClassToLookFor;
		if (bMatches)
		{
			Results.Add(Slot.Object);
		}
	}
}

void HostObjects::GetLoadedPackages(TArray<UPackage*>& OutPackages)
{
	FObjectSystem& System = FObjectSystem::Get();
	for (UObject* Object : System.RootObjects)
	{
		if (!System.IsGarbage(Object) && Object->GetClass() == UPackage::StaticClass())
		{
			OutPackages.Add(static_cast<UPackage*>(Object));
		}
	}
}

void HostObjects::GetDirectChildren(const UObject* Outer, std::vector<UObject*>& Out)
{
	FObjectSystem& System = FObjectSystem::Get();
	auto Found = System.Children.find(Outer);
	if (Found != System.Children.end())
	{
		for (UObject* Child : Found->second)
		{
			if (!System.IsGarbage(Child))
			{
				Out.push_back(Child);
			}
		}
	}
}

// ----------------------------------------------------------------------------------------------------------------
// Per-object utility

void UObjectBaseUtility::MarkAsGarbage()
{
	FObjectSystem& System = FObjectSystem::Get();
	if (IsValidLowLevel())
	{
		System.Slots[GetUniqueID()].bGarbage = true;
	}
}

void UObjectBaseUtility::ClearGarbage()
{
	FObjectSystem& System = FObjectSystem::Get();
	if (IsValidLowLevel())
	{
		System.Slots[GetUniqueID()].bGarbage = false;
	}
}

bool UObjectBaseUtility::IsGarbage() const
{
	return FObjectSystem::Get().IsGarbage(this);
}

void UObjectBaseUtility::AddToRoot()
{
	if (IsValidLowLevel())
	{
		FObjectSystem::Get().Slots[GetUniqueID()].bRooted = true;
	}
}

void UObjectBaseUtility::RemoveFromRoot()
{
	if (IsValidLowLevel())
	{
		FObjectSystem::Get().Slots[GetUniqueID()].bRooted = false;
	}
}

bool UObjectBaseUtility::IsRooted() const
{
	return IsValidLowLevel() && FObjectSystem::Get().Slots[GetUniqueID()].bRooted;
}

bool IsValid(const UObject* Test)
{
	return Test && Test->IsValidLowLevel() && !Test->IsGarbage();
}

bool UObject::Rename(const TCHAR* NewName, UObject* NewOuter, ERenameFlags Flags)
{
	FObjectSystem& System = FObjectSystem::Get();
	UObject* TargetOuter = NewOuter ? NewOuter : GetOuter();
	const FName TargetName = NewName ? FName(NewName) : MakeUniqueObjectName(TargetOuter, GetClass());
	if (TargetName.IsNone())
	{
		return false;
	}
	UObject* Existing = System.Find(TargetOuter, TargetName);
	if (Existing && Existing != this)
	{
		return false;
	}
	if (Flags & REN_Test)
	{
		return true;
	}
	if (!(Flags & REN_NonTransactional))
	{
		Modify(false);
	}
	if (!(Flags & REN_DoNotDirty))
	{
		MarkPackageDirty();
	}
	UObject* OldOuter = GetOuter();
	const FName OldName = GetFName();
	System.Unlink(this);
	FObjectAccess::SetName(this, TargetName);
	FObjectAccess::SetOuter(this, TargetOuter);
	System.Link(this);
	if (!(Flags & REN_DoNotDirty))
	{
		MarkPackageDirty();
	}
	PostRename(OldOuter, OldName);
	return true;
}
