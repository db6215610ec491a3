// Stands in for the engine's Components/PrimitiveComponent.h.
#pragma once

#include "Components/SceneComponent.h"

class UPrimitiveComponent : public USceneComponent
{
	HOST_DECLARE_CLASS(UPrimitiveComponent, USceneComponent, Engine)
};
