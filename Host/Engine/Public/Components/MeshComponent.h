// Stands in for the engine's Components/MeshComponent.h.
#pragma once

#include "Components/PrimitiveComponent.h"

class UMeshComponent : public UPrimitiveComponent
{
	HOST_DECLARE_CLASS(UMeshComponent, UPrimitiveComponent, Engine)
};
