// How the common widgets measure themselves and place their children in the layout pass.
#include "HostSlateLayout.h"
#include "Widgets/Input/SHostEditableTextBox.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Layout/SWrapBox.h"
#include "Widgets/Text/STextBlock.h"
#include <algorithm>

FVector2D STextBlock::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	const FMargin Margin = MarginAttribute.Get();
	float Wrap = AutoWrapTextAttribute.Get() ? std::max(1.0f, MaxWidth - Margin.Left - Margin.Right) : 0.0f;
	if (WrapTextAtAttribute.Get() > 0.0f)
	{
		Wrap = Wrap > 0.0f ? std::min(Wrap, WrapTextAtAttribute.Get()) : WrapTextAtAttribute.Get();
	}
	FVector2D Size = Context.MeasureText(GetText().ToString(), HostGetFont(), Wrap);
	Size.X = std::max(Size.X, (double)MinDesiredWidthAttribute.Get());
	return Size + Margin.GetDesiredSize();
}

FString SHostEditableTextBox::HostGetDrawnText() const
{
	const FString& Contents = EditedText.ToString();
	if (!IsPasswordAttribute.Get())
	{
		return Contents;
	}
	FString Masked;
	for (int32 Index = 0; Index < Contents.Len(); ++Index)
	{
		Masked += TEXT("\x2022");
	}
	return Masked;
}

FVector2D SHostEditableTextBox::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	const FMargin Padding = ChildSlot.GetPadding();
	const FString Drawn = EditedText.IsEmpty() ? HintTextAttribute.Get().ToString() : HostGetDrawnText();
	const float Wrap = bMultiLine && AutoWrapTextAttribute.Get() ? std::max(1.0f, MaxWidth - Padding.Left - Padding.Right) : 0.0f;
	const FVector2D Text = Context.MeasureText(Drawn, HostGetFont(), Wrap);
	return Text + Padding.GetDesiredSize();
}

FVector2D SBox::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	const float Limit = WidthOverride.Get().IsSet() ? WidthOverride.Get().Get()
		: (MaxDesiredWidth.Get().IsSet() ? std::min(MaxWidth, MaxDesiredWidth.Get().Get()) : MaxWidth);
	FVector2D Wanted = SPanel::HostMeasure(Limit, Context);
	const auto Bound = [](double Value, const FOptionalSize& Override, const FOptionalSize& Min, const FOptionalSize& Max)
	{
		if (Override.IsSet())
		{
			return (double)Override.Get();
		}
		if (Min.IsSet())
		{
			Value = std::max(Value, (double)Min.Get());
		}
		if (Max.IsSet())
		{
			Value = std::min(Value, (double)Max.Get());
		}
		return Value;
	};
	Wanted.X = Bound(Wanted.X, WidthOverride.Get(), MinDesiredWidth.Get(), MaxDesiredWidth.Get());
	Wanted.Y = Bound(Wanted.Y, HeightOverride.Get(), MinDesiredHeight.Get(), MaxDesiredHeight.Get());
	return Wanted;
}

FVector2D SScrollBox::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	FVector2D Total;
	for (int32 Index = 0; Index < Children.Num(); ++Index)
	{
		const FVector2D Child = HostSlate::MeasureSlot(Children.GetSlotAt(Index), MaxWidth, Context);
		Total = Orientation == Orient_Vertical ? FVector2D(std::max(Total.X, Child.X), Total.Y + Child.Y)
											   : FVector2D(Total.X + Child.X, std::max(Total.Y, Child.Y));
	}
	return Total;
}

void SScrollBox::HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context)
{
	HostSetGeometry(Allotted, Context);
	FVector2D Position = Allotted.AbsolutePosition;
	for (int32 Index = 0; Index < Children.Num(); ++Index)
	{
		const FSlotBase& Slot = Children.GetSlotAt(Index);
		const FVector2D Child = HostSlate::MeasureSlot(Slot, (float)Allotted.Size.X, Context);
		if (Orientation == Orient_Vertical)
		{
			HostSlate::ArrangeSlot(Slot, FGeometry(Position, FVector2D(Allotted.Size.X, Child.Y)), Context);
			Position.Y += Child.Y;
		}
		else
		{
			HostSlate::ArrangeSlot(Slot, FGeometry(Position, FVector2D(Child.X, Allotted.Size.Y)), Context);
			Position.X += Child.X;
		}
	}
}

