// The FBX importer on the committed test models: what a first import makes (mesh, skeleton, physics asset, clip),
// which node becomes the root bone (Blender's armature rule), bone names, refused skeletons, how an animation-only
// import binds to a skeleton, the engine's frame and units, the user's saved options, and files that cannot be read.
#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "AssetImportTask.h"
#include "AssetToolsModule.h"
#include "Engine/SkeletalMesh.h"
#include "Factories/FbxFactory.h"
#include "HostEngine.h"
#include "HostTestSupport.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/OutputDevice.h"
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

/** The LogFbx lines written while it lives, with their verbosity. */
class FFbxLogCapture : public FOutputDevice
{
public:
	FFbxLogCapture() { GLog->AddOutputDevice(this); }
	~FFbxLogCapture() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		if (Category == FName(TEXT("LogFbx")))
		{
			Lines.Add({FString(V), Verbosity});
		}
	}
	/** Whether a line of exactly that verbosity contains the text. */
	bool Has(ELogVerbosity::Type Verbosity, const TCHAR* Text) const
	{
		for (const TPair<FString, ELogVerbosity::Type>& Line : Lines)
		{
			if (Line.Value == Verbosity && Line.Key.Contains(Text, ESearchCase::CaseSensitive))
			{
				return true;
			}
		}
		return false;
	}
	int32 Count(ELogVerbosity::Type Verbosity) const
	{
		int32 Number = 0;
		for (const TPair<FString, ELogVerbosity::Type>& Line : Lines)
		{
			Number += Line.Value == Verbosity ? 1 : 0;
		}
		return Number;
	}
	TArray<TPair<FString, ELogVerbosity::Type>> Lines;
};

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
		void (*Adjust)(UFbxAnimSequenceImportData*) = nullptr,
		void (*AdjustMesh)(UFbxSkeletalMeshImportData*) = nullptr)
	{
		UFbxImportUI* Options = NewObject<UFbxImportUI>(GetTransientPackage());
		if (Adjust)
		{
			Adjust(Options->AnimSequenceImportData);
		}
		if (AdjustMesh)
		{
			AdjustMesh(Options->SkeletalMeshImportData);
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

	// A Blender file's armature null is not a bone: the file's 19 joints, Hips at the root.
	const FReferenceSkeleton& Bones = Mesh->GetRefSkeleton();
	EXPECT_EQ(Bones.GetNum(), 19);
	EXPECT_TRUE(Bones.GetBoneName(0).ToString().Equals(TEXT("Hips")));
	EXPECT_EQ(Bones.FindBoneIndex(FName(TEXT("Armature"))), INDEX_NONE);
	const int32 Hips = Bones.FindBoneIndex(FName(TEXT("hips")));
	ASSERT_EQ(Hips, 0);
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
	EXPECT_EQ(Skeleton->GetReferenceSkeleton().GetNum(), 19);
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

	// Another creature's clip lacks the skeleton's root bone: the engine's error, and nothing is made.
	{
		FFbxLogCapture Log;
		UAssetImportTask* Refused =
			Import("bird_anim.fbx", TEXT("/Game/Chars/hero"), TEXT("flap"), Mesh->GetSkeleton());
		EXPECT_EQ(Refused->ImportedObjectPaths.Num(), 0);
		EXPECT_EQ(FindObject<UAnimSequence>(nullptr, TEXT("/Game/Chars/hero/flap.flap")), nullptr);
		EXPECT_TRUE(Log.Has(ELogVerbosity::Error,
			TEXT("Mesh contains Hips bone as root but animation doesn't contain the root track.\nImport failed.")));
	}
	Import("humanoid_mesh.fbx", TEXT("/Game/Chars/box"), TEXT("box"), nullptr);
	USkeletalMesh* Rigid = LoadObject<USkeletalMesh>(nullptr, TEXT("/Game/Chars/box/box.box"));
	ASSERT_NE(Rigid, nullptr);
	EXPECT_EQ(Rigid->GetRefSkeleton().GetNum(), 1);

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
		{"quadruped_anim.fbx", 14, 2.0f, FVector(30, 100, 60)},
		{"bird_anim.fbx", 9, 1.5f, FVector(80, 40, 30)},
		{"frog_anim.fbx", 9, 1.0f, FVector(20, 25, 10)},
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

TEST_F(FbxImportTest, UnreadableFilesMakeNothingAndLogTheImportersError)
{
	for (const char* File : {"corrupt.fbx", "not_a_model.fbx"})
	{
		FFbxLogCapture Log;
		UAssetImportTask* Task = Import(File, TEXT("/Game/Broken"), TEXT("broken"), nullptr);
		EXPECT_EQ(Task->ImportedObjectPaths.Num(), 0) << File;
		EXPECT_EQ(FindObject<UPackage>(nullptr, TEXT("/Game/Broken/broken")), nullptr) << File;
		EXPECT_TRUE(Log.Has(ELogVerbosity::Error, TEXT("Call to FbxImporter::Initialize() failed."))) << File;
		EXPECT_TRUE(Log.Has(ELogVerbosity::Warning, TEXT("Error returned: "))) << File;
	}
	FFbxLogCapture Log;
	UAssetImportTask* Missing = Import("does_not_exist.fbx", TEXT("/Game/Broken"), TEXT("broken"), nullptr);
	EXPECT_EQ(Missing->ImportedObjectPaths.Num(), 0);
	EXPECT_TRUE(Log.Has(ELogVerbosity::Error, TEXT("Failed to load file '")));
}

TEST_F(FbxImportTest, TheArmatureNullIsABoneUnlessBlenderWroteTheFile)
{
	// The same file with another creator in its header: the armature null becomes the root bone.
	Import("humanoid_anim_other_creator.fbx", TEXT("/Game/Other/hero"), TEXT("hero"), nullptr);
	USkeletalMesh* Mesh = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Other/hero/hero.hero"));
	ASSERT_NE(Mesh, nullptr);
	const FReferenceSkeleton& Bones = Mesh->GetRefSkeleton();
	EXPECT_EQ(Bones.GetNum(), 20);
	EXPECT_TRUE(Bones.GetBoneName(0).ToString().Equals(TEXT("Armature")));
	const int32 Hips = Bones.FindBoneIndex(FName(TEXT("Hips")));
	ASSERT_NE(Hips, INDEX_NONE);
	EXPECT_EQ(Bones.GetParentIndex(Hips), 0);
	// Where the bones sit does not depend on which node is the root.
	EXPECT_TRUE(RestInComponentSpace(Bones, Hips).GetTranslation().Equals(FVector(0, 0, 95), 0.01));
	UAnimSequence* Clip = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Other/hero/hero_Anim.hero_Anim"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_EQ(Clip->HostGetTracks().Num(), 20) << "the armature keeps its place as a still track";

	// A Blender file's clip goes onto that skeleton: the root is found by name, the armature null included.
	UAssetImportTask* Walk = Import("humanoid_anim.fbx", TEXT("/Game/Other/hero"), TEXT("walk"), Mesh->GetSkeleton());
	ASSERT_EQ(Walk->ImportedObjectPaths.Num(), 1);
	UAnimSequence* WalkClip = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Other/hero/walk.walk"));
	ASSERT_NE(WalkClip, nullptr);
	EXPECT_EQ(WalkClip->HostGetTracks().Num(), 20);

	// The other way round: the Blender skeleton's root (Hips) is in the other file, below its armature.
	Import("humanoid_anim.fbx", TEXT("/Game/Blend/hero"), TEXT("hero"), nullptr);
	USkeletalMesh* Blend = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Blend/hero/hero.hero"));
	ASSERT_NE(Blend, nullptr);
	FFbxLogCapture Log;
	UAssetImportTask* Other =
		Import("humanoid_anim_other_creator.fbx", TEXT("/Game/Blend/hero"), TEXT("walk"), Blend->GetSkeleton());
	ASSERT_EQ(Other->ImportedObjectPaths.Num(), 1);
	UAnimSequence* Onto = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Blend/hero/walk.walk"));
	ASSERT_NE(Onto, nullptr);
	EXPECT_EQ(Onto->HostGetTracks().Num(), 19);
	UAnimSequence* Own = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Blend/hero/hero_Anim.hero_Anim"));
	ASSERT_NE(Own, nullptr);
	const FVector OwnHips(Own->HostFindTrack(FName(TEXT("Hips")))->PosKeys[30]);
	const FVector OntoHips(Onto->HostFindTrack(FName(TEXT("Hips")))->PosKeys[30]);
	EXPECT_TRUE(OwnHips.Equals(OntoHips, 1e-3)) << "the root carries what lies above it in the file";
	EXPECT_EQ(Log.Count(ELogVerbosity::Error), 0);
}

TEST_F(FbxImportTest, TwoRootsAreRefusedWithTheEnginesError)
{
	FFbxLogCapture Log;
	UAssetImportTask* Task = Import("twin_roots_anim.fbx", TEXT("/Game/Twins"), TEXT("twins"), nullptr);
	EXPECT_EQ(Task->ImportedObjectPaths.Num(), 0);
	EXPECT_EQ(FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Twins/twins.twins")), nullptr);
	EXPECT_EQ(FindObject<USkeleton>(nullptr, TEXT("/Game/Twins/twins_Skeleton.twins_Skeleton")), nullptr);
	EXPECT_EQ(FindObject<UAnimSequence>(nullptr, TEXT("/Game/Twins/twins_Anim.twins_Anim")), nullptr);
	EXPECT_TRUE(Log.Has(ELogVerbosity::Error,
		TEXT("Multiple roots are found in the bone hierarchy. We only support single root bone.")));
}

TEST_F(FbxImportTest, BoneAndTrackNamesAreTheEngines)
{
	Import("pole_anim.fbx", TEXT("/Game/Pole"), TEXT("pole"), nullptr);
	USkeletalMesh* Mesh = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Pole/pole.pole"));
	ASSERT_NE(Mesh, nullptr);
	const FReferenceSkeleton& Bones = Mesh->GetRefSkeleton();
	ASSERT_EQ(Bones.GetNum(), 5);
	// Dots become "_", blanks "-", and the namespace goes.
	const TCHAR* const Expected[] = {TEXT("Bone"), TEXT("Bone_001"), TEXT("Bone_002"), TEXT("Upper-Arm"), TEXT("Hand")};
	for (int32 Index = 0; Index < 5; ++Index)
	{
		EXPECT_TRUE(Bones.GetBoneName(Index).ToString().Equals(Expected[Index], ESearchCase::CaseSensitive))
			<< Index << " " << HostTest::Utf8(Bones.GetBoneName(Index).ToString());
	}
	UAnimSequence* Clip = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Pole/pole_Anim.pole_Anim"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_EQ(Clip->HostGetTracks().Num(), 5);
	EXPECT_NE(Clip->HostFindTrack(FName(TEXT("Upper-Arm"))), nullptr);
	EXPECT_NE(Clip->HostFindTrack(FName(TEXT("Bone_002"))), nullptr);

	// Tracks are matched by the same names when the clip comes alone.
	UAssetImportTask* Again = Import("pole_anim.fbx", TEXT("/Game/Pole"), TEXT("sway"), Mesh->GetSkeleton());
	ASSERT_EQ(Again->ImportedObjectPaths.Num(), 1);
	UAnimSequence* Sway = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Pole/sway.sway"));
	ASSERT_NE(Sway, nullptr);
	EXPECT_EQ(Sway->HostGetTracks().Num(), 5);
	EXPECT_TRUE(
		Sway->HostFindTrack(FName(TEXT("Hand")))->RotKeys[10] == Clip->HostFindTrack(FName(TEXT("Hand")))->RotKeys[10]);
}

TEST_F(FbxImportTest, BonesTheSkeletonLacksAreWarnedAboutAndBonesTheFileLacksGetNoTrack)
{
	// A skeleton with the humanoid's spine and a tail the file does not have.
	FReferenceSkeleton Reference;
	{
		FReferenceSkeletonModifier Modifier(Reference, nullptr);
		const TCHAR* const Names[] = {TEXT("Hips"), TEXT("Spine"), TEXT("Chest"), TEXT("Tail")};
		const int32 Parents[] = {INDEX_NONE, 0, 1, 0};
		for (int32 Index = 0; Index < 4; ++Index)
		{
			Modifier.Add(FMeshBoneInfo(FName(Names[Index]), Names[Index], Parents[Index]), FTransform::Identity);
		}
	}
	UPackage* Package = CreatePackage(TEXT("/Game/Short/rig"));
	USkeletalMesh* Shape = NewObject<USkeletalMesh>(Package, FName(TEXT("rig")), RF_Public | RF_Standalone);
	Shape->SetRefSkeleton(Reference);
	USkeleton* Skeleton = NewObject<USkeleton>(
		CreatePackage(TEXT("/Game/Short/rig_Skeleton")), FName(TEXT("rig_Skeleton")), RF_Public | RF_Standalone);
	ASSERT_TRUE(Skeleton->MergeAllBonesToBoneTree(Shape));

	FFbxLogCapture Log;
	UAssetImportTask* Task = Import("humanoid_anim.fbx", TEXT("/Game/Short"), TEXT("walk"), Skeleton);
	ASSERT_EQ(Task->ImportedObjectPaths.Num(), 1);
	UAnimSequence* Clip = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Short/walk.walk"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_EQ(Clip->HostGetTracks().Num(), 3);
	EXPECT_EQ(Clip->HostFindTrack(FName(TEXT("Tail"))), nullptr) << "a bone the file lacks keeps its reference pose";
	EXPECT_EQ(Clip->HostFindTrack(FName(TEXT("LeftFoot"))), nullptr);
	EXPECT_TRUE(Log.Has(
		ELogVerbosity::Warning, TEXT("The following bones exist in the imported animation, but not in the Skeleton "
									 "asset rig_Skeleton.  Any animation on these bones will not be imported: \n\n ")));
	EXPECT_TRUE(Log.Has(ELogVerbosity::Warning, TEXT("LeftFoot  \n")));
	EXPECT_EQ(Log.Count(ELogVerbosity::Error), 0);
}

TEST_F(FbxImportTest, SavedDialogOptionsReachTheSettingsObjectsAndTheResult)
{
	// What the options dialog saved last time, as the engine stores it in the per-project user settings.
	GConfig->SetString(TEXT("FBX_Import_UI_Option_FbxSkeletalMeshImportData"), TEXT("ImportUniformScale"),
		TEXT("2.000000"), GEditorPerProjectIni);
	GConfig->SetString(TEXT("FBX_Import_UI_Option_FbxSkeletalMeshImportData"), TEXT("ImportTranslation"),
		TEXT("(X=0.000000,Y=0.000000,Z=10.000000)"), GEditorPerProjectIni);
	GConfig->SetString(TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData"), TEXT("CustomSampleRate"), TEXT("60"),
		GEditorPerProjectIni);
	GConfig->SetString(TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData"), TEXT("AnimationLength"),
		TEXT("FBXALIT_AnimatedKey"), GEditorPerProjectIni);
	GConfig->SetString(TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData"), TEXT("bSnapToClosestFrameBoundary"),
		TEXT("True"), GEditorPerProjectIni);
	GConfig->SetString(
		TEXT("FBX_Import_UI_Option_FbxImportUI"), TEXT("bImportAnimations"), TEXT("True"), GEditorPerProjectIni);
	GConfig->Flush(false, GEditorPerProjectIni);

	UFbxImportUI* Options = NewObject<UFbxImportUI>(GetTransientPackage());
	EXPECT_FLOAT_EQ(Options->SkeletalMeshImportData->ImportUniformScale, 2.0f);
	EXPECT_DOUBLE_EQ(Options->SkeletalMeshImportData->ImportTranslation.Z, 10.0);
	EXPECT_EQ(Options->AnimSequenceImportData->CustomSampleRate, 60);
	EXPECT_EQ(Options->AnimSequenceImportData->AnimationLength.GetValue(), FBXALIT_AnimatedKey);
	EXPECT_TRUE(Options->AnimSequenceImportData->bSnapToClosestFrameBoundary);
	EXPECT_FALSE(Options->bImportAnimations) << "the options object itself keeps its defaults";
	EXPECT_FLOAT_EQ(Options->AnimSequenceImportData->ImportUniformScale, 1.0f) << "each class has its own section";
	UFbxFactory* Factory = NewObject<UFbxFactory>(GetTransientPackage());
	EXPECT_TRUE(Factory->ImportUI->bImportAnimations) << "the factory's own options load the options object too";

	// An import that leaves them as loaded gets them: twice the size, lifted, 60 keys a second.
	Import("humanoid_anim.fbx", TEXT("/Game/Saved/hero"), TEXT("hero"), nullptr);
	USkeletalMesh* Mesh = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/Saved/hero/hero.hero"));
	ASSERT_NE(Mesh, nullptr);
	const FBox Box = Mesh->GetBounds().GetBox();
	EXPECT_NEAR(Box.Max.Z - Box.Min.Z, 340.0, 0.2);
	EXPECT_NEAR(Box.Min.Z, 10.0, 0.2);
	UAnimSequence* Clip = FindObject<UAnimSequence>(nullptr, TEXT("/Game/Saved/hero/hero_Anim.hero_Anim"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_EQ(Clip->GetNumberOfSampledKeys(), 181);

	// A value that does not parse is the engine's error, and the default stays.
	GConfig->SetString(TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData"), TEXT("CustomSampleRate"), TEXT("fast"),
		GEditorPerProjectIni);
	FFbxLogCapture Log;
	UFbxImportUI* Broken = NewObject<UFbxImportUI>(GetTransientPackage());
	EXPECT_EQ(Broken->AnimSequenceImportData->CustomSampleRate, 0);
	EXPECT_TRUE(Log.Has(ELogVerbosity::Error, TEXT("FBX Options LoadOptions (")));
	EXPECT_TRUE(Log.Has(ELogVerbosity::Error, TEXT("): import failed for CustomSampleRate in: fast")));
	// Written now, into the project that is removed after the test, rather than when the process ends.
	GConfig->Flush(true, GEditorPerProjectIni);
}

TEST_F(FbxImportTest, TransformOptionsOfTheMeshSettingsChangeMeshAndClip)
{
	// Without scene conversion the Y-up file keeps its axes, mirrored: its height lands on the engine's Y.
	Import("humanoid_anim.fbx", TEXT("/Game/T/raw"), TEXT("raw"), nullptr, nullptr,
		[](UFbxSkeletalMeshImportData* Settings)
		{
			Settings->bConvertScene = false;
		});
	USkeletalMesh* Raw = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/T/raw/raw.raw"));
	ASSERT_NE(Raw, nullptr);
	EXPECT_TRUE(Raw->GetBounds().GetBox().GetSize().Equals(FVector(50, 170, 30), 0.2));

	// Front X turns the figure a quarter about Z: width and depth swap.
	Import("humanoid_anim.fbx", TEXT("/Game/T/front"), TEXT("front"), nullptr, nullptr,
		[](UFbxSkeletalMeshImportData* Settings)
		{
			Settings->bForceFrontXAxis = true;
		});
	USkeletalMesh* Front = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/T/front/front.front"));
	ASSERT_NE(Front, nullptr);
	EXPECT_TRUE(Front->GetBounds().GetBox().GetSize().Equals(FVector(30, 50, 170), 0.2));

	// A rotation and an offset: the root bone and its clip move with the mesh.
	Import("humanoid_anim.fbx", TEXT("/Game/T/turn"), TEXT("turn"), nullptr, nullptr,
		[](UFbxSkeletalMeshImportData* Settings)
		{
			Settings->ImportRotation = FRotator(0, 90, 0);
			Settings->ImportTranslation = FVector(100, 0, 0);
		});
	USkeletalMesh* Turned = FindObject<USkeletalMesh>(nullptr, TEXT("/Game/T/turn/turn.turn"));
	ASSERT_NE(Turned, nullptr);
	EXPECT_TRUE(Turned->GetBounds().GetBox().GetSize().Equals(FVector(30, 50, 170), 0.2));
	EXPECT_NEAR(Turned->GetBounds().GetBox().GetCenter().X, 100.0, 15.0);
	EXPECT_TRUE(Turned->GetRefSkeleton().GetRefBonePose()[0].GetTranslation().Equals(FVector(100, 0, 95), 0.01));
	UAnimSequence* Clip = FindObject<UAnimSequence>(nullptr, TEXT("/Game/T/turn/turn_Anim.turn_Anim"));
	ASSERT_NE(Clip, nullptr);
	EXPECT_NEAR(Clip->HostFindTrack(FName(TEXT("Hips")))->PosKeys[0].X, 100.0f, 0.5f);
}
