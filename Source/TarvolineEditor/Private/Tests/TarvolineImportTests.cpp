// Automation tests of the FBX import: names and folders, one character's first and later imports, every committed
// test model, and folders without a name or a mesh.

#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "CoreMinimal.h"
#include "Engine/SkeletalMesh.h"
#include "Misc/AutomationTest.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/Guid.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "TarvolineImport.h"
#include "TarvolineTestHelpers.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectHash.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineImportTest
{
using namespace TarvolineTest;

/** A character name no other test uses, so each import starts from an empty folder of its own. */
FString UniqueCharacter(const TCHAR* Stem)
{
	return FString::Printf(TEXT("%s %s.glb"), Stem, *FGuid::NewGuid().ToString(EGuidFormats::Digits).Left(12));
}

/**
 * One line for an import: the user's error, the mesh (skeleton, bones, root pose, size and lowest point in cm), the
 * clip, and every asset of the folder, marked when its file is missing or it has unsaved changes. The character's
 * unique name reads "<character>" so expected lines stay fixed.
 */
FString Describe(const FTarvolineImportResult& Result)
{
	const FString Character = FPaths::GetCleanFilename(Result.FolderPath);
	const auto Named = [&Character](const UObject* Object)
	{
		return Object ? Object->GetName().Replace(*Character, TEXT("<character>"), ESearchCase::CaseSensitive)
					  : FString(TEXT("none"));
	};
	FString Line = Result.Error.IsEmpty() ? FString(TEXT("ok")) : Result.Error;
	if (const USkeletalMesh* Mesh = Result.Mesh.Get())
	{
		const FReferenceSkeleton& Bones = Mesh->GetRefSkeleton();
		const FVector Root = Bones.GetRefBonePose()[0].GetTranslation();
		const FBoxSphereBounds Bounds = Mesh->GetBounds();
		const FVector Size = Bounds.BoxExtent * 2.0;
		Line += FString::Printf(TEXT("; mesh %s on %s: %d bones from %s at (%d,%d,%d), %dx%dx%d cm from z %d"),
			*Named(Mesh), *Named(Mesh->GetSkeleton()), Bones.GetNum(), *Bones.GetBoneName(0).ToString(),
			FMath::RoundToInt(Root.X), FMath::RoundToInt(Root.Y), FMath::RoundToInt(Root.Z), FMath::RoundToInt(Size.X),
			FMath::RoundToInt(Size.Y), FMath::RoundToInt(Size.Z),
			FMath::RoundToInt(Bounds.Origin.Z - Bounds.BoxExtent.Z));
	}
	if (const UAnimSequence* Clip = Result.Clip.Get())
	{
		Line += FString::Printf(TEXT("; clip %s on %s: %.2f s, %d keys"), *Named(Clip), *Named(Clip->GetSkeleton()),
			Clip->GetPlayLength(), Clip->GetNumberOfSampledKeys());
	}
	TArray<FAssetData> Assets;
	IAssetRegistry& Registry = FModuleManager::LoadModuleChecked<FAssetRegistryModule>(TEXT("AssetRegistry")).Get();
	Registry.GetAssetsByPath(FName(*Result.FolderPath), Assets, false, false);
	TArray<FString> Names;
	for (const FAssetData& Asset : Assets)
	{
		const bool bOnDisk = FPaths::FileExists(FPackageName::LongPackageNameToFilename(
			Asset.PackageName.ToString(), FPackageName::GetAssetPackageExtension()));
		const bool bDirty = Asset.IsAssetLoaded() && Asset.GetAsset()->GetPackage()->IsDirty();
		const FString Name =
			Asset.AssetName.ToString().Replace(*Character, TEXT("<character>"), ESearchCase::CaseSensitive);
		Names.Add(Name + (bOnDisk ? TEXT("") : TEXT(" (no file)")) + (bDirty ? TEXT(" (unsaved)") : TEXT("")));
	}
	Names.Sort();
	return Line + TEXT("; folder: ") + FString::Join(Names, TEXT(", "));
}

/** The line Describe gives for a folder of its own: the parts after the mesh's and the clip's names, or null. */
FString Expected(const TCHAR* Mesh, const TCHAR* ClipName, const TCHAR* Clip, const TCHAR* FolderClips)
{
	FString Line = Clip ? TEXT("ok") : TEXT("The FBX was imported but no animation clip was found in it.");
	if (Mesh)
	{
		Line += FString::Printf(TEXT("; mesh <character> on <character>_Skeleton: %s from z 0"), Mesh);
	}
	if (Clip)
	{
		Line += FString::Printf(TEXT("; clip %s on <character>_Skeleton: %s"), ClipName, Clip);
	}
	Line += Mesh ? TEXT("; folder: <character>, <character>_PhysicsAsset, <character>_Skeleton") : TEXT("; folder: ");
	return Line + (FolderClips[0] ? TEXT(", ") : TEXT("")) + FolderClips;
}

/** Drops everything in memory under the folder, as a new editor session would start without it. */
void ForgetFolderInMemory(const FString& Folder)
{
	TArray<UObject*> Packages;
	TArray<UObject*> Doomed;
	GetObjectsOfClass(UPackage::StaticClass(), Packages, false);
	for (UObject* Package : Packages)
	{
		if (Package->GetName().StartsWith(Folder + TEXT("/")))
		{
			GetObjectsWithOuter(Package, Doomed, true);
			Doomed.Add(Package);
		}
	}
	for (UObject* Object : Doomed)
	{
		Object->MarkAsGarbage();
	}
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
}
} // namespace TarvolineImportTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportNamesTest, "Tarvoline.Import.Names",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportNamesTest::RunTest(const FString&)
{
	// A length of 0 asks for the folder a character's file name gives.
	struct FCase
	{
		const TCHAR* Text;
		int32 MaxLength;
		const TCHAR* Expected;
	};
	const FCase Cases[] = {
		{TEXT("A fox jumps over the fence!"), 48, TEXT("a_fox_jumps_over_the_fence")},
		{TEXT("  Dog, running.  "), 48, TEXT("dog_running")},
		{TEXT("3 jumps"), 48, TEXT("a_3_jumps")},
		{TEXT("!!!"), 48, TEXT("animation")},
		{TEXT(""), 48, TEXT("animation")},
		{TEXT("Caf\u00e9 cr\u00e8me"), 48, TEXT("caf_cr_me")},
		{TEXT("\u72d0\u72f8\u304c\u8df3\u3076"), 48, TEXT("animation")},
		{TEXT("123456"), 3, TEXT("a_123")},
		// 47 characters, then a word break: the cut at 48 ends on "_", which goes.
		{TEXT("the quick brown fox jumps over the lazy dog agai n and again"), 48,
			TEXT("the_quick_brown_fox_jumps_over_the_lazy_dog_agai")},
		{TEXT("abcdefghij klm"), 11, TEXT("abcdefghij")},
		{TEXT("fox.glb"), 0, TEXT("/Game/Tarvoline/Animations/fox")},
		{TEXT("My Fox.glb"), 0, TEXT("/Game/Tarvoline/Animations/my_fox")},
		{TEXT(""), 0, TEXT("/Game/Tarvoline/Animations/character")},
		{TEXT("C:/Models/wolf.v2.fbx"), 0, TEXT("/Game/Tarvoline/Animations/wolf_v2")},
		{TEXT("an extremely long character name that goes on and on.fbx"), 0,
			TEXT("/Game/Tarvoline/Animations/an_extremely_long_character_name_that_go")},
	};
	for (const FCase& Case : Cases)
	{
		TestEqual(FString::Printf(TEXT("\"%s\" (%d)"), Case.Text, Case.MaxLength),
			*(Case.MaxLength > 0 ? MakeAssetName(Case.Text, Case.MaxLength) : AnimationFolderFor(Case.Text)),
			Case.Expected);
	}
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportFirstAndLaterTest, "Tarvoline.Import.FirstAndLaterImports",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportFirstAndLaterTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	// A user's last manual FBX import, as hostile to a generated motion as it gets: saved dialog options must change
	// nothing, so every line below is what a clean editor makes. The user's own choices are put back at the end.
	struct FOldValue
	{
		const TCHAR* Section;
		const TCHAR* Key;
		TOptional<FString> Value;
	};
	TArray<FOldValue> Before;
	const auto Set = [&Before](const TCHAR* Section, const TCHAR* Key, const TCHAR* Value)
	{
		FString Old;
		const bool bExisted = GConfig->GetString(Section, Key, Old, GEditorPerProjectIni);
		Before.Add({Section, Key, bExisted ? TOptional<FString>(Old) : TOptional<FString>()});
		GConfig->SetString(Section, Key, Value, GEditorPerProjectIni);
	};
	for (const TCHAR* Section : {TEXT("FBX_Import_UI_Option_FbxSkeletalMeshImportData"),
			 TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData")})
	{
		Set(Section, TEXT("ImportUniformScale"), TEXT("3.000000"));
		Set(Section, TEXT("ImportTranslation"), TEXT("(X=50.000000,Y=0.000000,Z=25.000000)"));
		Set(Section, TEXT("ImportRotation"), TEXT("(Pitch=0.000000,Yaw=90.000000,Roll=0.000000)"));
		Set(Section, TEXT("bConvertScene"), TEXT("False"));
		Set(Section, TEXT("bForceFrontXAxis"), TEXT("True"));
		Set(Section, TEXT("bConvertSceneUnit"), TEXT("True"));
	}
	const TCHAR* const Anim = TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData");
	Set(Anim, TEXT("AnimationLength"), TEXT("FBXALIT_SetRange"));
	Set(Anim, TEXT("FrameImportRange"), TEXT("(Min=0,Max=10)"));
	Set(Anim, TEXT("bUseDefaultSampleRate"), TEXT("False"));
	Set(Anim, TEXT("CustomSampleRate"), TEXT("25"));
	Set(Anim, TEXT("bSnapToClosestFrameBoundary"), TEXT("True"));
	Set(Anim, TEXT("bImportBoneTracks"), TEXT("False"));

	const TCHAR* const Humanoid = TEXT("19 bones from Hips at (0,0,95), 50x30x170 cm");
	const TCHAR* const Motion = TEXT("3.00 s, 91 keys");
	const TCHAR* const ThreeClips = TEXT("run, run1, run_then_jump");

	// The first import brings mesh, skeleton and clip, the clip named after the sentence: Blender's armature null is
	// not a bone, so the file's 19 joints hang from Hips; the figure stands upright, 1.7 m tall, feet at the origin.
	const FString Character = UniqueCharacter(TEXT("Hero"));
	const FString HumanoidFile = TestModelFile(TEXT("humanoid_anim.fbx"));
	const FTarvolineImportResult First = ImportAnimationFbx(HumanoidFile, Character, TEXT("Run, then JUMP!"));
	TestEqual(TEXT("folder"), *First.FolderPath, *AnimationFolderFor(Character));
	TestEqual(
		TEXT("first"), *Describe(First), *Expected(Humanoid, TEXT("run_then_jump"), Motion, TEXT("run_then_jump")));

	// Earlier clips are never taken: a later job whose sentence starts the earlier clip's name, and whose download
	// was cut short, reports the missing clip and leaves the earlier one as it was, in memory and on disk.
	AddExpectedError(TEXT("Call to FbxImporter::Initialize() failed."), EAutomationExpectedErrorFlags::Contains, 0);
	const FTarvolineImportResult Broken =
		ImportAnimationFbx(TestModelFile(TEXT("corrupt.fbx")), Character, TEXT("Run"));
	TestEqual(TEXT("broken file"), *Describe(Broken), *Expected(Humanoid, nullptr, nullptr, TEXT("run_then_jump")));
	TestEqual(TEXT("earlier clip"), *Describe(First),
		*Expected(Humanoid, TEXT("run_then_jump"), Motion, TEXT("run_then_jump")));

	// Later imports add the clip alone, bound to the skeleton there; a sentence used before gets the engine's number.
	const FTarvolineImportResult Run = ImportAnimationFbx(HumanoidFile, Character, TEXT("Run"));
	const FTarvolineImportResult RunAgain = ImportAnimationFbx(HumanoidFile, Character, TEXT("Run"));
	TestEqual(TEXT("later"), *Describe(Run), *Expected(Humanoid, TEXT("run"), Motion, ThreeClips));
	TestEqual(TEXT("numbered"), *Describe(RunAgain), *Expected(Humanoid, TEXT("run1"), Motion, ThreeClips));
	TestTrue(TEXT("later imports keep the mesh"), Run.Mesh == First.Mesh && RunAgain.Mesh == First.Mesh);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// The stand-in's hook shows the saved "no bone tracks" was ignored: a track per bone, first and later.
	TestTrue(TEXT("bone tracks"), First.Clip.IsValid() && First.Clip->HostGetTracks().Num() == 19 &&
									  Run.Clip.IsValid() && Run.Clip->HostGetTracks().Num() == 19);
#endif

	// A bird's motion has no Hips: the engine refuses it, and the character keeps what it had.
	AddExpectedError(TEXT("Mesh contains Hips bone as root but animation doesn't contain the root track."),
		EAutomationExpectedErrorFlags::Contains, 0);
	const FTarvolineImportResult Bird =
		ImportAnimationFbx(TestModelFile(TEXT("bird_anim.fbx")), Character, TEXT("Flap"));
	TestEqual(TEXT("another skeleton's clip"), *Describe(Bird), *Expected(Humanoid, nullptr, nullptr, ThreeClips));

	// After a restart only the files are left: loading brings the assets back, linked as before, and the next
	// import still finds the mesh and adds the clip alone.
	ForgetFolderInMemory(First.FolderPath);
	TestFalse(TEXT("forgotten"), First.Mesh.IsValid() || First.Clip.IsValid());
	FTarvolineImportResult FromDisk;
	FromDisk.FolderPath = First.FolderPath;
	FromDisk.Mesh = FindFirstSkeletalMesh(First.FolderPath);
	FromDisk.Clip = LoadObject<UAnimSequence>(nullptr, *(First.FolderPath + TEXT("/run_then_jump.run_then_jump")));
	TestEqual(TEXT("read back"), *Describe(FromDisk), *Expected(Humanoid, TEXT("run_then_jump"), Motion, ThreeClips));
	const FTarvolineImportResult Later = ImportAnimationFbx(HumanoidFile, Character, TEXT("Run"));
	TestEqual(TEXT("after a restart"), *Describe(Later),
		*Expected(Humanoid, TEXT("run2"), Motion, TEXT("run, run1, run2, run_then_jump")));
	TestTrue(TEXT("after a restart: the mesh from disk"), Later.Mesh == FromDisk.Mesh);
	for (const FOldValue& Old : Before)
	{
		if (Old.Value.IsSet())
		{
			GConfig->SetString(Old.Section, Old.Key, *Old.Value.GetValue(), GEditorPerProjectIni);
		}
		else
		{
			GConfig->RemoveKey(Old.Section, Old.Key, GEditorPerProjectIni);
		}
	}
	GConfig->Flush(false, GEditorPerProjectIni);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportModelsTest, "Tarvoline.Import.EveryModelAndFolder",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportModelsTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	// Blender's armature null is not a bone, while another program's file keeps it as the root; Blender's own bone
	// names (numbered copies, a blank, a namespace) come as the engine rewrites them. A file with two roots, one
	// that is no FBX and one cut short import nothing at all, and the importer and the engine say why in the log.
	AddExpectedError(TEXT("Call to FbxImporter::Initialize() failed."), EAutomationExpectedErrorFlags::Contains, 0);
	AddExpectedError(
		TEXT("Multiple roots are found in the bone hierarchy."), EAutomationExpectedErrorFlags::Contains, 0);
	struct FModel
	{
		const TCHAR* File;
		const TCHAR* Mesh;
		const TCHAR* Clip;
		const TCHAR* Bones = nullptr;
	};
	const FModel Models[] = {
		{TEXT("humanoid_anim.fbx"), TEXT("19 bones from Hips at (0,0,95), 50x30x170 cm"), TEXT("3.00 s, 91 keys")},
		{TEXT("quadruped_anim.fbx"), TEXT("14 bones from Pelvis at (0,24,40), 30x100x60 cm"), TEXT("2.00 s, 61 keys")},
		{TEXT("bird_anim.fbx"), TEXT("9 bones from Root at (0,0,0), 80x40x30 cm"), TEXT("1.50 s, 46 keys")},
		{TEXT("frog_anim.fbx"), TEXT("9 bones from Root at (0,0,0), 20x25x10 cm"), TEXT("1.00 s, 31 keys")},
		{TEXT("pole_anim.fbx"), TEXT("5 bones from Bone at (0,0,0), 45x10x120 cm"), TEXT("1.00 s, 31 keys"),
			TEXT("Bone Bone_001 Bone_002 Upper-Arm Hand")},
		{TEXT("humanoid_anim_other_creator.fbx"), TEXT("20 bones from Armature at (0,0,0), 50x30x170 cm"),
			TEXT("3.00 s, 91 keys")},
		{TEXT("humanoid_noanim.fbx"), TEXT("19 bones from Hips at (0,0,95), 50x30x170 cm"), nullptr},
		{TEXT("twin_roots_anim.fbx"), nullptr, nullptr},
		{TEXT("corrupt.fbx"), nullptr, nullptr},
		{TEXT("not_a_model.fbx"), nullptr, nullptr},
	};
	for (const FModel& Model : Models)
	{
		const FTarvolineImportResult Result =
			ImportAnimationFbx(TestModelFile(Model.File), UniqueCharacter(TEXT("Model")), TEXT("Move"));
		TestEqual(Model.File, *Describe(Result),
			*Expected(Model.Mesh, TEXT("move"), Model.Clip, Model.Clip ? TEXT("move") : TEXT("")));
		if (Model.Bones && Result.Mesh.IsValid())
		{
			TArray<FString> Bones;
			for (const FMeshBoneInfo& Bone : Result.Mesh->GetRefSkeleton().GetRefBoneInfo())
			{
				Bones.Add(Bone.Name.ToString());
			}
			TestEqual(TEXT("bone names"), *FString::Join(Bones, TEXT(" ")), Model.Bones);
		}
	}

	// Without a character name the folder and the mesh take the fallback names. Every run shares that folder, so
	// the clip may have a number.
	const FString FrogFile = TestModelFile(TEXT("frog_anim.fbx"));
	const FTarvolineImportResult Nameless = ImportAnimationFbx(FrogFile, FString(), TEXT("Hop!"));
	const FString NamelessMesh = Nameless.Mesh.IsValid() ? Nameless.Mesh->GetName() : TEXT("none");
	const FString NamelessClip = Nameless.Clip.IsValid() ? Nameless.Clip->GetName().Left(3) : TEXT("none");
	TestEqual(TEXT("no name"), Nameless.FolderPath + TEXT(", ") + NamelessMesh + TEXT(", ") + NamelessClip,
		TEXT("/Game/Tarvoline/Animations/character, animation, hop"));

	// A folder holding a skeleton and no mesh gets the clip alone, bound to that skeleton.
	const FString Character = UniqueCharacter(TEXT("Rig"));
	UPackage* Package = CreatePackage(*(AnimationFolderFor(Character) + TEXT("/rig")));
	USkeleton* Skeleton = NewObject<USkeleton>(Package, FName(TEXT("rig")), RF_Public | RF_Standalone);
	TestTrue(TEXT("bones merged"), Nameless.Mesh.IsValid() && Skeleton->MergeAllBonesToBoneTree(Nameless.Mesh.Get()));
	Skeleton->MarkPackageDirty();
	const FTarvolineImportResult Result = ImportAnimationFbx(FrogFile, Character, TEXT("Wave"));
	TestEqual(
		TEXT("skeleton only"), *Describe(Result), TEXT("ok; clip wave on rig: 1.00 s, 31 keys; folder: rig, wave"));
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
