// The FBX importer on the committed test models: what a first import makes (mesh, skeleton, physics asset, clip),
// how an animation-only import binds to a skeleton, the engine's frame and units, and files that cannot be read.
#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "AssetImportTask.h"
#include "AssetToolsModule.h"
#include "Engine/SkeletalMesh.h"
#include "Factories/FbxFactory.h"
#include "HostEngine.h"
#include "PhysicsEngine/PhysicsAsset.h"
#include "UObject/Package.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace
{
std::string ModelPath(const char* Name)
{
	return (std::filesystem::path(HOST_TEST_MODELS_DIR) / Name).lexically_normal().string();
}

/** A hand-written ASCII FBX: one box node in a Z-up, front -Y scene. */
const char* const ZUpBox = R"FBX(; FBX 7.4.0 project file
FBXHeaderExtension:  {
	FBXHeaderVersion: 1003
	FBXVersion: 7400
}
GlobalSettings:  {
	Version: 1000
	Properties70:  {
		P: "UpAxis", "int", "Integer", "",2
		P: "UpAxisSign", "int", "Integer", "",1
		P: "FrontAxis", "int", "Integer", "",1
		P: "FrontAxisSign", "int", "Integer", "",-1
		P: "CoordAxis", "int", "Integer", "",0
		P: "CoordAxisSign", "int", "Integer", "",1
		P: "UnitScaleFactor", "double", "Number", "",1
	}
}
Objects:  {
	Geometry: 1000, "Geometry::Box", "Mesh" {
		Vertices: *24 {
			a: -10,-5,0,10,-5,0,10,5,0,-10,5,0,-10,-5,100,10,-5,100,10,5,100,-10,5,100
		}
		PolygonVertexIndex: *24 {
			a: 0,1,2,-4,4,5,6,-8,0,1,5,-5,1,2,6,-6,2,3,7,-7,3,0,4,-8
		}
		GeometryVersion: 124
	}
	Model: 2000, "Model::Box", "Mesh" {
		Version: 232
		Properties70:  {
			P: "Lcl Translation", "Lcl Translation", "", "A",0,30,0
		}
	}
}
Connections:  {
	C: "OO",2000,0
	C: "OO",1000,2000
}
)FBX";

FString ToFString(const std::string& Text)
{
	return FString((int32)Text.size(), (const UTF8CHAR*)Text.data());
}

class FbxImportTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char Template[] = "/tmp/fbx-import-test-XXXXXX";
		ProjectDir = mkdtemp(Template);
		HostEngine::SetProjectDir(ToFString(ProjectDir));
	}
	void TearDown() override
	{
		std::error_code Error;
		std::filesystem::remove_all(ProjectDir, Error);
	}

	/** Imports as the editor's automated import does, with the options the plug-in sets for a first or later import. */
	UAssetImportTask* Import(const char* Model, const TCHAR* Folder, const TCHAR* Name, USkeleton* Skeleton,
		void (*Adjust)(UFbxAnimSequenceImportData*) = nullptr)
	{
		UFbxImportUI* Options = NewObject<UFbxImportUI>(GetTransientPackage());
		if (Adjust)
		{
			Adjust(Options->AnimSequenceImportData);
		}
		Options->bAutomatedImportShouldDetectType = false;
		Options->bImportAsSkeletal = true;
		Options->bImportAnimations = true;
		Options->Skeleton = Skeleton;
		Options->MeshTypeToImport = Skeleton ? FBXIT_Animation : FBXIT_SkeletalMesh;
		Options->OriginalImportType = Options->MeshTypeToImport;
		Options->bImportMesh = Skeleton == nullptr;
		Options->bCreatePhysicsAsset = Skeleton == nullptr;
		UFbxFactory* Factory = NewObject<UFbxFactory>(GetTransientPackage());
		Factory->ImportUI = Options;
		UAssetImportTask* Task = NewObject<UAssetImportTask>(GetTransientPackage());
		Task->Filename = ToFString(ModelPath(Model));
		Task->DestinationPath = Folder;
		Task->DestinationName = Name;
		Task->bAutomated = true;
		Task->Factory = Factory;
		Task->Options = Options;
		LastFactory = Factory;
		FAssetToolsModule::GetModule().Get().ImportAssetTasks({Task});
		return Task;
	}

	std::string ProjectDir;
	UFbxFactory* LastFactory = nullptr;
};

