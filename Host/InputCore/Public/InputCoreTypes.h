// Stands in for the engine's InputCoreTypes.h: keys by name. The headless UI drives widgets directly, so keys only
// need to exist for code that names them.
#pragma once

#include "CoreMinimal.h"

struct FKey
{
	FKey() = default;
	FKey(const FName InName)
		: KeyName(InName)
	{
	}
	FKey(const TCHAR* InName)
		: KeyName(InName)
	{
	}

	bool IsValid() const { return !KeyName.IsNone(); }
	FName GetFName() const { return KeyName; }
	FString ToString() const { return KeyName.ToString(); }
	bool operator==(const FKey& Other) const { return KeyName == Other.KeyName; }
	bool operator!=(const FKey& Other) const { return KeyName != Other.KeyName; }

private:
	FName KeyName;
};

struct EKeys
{
	static inline const FKey LeftMouseButton{TEXT("LeftMouseButton")};
	static inline const FKey RightMouseButton{TEXT("RightMouseButton")};
	static inline const FKey Enter{TEXT("Enter")};
	static inline const FKey Escape{TEXT("Escape")};
	static inline const FKey Tab{TEXT("Tab")};
	static inline const FKey SpaceBar{TEXT("SpaceBar")};
	static inline const FKey Up{TEXT("Up")};
	static inline const FKey Down{TEXT("Down")};
	static inline const FKey Invalid{};
};
