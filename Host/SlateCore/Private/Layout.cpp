// The layout pass: measuring widgets for a width and placing them in rectangles.
#include "HostSlateLayout.h"
#include "Layout/Children.h"
#include "SlotBase.h"
#include "Widgets/Images/SImage.h"
#include "Widgets/SBoxPanel.h"
#include <algorithm>
#include <cmath>

namespace HostSlate
{
float FontPixelSize(const FSlateFontInfo& Font)
{
	return Font.Size * 96.0f / 72.0f;
}

FVector2D ApproximateTextSize(const FString& Text, const FSlateFontInfo& Font, float WrapWidth)
{
	const float Pixels = FontPixelSize(Font);
	const float CharWidth = Pixels * 0.5f;
	const float LineHeight = Pixels * 1.2f;
	if (Text.IsEmpty())
	{
		return FVector2D(0.0, LineHeight);
	}
	// Words fill a line until the next one would pass the wrap width; explicit line breaks always break.
	TArray<FString> Paragraphs;
	Text.ParseIntoArray(Paragraphs, TEXT("\n"), false);
	const int32 MaxChars = WrapWidth > 0.0f ? std::max(1, (int)std::floor(WrapWidth / CharWidth)) : INT32_MAX;
	int32 Lines = 0;
	int32 Widest = 0;
	for (const FString& Paragraph : Paragraphs)
	{
		TArray<FString> Words;
		Paragraph.ParseIntoArray(Words, TEXT(" "), true);
		int32 LineChars = 0;
		++Lines;
		for (const FString& Word : Words)
		{
			const int32 Needed = LineChars == 0 ? Word.Len() : LineChars + 1 + Word.Len();
			if (Needed > MaxChars && LineChars > 0)
			{
				Widest = std::max(Widest, LineChars);
				++Lines;
				LineChars = Word.Len();
			}
			else
			{
				LineChars = Needed;
			}
		}
		Widest = std::max(Widest, std::min(LineChars, MaxChars));
	}
	return FVector2D(Widest * CharWidth, Lines * LineHeight);
}

FVector2D FLayoutContext::MeasureText(const FString& Text, const FSlateFontInfo& Font, float WrapWidth) const
{
	return Measurer ? Measurer(Text, Font, WrapWidth) : ApproximateTextSize(Text, Font, WrapWidth);
}

FVector2D MeasureSlot(const FSlotBase& Slot, float MaxWidth, const FLayoutContext& Context)
{
	SWidget& Widget = Slot.GetWidget().Get();
	if (!TakesRoom(Widget) || &Widget == &SNullWidget::NullWidget.Get())
	{
		return FVector2D::ZeroVector;
	}
	const FMargin Padding = Slot.HostGetPadding();
	const float Inner = std::max(0.0f, MaxWidth - Padding.Left - Padding.Right);
	const FVector2D Wanted = Widget.HostMeasure(Inner, Context);
	Widget.HostSetDesiredSize(Wanted);
	return Wanted + Padding.GetDesiredSize();
}

void ArrangeSlot(const FSlotBase& Slot, const FGeometry& Area, const FLayoutContext& Context)
{
	SWidget& Widget = Slot.GetWidget().Get();
	if (!TakesRoom(Widget) || &Widget == &SNullWidget::NullWidget.Get())
	{
		return;
	}
	const FMargin Padding = Slot.HostGetPadding();
	const double InnerWidth = std::max(0.0, Area.Size.X - Padding.Left - Padding.Right);
	const double InnerHeight = std::max(0.0, Area.Size.Y - Padding.Top - Padding.Bottom);
	const FVector2D Wanted = Widget.HostMeasure((float)InnerWidth, Context);
	Widget.HostSetDesiredSize(Wanted);

	const auto Place = [](int Alignment, double Start, double Room, double Want, double& OutStart, double& OutSize)
	{
		// Alignment values: 0 fill, 1 start, 2 centre, 3 end (both enums share this order).
		OutSize = Alignment == 0 ? Room : std::min(Room, Want);
		OutStart = Alignment == 2 ? Start + (Room - OutSize) / 2.0 : (Alignment == 3 ? Start + Room - OutSize : Start);
	};
	double X = 0.0, Y = 0.0, W = 0.0, H = 0.0;
	Place((int)Slot.HostGetHAlign(), Area.AbsolutePosition.X + Padding.Left, InnerWidth, Wanted.X, X, W);
	Place((int)Slot.HostGetVAlign(), Area.AbsolutePosition.Y + Padding.Top, InnerHeight, Wanted.Y, Y, H);
	Widget.HostArrange(FGeometry(FVector2D(X, Y), FVector2D(W, H)), Context);
}

namespace
{
uint64 LayoutCounter = 0;
}

FVector2D LayoutPass(const TSharedRef<SWidget>& Root, float Width, float Height, const FTextMeasurer& Measurer)
{
	FLayoutContext Context;
	Context.Measurer = Measurer;
	Context.Serial = ++LayoutCounter;
	const FVector2D Wanted = Root->HostMeasure(Width, Context);
	Root->HostSetDesiredSize(Wanted);
	const FVector2D Used(Width, Height > 0.0f ? Height : std::ceil(Wanted.Y));
	Root->HostArrange(FGeometry(FVector2D::ZeroVector, Used), Context);
	return Used;
}
} // namespace HostSlate

