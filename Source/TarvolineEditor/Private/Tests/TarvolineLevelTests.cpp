// Automation tests of "Add to level": an actor that plays the clip (or only shows the mesh), two presses undone one
// step at a time, and a mesh deleted since the import.

#include "Animation/AnimSequence.h"
#include "Animation/SkeletalMeshActor.h"
#include "Components/SkeletalMeshComponent.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Editor/Transactor.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "Misc/AutomationTest.h"
#include "Misc/Guid.h"
#include "Selection.h"
#include "TarvolineImport.h"
#include "TarvolineLevel.h"
#include "TarvolineTestHelpers.h"
#include "UObject/UObjectGlobals.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineLevelTest
{
using namespace TarvolineTest;

/** Imports the model for a character of its own. */
FTarvolineImportResult Import(const TCHAR* FileName)
{
	const FString Character =
		FString::Printf(TEXT("Actor %s.fbx"), *FGuid::NewGuid().ToString(EGuidFormats::Digits).Left(12));
	return ImportAnimationFbx(TestModelFile(FileName), Character, TEXT("Dance in place"));
}

/** Steps that undo can take back now (steps already undone wait for redo and do not count). */
int32 UndoSteps()
{
	return GEditor && GEditor->Trans ? GEditor->Trans->GetQueueLength() - GEditor->Trans->GetUndoCount() : 0;
}

/** One line for an added actor: where it is, its label, what it shows and plays, and whether it alone is selected. */
FString Describe(const ASkeletalMeshActor* Actor, const FTarvolineImportResult& Imported)
{
	if (!IsValid(Actor))
	{
		return TEXT("no actor");
	}
	const USkeletalMeshComponent* Component = Actor->GetSkeletalMeshComponent();
	const bool bPlaced = Actor->GetWorld() == GEditor->GetEditorWorldContext(false).World() &&
						 Actor->GetActorLocation().IsZero() && Actor->GetActorRotation().IsZero();
	FString Line = FString::Printf(TEXT("'%s' %s, %s, %s"), *Actor->GetActorLabel(),
		bPlaced ? TEXT("at the level's origin") : TEXT("elsewhere"),
		Component->GetSkeletalMeshAsset() == Imported.Mesh.Get() ? TEXT("the mesh") : TEXT("another mesh"),
		Component->GetAnimationMode() == EAnimationMode::AnimationSingleNode ? TEXT("single node") : TEXT("blueprint"));
	const FSingleAnimationPlayData& Play = Component->AnimationData;
	if (Play.AnimToPlay)
	{
		Line += FString::Printf(TEXT(", plays %s%s%s"),
			Play.AnimToPlay == Imported.Clip.Get() ? TEXT("the clip") : TEXT("another clip"),
			Play.bSavedLooping ? TEXT(" looping") : TEXT(""), Play.bSavedPlaying ? TEXT(" at once") : TEXT(""));
	}
	const USelection* Selection = GEditor->GetSelectedActors();
	return Line + (Selection->IsSelected(Actor) && Selection->Num() == 1 ? TEXT(", selected alone") : TEXT(""));
}
} // namespace TarvolineLevelTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLevelAddTest, "Tarvoline.Level.AddAndUndo",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLevelAddTest::RunTest(const FString&)
{
	using namespace TarvolineLevelTest;
	const FTarvolineImportResult Imported = Import(TEXT("humanoid_anim.fbx"));
	FTarvolineImportResult Still = Import(TEXT("humanoid_noanim.fbx"));
	if (!TestTrue(TEXT("imported"),
			Imported.Mesh.IsValid() && Imported.Clip.IsValid() && Still.Mesh.IsValid() && !Still.Clip.IsValid()))
	{
		return false;
	}
	const int32 ActorsBefore = CountMeshActors();
	const int32 StepsBefore = UndoSteps();
	const int32 SelectedBefore = GEditor->GetSelectedActors()->Num();
	// Weak: an undone actor is garbage, and a later garbage collection may free it.
	TWeakObjectPtr<ASkeletalMeshActor> First;
	TWeakObjectPtr<ASkeletalMeshActor> Second;
	const auto Level = [&First, &Second, &Imported, ActorsBefore, StepsBefore]()
	{
		return FString::Printf(TEXT("%s | %s | +%d actors, +%d steps"), *Describe(First.Get(), Imported),
			*Describe(Second.Get(), Imported), CountMeshActors() - ActorsBefore, UndoSteps() - StepsBefore);
	};
	const FString Playing =
		TEXT("'dance_in_place' at the level's origin, the mesh, single node, plays the clip looping at once");
	const FString Selected = Playing + TEXT(", selected alone");

	// Each press is one undo step that places a looping actor at the origin and selects it alone.
	First = AddClipToLevel(Imported);
	TestEqual(TEXT("first"), *Level(), *(Selected + TEXT(" | no actor | +1 actors, +1 steps")));
	Second = AddClipToLevel(Imported);
	TestEqual(TEXT("second"), *Level(), *(Playing + TEXT(" | ") + Selected + TEXT(" | +2 actors, +2 steps")));

	// Each undo takes one whole step back: its actor and its selection.
	TestTrue(TEXT("undo"), GEditor->UndoTransaction());
	TestEqual(TEXT("first undo"), *Level(), *(Selected + TEXT(" | no actor | +1 actors, +1 steps")));
	TestTrue(TEXT("undo again"), GEditor->UndoTransaction());
	TestEqual(TEXT("second undo"), *Level(), TEXT("no actor | no actor | +0 actors, +0 steps"));
	TestEqual(TEXT("second undo: selection as before"), GEditor->GetSelectedActors()->Num(), SelectedBefore);

	// A mesh without motion is shown in the engine's default animation mode, labelled with the mesh's name.
	TestEqual(TEXT("without clip"), *Describe(AddClipToLevel(Still), Still),
		*FString::Printf(
			TEXT("'%s' at the level's origin, the mesh, blueprint, selected alone"), *Still.Mesh->GetName()));
	GEditor->UndoTransaction();

	// A mesh deleted since the import, or no import at all, places nothing and leaves no undo step.
	Still.Mesh->MarkAsGarbage();
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	TestFalse(TEXT("mesh deleted"), Still.Mesh.IsValid());
	TestNull(TEXT("deleted mesh"), AddClipToLevel(Still));
	TestNull(TEXT("empty result"), AddClipToLevel(FTarvolineImportResult()));
	TestEqual(TEXT("nothing placed"), *Level(), TEXT("no actor | no actor | +0 actors, +0 steps"));
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
