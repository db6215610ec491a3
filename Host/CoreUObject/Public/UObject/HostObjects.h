// Stand-in only (no engine counterpart): what the stand-in's modules share about objects below the engine's API:
// the byte archive that package files and undo use, the content folder that "/Game/" is mounted on, and the
// package-file summary that the asset registry reads.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"
#include <string>
#include <type_traits>
#include <vector>

class UPackage;

/** Types whose bytes are their whole state, so that arrays of them are copied as one block. */
template <typename T>
struct THostBitwiseSerializable : std::bool_constant<std::is_arithmetic_v<T>>
{
};
template <>
struct THostBitwiseSerializable<FVector3f> : std::true_type
{
};
template <>
struct THostBitwiseSerializable<FQuat4f> : std::true_type
{
};
template <>
struct THostBitwiseSerializable<FVector> : std::true_type
{
};
template <>
struct THostBitwiseSerializable<FQuat> : std::true_type
{
};

/**
 * Little-endian byte stream for an object's state. Object references travel as full path names and are resolved
 * (loading their package if needed) when read; TArray, FString, FName and the math types have operators.
 */
class FHostArchive
{
public:
	virtual ~FHostArchive() {}
	bool IsLoading() const { return bLoading; }
	bool IsSaving() const { return !bLoading; }
	bool IsError() const { return bError; }
	void SetError() { bError = true; }

	virtual void Serialize(void* Data, int64 Num) = 0;
	/** Writes the object's path, or reads one and resolves it. */
	void SerializeObject(UObject*& Object);

	FHostArchive& operator<<(uint8& V) { return Raw(V); }
	FHostArchive& operator<<(int32& V) { return Raw(V); }
	FHostArchive& operator<<(uint32& V) { return Raw(V); }
	FHostArchive& operator<<(int64& V) { return Raw(V); }
	FHostArchive& operator<<(float& V) { return Raw(V); }
	FHostArchive& operator<<(double& V) { return Raw(V); }
	FHostArchive& operator<<(bool& V);
	FHostArchive& operator<<(FString& V);
	FHostArchive& operator<<(FName& V);
	FHostArchive& operator<<(FVector& V) { return *this << V.X << V.Y << V.Z; }
	FHostArchive& operator<<(FQuat& V) { return *this << V.X << V.Y << V.Z << V.W; }
	FHostArchive& operator<<(FVector3f& V) { return *this << V.X << V.Y << V.Z; }
	FHostArchive& operator<<(FQuat4f& V) { return *this << V.X << V.Y << V.Z << V.W; }
	FHostArchive& operator<<(FRotator& V) { return *this << V.Pitch << V.Yaw << V.Roll; }
	FHostArchive& operator<<(FTransform& V);
	FHostArchive& operator<<(FBoxSphereBounds& V) { return *this << V.Origin << V.BoxExtent << V.SphereRadius; }
	FHostArchive& operator<<(FBox& V) { return *this << V.Min << V.Max << V.IsValid; }

	template <class T, typename = std::enable_if_t<std::is_base_of_v<UObject, T>>>
	FHostArchive& operator<<(T*& Object)
	{
		UObject* Base = Object;
		SerializeObject(Base);
		if (IsLoading())
		{
			Object = Cast<T>(Base);
		}
		return *this;
	}
	template <class T>
	FHostArchive& operator<<(TObjectPtr<T>& Object)
	{
		UObject* Base = (UObject*)Object.Get();
		SerializeObject(Base);
		if (IsLoading())
		{
			Object = (T*)Cast<T>(Base);
		}
		return *this;
	}
	template <class T, class A>
	FHostArchive& operator<<(TArray<T, A>& Array)
	{
		int32 Num = Array.Num();
		*this << Num;
		if (IsLoading())
		{
			if (Num < 0 || bError)
			{
				SetError();
				return *this;
			}
			Array.Empty();
			if constexpr (THostBitwiseSerializable<T>::value)
			{
				Array.SetNumUninitialized(Num);
				Serialize(Array.GetData(), (int64)Num * (int64)sizeof(T));
				return *this;
			}
			else
			{
				Array.SetNum(Num);
			}
		}
		else if constexpr (THostBitwiseSerializable<T>::value)
		{
			Serialize(Array.GetData(), (int64)Num * (int64)sizeof(T));
			return *this;
		}
		for (int32 Index = 0; Index < Num && !bError; ++Index)
		{
			*this << Array[Index];
		}
		return *this;
	}

protected:
	explicit FHostArchive(bool bInLoading)
		: bLoading(bInLoading)
	{
	}

private:
	template <typename T>
	FHostArchive& Raw(T& V)
	{
		Serialize(&V, sizeof(T));
		return *this;
	}
	bool bLoading = false;
	bool bError = false;
};

class FHostMemoryWriter : public FHostArchive
{
public:
	FHostMemoryWriter()
		: FHostArchive(false)
	{
	}
	virtual void Serialize(void* Data, int64 Num) override;
	std::vector<uint8> Bytes;
};

class FHostMemoryReader : public FHostArchive
{
public:
	FHostMemoryReader(const uint8* InData, int64 InSize)
		: FHostArchive(true)
		, Data(InData)
		, Size(InSize)
	{
	}
	virtual void Serialize(void* Out, int64 Num) override;
	bool AtEnd() const { return Offset >= Size; }
	int64 Tell() const { return Offset; }

private:
	const uint8* Data = nullptr;
	int64 Size = 0;
	int64 Offset = 0;
};

namespace HostObjects
{
/** Absolute path of the folder "/Game/" is mounted on, ending in '/': the current project's Content folder. */
FString GetContentDir();
/**
 * Follows a change of project: when the project's Content folder is not the one mounted, every "/Game/" package in
 * memory (and all it holds) is destroyed, so the new project starts from its own files.
 */
void SyncContentMount();

/** One object listed in a package file. */
struct FPackageFileObject
{
	FString ObjectName;
	/** "/Script/Engine.SkeletalMesh". */
	FString ClassPath;
	/** Index of the outer in the file's list, or -1 for the package itself. */
	int32 OuterIndex = -1;
	uint32 Flags = 0;
};
/** Reads the object list of a package file without making any object. */
bool ReadPackageFileSummary(const FString& Filename, FString& OutPackageName, TArray<FPackageFileObject>& OutObjects);

/** The packages in memory, garbage excluded. */
void GetLoadedPackages(TArray<UPackage*>& OutPackages);
/** The class registered under "/Script/Module.Name", or nullptr. */
UClass* FindClassByPath(const FString& ClassPath);
/** Writes an object's state into bytes, or reads it back (undo uses both). */
std::vector<uint8> SaveObjectState(UObject* Object);
void LoadObjectState(UObject* Object, const std::vector<uint8>& Bytes);
} // namespace HostObjects