void SWidget::HostSetGeometry(const FGeometry& InGeometry, const HostSlate::FLayoutContext& Context)
{
	Geometry = InGeometry;
	LayoutSerial = Context.Serial;
}

FVector2D SWidget::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	FVector2D Wanted = ComputeDesiredSize(1.0f);
	FChildren* Children = GetChildren();
	for (int32 Index = 0; Children && Index < Children->Num(); ++Index)
	{
		const FVector2D Child = HostSlate::MeasureSlot(Children->GetSlotAt(Index), MaxWidth, Context);
		Wanted = FVector2D(std::max(Wanted.X, Child.X), std::max(Wanted.Y, Child.Y));
	}
	return Wanted;
}

void SWidget::HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context)
{
	HostSetGeometry(Allotted, Context);
	FChildren* Children = GetChildren();
	for (int32 Index = 0; Children && Index < Children->Num(); ++Index)
	{
		HostSlate::ArrangeSlot(Children->GetSlotAt(Index), Allotted, Context);
	}
}

namespace
{
/** A box's shown slots with what each wants, across and along the box. */
struct FBoxLine
{
	const FSlotBase* Slot;
	FVector2D Wanted;
};

double Along(const FVector2D& Size, EOrientation Orientation)
{
	return Orientation == Orient_Vertical ? Size.Y : Size.X;
}
} // namespace

FVector2D SBoxPanel::HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context)
{
	FChildren& Children = HostGetBoxChildren();
	FVector2D Total;
	if (Orientation == Orient_Vertical)
	{
		for (int32 Index = 0; Index < Children.Num(); ++Index)
		{
			const FVector2D Child = HostSlate::MeasureSlot(Children.GetSlotAt(Index), MaxWidth, Context);
			Total = FVector2D(std::max(Total.X, Child.X), Total.Y + Child.Y);
		}
		return Total;
	}
	// Across a row: auto slots first, then the stretching ones in the width that is left, so that their text wraps.
	float AutoWidth = 0.0f;
	float Coefficients = 0.0f;
	for (int32 Index = 0; Index < Children.Num(); ++Index)
	{
		const FSlotBase& Slot = Children.GetSlotAt(Index);
		if (Slot.HostGetSizeRule() == EHostSlotSizeRule::Auto)
		{
			const FVector2D Child = HostSlate::MeasureSlot(Slot, MaxWidth, Context);
			AutoWidth += (float)Child.X;
			Total = FVector2D(Total.X + Child.X, std::max(Total.Y, Child.Y));
		}
		else if (HostSlate::TakesRoom(Slot.GetWidget().Get()))
		{
			Coefficients += Slot.HostGetSizeValue();
		}
	}
	const float Left = std::max(0.0f, MaxWidth - AutoWidth);
	for (int32 Index = 0; Index < Children.Num(); ++Index)
	{
		const FSlotBase& Slot = Children.GetSlotAt(Index);
		if (Slot.HostGetSizeRule() == EHostSlotSizeRule::Stretch)
		{
			const float Share = Coefficients > 0.0f ? Left * Slot.HostGetSizeValue() / Coefficients : 0.0f;
			const FVector2D Child = HostSlate::MeasureSlot(Slot, Share, Context);
			Total = FVector2D(Total.X + Child.X, std::max(Total.Y, Child.Y));
		}
	}
	return Total;
}

