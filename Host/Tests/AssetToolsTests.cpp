// The asset registry and asset tools: what a folder lists (memory over disk, stable order), unique names as the
// engine counts them, renames of package and object together, and assets found again by a new process.
#include "AssetImportTask.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetToolsModule.h"
#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "Engine/SkeletalMesh.h"
#include "Factories/FbxFactory.h"
#include "FileHelpers.h"
#include "HostEngine.h"
#include "Misc/PackageName.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

class AssetToolsTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char Template[] = "/tmp/asset-tools-test-XXXXXX";
		ProjectDir = mkdtemp(Template);
		HostEngine::SetProjectDir(FString(ProjectDir.c_str()));
	}
	void TearDown() override
	{
		std::error_code Error;
		std::filesystem::remove_all(ProjectDir, Error);
	}

	static USkeleton* MakeAsset(const FString& PackageName)
	{
		UPackage* Package = CreatePackage(*PackageName);
		USkeleton* Asset = NewObject<USkeleton>(Package, FName(*FPackageName::GetShortName(PackageName)), RF_Public | RF_Standalone);
		Asset->MarkPackageDirty();
		return Asset;
	}
	static bool Save(UObject* Asset) { return UEditorLoadingAndSavingUtils::SavePackages({Asset->GetPackage()}, false); }
	static TArray<FAssetData> List(const TCHAR* Path, bool bRecursive = false, bool bOnlyDisk = false)
	{
		TArray<FAssetData> Assets;
		IAssetRegistry::GetChecked().GetAssetsByPath(FName(Path), Assets, bRecursive, bOnlyDisk);
		return Assets;
	}
	static std::string Names(const TArray<FAssetData>& Assets)
	{
		std::string Out;
		for (const FAssetData& Asset : Assets)
		{
			Out += (Out.empty() ? "" : ",") + Narrow(Asset.AssetName.ToString());
		}
		return Out;
	}
	static FString Unique(const TCHAR* Base)
	{
		FString PackageName;
		FString AssetName;
		FAssetToolsModule::GetModule().Get().CreateUniqueAssetName(Base, TEXT(""), PackageName, AssetName);
		EXPECT_TRUE(PackageName.Equals(FPackageName::GetLongPackagePath(Base) + TEXT("/") + AssetName));
		return AssetName;
	}

	std::string ProjectDir;
};
} // namespace

TEST_F(AssetToolsTest, RegistryListsMemoryAndDiskInAStableOrder)
{
	Save(MakeAsset(TEXT("/Game/Reg/bravo")));
	Save(MakeAsset(TEXT("/Game/Reg/Alpha")));
	MakeAsset(TEXT("/Game/Reg/charlie"));
	Save(MakeAsset(TEXT("/Game/Reg/Sub/delta")));
	CreatePackage(TEXT("/Game/Reg/empty"));

	EXPECT_EQ(Names(List(TEXT("/Game/Reg"))), "Alpha,bravo,charlie");
	EXPECT_EQ(Names(List(TEXT("/Game/Reg/"))), "Alpha,bravo,charlie") << "a trailing slash is the same folder";
	EXPECT_EQ(Names(List(TEXT("/Game/Reg"), true)), "Alpha,bravo,charlie,delta");
	EXPECT_EQ(Names(List(TEXT("/Game/Reg"), false, true)), "Alpha,bravo") << "unsaved assets are not on disk";

	// Drop everything from memory: the files alone still list, with their class, without loading.
	TArray<UPackage*> Packages;
	HostObjects::GetLoadedPackages(Packages);
	for (UPackage* Package : Packages)
	{
		if (Package->GetName().StartsWith(TEXT("/Game/")))
		{
			Package->MarkAsGarbage();
		}
	}
	CollectGarbage(RF_NoFlags);
	const TArray<FAssetData> OnDisk = List(TEXT("/Game/Reg"));
	ASSERT_EQ(Names(OnDisk), "Alpha,bravo");
	EXPECT_FALSE(OnDisk[0].IsAssetLoaded());
	EXPECT_EQ(OnDisk[0].GetClass(), USkeleton::StaticClass());
	EXPECT_EQ(Narrow(OnDisk[0].GetObjectPathString()), "/Game/Reg/Alpha.Alpha");
	UObject* Loaded = OnDisk[0].GetAsset();
	ASSERT_NE(Loaded, nullptr);
	EXPECT_TRUE(OnDisk[0].IsAssetLoaded());

	// In memory wins over the file: a renamed, unsaved asset lists under its new name only (still in its package,
	// which orders first).
	ASSERT_TRUE(Loaded->Rename(TEXT("echo")));
	EXPECT_EQ(Names(List(TEXT("/Game/Reg"))), "echo,bravo");
}

TEST_F(AssetToolsTest, UniqueNamesCountAsTheEngineDoes)
{
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/walk"))), "walk");
	MakeAsset(TEXT("/Game/U/walk"));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/walk"))), "walk1");
	MakeAsset(TEXT("/Game/U/walk1"));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/walk"))), "walk2");
	MakeAsset(TEXT("/Game/U/run2"));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/run2"))), "run3");
	MakeAsset(TEXT("/Game/U/jump09"));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/jump09"))), "jump10");
	MakeAsset(TEXT("/Game/U/123"));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/123"))), "123_2");
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/two words"))), "two_words");
	CreatePackage(TEXT("/Game/U/hop"));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/hop"))), "hop") << "an empty package is no asset";
	Save(MakeAsset(TEXT("/Game/U/spin")));
	EXPECT_EQ(Narrow(Unique(TEXT("/Game/U/SPIN"))), "SPIN1") << "names compare without case";
}

