// Stands in for the engine's Framework/Commands/UICommandInfo.h: the kinds of user-interface action an entry is.
#pragma once

#include "CoreMinimal.h"

enum class EUserInterfaceActionType : uint8
{
	None,
	Button,
	ToggleButton,
	RadioButton,
	Check,
	CollapsedButton,
};
