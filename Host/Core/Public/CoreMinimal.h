// Stand-in for the engine's CoreMinimal.h: the core types every file of the plug-in starts from.
#pragma once

#include "CoreGlobals.h"
#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/Set.h"
#include "Containers/StringConv.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"
#include "HAL/PlatformMisc.h"
#include "Internationalization/Text.h"
#include "Logging/LogMacros.h"
#include "Misc/CString.h"
#include "Misc/Optional.h"
#include "Misc/Parse.h"
#include "Serialization/Archive.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include "Templates/UnrealTemplate.h"
#include "UObject/NameTypes.h"
#if __has_include("Math/HostMath.h")
#include "Math/HostMath.h"
#endif
