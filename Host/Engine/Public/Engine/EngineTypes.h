// Stands in for the engine's Engine/EngineTypes.h: the world kinds and spawn collision handling.
#pragma once

#include "Containers/EnumAsByte.h"
#include "CoreMinimal.h"

namespace EWorldType
{
enum Type
{
	None,
	Game,
	Editor,
	PIE,
	EditorPreview,
	GamePreview,
	GameRPC,
	Inactive
};
}

enum class ESpawnActorCollisionHandlingMethod : uint8
{
	Undefined,
	AlwaysSpawn,
	AdjustIfPossibleButAlwaysSpawn,
	AdjustIfPossibleButDontSpawnIfColliding,
	DontSpawnIfColliding,
};

enum class ETeleportType : uint8
{
	None,
	TeleportPhysics,
	ResetPhysics
};
