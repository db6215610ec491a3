// Object references by path (FTopLevelAssetPath, FSoftObjectPath) and the registry's record of an asset.
#include "AssetRegistry/AssetData.h"
#include "Misc/PackageName.h"
#include "UObject/Class.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPath.h"

FTopLevelAssetPath::FTopLevelAssetPath(const UObject* InObject)
{
	if (InObject && InObject->GetOuter())
	{
		const FString Path = InObject->GetPathName();
		TrySetPath(Path);
	}
	else if (InObject)
	{
		TrySetPath(InObject->GetPathName());
	}
}

bool FTopLevelAssetPath::TrySetPath(const FString& Path)
{
	Reset();
	int32 Dot = INDEX_NONE;
	if (!Path.StartsWith(TEXT("/")) || !Path.FindChar('.', Dot) || Path.Contains(TEXT(":")))
	{
		return false;
	}
	const FString Object = Path.RightChop(Dot + 1);
	if (Object.IsEmpty() || Object.Contains(TEXT(".")))
	{
		return false;
	}
	PackageName = FName(*Path.Left(Dot));
	AssetName = FName(*Object);
	return true;
}

FString FTopLevelAssetPath::ToString() const
{
	if (IsNull())
	{
		return FString();
	}
	return PackageName.ToString() + TEXT(".") + AssetName.ToString();
}

FSoftObjectPath::FSoftObjectPath(const UObject* InObject)
{
	if (InObject)
	{
		SetPath(InObject->GetPathName());
	}
}

void FSoftObjectPath::SetPath(const FString& Path)
{
	Reset();
	int32 Colon = INDEX_NONE;
	FString Top = Path;
	if (Path.FindChar(':', Colon))
	{
		Top = Path.Left(Colon);
		SubPathString = Path.RightChop(Colon + 1);
	}
	if (!AssetPath.TrySetPath(Top))
	{
		SubPathString.Reset();
	}
}

FString FSoftObjectPath::ToString() const
{
	if (SubPathString.IsEmpty())
	{
		return AssetPath.ToString();
	}
	return AssetPath.ToString() + TEXT(":") + SubPathString;
}

UObject* FSoftObjectPath::ResolveObject() const
{
	return IsNull() ? nullptr : StaticFindObject(nullptr, nullptr, *ToString());
}

UObject* FSoftObjectPath::TryLoad() const
{
	return IsNull() ? nullptr : StaticLoadObject(UObject::StaticClass(), nullptr, *ToString(), nullptr, LOAD_NoWarn);
}

FAssetData::FAssetData(const UObject* InAsset)
{
	if (InAsset && InAsset->GetPackage())
	{
		const FString Package = InAsset->GetPackage()->GetName();
		PackageName = FName(*Package);
		PackagePath = FName(*FPackageName::GetLongPackagePath(Package));
		AssetName = InAsset->GetFName();
		AssetClassPath = InAsset->GetClass()->GetClassPathName();
	}
}

FAssetData::FAssetData(FName InPackageName, FName InPackagePath, FName InAssetName, FTopLevelAssetPath InAssetClassPath)
	: PackageName(InPackageName)
	, PackagePath(InPackagePath)
	, AssetName(InAssetName)
	, AssetClassPath(InAssetClassPath)
{
}

UClass* FAssetData::GetClass(EResolveClass ResolveClass) const
{
	(void)ResolveClass;
	return AssetClassPath.IsNull() ? nullptr : HostObjects::FindClassByPath(AssetClassPath.ToString());
}

FString FAssetData::GetObjectPathString() const
{
	if (!IsValid())
	{
		return FString();
	}
	return PackageName.ToString() + TEXT(".") + AssetName.ToString();
}

FSoftObjectPath FAssetData::GetSoftObjectPath() const
{
	return FSoftObjectPath(GetObjectPathString());
}

FString FAssetData::GetFullName() const
{
	return AssetClassPath.GetAssetName().ToString() + TEXT(" ") + GetObjectPathString();
}

FString FAssetData::GetExportTextName() const
{
	return AssetClassPath.ToString() + TEXT("'") + GetObjectPathString() + TEXT("'");
}

bool FAssetData::IsAssetLoaded() const
{
	return IsValid() && StaticFindObject(nullptr, nullptr, *GetObjectPathString()) != nullptr;
}

bool FAssetData::IsInstanceOf(const UClass* BaseClass) const
{
	UClass* Class = GetClass();
	return Class && Class->IsChildOf(BaseClass);
}

UObject* FAssetData::GetAsset(TSet<FName> /*LoadTags*/) const
{
	if (!IsValid())
	{
		return nullptr;
	}
	const FString Path = GetObjectPathString();
	if (UObject* Found = StaticFindObject(nullptr, nullptr, *Path))
	{
		return Found;
	}
	return StaticLoadObject(UObject::StaticClass(), nullptr, *Path, nullptr, LOAD_NoWarn);
}
