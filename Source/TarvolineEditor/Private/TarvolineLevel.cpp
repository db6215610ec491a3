// "Add to level": one actor that plays the imported clip, as a single undoable editor step.

#include "TarvolineLevel.h"

#include "Animation/AnimSequence.h"
#include "Animation/SkeletalMeshActor.h"
#include "Components/SkeletalMeshComponent.h"
#include "Editor.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "ScopedTransaction.h"
#include "TarvolineImport.h"

#define LOCTEXT_NAMESPACE "Tarvoline"

ASkeletalMeshActor* AddClipToLevel(const FTarvolineImportResult& Result)
{
	// The mesh may have been deleted since the import; the clip is optional.
	if (!GEditor || !Result.Mesh.IsValid())
	{
		return nullptr;
	}
	UWorld* World = GEditor->GetEditorWorldContext(false).World();
	if (!World)
	{
		return nullptr;
	}

	const FScopedTransaction Transaction(LOCTEXT("AddToLevel", "Add Tarvoline animation"));
	ASkeletalMeshActor* Actor = World->SpawnActor<ASkeletalMeshActor>(
		ASkeletalMeshActor::StaticClass(), FVector::ZeroVector, FRotator::ZeroRotator, FActorSpawnParameters());
	if (!Actor)
	{
		return nullptr;
	}
	// Records the new actor in the open transaction and dirties its package (which one-file-per-actor levels save
	// the actor by), so the label and component changes below belong to this same undo step.
	Actor->Modify(true);

	USkeletalMesh* Mesh = Result.Mesh.Get();
	UAnimSequence* Clip = Result.Clip.Get();
	Actor->SetActorLabel(Clip ? Clip->GetName() : Mesh->GetName(), true);

	USkeletalMeshComponent* Component = Actor->GetSkeletalMeshComponent();
	if (Component)
	{
		Component->SetSkeletalMesh(Mesh, false);
		if (Clip)
		{
			// AnimationData is what the single-node instance starts from when the level loads or plays, so the loop
			// survives saving; SetAnimation shows the clip on the live instance right away.
			Component->SetAnimationMode(EAnimationMode::AnimationSingleNode, true);
			Component->AnimationData.AnimToPlay = Clip;
			Component->AnimationData.bSavedLooping = true;
			Component->AnimationData.bSavedPlaying = true;
			Component->SetAnimation(Clip);
		}
	}

	GEditor->SelectNone(false, true, true);
	GEditor->SelectActor(Actor, true, true, false, false);
	return Actor;
}

#undef LOCTEXT_NAMESPACE
