// Automation tests of the FBX import: names and folders, first and later imports of the committed models, a folder
// that holds only a skeleton, a mesh without motion, unreadable files, and assets read back from disk.

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
const TCHAR* const MissingClipSentence = TEXT("The FBX was imported but no animation clip was found in it.");

/** A committed test model, by file name. */
FString ModelPath(const TCHAR* FileName)
{
	return TarvolineTest::TestModelFile(FileName);
}

/** A character name no other test uses, so each test starts from an empty folder of its own. */
FString UniqueCharacter(const TCHAR* Stem)
{
	return FString::Printf(TEXT("%s %s.glb"), Stem, *FGuid::NewGuid().ToString(EGuidFormats::Digits).Left(12));
}

/** The package file of an asset of the folder, under the project's Content directory. */
FString AssetFile(const FString& Folder, const FString& AssetName)
{
	FString Relative = Folder / AssetName;
	Relative.RemoveFromStart(TEXT("/Game/"));
	return FPaths::ProjectContentDir() / Relative + TEXT(".uasset");
}

TArray<FAssetData> AssetsOfClassInFolder(const FString& Folder, const UClass* Class)
{
	IAssetRegistry& Registry = FModuleManager::LoadModuleChecked<FAssetRegistryModule>(TEXT("AssetRegistry")).Get();
	TArray<FAssetData> All;
	Registry.GetAssetsByPath(FName(*Folder), All, false, false);
	TArray<FAssetData> OfClass;
	for (const FAssetData& Asset : All)
	{
		if (Asset.GetClass() && Asset.GetClass()->IsChildOf(Class))
		{
			OfClass.Add(Asset);
		}
	}
	return OfClass;
}

/** Size of the mesh's bounds per axis, in centimetres. */
FVector MeshSize(const USkeletalMesh* Mesh)
{
	const FBoxSphereBounds Bounds = Mesh->GetBounds();
	return (Bounds.Origin + Bounds.BoxExtent) - (Bounds.Origin - Bounds.BoxExtent);
}

/**
 * Writes settings into the per-project user settings (where the FBX dialog keeps the user's last choices) and puts
 * back what was there when it goes, so a developer's editor keeps its own choices.
 */
class FScopedSavedSettings
{
public:
	~FScopedSavedSettings()
	{
		for (int32 Index = Saved.Num() - 1; Index >= 0; --Index)
		{
			const FSavedValue& Value = Saved[Index];
			if (Value.bExisted)
			{
				GConfig->SetString(*Value.Section, *Value.Key, *Value.Value, GEditorPerProjectIni);
			}
			else
			{
				GConfig->RemoveKey(*Value.Section, *Value.Key, GEditorPerProjectIni);
			}
		}
		GConfig->Flush(false, GEditorPerProjectIni);
	}

	void Set(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value)
	{
		FSavedValue Old;
		Old.Section = Section;
		Old.Key = Key;
		Old.bExisted = GConfig->GetString(Section, Key, Old.Value, GEditorPerProjectIni);
		Saved.Add(Old);
		GConfig->SetString(Section, Key, Value, GEditorPerProjectIni);
	}

private:
	struct FSavedValue
	{
		FString Section;
		FString Key;
		FString Value;
		bool bExisted = false;
	};
	TArray<FSavedValue> Saved;
};