void SBoxPanel::HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context)
{
	HostSetGeometry(Allotted, Context);
	FChildren& Children = HostGetBoxChildren();
	const bool bVertical = Orientation == Orient_Vertical;
	const double Room = Along(Allotted.Size, Orientation);
	const float Across = (float)(bVertical ? Allotted.Size.X : Allotted.Size.Y);

	// What auto slots take along the box, and the coefficients of the stretching ones.
	double AutoTotal = 0.0;
	float Coefficients = 0.0f;
	TArray<double> Sizes;
	for (int32 Index = 0; Index < Children.Num(); ++Index)
	{
		const FSlotBase& Slot = Children.GetSlotAt(Index);
		double Size = 0.0;
		if (Slot.HostGetSizeRule() == EHostSlotSizeRule::Auto)
		{
			Size = Along(HostSlate::MeasureSlot(Slot, bVertical ? Across : (float)Allotted.Size.X, Context), Orientation);
			if (Slot.HostGetMaxSize() > 0.0f)
			{
				Size = std::min(Size, (double)Slot.HostGetMaxSize());
			}
			AutoTotal += Size;
		}
		else if (HostSlate::TakesRoom(Slot.GetWidget().Get()))
		{
			Coefficients += Slot.HostGetSizeValue();
		}
		Sizes.Add(Size);
	}
	const double Left = std::max(0.0, Room - AutoTotal);
	double Offset = bVertical ? Allotted.AbsolutePosition.Y : Allotted.AbsolutePosition.X;
	for (int32 Index = 0; Index < Children.Num(); ++Index)
	{
		const FSlotBase& Slot = Children.GetSlotAt(Index);
		double Size = Sizes[Index];
		if (Slot.HostGetSizeRule() == EHostSlotSizeRule::Stretch && HostSlate::TakesRoom(Slot.GetWidget().Get()))
		{
			Size = Coefficients > 0.0f ? Left * Slot.HostGetSizeValue() / Coefficients : 0.0;
			if (Slot.HostGetMaxSize() > 0.0f)
			{
				Size = std::min(Size, (double)Slot.HostGetMaxSize());
			}
		}
		const FGeometry Area = bVertical
			? FGeometry(FVector2D(Allotted.AbsolutePosition.X, Offset), FVector2D(Allotted.Size.X, Size))
			: FGeometry(FVector2D(Offset, Allotted.AbsolutePosition.Y), FVector2D(Size, Allotted.Size.Y));
		HostSlate::ArrangeSlot(Slot, Area, Context);
		Offset += Size;
	}
}

FVector2D SImage::HostMeasure(float /*MaxWidth*/, const HostSlate::FLayoutContext& /*Context*/)
{
	if (DesiredSizeOverrideAttribute.Get().IsSet())
	{
		return DesiredSizeOverrideAttribute.Get().GetValue();
	}
	const FSlateBrush* Brush = ImageAttribute.Get();
	return Brush ? Brush->ImageSize : FVector2D::ZeroVector;
}