namespace
{
/** One slot's place in a wrap box's flow. */
struct FFlowItem
{
	int32 SlotIndex;
	FVector2D Size;
	int32 Line;
	double X;
};

/** Flows the shown slots into lines no longer than WrapWidth; returns the items and the size taken. */
FVector2D Flow(TPanelChildren<SWrapBox::FSlot>& Slots, float WrapWidth, const FVector2D& Gap,
	const HostSlate::FLayoutContext& Context, TArray<FFlowItem>& OutItems, TArray<double>& OutLineHeights)
{
	double X = 0.0;
	double Widest = 0.0;
	int32 Line = 0;
	OutLineHeights.Add(0.0);
	for (int32 Index = 0; Index < Slots.Num(); ++Index)
	{
		const SWrapBox::FSlot& Slot = Slots[Index];
		if (!HostSlate::TakesRoom(Slot.GetWidget().Get()))
		{
			continue;
		}
		const FVector2D Size = HostSlate::MeasureSlot(Slot, WrapWidth, Context);
		const bool bStartsLine = X == 0.0;
		if (!bStartsLine && (Slot.GetForceNewLine() || X + Gap.X + Size.X > WrapWidth))
		{
			++Line;
			OutLineHeights.Add(0.0);
			X = 0.0;
		}
		const double Start = X == 0.0 ? 0.0 : X + Gap.X;
		OutItems.Add(FFlowItem{Index, Size, Line, Start});
		X = Start + Size.X;
		Widest = std::max(Widest, X);
		OutLineHeights[Line] = std::max(OutLineHeights[Line], Size.Y);
	}
	double Height = 0.0;
	for (int32 Index = 0; Index < OutLineHeights.Num(); ++Index)
	{
		Height += OutLineHeights[Index] + (Index > 0 ? Gap.Y : 0.0);
	}
	return FVector2D(Widest, OutItems.IsEmpty() ? 0.0 : Height);
}
} // namespace

FVector2D SWrapBox::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	TArray<FFlowItem> Items;
	TArray<double> LineHeights;
	return Flow(Slots, bUseAllottedSize ? MaxWidth : PreferredSize.Get(), InnerSlotPadding, Context, Items, LineHeights);
}

void SWrapBox::HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context)
{
	HostSetGeometry(Allotted, Context);
	TArray<FFlowItem> Items;
	TArray<double> LineHeights;
	const float WrapWidth = bUseAllottedSize ? (float)Allotted.Size.X : PreferredSize.Get();
	Flow(Slots, WrapWidth, InnerSlotPadding, Context, Items, LineHeights);
	TArray<double> LineTops;
	double Top = Allotted.AbsolutePosition.Y;
	for (int32 Line = 0; Line < LineHeights.Num(); ++Line)
	{
		LineTops.Add(Top);
		Top += LineHeights[Line] + InnerSlotPadding.Y;
	}
	for (const FFlowItem& Item : Items)
	{
		const FSlot& Slot = Slots[Item.SlotIndex];
		// A slot that fills empty space takes the rest of its line.
		const bool bLastOnLine = &Item == &Items.Last() || (&Item)[1].Line != Item.Line;
		const double Width = Slot.GetFillEmptySpace() && bLastOnLine ? std::max(Item.Size.X, WrapWidth - Item.X) : Item.Size.X;
		HostSlate::ArrangeSlot(Slot,
			FGeometry(FVector2D(Allotted.AbsolutePosition.X + Item.X, LineTops[Item.Line]), FVector2D(Width, LineHeights[Item.Line])),
			Context);
	}
}
