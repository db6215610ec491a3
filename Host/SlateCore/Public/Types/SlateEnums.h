// Stands in for the engine's Types/SlateEnums.h: alignment, orientation, selection and commit kinds.
#pragma once

#include "CoreTypes.h"

enum EHorizontalAlignment : int
{
	HAlign_Fill = 0,
	HAlign_Left = 1,
	HAlign_Center = 2,
	HAlign_Right = 3,
};

enum EVerticalAlignment : int
{
	VAlign_Fill = 0,
	VAlign_Top = 1,
	VAlign_Center = 2,
	VAlign_Bottom = 3,
};

enum EOrientation : int
{
	Orient_Horizontal,
	Orient_Vertical,
};

/** How a selection came about. */
namespace ESelectInfo
{
enum Type
{
	OnKeyPress,
	OnNavigation,
	OnMouseClick,
	Direct,
};
}

/** How editing of a text ended. */
namespace ETextCommit
{
enum Type
{
	Default,
	OnEnter,
	OnUserMovedFocus,
	OnCleared,
};
}

namespace ETextJustify
{
enum Type
{
	Left,
	Center,
	Right,
	InvariantLeft,
	InvariantRight,
};
}

enum class ETextOverflowPolicy : uint8
{
	Clip,
	Ellipsis,
	MultilineEllipsis,
};

enum class EWidgetClipping : uint8
{
	Inherit,
	ClipToBounds,
	ClipToBoundsWithoutIntersecting,
	ClipToBoundsAlways,
	OnDemand,
};

enum class EFlowDirectionPreference : uint8
{
	Inherit,
	Culture,
	LeftToRight,
	RightToLeft,
};

enum class EButtonClickMethod : uint8
{
	DownAndUp,
	MouseDown,
	MouseUp,
	PreciseClick,
};

enum class EButtonTouchMethod : uint8
{
	DownAndUp,
	Down,
	PreciseTap,
};

enum class EButtonPressMethod : uint8
{
	DownAndUp,
	ButtonPress,
	ButtonRelease,
};

namespace EConsumeMouseWheel
{
enum Type
{
	WhenScrollingPossible,
	Always,
	Never,
};
}

enum class EScrollWhenFocusChanges : uint8
{
	NoScroll,
	InstantScroll,
	AnimatedScroll,
};

enum class EInvalidateWidgetReason : uint8
{
	None = 0,
	Layout = 1 << 0,
	Paint = 1 << 1,
	Volatility = 1 << 2,
	ChildOrder = 1 << 3,
	RenderTransform = 1 << 4,
	Visibility = 1 << 5,
	AttributeRegistration = 1 << 6,
	Prepass = 1 << 7,
	PaintAndVolatility = Paint | Volatility,
	LayoutAndVolatility = Layout | Volatility,
};

namespace EMouseCursor
{
enum Type
{
	None,
	Default,
	TextEditBeam,
	ResizeLeftRight,
	ResizeUpDown,
	ResizeSouthEast,
	ResizeSouthWest,
	CardinalCross,
	Crosshairs,
	Hand,
	GrabHand,
	GrabHandClosed,
	SlashedCircle,
	EyeDropper,
};
}
