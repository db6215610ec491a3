// Stands in for the engine's Layout/Visibility.h: whether a widget takes room, is drawn and can be clicked.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

struct EVisibility
{
	/** Drawn and hit-testable. */
	static const EVisibility Visible;
	/** Takes no room; neither drawn nor hit-testable. */
	static const EVisibility Collapsed;
	/** Keeps its room, but is neither drawn nor hit-testable. */
	static const EVisibility Hidden;
	/** Drawn, but neither it nor its children can be clicked. */
	static const EVisibility HitTestInvisible;
	/** Drawn; it cannot be clicked, its children can. */
	static const EVisibility SelfHitTestInvisible;
	/** Every state but Collapsed and Hidden. */
	static const EVisibility All;

	EVisibility()
		: Value(VIS_Visible)
	{
	}

	bool operator==(const EVisibility& Other) const { return Value == Other.Value; }
	bool operator!=(const EVisibility& Other) const { return Value != Other.Value; }

	/** Drawn (not Collapsed and not Hidden). */
	bool IsVisible() const { return (Value & VISPRIVATE_Visible) != 0; }
	bool IsHitTestVisible() const { return (Value & VISPRIVATE_SelfHitTestVisible) != 0; }
	bool AreChildrenHitTestVisible() const { return (Value & VISPRIVATE_ChildrenHitTestVisible) != 0; }
	FString ToString() const;

private:
	enum Private
	{
		VISPRIVATE_Visible = 0x1 << 0,
		VISPRIVATE_Collapsed = 0x1 << 1,
		VISPRIVATE_Hidden = 0x1 << 2,
		VISPRIVATE_SelfHitTestVisible = 0x1 << 3,
		VISPRIVATE_ChildrenHitTestVisible = 0x1 << 4,

		VIS_Visible = VISPRIVATE_Visible | VISPRIVATE_SelfHitTestVisible | VISPRIVATE_ChildrenHitTestVisible,
		VIS_Collapsed = VISPRIVATE_Collapsed,
		VIS_Hidden = VISPRIVATE_Hidden,
		VIS_HitTestInvisible = VISPRIVATE_Visible,
		VIS_SelfHitTestInvisible = VISPRIVATE_Visible | VISPRIVATE_ChildrenHitTestVisible,
		VIS_All = VISPRIVATE_Visible | VISPRIVATE_Hidden | VISPRIVATE_Collapsed | VISPRIVATE_SelfHitTestVisible |
			VISPRIVATE_ChildrenHitTestVisible,
	};

	constexpr EVisibility(Private InValue)
		: Value(InValue)
	{
	}

	Private Value;
};

inline const EVisibility EVisibility::Visible(EVisibility::VIS_Visible);
inline const EVisibility EVisibility::Collapsed(EVisibility::VIS_Collapsed);
inline const EVisibility EVisibility::Hidden(EVisibility::VIS_Hidden);
inline const EVisibility EVisibility::HitTestInvisible(EVisibility::VIS_HitTestInvisible);
inline const EVisibility EVisibility::SelfHitTestInvisible(EVisibility::VIS_SelfHitTestInvisible);
inline const EVisibility EVisibility::All(EVisibility::VIS_All);
