// The object system: classes, names and paths, weak and object pointers across garbage collection, renames,
// package files and the "/Game/" mount following the open project.
#include "Animation/Skeleton.h"
#include "Engine/SkeletalMesh.h"
#include "HostEngine.h"
#include "Misc/PackageName.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

// A class declared as plug-in classes are, with GENERATED_BODY and its generated header.
#include "ObjectSystemTestObject.generated.h"
UCLASS()
class UObjectSystemTestObject : public USkeleton
{
	GENERATED_BODY()

public:
	UPROPERTY()
	int32 Value = 7;
};

namespace
{
std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

class ObjectSystemTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char Template[] = "/tmp/object-test-XXXXXX";
		ProjectDir = mkdtemp(Template);
		HostEngine::SetProjectDir(FString(ProjectDir.c_str()));
	}
	void TearDown() override
	{
		std::error_code Error;
		std::filesystem::remove_all(ProjectDir, Error);
	}
	std::string ProjectDir;
};

USkeleton* MakeSkeleton(UPackage* Package, const TCHAR* Name)
{
	USkeleton* Skeleton = NewObject<USkeleton>(Package, FName(Name), RF_Public | RF_Standalone);
	USkeletalMesh* Source = NewObject<USkeletalMesh>(GetTransientPackage());
	FReferenceSkeleton Bones;
	FReferenceSkeletonModifier Modifier(Bones, nullptr);
	Modifier.Add(FMeshBoneInfo(FName(TEXT("Root")), TEXT("Root"), INDEX_NONE), FTransform(FVector(0, 0, 1)));
	Modifier.Add(FMeshBoneInfo(FName(TEXT("Hips")), TEXT("Hips"), 0), FTransform(FRotator(0, 90, 0), FVector(0, 0, 95)));
	Source->SetRefSkeleton(Bones);
	EXPECT_TRUE(Skeleton->MergeAllBonesToBoneTree(Source));
	return Skeleton;
}
} // namespace

TEST_F(ObjectSystemTest, ClassesKnowTheirTreeAndScriptPath)
{
	EXPECT_TRUE(USkeletalMesh::StaticClass()->IsChildOf(USkeletalMesh::StaticClass()));
	EXPECT_TRUE(USkeletalMesh::StaticClass()->IsChildOf<UObject>());
	EXPECT_FALSE(UObject::StaticClass()->IsChildOf<USkeletalMesh>());
	EXPECT_EQ(Narrow(USkeletalMesh::StaticClass()->GetPathName()), "/Script/Engine.SkeletalMesh");
	EXPECT_EQ(HostObjects::FindClassByPath(TEXT("/script/engine.skeletalmesh")), USkeletalMesh::StaticClass());
	EXPECT_EQ(USkeletalMesh::StaticClass()->GetClass(), UClass::StaticClass());
	UObject* Mesh = NewObject<USkeletalMesh>(GetTransientPackage());
	EXPECT_TRUE(Mesh->IsA<USkinnedAsset>());
	EXPECT_EQ(Cast<USkeleton>(Mesh), nullptr);
	EXPECT_EQ(Cast<USkeletalMesh>(Mesh), Mesh);
}

TEST_F(ObjectSystemTest, GeneratedBodyMakesAClassOfTheObjectSystem)
{
	UClass* Class = UObjectSystemTestObject::StaticClass();
	EXPECT_EQ(Narrow(Class->GetPathName()), "/Script/HostTests.ObjectSystemTestObject");
	EXPECT_EQ(Class->GetSuperClass(), USkeleton::StaticClass());
	EXPECT_TRUE((std::is_same_v<UObjectSystemTestObject::Super, USkeleton>));
	EXPECT_EQ(HostObjects::FindClassByPath(TEXT("/Script/HostTests.ObjectSystemTestObject")), Class)
		<< "known before first use, so packages can make its objects";
	UObject* Made = HostObjects::StaticConstructObject(Class, GetTransientPackage(), NAME_None, RF_NoFlags);
	ASSERT_NE(Cast<UObjectSystemTestObject>(Made), nullptr);
	EXPECT_EQ(Cast<UObjectSystemTestObject>(Made)->Value, 7);
	EXPECT_TRUE(Made->IsA<USkeleton>());
}

