// Automation tests of "Add to level": an actor that plays the clip (or only shows the mesh), two presses, undo one
// step at a time, and a mesh deleted since the import.

#include "Animation/AnimSequence.h"
#include "Animation/SkeletalMeshActor.h"
#include "Components/SkeletalMeshComponent.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Editor/Transactor.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "EngineUtils.h"
#include "Misc/AutomationTest.h"
#include "Misc/Guid.h"
#include "Misc/Paths.h"
#include "Selection.h"
#include "TarvolineImport.h"
#include "TarvolineLevel.h"
#include "TarvolineTestHelpers.h"
#include "UObject/UObjectGlobals.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineLevelTest
{
using namespace TarvolineTest;

/** Imports the humanoid for a character of its own and returns the result. */
FTarvolineImportResult ImportHumanoid(const TCHAR* FileName)
{
	const FString Model = TestModelFile(FileName);
	const FString Character =
		FString::Printf(TEXT("Actor %s.fbx"), *FGuid::NewGuid().ToString(EGuidFormats::Digits).Left(12));
	return ImportAnimationFbx(Model, Character, TEXT("Dance in place"));
}

UWorld* EditorWorld()
{
	return GEditor ? GEditor->GetEditorWorldContext(false).World() : nullptr;
}

/** Steps that undo can take back now (steps already undone wait for redo and do not count). */
int32 UndoSteps()
{
	return GEditor && GEditor->Trans ? GEditor->Trans->GetQueueLength() - GEditor->Trans->GetUndoCount() : 0;
}
} // namespace TarvolineLevelTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLevelWithClipTest, "Tarvoline.Level.AddWithClipAndUndo",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLevelWithClipTest::RunTest(const FString&)
{
	using namespace TarvolineLevelTest;
	const FTarvolineImportResult Imported = ImportHumanoid(TEXT("humanoid_anim.fbx"));
	if (!TestTrue(TEXT("imported"), Imported.Mesh.IsValid() && Imported.Clip.IsValid()) ||
		!TestNotNull(TEXT("editor world"), EditorWorld()))
	{
		return false;
	}
	const int32 ActorsBefore = CountMeshActors();
	const int32 StepsBefore = UndoSteps();

	ASkeletalMeshActor* Actor = AddClipToLevel(Imported);
	if (!TestNotNull(TEXT("actor"), Actor))
	{
		return false;
	}
	TestTrue(TEXT("in the editor world"), Actor->GetWorld() == EditorWorld());
	TestEqual(TEXT("one more actor"), CountMeshActors(), ActorsBefore + 1);
	TestTrue(TEXT("at the origin"), Actor->GetActorLocation().Equals(FVector::ZeroVector));
	TestTrue(TEXT("not rotated"), Actor->GetActorRotation().Equals(FRotator::ZeroRotator));
	TestEqual(TEXT("labelled with the clip"), *Actor->GetActorLabel(), *Imported.Clip->GetName());
	USkeletalMeshComponent* Component = Actor->GetSkeletalMeshComponent();
	if (!TestNotNull(TEXT("component"), Component))
	{
		return false;
	}
	TestTrue(TEXT("mesh"), Component->GetSkeletalMeshAsset() == Imported.Mesh.Get());
	TestTrue(TEXT("single-node mode"), Component->GetAnimationMode() == EAnimationMode::AnimationSingleNode);
	TestTrue(TEXT("plays the clip"), Component->AnimationData.AnimToPlay == Imported.Clip.Get());
	TestTrue(TEXT("looping"), Component->AnimationData.bSavedLooping);
	TestTrue(TEXT("playing"), Component->AnimationData.bSavedPlaying);
	USelection* Selection = GEditor->GetSelectedActors();
	TestEqual(TEXT("only the new actor is selected"), Selection->Num(), 1);
	TestTrue(TEXT("the new actor is selected"), Selection->IsSelected(Actor));
	TestEqual(TEXT("one undo step"), UndoSteps(), StepsBefore + 1);

	// One undo takes the whole step back: the actor and its selection.
	TestTrue(TEXT("undo"), GEditor->UndoTransaction());
	TestFalse(TEXT("actor gone"), IsValid(Actor));
	TestEqual(TEXT("actor count back"), CountMeshActors(), ActorsBefore);
	TestFalse(TEXT("nothing of it selected"), Selection->IsSelected(Actor));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLevelWithoutClipTest, "Tarvoline.Level.AddWithoutClip",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLevelWithoutClipTest::RunTest(const FString&)
{
	using namespace TarvolineLevelTest;
	const FTarvolineImportResult Imported = ImportHumanoid(TEXT("humanoid_noanim.fbx"));
	if (!TestTrue(TEXT("mesh without clip"), Imported.Mesh.IsValid() && !Imported.Clip.IsValid()))
	{
		return false;
	}
	ASkeletalMeshActor* Actor = AddClipToLevel(Imported);
	if (!TestNotNull(TEXT("actor"), Actor))
	{
		return false;
	}
	TestEqual(TEXT("labelled with the mesh"), *Actor->GetActorLabel(), *Imported.Mesh->GetName());
	USkeletalMeshComponent* Component = Actor->GetSkeletalMeshComponent();
	TestTrue(TEXT("mesh"), Component->GetSkeletalMeshAsset() == Imported.Mesh.Get());
	TestTrue(TEXT("default animation mode"), Component->GetAnimationMode() == EAnimationMode::AnimationBlueprint);
	TestNull(TEXT("no animation"), Component->AnimationData.AnimToPlay.Get());
	GEditor->UndoTransaction();
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLevelTwiceTest, "Tarvoline.Level.AddTwiceUndoOneAtATime",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLevelTwiceTest::RunTest(const FString&)
{
	using namespace TarvolineLevelTest;
	const FTarvolineImportResult Imported = ImportHumanoid(TEXT("humanoid_anim.fbx"));
	const int32 ActorsBefore = CountMeshActors();
	const int32 StepsBefore = UndoSteps();
	ASkeletalMeshActor* First = AddClipToLevel(Imported);
	ASkeletalMeshActor* Second = AddClipToLevel(Imported);
	if (!TestNotNull(TEXT("first"), First) || !TestNotNull(TEXT("second"), Second))
	{
		return false;
	}
	TestTrue(TEXT("two actors"), First != Second);
	TestEqual(TEXT("both in the level"), CountMeshActors(), ActorsBefore + 2);
	TestTrue(TEXT("both at the origin"), First->GetActorLocation().IsZero() && Second->GetActorLocation().IsZero());
	TestEqual(TEXT("two undo steps"), UndoSteps(), StepsBefore + 2);
	TestTrue(TEXT("the second is selected"), GEditor->GetSelectedActors()->IsSelected(Second));
	TestFalse(TEXT("the first is not"), GEditor->GetSelectedActors()->IsSelected(First));

	GEditor->UndoTransaction();
	TestFalse(TEXT("first undo: second gone"), IsValid(Second));
	TestTrue(TEXT("first undo: first stays"), IsValid(First));
	TestTrue(TEXT("first undo: first selected again"), GEditor->GetSelectedActors()->IsSelected(First));
	GEditor->UndoTransaction();
	TestFalse(TEXT("second undo: first gone"), IsValid(First));
	TestEqual(TEXT("level as before"), CountMeshActors(), ActorsBefore);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLevelDeletedMeshTest, "Tarvoline.Level.DeletedMesh",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLevelDeletedMeshTest::RunTest(const FString&)
{
	using namespace TarvolineLevelTest;
	const FTarvolineImportResult Imported = ImportHumanoid(TEXT("humanoid_anim.fbx"));
	if (!TestTrue(TEXT("imported"), Imported.Mesh.IsValid()))
	{
		return false;
	}
	Imported.Mesh->MarkAsGarbage();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	TestFalse(TEXT("mesh pointer no longer valid"), Imported.Mesh.IsValid());

	const int32 ActorsBefore = CountMeshActors();
	const int32 StepsBefore = UndoSteps();
	TestNull(TEXT("nothing placed"), AddClipToLevel(Imported));
	TestEqual(TEXT("no actor"), CountMeshActors(), ActorsBefore);
	TestEqual(TEXT("no undo step"), UndoSteps(), StepsBefore);

	FTarvolineImportResult Empty;
	TestNull(TEXT("an empty result places nothing"), AddClipToLevel(Empty));
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
