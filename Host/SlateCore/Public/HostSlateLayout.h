// Stand-in only (no engine counterpart): a layout pass over a widget tree, for pictures and layout checks. Each
// widget measures itself for a maximum width (text wraps to it), then places its children inside the rectangle its
// parent gave it; collapsed widgets take no room, hidden ones keep theirs. Text is measured by a measurer that the
// caller supplies (the picture renderer uses the system's fonts); without one, a fixed-pitch approximation is used.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Layout/Geometry.h"
#include "Math/Vector2D.h"
#include "Widgets/SWidget.h"

class FSlotBase;

namespace HostSlate
{
/** The size of Text drawn in Font, wrapped at WrapWidth when it is above 0. */
using FTextMeasurer = TFunction<FVector2D(const FString& Text, const FSlateFontInfo& Font, float WrapWidth)>;

/** What a layout pass hands every widget. */
struct FLayoutContext
{
	FTextMeasurer Measurer;
	uint64 Serial = 0;

	FVector2D MeasureText(const FString& Text, const FSlateFontInfo& Font, float WrapWidth) const;
};

/** A font's size in pixels: its points at 96 dots per inch, as the engine draws them. */
float FontPixelSize(const FSlateFontInfo& Font);

/** The fixed-pitch approximation: characters half as wide as the font is high, lines 1.2 times its height. */
FVector2D ApproximateTextSize(const FString& Text, const FSlateFontInfo& Font, float WrapWidth);

/** Lays Root out Width wide and Height high (0: as high as its content wants); returns the size used. */
FVector2D LayoutPass(const TSharedRef<SWidget>& Root, float Width, float Height = 0.0f,
	const FTextMeasurer& Measurer = FTextMeasurer());

/** Whether the widget takes room (it is not collapsed, as of the last paint pass). */
inline bool TakesRoom(const SWidget& Widget)
{
	return Widget.GetVisibility() != EVisibility::Collapsed;
}

/** The room a slot's widget wants, padding included; zero when the widget is collapsed. */
FVector2D MeasureSlot(const FSlotBase& Slot, float MaxWidth, const FLayoutContext& Context);

/** Places a slot's widget inside Area by the slot's padding and alignment. */
void ArrangeSlot(const FSlotBase& Slot, const FGeometry& Area, const FLayoutContext& Context);
} // namespace HostSlate