TEST_F(ObjectSystemTest, NamesAndPathsFollowTheEngine)
{
	UPackage* Package = CreatePackage(TEXT("/Temp/Paths/walk"));
	EXPECT_EQ(CreatePackage(TEXT("/Temp/Paths/walk")), Package);
	USkeleton* Asset = NewObject<USkeleton>(Package, FName(TEXT("walk")));
	UObject* Sub = NewObject<USkeleton>(Asset, FName(TEXT("Sub")));
	UObject* Deeper = NewObject<USkeleton>(Sub, FName(TEXT("Deeper")));
	EXPECT_EQ(Narrow(Asset->GetPathName()), "/Temp/Paths/walk.walk");
	EXPECT_EQ(Narrow(Sub->GetPathName()), "/Temp/Paths/walk.walk:Sub");
	EXPECT_EQ(Narrow(Deeper->GetPathName()), "/Temp/Paths/walk.walk:Sub.Deeper");
	EXPECT_EQ(Narrow(Asset->GetFullName()), "Skeleton /Temp/Paths/walk.walk");
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/TEMP/paths/WALK.walk:sub.deeper")), Deeper);
	EXPECT_EQ(FindObject<USkeletalMesh>(nullptr, TEXT("/Temp/Paths/walk.walk")), nullptr) << "wrong class";
	EXPECT_EQ(Deeper->GetPackage(), Package);
	EXPECT_TRUE(Deeper->IsIn(Asset));
	EXPECT_TRUE(Asset->IsAsset());
	EXPECT_FALSE(Sub->IsAsset());
	EXPECT_FALSE(NewObject<USkeleton>(GetTransientPackage())->IsAsset());

	UObject* A = NewObject<USkeleton>(Package);
	UObject* B = NewObject<USkeleton>(Package);
	EXPECT_NE(A->GetFName(), B->GetFName());
	EXPECT_TRUE(A->GetName().StartsWith(TEXT("Skeleton_")));
}

TEST_F(ObjectSystemTest, PointersNoticeDestroyedObjects)
{
	UPackage* Package = CreatePackage(TEXT("/Temp/Weak/pkg"));
	USkeletalMesh* Mesh = NewObject<USkeletalMesh>(Package, FName(TEXT("pkg")));
	UObject* Inner = NewObject<USkeleton>(Mesh, FName(TEXT("Inner")));
	const TWeakObjectPtr<USkeletalMesh> Weak(Mesh);
	const TWeakObjectPtr<UObject> WeakInner(Inner);
	const TObjectPtr<USkeletalMesh> Strong(Mesh);
	bool bCalled = false;
	TDelegate<void()> Bound = TDelegate<void()>::CreateWeakLambda(Mesh, [&bCalled]() { bCalled = true; });
	EXPECT_TRUE(Weak.IsValid());
	EXPECT_TRUE(Bound.IsBound());

	Mesh->MarkAsGarbage();
	EXPECT_FALSE(Weak.IsValid()) << "garbage reads as gone at once";
	EXPECT_EQ(Weak.Get(true), Mesh);
	EXPECT_EQ(Strong.Get(), Mesh) << "until collected, as a reflected reference";
	EXPECT_FALSE(IsValid(Mesh));
	EXPECT_FALSE(Bound.IsBound());

	CollectGarbage(RF_NoFlags);
	EXPECT_EQ(Strong.Get(), nullptr);
	EXPECT_FALSE(WeakInner.IsValid()) << "inner objects go with their outer";
	EXPECT_TRUE(Weak.IsStale());
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Temp/Weak/pkg.pkg")), nullptr);
	// A new object in the freed slot is not the old one.
	USkeletalMesh* Next = NewObject<USkeletalMesh>(Package, FName(TEXT("pkg")));
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_NE(Weak.Get(true), Next);
}

TEST_F(ObjectSystemTest, RenameMovesAndRefusesATakenName)
{
	UPackage* From = CreatePackage(TEXT("/Temp/Rename/a"));
	UPackage* To = CreatePackage(TEXT("/Temp/Rename/b"));
	USkeleton* Asset = NewObject<USkeleton>(From, FName(TEXT("a")));
	NewObject<USkeleton>(To, FName(TEXT("taken")));
	const TWeakObjectPtr<USkeleton> Weak(Asset);
	EXPECT_FALSE(Asset->Rename(TEXT("taken"), To));
	EXPECT_TRUE(Asset->Rename(TEXT("b"), To, REN_Test));
	EXPECT_EQ(Asset->GetOuter(), From) << "a test moves nothing";
	EXPECT_TRUE(Asset->Rename(TEXT("b"), To));
	EXPECT_EQ(Weak.Get(), Asset);
	EXPECT_EQ(Narrow(Asset->GetPathName()), "/Temp/Rename/b.b");
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Temp/Rename/a.a")), nullptr);
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Temp/Rename/b.b")), Asset);
}