TEST_F(AssetToolsTest, RenameMovesPackageAndObjectTogether)
{
	IAssetTools& Tools = FAssetToolsModule::GetModule().Get();
	USkeleton* Asset = MakeAsset(TEXT("/Game/R/old"));
	ASSERT_TRUE(Save(Asset));
	const std::filesystem::path OldFile = std::filesystem::path(ProjectDir) / "Content/R/old.uasset";
	ASSERT_TRUE(std::filesystem::exists(OldFile));
	const TWeakObjectPtr<USkeleton> Weak(Asset);
	UPackage* OldPackage = Asset->GetPackage();

	EXPECT_TRUE(Tools.RenameAssets({FAssetRenameData(Asset, FString(TEXT("/Game/R")), FString(TEXT("new")))}));
	EXPECT_EQ(Weak.Get(), Asset);
	EXPECT_EQ(Narrow(Asset->GetPathName()), "/Game/R/new.new");
	EXPECT_EQ(Narrow(Asset->GetPackage()->GetName()), "/Game/R/new");
	EXPECT_TRUE(Asset->GetPackage()->IsDirty());
	EXPECT_EQ(Names(List(TEXT("/Game/R"))), "new");

	// Saving the folder writes the new file and removes the emptied one.
	TArray<UPackage*> Dirty;
	UEditorLoadingAndSavingUtils::GetDirtyContentPackages(Dirty);
	EXPECT_TRUE(Dirty.Contains(OldPackage));
	EXPECT_TRUE(UEditorLoadingAndSavingUtils::SavePackages(Dirty, true));
	EXPECT_FALSE(std::filesystem::exists(OldFile));
	EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ProjectDir) / "Content/R/new.uasset"));

	MakeAsset(TEXT("/Game/R/taken"));
	EXPECT_FALSE(Tools.RenameAssets({FAssetRenameData(Asset, FString(TEXT("/Game/R")), FString(TEXT("taken")))}));
	EXPECT_EQ(Narrow(Asset->GetPathName()), "/Game/R/new.new");
	// A never-saved asset leaves nothing behind when it moves.
	USkeleton* Fresh = MakeAsset(TEXT("/Game/R/fresh"));
	EXPECT_TRUE(Tools.RenameAssets({FAssetRenameData(Fresh, FString(TEXT("/Game/R")), FString(TEXT("moved")))}));
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/R/fresh")), nullptr);
}

TEST_F(AssetToolsTest, ANewProcessFindsWhatAnEarlierOneImported)
{
	const std::string Model =
		(std::filesystem::path(HOST_TEST_MODELS_DIR) / "humanoid_anim.fbx").lexically_normal().string();
	// The first "editor session" runs in a child process: it imports and saves, then exits.
	const pid_t Child = fork();
	ASSERT_GE(Child, 0);
	if (Child == 0)
	{
		UFbxImportUI* Options = NewObject<UFbxImportUI>(GetTransientPackage());
		Options->bAutomatedImportShouldDetectType = false;
		Options->MeshTypeToImport = FBXIT_SkeletalMesh;
		// Off in the engine's base settings: the clip beside the mesh has to be asked for.
		Options->bImportAnimations = true;
		UFbxFactory* Factory = NewObject<UFbxFactory>(GetTransientPackage());
		Factory->ImportUI = Options;
		UAssetImportTask* Task = NewObject<UAssetImportTask>(GetTransientPackage());
		Task->Filename = FString(Model.c_str());
		Task->DestinationPath = TEXT("/Game/Saved/hero");
		Task->DestinationName = TEXT("hero");
		Task->bAutomated = true;
		Task->bSave = false;
		Task->Factory = Factory;
		Task->Options = Options;
		FAssetToolsModule::GetModule().Get().ImportAssetTasks({Task});
		TArray<UPackage*> Dirty;
		UEditorLoadingAndSavingUtils::GetDirtyContentPackages(Dirty);
		const bool bSaved = Dirty.Num() == 4 && UEditorLoadingAndSavingUtils::SavePackages(Dirty, true);
		_exit(bSaved ? 0 : 1);
	}
	int Status = 0;
	ASSERT_EQ(waitpid(Child, &Status, 0), Child);
	ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);

	// This process never had those objects: only the files tell.
	EXPECT_EQ(Names(List(TEXT("/Game/Saved/hero"))), "hero,hero_Anim,hero_PhysicsAsset,hero_Skeleton");
	USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Saved/hero/hero.hero"));
	ASSERT_NE(Mesh, nullptr);
	EXPECT_EQ(Mesh->GetRefSkeleton().GetNum(), 19);
	UAnimSequence* Clip = LoadObject<UAnimSequence>(nullptr, TEXT("/Game/Saved/hero/hero_Anim.hero_Anim"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_EQ(Clip->GetSkeleton(), Mesh->GetSkeleton());
	EXPECT_FLOAT_EQ(Clip->GetPlayLength(), 3.0f);
	ASSERT_NE(Mesh->GetAssetImportData(), nullptr);
	EXPECT_EQ(Narrow(Mesh->GetAssetImportData()->GetFirstFilename()), Model);
}
