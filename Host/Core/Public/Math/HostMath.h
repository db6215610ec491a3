// Stands in for the math part of the engine's CoreMinimal.h: vectors, rotations, transforms and bounds.
#pragma once

#include "Math/Box.h"
#include "Math/BoxSphereBounds.h"
#include "Math/Interval.h"
#include "Math/Quat.h"
#include "Math/Rotator.h"
#include "Math/Transform.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
