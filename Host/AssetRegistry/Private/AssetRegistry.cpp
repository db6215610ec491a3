// The asset registry: lists the assets of a content folder from package files on disk (object lists cached by
// file time and size) and from packages in memory, whose state wins over their file.
#include "AssetRegistry/AssetRegistryModule.h"
#include "Misc/PackageName.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unordered_map>

namespace
{
std::string ToUtf8(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

FString FromUtf8(const std::string& Text)
{
	return FString((int32)Text.size(), (const UTF8CHAR*)Text.data());
}

std::u16string Folded(const FString& Text)
{
	return Text.ToLower().HostStorage();
}

class FHostAssetRegistry : public IAssetRegistry
{
public:
	virtual bool GetAssetsByPath(FName PackagePath, TArray<FAssetData>& OutAssetData, bool bRecursive,
		bool bIncludeOnlyOnDiskAssets) const override
	{
		return GetAssetsByPaths({PackagePath}, OutAssetData, bRecursive, bIncludeOnlyOnDiskAssets);
	}

	virtual bool GetAssetsByPaths(TArray<FName> PackagePaths, TArray<FAssetData>& OutAssetData, bool bRecursive,
		bool bIncludeOnlyOnDiskAssets) const override
	{
		HostObjects::SyncContentMount();
		std::vector<FAssetData> Found;
		for (const FName& PackagePath : PackagePaths)
		{
			FString Path = PackagePath.ToString();
			Path.RemoveFromEnd(TEXT("/"));
			Collect(Path, bRecursive, bIncludeOnlyOnDiskAssets, Found);
		}
		Append(Found, OutAssetData);
		return true;
	}

	virtual bool GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssetData,
		bool bIncludeOnlyOnDiskAssets, bool bSkipARFilteredAssets) const override
	{
		(void)bSkipARFilteredAssets;
		HostObjects::SyncContentMount();
		// One package: its state in memory if it is loaded, else its own file; no folder listing needed.
		std::vector<FAssetData> Found;
		UPackage* Package = bIncludeOnlyOnDiskAssets
			? nullptr
			: Cast<UPackage>(StaticFindObjectFast(UPackage::StaticClass(), nullptr, PackageName));
		if (Package)
		{
			AppendAssetsOf(Package, Found);
		}
		else
		{
			FString Filename;
			if (FPackageName::TryConvertLongPackageNameToFilename(PackageName.ToString(), Filename, FPackageName::GetAssetPackageExtension()))
			{
				if (const FCachedFile* Cached = ReadFile(std::filesystem::path(ToUtf8(Filename)), PackageName.ToString()))
				{
					Found = Cached->Assets;
				}
			}
		}
		Append(Found, OutAssetData);
		return true;
	}

	virtual FAssetData GetAssetByObjectPath(
		const FSoftObjectPath& ObjectPath, bool bIncludeOnlyOnDiskAssets, bool bSkipARFilteredAssets) const override
	{
		TArray<FAssetData> InPackage;
		GetAssetsByPackageName(ObjectPath.GetLongPackageFName(), InPackage, bIncludeOnlyOnDiskAssets, bSkipARFilteredAssets);
		for (const FAssetData& Asset : InPackage)
		{
			if (Asset.AssetName == ObjectPath.GetAssetPath().GetAssetName())
			{
				return Asset;
			}
		}
		return FAssetData();
	}

	virtual bool HasAssets(const FName PackagePath, const bool bRecursive) const override
	{
		TArray<FAssetData> Assets;
		GetAssetsByPath(PackagePath, Assets, bRecursive, false);
		return Assets.Num() > 0;
	}

	virtual bool IsLoadingAssets() const override { return false; }
	virtual void SearchAllAssets(bool bSynchronousSearch) override { (void)bSynchronousSearch; }
	virtual void ScanPathsSynchronous(const TArray<FString>& InPaths, bool bForceRescan, bool bIgnoreDenyListScanFilters) override
	{
		(void)InPaths;
		(void)bIgnoreDenyListScanFilters;
		if (bForceRescan)
		{
			Cache.clear();
		}
	}

private:
	struct FCachedFile
	{
		std::filesystem::file_time_type Time;
		uintmax_t Size = 0;
		std::vector<FAssetData> Assets;
	};

	static void AppendAssetsOf(const UPackage* Package, std::vector<FAssetData>& Out)
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Package, Inner, false);
		for (UObject* Object : Inner)
		{
			if (Object->IsAsset())
			{
				Out.push_back(FAssetData(Object));
			}
		}
	}

	static bool InFolder(const FString& PackageName, const FString& Path, bool bRecursive)
	{
		const FString Folder = FPackageName::GetLongPackagePath(PackageName);
		return Folder == Path || (bRecursive && Folder.StartsWith(Path + TEXT("/")));
	}

	void Collect(const FString& Path, bool bRecursive, bool bOnlyDisk, std::vector<FAssetData>& Out) const
	{
		std::set<std::u16string> PackagesInMemory;
		if (!bOnlyDisk)
		{
			TArray<UPackage*> Packages;
			HostObjects::GetLoadedPackages(Packages);
			for (UPackage* Package : Packages)
			{
				const FString Name = Package->GetName();
				if (!InFolder(Name, Path, bRecursive))
				{
					continue;
				}
				PackagesInMemory.insert(Folded(Name));
				AppendAssetsOf(Package, Out);
			}
		}
		CollectFromDisk(Path, bRecursive, PackagesInMemory, Out);
	}

	void CollectFromDisk(const FString& Path, bool bRecursive, const std::set<std::u16string>& Skip, std::vector<FAssetData>& Out) const
	{
		FString Directory;
		if (!FPackageName::TryConvertLongPackageNameToFilename(Path + TEXT("/"), Directory))
		{
			return;
		}
		std::error_code Error;
		const std::filesystem::path Root(ToUtf8(Directory));
		if (!std::filesystem::is_directory(Root, Error))
		{
			return;
		}
		std::vector<std::filesystem::path> Files;
		if (bRecursive)
		{
			for (auto It = std::filesystem::recursive_directory_iterator(Root, Error);
				 !Error && It != std::filesystem::recursive_directory_iterator(); It.increment(Error))
			{
				if (It->is_regular_file(Error) && It->path().extension() == ".uasset")
				{
					Files.push_back(It->path());
				}
			}
		}
		else
		{
			for (auto It = std::filesystem::directory_iterator(Root, Error);
				 !Error && It != std::filesystem::directory_iterator(); It.increment(Error))
			{
				if (It->is_regular_file(Error) && It->path().extension() == ".uasset")
				{
					Files.push_back(It->path());
				}
			}
		}
		for (const std::filesystem::path& File : Files)
		{
			FString PackageName;
			if (!FPackageName::TryConvertFilenameToLongPackageName(FromUtf8(File.generic_string()), PackageName) ||
				Skip.count(Folded(PackageName)))
			{
				continue;
			}
			const FCachedFile* Cached = ReadFile(File, PackageName);
			if (Cached)
			{
				Out.insert(Out.end(), Cached->Assets.begin(), Cached->Assets.end());
			}
		}
	}

	const FCachedFile* ReadFile(const std::filesystem::path& File, const FString& PackageName) const
	{
		std::error_code Error;
		if (!std::filesystem::is_regular_file(File, Error))
		{
			return nullptr;
		}
		const auto Time = std::filesystem::last_write_time(File, Error);
		const uintmax_t Size = std::filesystem::file_size(File, Error);
		if (Error)
		{
			return nullptr;
		}
		auto Found = Cache.find(File.string());
		if (Found != Cache.end() && Found->second.Time == Time && Found->second.Size == Size)
		{
			return &Found->second;
		}
		FCachedFile Entry;
		Entry.Time = Time;
		Entry.Size = Size;
		FString FilePackageName;
		TArray<HostObjects::FPackageFileObject> Objects;
		if (HostObjects::ReadPackageFileSummary(FromUtf8(File.generic_string()), FilePackageName, Objects))
		{
			const FName Package(*PackageName);
			const FName Folder(*FPackageName::GetLongPackagePath(PackageName));
			for (const HostObjects::FPackageFileObject& Object : Objects)
			{
				if (Object.OuterIndex == -1)
				{
					Entry.Assets.push_back(FAssetData(Package, Folder, FName(*Object.ObjectName), FTopLevelAssetPath(Object.ClassPath)));
				}
			}
		}
		return &(Cache[File.string()] = std::move(Entry));
	}

	static void Append(std::vector<FAssetData>& Found, TArray<FAssetData>& Out)
	{
		// The engine leaves the order open; a stable one (package, then asset name, ignoring case) makes "the first
		// asset of a folder" repeatable from run to run.
		std::stable_sort(Found.begin(), Found.end(),
			[](const FAssetData& A, const FAssetData& B)
			{
				const int32 ByPackage = A.PackageName.ToString().Compare(B.PackageName.ToString(), ESearchCase::IgnoreCase);
				if (ByPackage != 0)
				{
					return ByPackage < 0;
				}
				return A.AssetName.ToString().Compare(B.AssetName.ToString(), ESearchCase::IgnoreCase) < 0;
			});
		for (FAssetData& Asset : Found)
		{
			Out.Add(Asset);
		}
	}

	mutable std::unordered_map<std::string, FCachedFile> Cache;
};
} // namespace

IAssetRegistry* IAssetRegistry::Get()
{
	static FHostAssetRegistry* const Registry = new FHostAssetRegistry();
	return Registry;
}

IAssetRegistry& IAssetRegistry::GetChecked()
{
	return *Get();
}