FTransform RestInComponentSpace(const FReferenceSkeleton& Skeleton, int32 Bone)
{
	FTransform Result = FTransform::Identity;
	for (int32 Index = Bone; Index != INDEX_NONE; Index = Skeleton.GetParentIndex(Index))
	{
		Result = Result * Skeleton.GetRefBonePose()[Index];
	}
	return Result;
}
} // namespace

TEST_F(FbxImportTest, HumanoidFirstImportMakesMeshSkeletonPhysicsAndClipInCentimetresZUp)
{
	UAssetImportTask* Task = Import("humanoid_anim.fbx", TEXT("/Game/Chars/hero"), TEXT("hero"), nullptr);
	ASSERT_EQ(Task->ImportedObjectPaths.Num(), 1);
	EXPECT_TRUE(Task->ImportedObjectPaths[0].Equals(TEXT("/Game/Chars/hero/hero.hero")));
	USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/hero/hero.hero"));
	ASSERT_NE(Mesh, nullptr);

	// The armature null becomes the root bone above the file's 19 joints.
	const FReferenceSkeleton& Bones = Mesh->GetRefSkeleton();
	EXPECT_EQ(Bones.GetNum(), 20);
	EXPECT_TRUE(Bones.GetBoneName(0).ToString().Equals(TEXT("Armature")));
	const int32 Hips = Bones.FindBoneIndex(FName(TEXT("hips")));
	ASSERT_NE(Hips, INDEX_NONE);
	EXPECT_EQ(Bones.GetParentIndex(Hips), 0);
	for (int32 Index = 1; Index < Bones.GetNum(); ++Index)
	{
		EXPECT_LT(Bones.GetParentIndex(Index), Index) << "parents come before children";
	}
	EXPECT_TRUE(RestInComponentSpace(Bones, Hips).GetTranslation().Equals(FVector(0, 0, 95), 0.01));
	const int32 Head = Bones.FindBoneIndex(FName(TEXT("Head")));
	ASSERT_NE(Head, INDEX_NONE);
	EXPECT_GT(RestInComponentSpace(Bones, Head).GetTranslation().Z, 140.0);

	// Y-up (x, y, z) becomes (x, z, y): 50 wide, 30 deep, 170 tall, feet on the ground.
	const FBox Box = Mesh->GetBounds().GetBox();
	EXPECT_NEAR(Box.Max.X - Box.Min.X, 50.0, 0.1);
	EXPECT_NEAR(Box.Max.Y - Box.Min.Y, 30.0, 0.1);
	EXPECT_NEAR(Box.Max.Z - Box.Min.Z, 170.0, 0.1);
	EXPECT_NEAR(Box.Min.Z, 0.0, 0.1);
	EXPECT_EQ(Mesh->HostGetNumVertices(), 912);

	USkeleton* Skeleton = Mesh->GetSkeleton();
	ASSERT_NE(Skeleton, nullptr);
	EXPECT_TRUE(Skeleton->GetPathName().Equals(TEXT("/Game/Chars/hero/hero_Skeleton.hero_Skeleton")));
	EXPECT_EQ(Skeleton->GetReferenceSkeleton().GetNum(), 20);
	ASSERT_NE(Mesh->GetPhysicsAsset(), nullptr);
	EXPECT_TRUE(Mesh->GetPhysicsAsset()->GetPathName().Equals(TEXT("/Game/Chars/hero/hero_PhysicsAsset.hero_PhysicsAsset")));
	EXPECT_EQ(LastFactory->GetAdditionalImportedObjects().Num(), 0);

	// The clip made beside a new mesh is named after it and reaches neither list: it is found in its folder.
	UAnimSequence* Clip = LoadObject<UAnimSequence>(nullptr, TEXT("/Game/Chars/hero/hero_Anim.hero_Anim"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_EQ(Clip->GetSkeleton(), Skeleton);
	EXPECT_FLOAT_EQ(Clip->GetPlayLength(), 3.0f);
	EXPECT_EQ(Clip->GetNumberOfSampledKeys(), 91);
	EXPECT_EQ(Clip->HostGetTracks().Num(), 19);
	const FRawAnimSequenceTrack* HipsTrack = Clip->HostFindTrack(FName(TEXT("Hips")));
	ASSERT_NE(HipsTrack, nullptr);
	EXPECT_EQ(HipsTrack->PosKeys.Num(), 91);
	EXPECT_TRUE(Mesh->GetPackage()->IsDirty());
}

TEST_F(FbxImportTest, AnimationOnlyImportBindsToTheGivenSkeletonAndRefusesForeignBones)
{
	Import("humanoid_anim.fbx", TEXT("/Game/Chars/hero"), TEXT("hero"), nullptr);
	USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/hero/hero.hero"));
	ASSERT_NE(Mesh, nullptr);
	UAssetImportTask* Task = Import("humanoid_anim.fbx", TEXT("/Game/Chars/hero"), TEXT("walk"), Mesh->GetSkeleton());
	ASSERT_EQ(Task->ImportedObjectPaths.Num(), 1);
	UAnimSequence* Clip = Cast<UAnimSequence>(StaticLoadObject(UObject::StaticClass(), nullptr, *Task->ImportedObjectPaths[0]));
	ASSERT_NE(Clip, nullptr);
	EXPECT_TRUE(Clip->GetName().Equals(TEXT("walk")));
	EXPECT_EQ(Clip->GetSkeleton(), Mesh->GetSkeleton());
	EXPECT_FLOAT_EQ(Clip->GetPlayLength(), 3.0f);
	EXPECT_EQ(FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/hero/walk.walk")), nullptr) << "no second mesh";

	// The same keys as the first import's clip: both go through the same conversion.
	UAnimSequence* First = LoadObject<UAnimSequence>(nullptr, TEXT("/Game/Chars/hero/hero_Anim.hero_Anim"));
	ASSERT_NE(First, nullptr);
	const FRawAnimSequenceTrack* A = First->HostFindTrack(FName(TEXT("LeftFoot")));
	const FRawAnimSequenceTrack* B = Clip->HostFindTrack(FName(TEXT("LeftFoot")));
	ASSERT_TRUE(A && B);
	EXPECT_TRUE(A->RotKeys[40] == B->RotKeys[40]);

	// A skeleton that shares no bone with the file's tracks gets no clip.
	Import("humanoid_mesh.fbx", TEXT("/Game/Chars/box"), TEXT("box"), nullptr);
	USkeletalMesh* Rigid = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/box/box.box"));
	ASSERT_NE(Rigid, nullptr);
	EXPECT_EQ(Rigid->GetRefSkeleton().GetNum(), 1);
	UAssetImportTask* Refused = Import("humanoid_anim.fbx", TEXT("/Game/Chars/box"), TEXT("walk"), Rigid->GetSkeleton());
	EXPECT_EQ(Refused->ImportedObjectPaths.Num(), 0);
	EXPECT_EQ(FindObject<UAnimSequence>(nullptr, TEXT("/Game/Chars/box/walk.walk")), nullptr);

	// Without a skeleton an animation import makes nothing.
	UAssetImportTask* NoSkeleton = Import("humanoid_anim.fbx", TEXT("/Game/Chars/none"), TEXT("walk"), Rigid->GetSkeleton());
	UFbxImportUI* Options = Cast<UFbxImportUI>(NoSkeleton->Options.Get());
	ASSERT_NE(Options, nullptr);
	Options->Skeleton = nullptr;
	NoSkeleton->ImportedObjectPaths.Empty();
	FAssetToolsModule::GetModule().Get().ImportAssetTasks({NoSkeleton});
	EXPECT_EQ(NoSkeleton->ImportedObjectPaths.Num(), 0);
}

TEST_F(FbxImportTest, EveryFamilyImportsWithItsLengthAndSize)
{
	struct FCase
	{
		const char* File;
		int32 Bones;
		float Seconds;
		FVector Size;
	};
	const FCase Cases[] = {
		{"quadruped_anim.fbx", 15, 2.0f, FVector(30, 100, 60)},
		{"bird_anim.fbx", 10, 1.5f, FVector(80, 40, 30)},
		{"frog_anim.fbx", 10, 1.0f, FVector(20, 25, 10)},
	};
	for (const FCase& Case : Cases)
	{
		const FString Folder = FString(TEXT("/Game/F/")) + ToFString(Case.File).Left(4);
		Import(Case.File, *Folder, TEXT("m"), nullptr);
		USkeletalMesh* Mesh = LoadObject<USkeletalMesh>(nullptr, *(Folder + TEXT("/m.m")));
		ASSERT_NE(Mesh, nullptr) << Case.File;
		EXPECT_EQ(Mesh->GetRefSkeleton().GetNum(), Case.Bones) << Case.File;
		const FVector Size = Mesh->GetBounds().GetBox().GetSize();
		EXPECT_TRUE(Size.Equals(Case.Size, 0.2)) << Case.File << " " << FTCHARToUTF8(*Size.ToString()).Get();
		UAnimSequence* Clip = LoadObject<UAnimSequence>(nullptr, *(Folder + TEXT("/m_Anim.m_Anim")));
		ASSERT_NE(Clip, nullptr) << Case.File;
		EXPECT_FLOAT_EQ(Clip->GetPlayLength(), Case.Seconds) << Case.File;
	}
}

TEST_F(FbxImportTest, TakesMustBeWholeFramesUnlessSnapped)
{
	// The bird's flap is 45 ticks at 30 per second: 1.5 s, 37.5 frames at 25 frames per second.
	Import("bird_anim.fbx", TEXT("/Game/Birds/a"), TEXT("a"), nullptr,
		[](UFbxAnimSequenceImportData* Settings) { Settings->CustomSampleRate = 25; });
	EXPECT_NE(FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Birds/a/a.a")), nullptr) << "the mesh comes in all the same";
	EXPECT_EQ(FindObject<UAnimSequence>(nullptr, TEXT("/Game/Birds/a/a_Anim.a_Anim")), nullptr);

	Import("bird_anim.fbx", TEXT("/Game/Birds/b"), TEXT("b"), nullptr,
		[](UFbxAnimSequenceImportData* Settings)
		{
			Settings->CustomSampleRate = 25;
			Settings->bSnapToClosestFrameBoundary = true;
		});
	UAnimSequence* Snapped = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Birds/b/b_Anim.b_Anim"));
	ASSERT_NE(Snapped, nullptr);
	EXPECT_EQ(Snapped->HostGetNumberOfFrames(), 38);
	EXPECT_FLOAT_EQ(Snapped->GetPlayLength(), 38.0f / 25.0f);

	// The default rate follows the keys; a fixed one changes only the key count, not the length.
	Import("bird_anim.fbx", TEXT("/Game/Birds/c"), TEXT("c"), nullptr,
		[](UFbxAnimSequenceImportData* Settings) { Settings->CustomSampleRate = 60; });
	UAnimSequence* Dense = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Birds/c/c_Anim.c_Anim"));
	ASSERT_NE(Dense, nullptr);
	EXPECT_EQ(Dense->GetNumberOfSampledKeys(), 91);
	EXPECT_FLOAT_EQ(Dense->GetPlayLength(), 1.5f);

	// Without bone tracks the clip keeps its length and has no tracks.
	Import("bird_anim.fbx", TEXT("/Game/Birds/d"), TEXT("d"), nullptr,
		[](UFbxAnimSequenceImportData* Settings) { Settings->bImportBoneTracks = false; });
	UAnimSequence* Bare = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Birds/d/d_Anim.d_Anim"));
	ASSERT_NE(Bare, nullptr);
	EXPECT_EQ(Bare->HostGetTracks().Num(), 0);
}

TEST_F(FbxImportTest, AZUpFileKeepsItsHeightOnZAndMirrorsY)
{
	// A Z-up, front -Y file: the engine takes (x, y, z) as (x, -y, z). A 20 x 10 x 100 box moved
	// 30 along the file's Y.
	const std::string Path = ProjectDir + "/zup.fbx";
	std::ofstream(Path) << ZUpBox;
	UFbxImportUI* Options = NewObject<UFbxImportUI>(GetTransientPackage());
	Options->bAutomatedImportShouldDetectType = false;
	Options->MeshTypeToImport = FBXIT_SkeletalMesh;
	UFbxFactory* Factory = NewObject<UFbxFactory>(GetTransientPackage());
	Factory->ImportUI = Options;
	UAssetImportTask* Task = NewObject<UAssetImportTask>(GetTransientPackage());
	Task->Filename = ToFString(Path);
	Task->DestinationPath = TEXT("/Game/Boxes");
	Task->bAutomated = true;
	Task->Factory = Factory;
	FAssetToolsModule::GetModule().Get().ImportAssetTasks({Task});
	USkeletalMesh* Mesh = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Boxes/zup.zup"));
	ASSERT_NE(Mesh, nullptr) << "named after the file without a destination name";
	const FBox Box = Mesh->GetBounds().GetBox();
	EXPECT_TRUE(Box.Min.Equals(FVector(-10, -35, 0), 1e-3)) << FTCHARToUTF8(*Box.Min.ToString()).Get();
	EXPECT_TRUE(Box.Max.Equals(FVector(10, -25, 100), 1e-3)) << FTCHARToUTF8(*Box.Max.ToString()).Get();
	// The rigid mesh's one bone sits where its node does.
	ASSERT_EQ(Mesh->GetRefSkeleton().GetNum(), 1);
	EXPECT_TRUE(Mesh->GetRefSkeleton().GetRefBonePose()[0].GetTranslation().Equals(FVector(0, -30, 0), 1e-3));
}

TEST_F(FbxImportTest, MeshWithoutAnimationHasNoClip)
{
	UAssetImportTask* Task = Import("humanoid_noanim.fbx", TEXT("/Game/Chars/still"), TEXT("still"), nullptr);
	ASSERT_EQ(Task->ImportedObjectPaths.Num(), 1);
	EXPECT_NE(FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/still/still.still")), nullptr);
	EXPECT_NE(FindObject<USkeleton>(nullptr, TEXT("/Game/Chars/still/still_Skeleton.still_Skeleton")), nullptr);
	EXPECT_EQ(FindObject<UAnimSequence>(nullptr, TEXT("/Game/Chars/still/still_Anim.still_Anim")), nullptr);
}

TEST_F(FbxImportTest, UnreadableFilesMakeNothing)
{
	for (const char* File : {"corrupt.fbx", "not_a_model.fbx", "does_not_exist.fbx"})
	{
		UAssetImportTask* Task = Import(File, TEXT("/Game/Broken"), TEXT("broken"), nullptr);
		EXPECT_EQ(Task->ImportedObjectPaths.Num(), 0) << File;
		EXPECT_EQ(FindObject<UPackage>(nullptr, TEXT("/Game/Broken/broken")), nullptr) << File;
	}
}

TEST_F(FbxImportTest, AnAssetAlreadyThereIsKeptAndTheFileSkipped)
{
	Import("humanoid_anim.fbx", TEXT("/Game/Chars/hero"), TEXT("hero"), nullptr);
	USkeletalMesh* Mesh = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/hero/hero.hero"));
	ASSERT_NE(Mesh, nullptr);
	UAssetImportTask* Again = Import("quadruped_anim.fbx", TEXT("/Game/Chars/hero"), TEXT("hero"), nullptr);
	EXPECT_EQ(Again->ImportedObjectPaths.Num(), 0);
	EXPECT_EQ(FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/hero/hero.hero")), Mesh);
	EXPECT_EQ(Mesh->GetRefSkeleton().GetNum(), 20);
}
