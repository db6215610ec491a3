// Packages in memory and on disk: the "/Game/" mount on the project's Content folder, package files in the
// stand-in's own format (see Host/README.md, "Objects"), loading by object path, and the byte archive.
#include "HostObjectsPrivate.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "UObject/Class.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

DEFINE_LOG_CATEGORY_STATIC(LogUObjectGlobals, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogSavePackage, Log, All);

namespace
{
constexpr uint32 PackageFileMagic = 0x4B505654; // "TVPK" read as little-endian bytes
constexpr uint32 PackageFileVersion = 1;

std::string ToUtf8(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

FString FromUtf8(const std::string& Text)
{
	return FString((int32)Text.size(), (const UTF8CHAR*)Text.data());
}

bool ReadWholeFile(const FString& Filename, std::vector<uint8>& Out)
{
	std::ifstream In(ToUtf8(Filename), std::ios::binary);
	if (!In)
	{
		return false;
	}
	In.seekg(0, std::ios::end);
	const std::streamoff Size = In.tellg();
	if (Size < 0)
	{
		return false;
	}
	In.seekg(0, std::ios::beg);
	Out.resize((size_t)Size);
	if (Size > 0)
	{
		In.read((char*)Out.data(), Size);
	}
	return (bool)In;
}

struct FFileObject
{
	HostObjects::FPackageFileObject Info;
	int64 PayloadOffset = 0;
	int64 PayloadSize = 0;
};

bool ParseTable(const std::vector<uint8>& Bytes, FString& OutPackageName, std::vector<FFileObject>& OutObjects)
{
	FHostMemoryReader Reader(Bytes.data(), (int64)Bytes.size());
	uint32 Magic = 0;
	uint32 Version = 0;
	Reader << Magic << Version;
	if (Reader.IsError() || Magic != PackageFileMagic || Version != PackageFileVersion)
	{
		return false;
	}
	int32 Count = 0;
	Reader << OutPackageName << Count;
	if (Reader.IsError() || Count < 0)
	{
		return false;
	}
	for (int32 Index = 0; Index < Count && !Reader.IsError(); ++Index)
	{
		FFileObject Object;
		Reader << Object.Info.ObjectName << Object.Info.ClassPath << Object.Info.OuterIndex << Object.Info.Flags;
		Reader << Object.PayloadOffset << Object.PayloadSize;
		if (Object.Info.OuterIndex >= Index || Object.Info.OuterIndex < -1 || Object.PayloadOffset < 0 ||
			Object.PayloadSize < 0 || Object.PayloadOffset + Object.PayloadSize > (int64)Bytes.size())
		{
			return false;
		}
		OutObjects.push_back(Object);
	}
	return !Reader.IsError();
}

/** The objects a package file holds: everything inside the package except transient objects, outers first. */
void GatherSavedObjects(const UObject* Outer, std::vector<UObject*>& Out)
{
	std::vector<UObject*> Children;
	HostObjects::GetDirectChildren(Outer, Children);
	for (UObject* Child : Children)
	{
		if (Child->HasAnyFlags(RF_Transient))
		{
			continue;
		}
		Out.push_back(Child);
		GatherSavedObjects(Child, Out);
	}
}

FString MountedContentDir;
} // namespace

// ----------------------------------------------------------------------------------------------------------------
// Archive

void FHostArchive::SerializeObject(UObject*& Object)
{
	FString Path;
	if (IsSaving())
	{
		if (IsValid(Object))
		{
			Path = Object->GetPathName();
		}
		*this << Path;
		return;
	}
	*this << Path;
	Object = nullptr;
	if (!Path.IsEmpty() && !IsError())
	{
		Object = StaticFindObject(nullptr, nullptr, *Path);
		if (!Object)
		{
			Object = StaticLoadObject(UObject::StaticClass(), nullptr, *Path, nullptr, LOAD_NoWarn);
		}
	}
}

FHostArchive& FHostArchive::operator<<(bool& V)
{
	uint8 Byte = V ? 1 : 0;
	*this << Byte;
	V = Byte != 0;
	return *this;
}

FHostArchive& FHostArchive::operator<<(FString& V)
{
	if (IsSaving())
	{
		FTCHARToUTF8 Utf8(*V);
		int32 Length = Utf8.Length();
		*this << Length;
		Serialize((void*)Utf8.Get(), Length);
		return *this;
	}
	int32 Length = 0;
	*this << Length;
	if (Length < 0 || IsError())
	{
		SetError();
		return *this;
	}
	std::string Bytes((size_t)Length, '\0');
	Serialize(Bytes.data(), Length);
	V = IsError() ? FString() : FromUtf8(Bytes);
	return *this;
}

FHostArchive& FHostArchive::operator<<(FName& V)
{
	FString Text = V.IsNone() ? FString() : V.ToString();
	*this << Text;
	if (IsLoading())
	{
		V = Text.IsEmpty() ? FName() : FName(*Text);
	}
	return *this;
}

FHostArchive& FHostArchive::operator<<(FTransform& V)
{
	FQuat Rotation = V.GetRotation();
	FVector Translation = V.GetTranslation();
	FVector Scale = V.GetScale3D();
	*this << Rotation << Translation << Scale;
	if (IsLoading())
	{
		V = FTransform(Rotation, Translation, Scale);
	}
	return *this;
}

void FHostMemoryWriter::Serialize(void* Data, int64 Num)
{
	const uint8* Begin = (const uint8*)Data;
	Bytes.insert(Bytes.end(), Begin, Begin + Num);
}

void FHostMemoryReader::Serialize(void* Out, int64 Num)
{
	if (IsError() || Num < 0 || Offset + Num > Size)
	{
		SetError();
		std::memset(Out, 0, (size_t)(Num > 0 ? Num : 0));
		return;
	}
	std::memcpy(Out, Data + Offset, (size_t)Num);
	Offset += Num;
}

std::vector<uint8> HostObjects::SaveObjectState(UObject* Object)
{
	FHostMemoryWriter Writer;
	Object->HostSerialize(Writer);
	return Writer.Bytes;
}

void HostObjects::LoadObjectState(UObject* Object, const std::vector<uint8>& Bytes)
{
	FHostMemoryReader Reader(Bytes.data(), (int64)Bytes.size());
	Object->HostSerialize(Reader);
}

// ----------------------------------------------------------------------------------------------------------------
// Content mount

FString HostObjects::GetContentDir()
{
	FString Dir = FPaths::ConvertRelativePathToFull(FPaths::ProjectContentDir());
	if (!Dir.EndsWith(TEXT("/")))
	{
		Dir += TEXT("/");
	}
	return Dir;
}

void HostObjects::SyncContentMount()
{
	const FString Current = GetContentDir();
	if (MountedContentDir.IsEmpty())
	{
		MountedContentDir = Current;
		return;
	}
	if (MountedContentDir.Equals(Current, ESearchCase::CaseSensitive))
	{
		return;
	}
	MountedContentDir = Current;
	TArray<UPackage*> Packages;
	GetLoadedPackages(Packages);
	bool bAny = false;
	for (UPackage* Package : Packages)
	{
		if (Package->GetName().StartsWith(TEXT("/Game/")))
		{
			Package->MarkAsGarbage();
			bAny = true;
		}
	}
	if (bAny)
	{
		CollectGarbage(RF_NoFlags, true);
	}
}

// ----------------------------------------------------------------------------------------------------------------
// Packages

UPackage* GetTransientPackage()
{
	static UPackage* const Transient = []()
	{
		UPackage* Package = static_cast<UPackage*>(
			HostObjects::StaticConstructObject(UPackage::StaticClass(), nullptr, FName(TEXT("/Engine/Transient")), RF_Transient));
		Package->AddToRoot();
		return Package;
	}();
	return Transient;
}

UPackage* CreatePackage(const TCHAR* PackageName)
{
	const FString Name(PackageName);
	if (Name.StartsWith(TEXT("/Game/")))
	{
		HostObjects::SyncContentMount();
	}
	if (UObject* Existing = StaticFindObjectFast(UPackage::StaticClass(), nullptr, FName(*Name)))
	{
		return static_cast<UPackage*>(Existing);
	}
	return static_cast<UPackage*>(
		HostObjects::StaticConstructObject(UPackage::StaticClass(), nullptr, FName(*Name), RF_Public));
}

bool HostObjects::ReadPackageFileSummary(
	const FString& Filename, FString& OutPackageName, TArray<FPackageFileObject>& OutObjects)
{
	std::vector<uint8> Bytes;
	std::vector<FFileObject> Objects;
	if (!ReadWholeFile(Filename, Bytes) || !ParseTable(Bytes, OutPackageName, Objects))
	{
		return false;
	}
	for (const FFileObject& Object : Objects)
	{
		OutObjects.Add(Object.Info);
	}
	return true;
}

UPackage* LoadPackage(UPackage* InOuter, const TCHAR* InLongPackageName, uint32 LoadFlags, FArchive* InReaderOverride,
	const FLinkerInstancingContext* InstancingContext)
{
	(void)InOuter;
	(void)InReaderOverride;
	(void)InstancingContext;
	const FString LongName(InLongPackageName);
	if (LongName.StartsWith(TEXT("/Game/")))
	{
		HostObjects::SyncContentMount();
	}
	if (UObject* Existing = StaticFindObjectFast(UPackage::StaticClass(), nullptr, FName(*LongName)))
	{
		return static_cast<UPackage*>(Existing);
	}
	const bool bQuiet = (LoadFlags & (LOAD_NoWarn | LOAD_Quiet)) != 0;
	FString Filename;
	if (!FPackageName::TryConvertLongPackageNameToFilename(LongName, Filename, FPackageName::GetAssetPackageExtension()))
	{
		if (!bQuiet)
		{
			UE_LOG(LogUObjectGlobals, Warning, TEXT("LoadPackage: %s is not in a mounted content root"), *LongName);
		}
		return nullptr;
	}
	std::vector<uint8> Bytes;
	FString FilePackageName;
	std::vector<FFileObject> Objects;
	if (!ReadWholeFile(Filename, Bytes))
	{
		if (!bQuiet)
		{
			UE_LOG(LogUObjectGlobals, Warning, TEXT("LoadPackage: cannot find file for package %s"), *LongName);
		}
		return nullptr;
	}
	if (!ParseTable(Bytes, FilePackageName, Objects))
	{
		UE_LOG(LogUObjectGlobals, Warning, TEXT("LoadPackage: %s is not a package file"), *Filename);
		return nullptr;
	}

	HostObjects::BeginLoading();
	UPackage* Package = CreatePackage(*LongName);
	Package->SetHostFileName(Filename);
	// Objects first, all of them, so that references between them (and back from other packages) resolve; then state.
	std::vector<UObject*> Made(Objects.size(), nullptr);
	for (size_t Index = 0; Index < Objects.size(); ++Index)
	{
		const HostObjects::FPackageFileObject& Info = Objects[Index].Info;
		UObject* Outer = Info.OuterIndex < 0 ? (UObject*)Package : Made[(size_t)Info.OuterIndex];
		UClass* Class = HostObjects::FindClassByPath(Info.ClassPath);
		if (!Outer || !Class)
		{
			UE_LOG(LogUObjectGlobals, Warning, TEXT("LoadPackage: skipping %s of unknown class %s in %s"), *Info.ObjectName,
				*Info.ClassPath, *LongName);
			continue;
		}
		UObject* Object = StaticFindObjectFast(nullptr, Outer, FName(*Info.ObjectName));
		if (!Object)
		{
			Object = HostObjects::StaticConstructObject(
				Class, Outer, FName(*Info.ObjectName), (EObjectFlags)Info.Flags | RF_WasLoaded | RF_LoadCompleted);
		}
		Made[Index] = Object;
	}
	for (size_t Index = 0; Index < Objects.size(); ++Index)
	{
		if (Made[Index])
		{
			FHostMemoryReader Reader(Bytes.data() + Objects[Index].PayloadOffset, Objects[Index].PayloadSize);
			Made[Index]->HostSerialize(Reader);
			if (Reader.IsError())
			{
				UE_LOG(LogUObjectGlobals, Warning, TEXT("LoadPackage: the state of %s in %s is damaged"),
					*Objects[Index].Info.ObjectName, *LongName);
			}
		}
	}
	for (UObject* Object : Made)
	{
		if (Object)
		{
			Object->PostLoad();
		}
	}
	Package->SetDirtyFlag(false);
	HostObjects::EndLoading();
	return Package;
}

UObject* StaticLoadObject(UClass* Class, UObject* InOuter, const TCHAR* Name, const TCHAR* Filename, uint32 LoadFlags,
	UPackageMap* Sandbox, bool bAllowObjectReconciliation, const FLinkerInstancingContext* InstancingContext)
{
	(void)Filename;
	(void)Sandbox;
	(void)bAllowObjectReconciliation;
	(void)InstancingContext;
	const bool bQuiet = (LoadFlags & (LOAD_NoWarn | LOAD_Quiet)) != 0;
	FString Path(Name ? Name : TEXT(""));
	if (InOuter)
	{
		Path = InOuter->GetPathName() + TEXT(".") + Path;
	}
	if (Path.StartsWith(TEXT("/Game/")))
	{
		HostObjects::SyncContentMount();
	}
	UObject* Found = StaticFindObject(nullptr, nullptr, *Path);
	if (!Found && !Path.IsEmpty())
	{
		const FString PackageName = FPackageName::ObjectPathToPackageName(Path);
		if (LoadPackage(nullptr, *PackageName, LoadFlags | LOAD_NoWarn))
		{
			Found = StaticFindObject(nullptr, nullptr, *Path);
		}
	}
	if (Found && Class && !Found->IsA(Class))
	{
		Found = nullptr;
	}
	if (!Found && !bQuiet)
	{
		UE_LOG(LogUObjectGlobals, Warning, TEXT("Failed to find object '%s %s'"),
			Class ? *Class->GetName() : TEXT("Object"), *Path);
	}
	return Found;
}

FSavePackageResultStruct UPackage::Save(
	UPackage* InOuter, UObject* InAsset, const TCHAR* Filename, const FSavePackageArgs& SaveArgs)
{
	(void)InAsset;
	if (!InOuter || !Filename || InOuter == GetTransientPackage())
	{
		return ESavePackageResult::Error;
	}
	const FString FileName(Filename);
	const std::filesystem::path Path(ToUtf8(FileName));
	std::vector<UObject*> Objects;
	GatherSavedObjects(InOuter, Objects);
	std::error_code Error;
	if (Objects.empty())
	{
		// Nothing left in the package (its asset was renamed or deleted): the file goes too.
		std::filesystem::remove(Path, Error);
		InOuter->SetDirtyFlag(false);
		return ESavePackageResult::Success;
	}

	FHostMemoryWriter Table;
	FString PackageName = InOuter->GetName();
	int32 Count = (int32)Objects.size();
	uint32 Magic = PackageFileMagic;
	uint32 Version = PackageFileVersion;
	Table << Magic << Version << PackageName << Count;
	std::vector<std::vector<uint8>> Payloads;
	Payloads.reserve(Objects.size());
	std::vector<size_t> OffsetPositions;
	for (UObject* Object : Objects)
	{
		FString ObjectName = Object->GetName();
		FString ClassPath = Object->GetClass()->GetPathName();
		int32 OuterIndex = -1;
		for (size_t Index = 0; Index < Objects.size(); ++Index)
		{
			if (Objects[Index] == Object->GetOuter())
			{
				OuterIndex = (int32)Index;
			}
		}
		uint32 Flags = (uint32)(Object->GetFlags() & (RF_Public | RF_Standalone | RF_Transactional | RF_DefaultSubObject));
		Table << ObjectName << ClassPath << OuterIndex << Flags;
		OffsetPositions.push_back(Table.Bytes.size());
		int64 Placeholder = 0;
		Table << Placeholder << Placeholder;
		Payloads.push_back(HostObjects::SaveObjectState(Object));
	}
	int64 Offset = (int64)Table.Bytes.size();
	for (size_t Index = 0; Index < Objects.size(); ++Index)
	{
		int64 Size = (int64)Payloads[Index].size();
		std::memcpy(Table.Bytes.data() + OffsetPositions[Index], &Offset, sizeof(int64));
		std::memcpy(Table.Bytes.data() + OffsetPositions[Index] + sizeof(int64), &Size, sizeof(int64));
		Offset += Size;
	}

	std::filesystem::create_directories(Path.parent_path(), Error);
	// Written beside the target and moved over it, so a reader never sees half a file.
	const std::filesystem::path TempPath = Path.string() + ".tmp";
	{
		std::ofstream Out(TempPath, std::ios::binary | std::ios::trunc);
		if (!Out)
		{
			UE_LOG(LogSavePackage, Warning, TEXT("Cannot write %s"), *FileName);
			return ESavePackageResult::Error;
		}
		Out.write((const char*)Table.Bytes.data(), (std::streamsize)Table.Bytes.size());
		for (const std::vector<uint8>& Payload : Payloads)
		{
			Out.write((const char*)Payload.data(), (std::streamsize)Payload.size());
		}
		if (!Out)
		{
			UE_LOG(LogSavePackage, Warning, TEXT("Cannot write %s"), *FileName);
			return ESavePackageResult::Error;
		}
	}
	std::filesystem::rename(TempPath, Path, Error);
	if (Error)
	{
		UE_LOG(LogSavePackage, Warning, TEXT("Cannot write %s"), *FileName);
		return ESavePackageResult::Error;
	}
	InOuter->SetHostFileName(FileName);
	if (!(SaveArgs.SaveFlags & SAVE_KeepDirty))
	{
		InOuter->SetDirtyFlag(false);
	}
	return ESavePackageResult::Success;
}
