// Places an imported character with its clip in the level open in the editor.

#pragma once

#include "CoreMinimal.h"

class ASkeletalMeshActor;
struct FTarvolineImportResult;

/**
 * Spawns a skeletal-mesh actor at the world origin with the result's mesh, playing its clip in a loop when there is
 * one, and selects it; one undo step. Returns the actor, or nullptr when there is no editor, mesh or level.
 */
ASkeletalMeshActor* AddClipToLevel(const FTarvolineImportResult& Result);
