// Stands in for the engine's Widgets/Layout/SScrollBox.h: a list of slots that scrolls along one direction. The
// headless UI never clips: every slot is laid out and painted.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Styling/AppStyle.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

enum class EAllowOverscroll : uint8
{
	Yes,
	No,
};

enum class EDescendantScrollDestination : uint8
{
	IntoView,
	TopOrLeft,
	Center,
	BottomOrRight,
};

class SScrollBox : public SCompoundWidget
{
public:
	/** A scroll box slot: padding and alignment; it sizes its widget to the widget's wish unless told to fill. */
	class FSlot : public TBasicLayoutWidgetSlot<FSlot>
	{
	public:
		FSlot()
			: TBasicLayoutWidgetSlot<FSlot>(HAlign_Fill, VAlign_Fill)
		{
		}

		struct FSlotArguments : public TBasicLayoutWidgetSlot<FSlot>::FSlotArguments
		{
			using TBasicLayoutWidgetSlot<FSlot>::FSlotArguments::FSlotArguments;

			FSlotArguments& AutoSize()
			{
				GetSlot()->SetSizeToAuto();
				return *this;
			}
			FSlotArguments& FillSize(TAttribute<float> InStretchValue)
			{
				GetSlot()->SetSizeToStretch(MoveTemp(InStretchValue));
				return *this;
			}
			FSlotArguments& MaxSize(TAttribute<float> InMaxSize)
			{
				GetSlot()->SetMaxSize(MoveTemp(InMaxSize));
				return *this;
			}
		};

		void SetSizeToAuto() { SizeRule = EHostSlotSizeRule::Auto; }
		void SetSizeToStretch(TAttribute<float> InStretchValue)
		{
			SizeRule = EHostSlotSizeRule::Stretch;
			SizeValue.Assign(InStretchValue);
		}
		void SetMaxSize(TAttribute<float> InMaxSize) { MaxSizeValue.Assign(InMaxSize); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		virtual void HostUpdateAttributes() override
		{
			TBasicLayoutWidgetSlot<FSlot>::HostUpdateAttributes();
			SizeValue.Update();
			MaxSizeValue.Update();
		}
		virtual EHostSlotSizeRule::Type HostGetSizeRule() const override { return SizeRule; }
		virtual float HostGetSizeValue() const override { return SizeValue.Get(); }
		virtual float HostGetMaxSize() const override { return MaxSizeValue.Get(); }
#endif

	private:
		EHostSlotSizeRule::Type SizeRule = EHostSlotSizeRule::Auto;
		HostSlate::TCachedAttribute<float> SizeValue{1.0f};
		HostSlate::TCachedAttribute<float> MaxSizeValue{0.0f};
	};

	using FScopedWidgetSlotArguments = TPanelChildren<FSlot>::FScopedWidgetSlotArguments;

	static FSlot::FSlotArguments Slot() { return FSlot::FSlotArguments(std::make_unique<FSlot>()); }

	SLATE_BEGIN_ARGS(SScrollBox)
		: _Style(&FAppStyle::Get().GetWidgetStyle<FScrollBoxStyle>("ScrollBox"))
		, _ScrollBarStyle(&FAppStyle::Get().GetWidgetStyle<FScrollBarStyle>("ScrollBar"))
		, _Orientation(Orient_Vertical)
		, _ScrollBarVisibility(EVisibility::Visible)
		, _ScrollBarAlwaysVisible(false)
		, _ScrollBarPadding(2.0f)
		, _AllowOverscroll(EAllowOverscroll::Yes)
		, _AnimateWheelScrolling(false)
		, _WheelScrollMultiplier(1.0f)
		, _ScrollWhenFocusChanges(EScrollWhenFocusChanges::NoScroll)
		, _ConsumeMouseWheel(EConsumeMouseWheel::WhenScrollingPossible)
	{
	}
	SLATE_SLOT_ARGUMENT(FSlot, Slots)
	SLATE_STYLE_ARGUMENT(FScrollBoxStyle, Style)
	SLATE_STYLE_ARGUMENT(FScrollBarStyle, ScrollBarStyle)
	SLATE_ARGUMENT(EOrientation, Orientation)
	SLATE_ARGUMENT(EVisibility, ScrollBarVisibility)
	SLATE_ARGUMENT(bool, ScrollBarAlwaysVisible)
	SLATE_ARGUMENT(FMargin, ScrollBarPadding)
	SLATE_ARGUMENT(EAllowOverscroll, AllowOverscroll)
	SLATE_ARGUMENT(bool, AnimateWheelScrolling)
	SLATE_ARGUMENT(float, WheelScrollMultiplier)
	SLATE_ARGUMENT(EScrollWhenFocusChanges, ScrollWhenFocusChanges)
	SLATE_ARGUMENT(EConsumeMouseWheel::Type, ConsumeMouseWheel)
	SLATE_EVENT(FOnUserScrolled, OnUserScrolled)
	SLATE_END_ARGS()

	SScrollBox();
	void Construct(const FArguments& InArgs);
	virtual FChildren* GetChildren() override { return &Children; }

	FScopedWidgetSlotArguments AddSlot() { return InsertSlot(INDEX_NONE); }
	FScopedWidgetSlotArguments InsertSlot(int32 Index)
	{
		return FScopedWidgetSlotArguments(std::make_unique<FSlot>(), Children, Index);
	}
	int32 RemoveSlot(const TSharedRef<SWidget>& WidgetToRemove) { return Children.Remove(WidgetToRemove); }
	void ClearChildren() { Children.Empty(); }
	int32 NumSlots() const { return Children.Num(); }
	EOrientation GetOrientation() const { return Orientation; }
	void SetOrientation(EOrientation InOrientation) { Orientation = InOrientation; }
	void SetScrollBarVisibility(EVisibility InVisibility) { (void)InVisibility; }

	float GetScrollOffset() const { return ScrollOffset; }
	void SetScrollOffset(float NewScrollOffset) { ScrollOffset = NewScrollOffset < 0.0f ? 0.0f : NewScrollOffset; }
	void ScrollToStart() { ScrollOffset = 0.0f; }
	void ScrollToEnd() { bScrollToEndRequested = true; }
	void ScrollDescendantIntoView(const TSharedPtr<SWidget>& WidgetToFind, bool InAnimateScroll = true,
		EDescendantScrollDestination InDestination = EDescendantScrollDestination::IntoView, float Padding = 0)
	{
		(void)WidgetToFind;
		(void)InAnimateScroll;
		(void)InDestination;
		(void)Padding;
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		SCompoundWidget::HostUpdateAttributes();
		Children.HostUpdateSlotAttributes();
	}
	/** The slots one after the other along the scroll direction, each as large as it wants (nothing is clipped). */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	virtual void HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context) override;
#endif

private:
	TPanelChildren<FSlot> Children;
	EOrientation Orientation = Orient_Vertical;
	float ScrollOffset = 0.0f;
	bool bScrollToEndRequested = false;
	FOnUserScrolled OnUserScrolled;
};
