// UObject's names, paths, class tests, dirtying and undo recording, and the class tree.
#include "HostObjectsPrivate.h"
#include "Misc/ITransaction.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/TopLevelAssetPath.h"

namespace
{
bool IsClassObject(const UObjectBase* Object)
{
	// Class objects have no outer and are the only objects whose class is the class of classes.
	return !Object->GetOuter() && Object->GetClass() && Object->GetClass() == UClass::StaticClass();
}

void AppendPath(const UObjectBaseUtility* Object, const UObject* StopOuter, FString& Out)
{
	UObject* Outer = Object->GetOuter();
	if (Outer && Outer != StopOuter)
	{
		AppendPath(Outer, StopOuter, Out);
		// An object inside a top-level asset is a sub-object (":"); every other level is separated by ".".
		const bool bSubobject = Outer->GetClass() != UPackage::StaticClass() && Outer->GetOuter() &&
			Outer->GetOuter()->GetClass() == UPackage::StaticClass();
		Out.AppendChar(bSubobject ? ':' : '.');
		Out += Object->GetName();
		return;
	}
	if (IsClassObject(Object))
	{
		Out += static_cast<const UClass*>(Object)->GetHostScriptPackage();
		Out.AppendChar('.');
	}
	Out += Object->GetName();
}
} // namespace

FString UObjectBaseUtility::GetPathName(const UObject* StopOuter) const
{
	if (this == (const UObjectBaseUtility*)StopOuter)
	{
		return FString(TEXT("None"));
	}
	FString Result;
	AppendPath(this, StopOuter, Result);
	return Result;
}

FString UObjectBaseUtility::GetFullName(const UObject* StopOuter) const
{
	return (GetClass() ? GetClass()->GetName() : FString(TEXT("None"))) + TEXT(" ") + GetPathName(StopOuter);
}

UObject* UObjectBaseUtility::GetOutermostObject() const
{
	const UObjectBaseUtility* Top = this;
	while (Top->GetOuter())
	{
		Top = Top->GetOuter();
	}
	return const_cast<UObject*>(static_cast<const UObject*>(Top));
}

UPackage* UObjectBaseUtility::GetPackage() const
{
	UObject* Top = GetOutermostObject();
	return Top && Top->GetClass() == UPackage::StaticClass() ? static_cast<UPackage*>(Top) : nullptr;
}

bool UObjectBaseUtility::IsIn(const UObject* SomeOuter) const
{
	for (const UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer == SomeOuter)
		{
			return true;
		}
	}
	return SomeOuter == nullptr;
}

bool UObjectBaseUtility::IsInPackage(const UPackage* SomePackage) const
{
	return SomePackage && GetPackage() == SomePackage && (const UObjectBaseUtility*)SomePackage != this;
}

bool UObjectBaseUtility::IsA(const UClass* SomeBase) const
{
	return SomeBase && GetClass() && GetClass()->IsChildOf(SomeBase);
}

UObject* UObjectBaseUtility::GetTypedOuter(UClass* Target) const
{
	for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer->IsA(Target))
		{
			return Outer;
		}
	}
	return nullptr;
}

bool UObjectBaseUtility::MarkPackageDirty() const
{
	if (HostObjects::IsLoadingPackages())
	{
		return false;
	}
	UPackage* Package = GetPackage();
	if (!Package || Package == GetTransientPackage() || Package->HasAnyFlags(RF_Transient) ||
		Package->GetName().StartsWith(TEXT("/Script/")))
	{
		return false;
	}
	Package->SetDirtyFlag(true);
	return true;
}

bool UObject::Modify(bool bAlwaysMarkDirty)
{
	bool bSaved = false;
	if (GUndo && HasAnyFlags(RF_Transactional) && !HostObjects::IsLoadingPackages())
	{
		GUndo->SaveObject(this);
		bSaved = true;
	}
	if (bAlwaysMarkDirty)
	{
		MarkPackageDirty();
	}
	return bSaved;
}

bool UObject::ConditionalBeginDestroy()
{
	if (HasAnyFlags(RF_BeginDestroyed))
	{
		return false;
	}
	SetFlags(RF_BeginDestroyed);
	BeginDestroy();
	return true;
}

bool UObject::IsAsset() const
{
	const UObject* Outer = GetOuter();
	return Outer && Outer->GetClass() == UPackage::StaticClass() && Outer != (const UObject*)GetTransientPackage() &&
		!HasAnyFlags(RF_Transient | RF_ClassDefaultObject) && !Outer->HasAnyFlags(RF_Transient) && !IsGarbage();
}

UObject* UObject::CreateDefaultSubobject(
	FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient)
{
	(void)ReturnType;
	(void)bIsRequired;
	EObjectFlags Flags = RF_DefaultSubObject | (GetFlags() & (RF_Public | RF_Transactional | RF_ArchetypeObject | RF_Transient));
	if (bIsTransient)
	{
		Flags |= RF_Transient;
	}
	return HostObjects::StaticConstructObject(ClassToCreateByDefault, this, SubobjectFName, Flags);
}

bool UStruct::IsChildOf(const UStruct* SomeBase) const
{
	if (!SomeBase)
	{
		return false;
	}
	for (const UStruct* Struct = this; Struct; Struct = Struct->SuperStruct)
	{
		if (Struct == SomeBase)
		{
			return true;
		}
	}
	return false;
}

FTopLevelAssetPath UClass::GetClassPathName() const
{
	return FTopLevelAssetPath(FName(*ScriptPackage), GetFName());
}

void UPackage::SetDirtyFlag(bool bInIsDirty)
{
	if (this == GetTransientPackage())
	{
		return;
	}
	bDirty = bInIsDirty;
}
