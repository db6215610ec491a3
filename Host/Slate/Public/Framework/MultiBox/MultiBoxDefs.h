// Stands in for the engine's Framework/MultiBox/MultiBoxDefs.h: the kinds of menus and bars.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Commands/UICommandInfo.h"

enum class EMultiBoxType : uint8
{
	MenuBar,
	ToolBar,
	VerticalToolBar,
	SlimHorizontalToolBar,
	UniformToolBar,
	SlimHorizontalUniformToolBar,
	SlimWrappingToolBar,
	Menu,
	ButtonRow,
	ToolMenuBar,
};