TEST_F(ObjectSystemTest, PackagesRoundTripThroughTheirFiles)
{
	UPackage* RigPackage = CreatePackage(TEXT("/Game/Chars/rig"));
	USkeleton* Skeleton = MakeSkeleton(RigPackage, TEXT("rig"));
	UPackage* MeshPackage = CreatePackage(TEXT("/Game/Chars/body"));
	USkeletalMesh* Mesh = NewObject<USkeletalMesh>(MeshPackage, FName(TEXT("body")), RF_Public | RF_Standalone);
	Mesh->SetSkeleton(Skeleton);
	Mesh->SetRefSkeleton(Skeleton->GetReferenceSkeleton());
	Mesh->SetImportedBounds(FBoxSphereBounds(FBox(FVector(-1, -2, 0), FVector(1, 2, 170))));
	Skeleton->SetPreviewMesh(Mesh);
	EXPECT_TRUE(RigPackage->IsDirty());

	const FString RigFile = FPackageName::LongPackageNameToFilename(TEXT("/Game/Chars/rig"), TEXT(".uasset"));
	EXPECT_EQ(Narrow(RigFile), ProjectDir + "/Content/Chars/rig.uasset");
	ASSERT_TRUE(UPackage::SavePackage(RigPackage, Skeleton, *RigFile, FSavePackageArgs()));
	ASSERT_TRUE(UPackage::SavePackage(MeshPackage, Mesh, *FPackageName::LongPackageNameToFilename(TEXT("/Game/Chars/body"), TEXT(".uasset")), FSavePackageArgs()));
	EXPECT_FALSE(RigPackage->IsDirty());

	FString FilePackage;
	TArray<HostObjects::FPackageFileObject> Listed;
	ASSERT_TRUE(HostObjects::ReadPackageFileSummary(RigFile, FilePackage, Listed));
	EXPECT_EQ(Narrow(FilePackage), "/Game/Chars/rig");
	ASSERT_EQ(Listed.Num(), 1);
	EXPECT_EQ(Narrow(Listed[0].ClassPath), "/Script/Engine.Skeleton");

	RigPackage->MarkAsGarbage();
	MeshPackage->MarkAsGarbage();
	CollectGarbage(RF_NoFlags);

	// Loading one package brings in what it refers to, and both refer to each other again.
	USkeletalMesh* Loaded = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/body.body"));
	ASSERT_NE(Loaded, nullptr);
	ASSERT_NE(Loaded->GetSkeleton(), nullptr);
	EXPECT_EQ(Narrow(Loaded->GetSkeleton()->GetPathName()), "/Game/Chars/rig.rig");
	EXPECT_EQ(Loaded->GetSkeleton()->GetPreviewMesh(), Loaded);
	const FReferenceSkeleton& Bones = Loaded->GetSkeleton()->GetReferenceSkeleton();
	ASSERT_EQ(Bones.GetNum(), 2);
	EXPECT_EQ(Bones.GetParentIndex(1), 0);
	EXPECT_TRUE(Bones.GetRefBonePose()[1].Equals(FTransform(FRotator(0, 90, 0), FVector(0, 0, 95)), 1e-9));
	EXPECT_NEAR(Loaded->GetBounds().BoxExtent.Z, 85.0, 1e-9);
	EXPECT_FALSE(Loaded->GetPackage()->IsDirty());
	EXPECT_TRUE(Loaded->HasAnyFlags(RF_WasLoaded));
}

TEST_F(ObjectSystemTest, DamagedFilesLoadNothing)
{
	const std::filesystem::path Dir = std::filesystem::path(ProjectDir) / "Content" / "Bad";
	std::filesystem::create_directories(Dir);
	std::ofstream(Dir / "garbage.uasset") << "this is not a package";
	EXPECT_EQ(LoadPackage(nullptr, TEXT("/Game/Bad/garbage"), LOAD_NoWarn), nullptr);
	EXPECT_EQ(LoadPackage(nullptr, TEXT("/Game/Bad/missing"), LOAD_NoWarn), nullptr);

	// A good file cut short: its table still reads, the object's state does not; nothing crashes.
	UPackage* Package = CreatePackage(TEXT("/Game/Bad/cut"));
	MakeSkeleton(Package, TEXT("cut"));
	const FString File = FPackageName::LongPackageNameToFilename(TEXT("/Game/Bad/cut"), TEXT(".uasset"));
	ASSERT_TRUE(UPackage::SavePackage(Package, nullptr, *File, FSavePackageArgs()));
	Package->MarkAsGarbage();
	CollectGarbage(RF_NoFlags);
	std::filesystem::resize_file(Narrow(File), std::filesystem::file_size(Narrow(File)) - 8);
	EXPECT_EQ(LoadObject<USkeleton>(nullptr, TEXT("/Game/Bad/cut.cut"), nullptr, LOAD_NoWarn), nullptr);
}

TEST_F(ObjectSystemTest, GamePackagesFollowTheOpenProject)
{
	USkeleton* Skeleton = MakeSkeleton(CreatePackage(TEXT("/Game/Switch/rig")), TEXT("rig"));
	const TWeakObjectPtr<USkeleton> Weak(Skeleton);
	UObject* Transient = NewObject<USkeleton>(GetTransientPackage());
	const TWeakObjectPtr<UObject> WeakTransient(Transient);

	char Template[] = "/tmp/object-test-other-XXXXXX";
	const std::string Other = mkdtemp(Template);
	HostEngine::SetProjectDir(FString(Other.c_str()));
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Switch/rig.rig")), nullptr);
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_TRUE(WeakTransient.IsValid()) << "only /Game/ belongs to a project";
	std::error_code Error;
	std::filesystem::remove_all(Other, Error);
}