/** Drops everything in memory under the folder, as a new editor session would start without it. */
void ForgetFolderInMemory(const FString& Folder)
{
	TArray<UObject*> Packages;
	GetObjectsOfClass(UPackage::StaticClass(), Packages, false);
	for (UObject* Package : Packages)
	{
		if (Package->GetName().StartsWith(Folder + TEXT("/")))
		{
			TArray<UObject*> Inner;
			GetObjectsWithOuter(Package, Inner, true);
			for (UObject* Object : Inner)
			{
				Object->MarkAsGarbage();
			}
			Package->MarkAsGarbage();
		}
	}
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
}
} // namespace TarvolineImportTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportNamesTest, "Tarvoline.Import.Names",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportNamesTest::RunTest(const FString&)
{
	TestEqual(
		TEXT("sentence"), *MakeAssetName(TEXT("A fox jumps over the fence!"), 48), TEXT("a_fox_jumps_over_the_fence"));
	TestEqual(TEXT("blanks and punctuation"), *MakeAssetName(TEXT("  Dog, running.  "), 48), TEXT("dog_running"));
	TestEqual(TEXT("leading digit"), *MakeAssetName(TEXT("3 jumps"), 48), TEXT("a_3_jumps"));
	TestEqual(TEXT("nothing usable"), *MakeAssetName(TEXT("!!!"), 48), TEXT("animation"));
	TestEqual(TEXT("empty"), *MakeAssetName(TEXT(""), 48), TEXT("animation"));
	TestEqual(TEXT("accented letters separate"), *MakeAssetName(TEXT("Caf\u00e9 cr\u00e8me"), 48), TEXT("caf_cr_me"));
	TestEqual(
		TEXT("non-Latin text only"), *MakeAssetName(TEXT("\u72d0\u72f8\u304c\u8df3\u3076"), 48), TEXT("animation"));
	TestEqual(TEXT("prefix may pass the limit"), *MakeAssetName(TEXT("123456"), 3), TEXT("a_123"));

	// 47 characters, then a word break: the cut at 48 ends on "_", which goes.
	const FString Long = TEXT("the quick brown fox jumps over the lazy dog agai n and again and again");
	const FString LongName = MakeAssetName(Long, 48);
	TestEqual(TEXT("long sentence"), *LongName, TEXT("the_quick_brown_fox_jumps_over_the_lazy_dog_agai"));
	TestTrue(TEXT("long sentence fits"), LongName.Len() <= 48);
	TestEqual(TEXT("cut on a separator"), *MakeAssetName(TEXT("abcdefghij klm"), 11), TEXT("abcdefghij"));

	TestEqual(TEXT("file name"), *AnimationFolderFor(TEXT("fox.glb")), TEXT("/Game/Tarvoline/Animations/fox"));
	TestEqual(
		TEXT("blank in name"), *AnimationFolderFor(TEXT("My Fox.glb")), TEXT("/Game/Tarvoline/Animations/my_fox"));
	TestEqual(TEXT("empty name"), *AnimationFolderFor(TEXT("")), TEXT("/Game/Tarvoline/Animations/character"));
	TestEqual(TEXT("directory and last dot"), *AnimationFolderFor(TEXT("C:/Models/wolf.v2.fbx")),
		TEXT("/Game/Tarvoline/Animations/wolf_v2"));
	const FString LongFolder = AnimationFolderFor(TEXT("an extremely long character name that goes on and on.fbx"));
	TestEqual(TEXT("folder name cut at 40"), *LongFolder,
		TEXT("/Game/Tarvoline/Animations/an_extremely_long_character_name_that_go"));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportFirstAndLaterTest, "Tarvoline.Import.FirstAndLaterImports",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportFirstAndLaterTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FString Character = UniqueCharacter(TEXT("Hero"));
	const FString Folder = AnimationFolderFor(Character);

	// First import: mesh, skeleton and clip, the clip named after the sentence.
	const FTarvolineImportResult First =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Walk forward"));
	TestEqual(TEXT("folder"), *First.FolderPath, *Folder);
	TestTrue(TEXT("no error"), First.Error.IsEmpty());
	if (!TestTrue(TEXT("mesh"), First.Mesh.IsValid()) || !TestTrue(TEXT("clip"), First.Clip.IsValid()))
	{
		return false;
	}
	USkeletalMesh* Mesh = First.Mesh.Get();
	UAnimSequence* Clip = First.Clip.Get();
	const FString MeshName = MakeAssetName(FPaths::GetBaseFilename(Character), 40);
	TestEqual(
		TEXT("mesh path"), *Mesh->GetPathName(), *FString::Printf(TEXT("%s/%s.%s"), *Folder, *MeshName, *MeshName));
	TestEqual(TEXT("clip path"), *Clip->GetPathName(), *FString::Printf(TEXT("%s/walk_forward.walk_forward"), *Folder));
	// Blender's armature null is not a bone: the file's 19 joints, with Hips at the root.
	TestEqual(TEXT("bones"), Mesh->GetRefSkeleton().GetNum(), 19);
	TestEqual(TEXT("root bone"), *Mesh->GetRefSkeleton().GetBoneName(0).ToString(), TEXT("Hips"));
	TestEqual(TEXT("clip length"), Clip->GetPlayLength(), 3.0f);
	TestTrue(TEXT("clip on the mesh's skeleton"),
		Clip->GetSkeleton() == Mesh->GetSkeleton() && Mesh->GetSkeleton() != nullptr);
	const FVector Size = MeshSize(Mesh);
	TestEqual(TEXT("width"), Size.X, 50.0, 0.5);
	TestEqual(TEXT("depth"), Size.Y, 30.0, 0.5);
	TestEqual(TEXT("height"), Size.Z, 170.0, 0.5);

	// Everything new is on disk; the importer's own clip name was given up for the sentence's.
	TestTrue(TEXT("mesh saved"), FPaths::FileExists(AssetFile(Folder, MeshName)));
	TestTrue(TEXT("skeleton saved"), FPaths::FileExists(AssetFile(Folder, MeshName + TEXT("_Skeleton"))));
	TestTrue(TEXT("physics asset saved"), FPaths::FileExists(AssetFile(Folder, MeshName + TEXT("_PhysicsAsset"))));
	TestTrue(TEXT("clip saved"), FPaths::FileExists(AssetFile(Folder, TEXT("walk_forward"))));
	TestFalse(TEXT("no clip under the mesh's name"), FPaths::FileExists(AssetFile(Folder, MeshName + TEXT("_Anim"))));
	TestFalse(TEXT("clip package clean"), Clip->GetPackage()->IsDirty());
	TestFalse(TEXT("mesh package clean"), Mesh->GetPackage()->IsDirty());

	// Second import: the clip alone, bound to the skeleton that is there.
	const FTarvolineImportResult Second =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Run"));
	TestTrue(TEXT("second: no error"), Second.Error.IsEmpty());
	TestTrue(TEXT("second: same mesh"), Second.Mesh.Get() == Mesh);
	if (!TestTrue(TEXT("second: clip"), Second.Clip.IsValid()))
	{
		return false;
	}
	TestEqual(TEXT("second: clip name"), *Second.Clip->GetName(), TEXT("run"));
	TestTrue(TEXT("second: same skeleton"), Second.Clip->GetSkeleton() == Mesh->GetSkeleton());
	TestEqual(
		TEXT("second: one mesh in the folder"), AssetsOfClassInFolder(Folder, USkeletalMesh::StaticClass()).Num(), 1);
	TestEqual(
		TEXT("second: one skeleton in the folder"), AssetsOfClassInFolder(Folder, USkeleton::StaticClass()).Num(), 1);

	// Third import with the same sentence: the engine's number is appended.
	const FTarvolineImportResult Third =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Run"));
	if (!TestTrue(TEXT("third: clip"), Third.Clip.IsValid()))
	{
		return false;
	}
	TestEqual(TEXT("third: numbered name"), *Third.Clip->GetName(), TEXT("run1"));
	TestTrue(TEXT("third: saved"), FPaths::FileExists(AssetFile(Folder, TEXT("run1"))));
	TestEqual(TEXT("three clips"), AssetsOfClassInFolder(Folder, UAnimSequence::StaticClass()).Num(), 3);
	TestEqual(TEXT("unique name now"), *MakeUniqueAssetName(Folder, TEXT("run")), TEXT("run2"));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportNoCharacterNameTest, "Tarvoline.Import.EmptyCharacterName",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportNoCharacterNameTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FTarvolineImportResult Result = ImportAnimationFbx(ModelPath(TEXT("frog_anim.fbx")), FString(), TEXT("Hop!"));
	TestEqual(TEXT("fallback folder"), *Result.FolderPath, TEXT("/Game/Tarvoline/Animations/character"));
	if (!TestTrue(TEXT("mesh and clip"), Result.Mesh.IsValid() && Result.Clip.IsValid()))
	{
		return false;
	}
	// The mesh takes the fallback asset name; the clip is named after the sentence.
	TestEqual(TEXT("mesh name"), *Result.Mesh->GetName(), TEXT("animation"));
	TestTrue(TEXT("clip name"), Result.Clip->GetName().StartsWith(TEXT("hop"), ESearchCase::CaseSensitive));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportSkeletonOnlyTest, "Tarvoline.Import.SkeletonOnlyFolder",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportSkeletonOnlyTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FString Source = UniqueCharacter(TEXT("Source"));
	const FTarvolineImportResult First = ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Source, TEXT("Walk"));
	if (!TestTrue(TEXT("source mesh"), First.Mesh.IsValid()))
	{
		return false;
	}

	// A folder holding a skeleton with the humanoid's bones, and no mesh.
	const FString Character = UniqueCharacter(TEXT("Rig"));
	const FString Folder = AnimationFolderFor(Character);
	UPackage* Package = CreatePackage(*(Folder + TEXT("/rig")));
	USkeleton* Skeleton = NewObject<USkeleton>(Package, FName(TEXT("rig")), RF_Public | RF_Standalone);
	TestTrue(TEXT("bones merged"), Skeleton->MergeAllBonesToBoneTree(First.Mesh.Get()));
	Skeleton->MarkPackageDirty();

	const FTarvolineImportResult Result =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Wave"));
	TestTrue(TEXT("no error"), Result.Error.IsEmpty());
	TestFalse(TEXT("no mesh"), Result.Mesh.IsValid());
	if (!TestTrue(TEXT("clip"), Result.Clip.IsValid()))
	{
		return false;
	}
	TestEqual(TEXT("clip name"), *Result.Clip->GetName(), TEXT("wave"));
	TestTrue(TEXT("bound to the folder's skeleton"), Result.Clip->GetSkeleton() == Skeleton);
	TestEqual(TEXT("no mesh was made"), AssetsOfClassInFolder(Folder, USkeletalMesh::StaticClass()).Num(), 0);
	TestTrue(TEXT("skeleton saved with the folder"), FPaths::FileExists(AssetFile(Folder, TEXT("rig"))));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportWithoutMotionTest, "Tarvoline.Import.MeshWithoutAnimation",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportWithoutMotionTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FString Character = UniqueCharacter(TEXT("Statue"));
	const FTarvolineImportResult Result =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_noanim.fbx")), Character, TEXT("Stand"));
	TestEqual(TEXT("sentence"), *Result.Error, MissingClipSentence);
	TestFalse(TEXT("no clip"), Result.Clip.IsValid());
	if (!TestTrue(TEXT("mesh"), Result.Mesh.IsValid()))
	{
		return false;
	}
	const FString MeshName = Result.Mesh->GetName();
	TestTrue(TEXT("mesh saved all the same"), FPaths::FileExists(AssetFile(Result.FolderPath, MeshName)));
	TestFalse(TEXT("nothing left unsaved"), Result.Mesh->GetPackage()->IsDirty());
	TestEqual(
		TEXT("no clip in the folder"), AssetsOfClassInFolder(Result.FolderPath, UAnimSequence::StaticClass()).Num(), 0);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportUnreadableTest, "Tarvoline.Import.UnreadableFiles",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportUnreadableTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	// The importer reports a file it cannot open as an error; not the plug-in's fault, so it is expected here.
	AddExpectedError(TEXT("Call to FbxImporter::Initialize() failed."), EAutomationExpectedErrorFlags::Contains, 0);
	for (const TCHAR* File : {TEXT("corrupt.fbx"), TEXT("not_a_model.fbx")})
	{
		const FString Character = UniqueCharacter(TEXT("Broken"));
		const FTarvolineImportResult Result = ImportAnimationFbx(ModelPath(File), Character, TEXT("Jump"));
		TestEqual(FString::Printf(TEXT("%s: sentence"), File), *Result.Error, MissingClipSentence);
		TestFalse(FString::Printf(TEXT("%s: no mesh"), File), Result.Mesh.IsValid());
		TestFalse(FString::Printf(TEXT("%s: no clip"), File), Result.Clip.IsValid());
		IAssetRegistry& Registry = FModuleManager::LoadModuleChecked<FAssetRegistryModule>(TEXT("AssetRegistry")).Get();
		TArray<FAssetData> Assets;
		Registry.GetAssetsByPath(FName(*Result.FolderPath), Assets, false, false);
		TestEqual(FString::Printf(TEXT("%s: empty folder"), File), Assets.Num(), 0);
	}
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportFromDiskTest, "Tarvoline.Import.AssetsReadBackFromDisk",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportFromDiskTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FString Character = UniqueCharacter(TEXT("Saved"));
	const FTarvolineImportResult Imported =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Walk"));
	if (!TestTrue(TEXT("imported"), Imported.Mesh.IsValid() && Imported.Clip.IsValid()))
	{
		return false;
	}
	const FString Folder = Imported.FolderPath;
	ForgetFolderInMemory(Folder);
	TestFalse(TEXT("the old mesh is gone"), Imported.Mesh.IsValid());
	TestFalse(TEXT("the old clip is gone"), Imported.Clip.IsValid());

	// Only the files are left: the registry lists them and loading brings the assets back, linked as before.
	USkeletalMesh* Mesh = FindFirstSkeletalMesh(Folder);
	if (!TestNotNull(TEXT("mesh from disk"), Mesh))
	{
		return false;
	}
	TestEqual(TEXT("bones"), Mesh->GetRefSkeleton().GetNum(), 19);
	TestEqual(TEXT("root bone"), *Mesh->GetRefSkeleton().GetBoneName(0).ToString(), TEXT("Hips"));
	TestEqual(TEXT("height"), MeshSize(Mesh).Z, 170.0, 0.5);
	TestTrue(TEXT("skeleton"), FindFirstSkeleton(Folder) == Mesh->GetSkeleton() && Mesh->GetSkeleton() != nullptr);
	const TArray<FAssetData> Clips = AssetsOfClassInFolder(Folder, UAnimSequence::StaticClass());
	if (!TestEqual(TEXT("one clip"), Clips.Num(), 1))
	{
		return false;
	}
	UAnimSequence* Clip = Cast<UAnimSequence>(Clips[0].GetAsset());
	if (!TestNotNull(TEXT("clip from disk"), Clip))
	{
		return false;
	}
	TestEqual(TEXT("clip name"), *Clip->GetName(), TEXT("walk"));
	TestEqual(TEXT("clip length"), Clip->GetPlayLength(), 3.0f);
	TestTrue(TEXT("clip on the mesh's skeleton"), Clip->GetSkeleton() == Mesh->GetSkeleton());

	// A later import after the "restart" still finds the mesh and adds the clip alone.
	const FTarvolineImportResult Later =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Walk"));
	TestTrue(TEXT("later: same mesh"), Later.Mesh.Get() == Mesh);
	TestTrue(TEXT("later: numbered clip"), Later.Clip.IsValid() && Later.Clip->GetName().Equals(TEXT("walk1")));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportFamiliesTest, "Tarvoline.Import.EveryFamily",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportFamiliesTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	struct FFamily
	{
		const TCHAR* File;
		const TCHAR* Sentence;
		float Seconds;
		double LargestSide;
	};
	const FFamily Families[] = {
		{TEXT("humanoid_anim.fbx"), TEXT("A person walks"), 3.0f, 170.0},
		{TEXT("quadruped_anim.fbx"), TEXT("The dog trots"), 2.0f, 100.0},
		{TEXT("bird_anim.fbx"), TEXT("The bird flaps"), 1.5f, 80.0},
		{TEXT("frog_anim.fbx"), TEXT("The frog hops"), 1.0f, 25.0},
	};
	for (const FFamily& Family : Families)
	{
		const FString Character = UniqueCharacter(Family.File);
		const FTarvolineImportResult Result = ImportAnimationFbx(ModelPath(Family.File), Character, Family.Sentence);
		if (!TestTrue(FString::Printf(TEXT("%s: mesh and clip"), Family.File),
				Result.Mesh.IsValid() && Result.Clip.IsValid()))
		{
			continue;
		}
		TestEqual(FString::Printf(TEXT("%s: length"), Family.File), Result.Clip->GetPlayLength(), Family.Seconds);
		TestEqual(FString::Printf(TEXT("%s: size"), Family.File), MeshSize(Result.Mesh.Get()).GetMax(),
			Family.LargestSide, 0.5);
		TestTrue(FString::Printf(TEXT("%s: clip saved"), Family.File),
			FPaths::FileExists(AssetFile(Result.FolderPath, Result.Clip->GetName())));
		TestTrue(FString::Printf(TEXT("%s: skeleton saved"), Family.File),
			FPaths::FileExists(AssetFile(Result.FolderPath, Result.Clip->GetSkeleton()->GetName())));
	}
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportBoneNamesTest, "Tarvoline.Import.BoneNamesAndRoots",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportBoneNamesTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	// Blender's own names: numbered copies, a blank and a namespace, as the engine rewrites them.
	const FTarvolineImportResult Pole =
		ImportAnimationFbx(ModelPath(TEXT("pole_anim.fbx")), UniqueCharacter(TEXT("Pole")), TEXT("Sway"));
	if (TestTrue(TEXT("pole: mesh and clip"), Pole.Mesh.IsValid() && Pole.Clip.IsValid()))
	{
		const FReferenceSkeleton& Bones = Pole.Mesh->GetRefSkeleton();
		TestEqual(TEXT("pole: bones"), Bones.GetNum(), 5);
		for (const TCHAR* Name : {TEXT("Bone"), TEXT("Bone_001"), TEXT("Bone_002"), TEXT("Upper-Arm"), TEXT("Hand")})
		{
			TestTrue(FString::Printf(TEXT("pole: bone %s"), Name), Bones.FindBoneIndex(FName(Name)) != INDEX_NONE);
		}
	}

	// A file from another program keeps its armature null as the root bone.
	const FTarvolineImportResult Other = ImportAnimationFbx(
		ModelPath(TEXT("humanoid_anim_other_creator.fbx")), UniqueCharacter(TEXT("Other")), TEXT("Walk"));
	if (TestTrue(TEXT("other creator: mesh and clip"), Other.Mesh.IsValid() && Other.Clip.IsValid()))
	{
		TestEqual(TEXT("other creator: bones"), Other.Mesh->GetRefSkeleton().GetNum(), 20);
		TestEqual(
			TEXT("other creator: root"), *Other.Mesh->GetRefSkeleton().GetBoneName(0).ToString(), TEXT("Armature"));
	}

	// Two root chains: no mesh, no clip, and the user gets the missing-clip sentence.
	AddExpectedError(
		TEXT("Multiple roots are found in the bone hierarchy."), EAutomationExpectedErrorFlags::Contains, 0);
	const FTarvolineImportResult Twins =
		ImportAnimationFbx(ModelPath(TEXT("twin_roots_anim.fbx")), UniqueCharacter(TEXT("Twins")), TEXT("Nod"));
	TestEqual(TEXT("two roots: sentence"), *Twins.Error, MissingClipSentence);
	TestFalse(TEXT("two roots: no mesh"), Twins.Mesh.IsValid());
	TestFalse(TEXT("two roots: no clip"), Twins.Clip.IsValid());
	TestEqual(TEXT("two roots: nothing in the folder"),
		AssetsOfClassInFolder(Twins.FolderPath, UObject::StaticClass()).Num(), 0);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportForeignClipTest, "Tarvoline.Import.ClipOfAnotherSkeleton",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportForeignClipTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FString Character = UniqueCharacter(TEXT("Hero"));
	const FTarvolineImportResult First =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Walk"));
	if (!TestTrue(TEXT("first: mesh and clip"), First.Mesh.IsValid() && First.Clip.IsValid()))
	{
		return false;
	}
	// A bird's motion has no Hips: the engine refuses it, and the character keeps what it had.
	AddExpectedError(TEXT("Mesh contains Hips bone as root but animation doesn't contain the root track."),
		EAutomationExpectedErrorFlags::Contains, 0);
	const FTarvolineImportResult Bird = ImportAnimationFbx(ModelPath(TEXT("bird_anim.fbx")), Character, TEXT("Flap"));
	TestEqual(TEXT("bird: sentence"), *Bird.Error, MissingClipSentence);
	TestFalse(TEXT("bird: no clip"), Bird.Clip.IsValid());
	TestTrue(TEXT("bird: the mesh is still the character's"), Bird.Mesh.Get() == First.Mesh.Get());
	const TArray<FAssetData> Clips = AssetsOfClassInFolder(First.FolderPath, UAnimSequence::StaticClass());
	TestEqual(TEXT("one clip"), Clips.Num(), 1);
	TestTrue(TEXT("the walk is still there"), First.Clip.IsValid() && First.Clip->GetName().Equals(TEXT("walk")));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportEarlierClipsTest, "Tarvoline.Import.EarlierClipsAreNeverTaken",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportEarlierClipsTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	const FString Character = UniqueCharacter(TEXT("Hero"));
	const FTarvolineImportResult First =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Run, then JUMP!"));
	if (!TestTrue(TEXT("first: clip"), First.Clip.IsValid()) ||
		!TestEqual(TEXT("first: name"), *First.Clip->GetName(), TEXT("run_then_jump")))
	{
		return false;
	}
	UAnimSequence* Earlier = First.Clip.Get();
	const FString EarlierPath = Earlier->GetPathName();
	const int32 EarlierKeys = Earlier->GetNumberOfSampledKeys();
	const float EarlierLength = Earlier->GetPlayLength();

	// A later job whose sentence starts the earlier clip's name, and whose download was cut short.
	AddExpectedError(TEXT("Call to FbxImporter::Initialize() failed."), EAutomationExpectedErrorFlags::Contains, 0);
	const FTarvolineImportResult Second = ImportAnimationFbx(ModelPath(TEXT("corrupt.fbx")), Character, TEXT("Run"));
	TestEqual(TEXT("second: the missing-clip sentence"), *Second.Error, MissingClipSentence);
	TestFalse(TEXT("second: no clip reported"), Second.Clip.IsValid());

	// The earlier clip keeps its name, its place and its data, in memory and on disk.
	TestTrue(TEXT("earlier clip kept"), First.Clip.IsValid() && First.Clip.Get() == Earlier);
	TestEqual(TEXT("earlier clip's path"), *Earlier->GetPathName(), *EarlierPath);
	TestEqual(TEXT("earlier clip's keys"), Earlier->GetNumberOfSampledKeys(), EarlierKeys);
	TestEqual(TEXT("earlier clip's length"), Earlier->GetPlayLength(), EarlierLength);
	TestTrue(TEXT("earlier clip's file"), FPaths::FileExists(AssetFile(First.FolderPath, TEXT("run_then_jump"))));
	TestFalse(TEXT("no clip named after the failed job"), FPaths::FileExists(AssetFile(First.FolderPath, TEXT("run"))));
	TestEqual(
		TEXT("one clip in the folder"), AssetsOfClassInFolder(First.FolderPath, UAnimSequence::StaticClass()).Num(), 1);

	// A good later import with the same sentence makes its own clip beside it.
	const FTarvolineImportResult Third =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Run"));
	TestTrue(TEXT("third: a new clip"), Third.Clip.IsValid() && Third.Clip.Get() != Earlier);
	TestTrue(
		TEXT("third: named after its sentence"), Third.Clip.IsValid() && Third.Clip->GetName().Equals(TEXT("run")));
	TestEqual(TEXT("earlier clip still named"), *Earlier->GetName(), TEXT("run_then_jump"));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineImportSavedOptionsTest, "Tarvoline.Import.SavedDialogOptionsChangeNothing",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineImportSavedOptionsTest::RunTest(const FString&)
{
	using namespace TarvolineImportTest;
	// A user's last manual FBX import, as hostile to a generated motion as it gets.
	FScopedSavedSettings Saved;
	for (const TCHAR* Section : {TEXT("FBX_Import_UI_Option_FbxSkeletalMeshImportData"),
			 TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData")})
	{
		Saved.Set(Section, TEXT("ImportUniformScale"), TEXT("3.000000"));
		Saved.Set(Section, TEXT("ImportTranslation"), TEXT("(X=50.000000,Y=0.000000,Z=25.000000)"));
		Saved.Set(Section, TEXT("ImportRotation"), TEXT("(Pitch=0.000000,Yaw=90.000000,Roll=0.000000)"));
		Saved.Set(Section, TEXT("bConvertScene"), TEXT("False"));
		Saved.Set(Section, TEXT("bForceFrontXAxis"), TEXT("True"));
		Saved.Set(Section, TEXT("bConvertSceneUnit"), TEXT("True"));
	}
	const TCHAR* const Anim = TEXT("FBX_Import_UI_Option_FbxAnimSequenceImportData");
	Saved.Set(Anim, TEXT("AnimationLength"), TEXT("FBXALIT_SetRange"));
	Saved.Set(Anim, TEXT("FrameImportRange"), TEXT("(Min=0,Max=10)"));
	Saved.Set(Anim, TEXT("bUseDefaultSampleRate"), TEXT("False"));
	Saved.Set(Anim, TEXT("CustomSampleRate"), TEXT("25"));
	Saved.Set(Anim, TEXT("bSnapToClosestFrameBoundary"), TEXT("True"));
	Saved.Set(Anim, TEXT("bImportBoneTracks"), TEXT("False"));

	const FString Character = UniqueCharacter(TEXT("Hero"));
	const FTarvolineImportResult First =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Walk"));
	if (!TestTrue(TEXT("first: mesh and clip"), First.Mesh.IsValid() && First.Clip.IsValid()))
	{
		return false;
	}
	// What a clean editor makes: the figure upright, 1.7 m tall, feet at the origin, a three-second clip at the
	// file's 30 frames per second with a track per bone.
	const USkeletalMesh* Mesh = First.Mesh.Get();
	TestEqual(TEXT("bones"), Mesh->GetRefSkeleton().GetNum(), 19);
	const FBoxSphereBounds Bounds = Mesh->GetBounds();
	TestEqual(TEXT("width"), MeshSize(Mesh).X, 50.0, 0.5);
	TestEqual(TEXT("depth"), MeshSize(Mesh).Y, 30.0, 0.5);
	TestEqual(TEXT("height"), MeshSize(Mesh).Z, 170.0, 0.5);
	TestEqual(TEXT("feet on the ground"), Bounds.Origin.Z - Bounds.BoxExtent.Z, 0.0, 0.5);
	TestTrue(TEXT("root bone in place"),
		Mesh->GetRefSkeleton().GetRefBonePose()[0].GetTranslation().Equals(FVector(0, 0, 95), 0.01));
	for (const FTarvolineImportResult* Import : {&First})
	{
		TestEqual(TEXT("first: length"), Import->Clip->GetPlayLength(), 3.0f);
		TestEqual(TEXT("first: keys"), Import->Clip->GetNumberOfSampledKeys(), 91);
	}

	// A later import, the clip alone, takes the animation settings.
	const FTarvolineImportResult Later =
		ImportAnimationFbx(ModelPath(TEXT("humanoid_anim.fbx")), Character, TEXT("Run"));
	if (!TestTrue(TEXT("later: clip"), Later.Clip.IsValid()))
	{
		return false;
	}
	TestEqual(TEXT("later: length"), Later.Clip->GetPlayLength(), 3.0f);
	TestEqual(TEXT("later: keys"), Later.Clip->GetNumberOfSampledKeys(), 91);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
