// Stands in for the engine's Widgets/Layout/SWrapBox.h: slots laid out in a row that wraps onto new lines.
#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SPanel.h"

class SWrapBox : public SPanel
{
public:
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

			/** The slot takes the rest of its line. */
			FSlotArguments& FillEmptySpace(TAttribute<bool> bInFillEmptySpace)
			{
				GetSlot()->SetFillEmptySpace(MoveTemp(bInFillEmptySpace));
				return *this;
			}
			/** The slot takes a whole line when the box is narrower than this. */
			FSlotArguments& FillLineWhenSizeLessThan(TOptional<float> InFillLineWhenSizeLessThan)
			{
				GetSlot()->SetFillLineWhenSizeLessThan(InFillLineWhenSizeLessThan);
				return *this;
			}
			/** The slot starts a new line. */
			FSlotArguments& ForceNewLine(TAttribute<bool> bInForceNewLine)
			{
				GetSlot()->SetForceNewLine(MoveTemp(bInForceNewLine));
				return *this;
			}
		};

		void SetFillEmptySpace(TAttribute<bool> bInFillEmptySpace) { FillEmptySpaceAttribute.Assign(bInFillEmptySpace); }
		bool GetFillEmptySpace() const { return FillEmptySpaceAttribute.Get(); }
		void SetFillLineWhenSizeLessThan(TOptional<float> InValue) { FillLineWhenSizeLessThan = InValue; }
		TOptional<float> GetFillLineWhenSizeLessThan() const { return FillLineWhenSizeLessThan; }
		void SetForceNewLine(TAttribute<bool> bInForceNewLine) { ForceNewLineAttribute.Assign(bInForceNewLine); }
		bool GetForceNewLine() const { return ForceNewLineAttribute.Get(); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		virtual void HostUpdateAttributes() override
		{
			TBasicLayoutWidgetSlot<FSlot>::HostUpdateAttributes();
			FillEmptySpaceAttribute.Update();
			ForceNewLineAttribute.Update();
		}
#endif

	private:
		HostSlate::TCachedAttribute<bool> FillEmptySpaceAttribute{false};
		HostSlate::TCachedAttribute<bool> ForceNewLineAttribute{false};
		TOptional<float> FillLineWhenSizeLessThan;
	};

	using FScopedWidgetSlotArguments = TPanelChildren<FSlot>::FScopedWidgetSlotArguments;

	static FSlot::FSlotArguments Slot() { return FSlot::FSlotArguments(std::make_unique<FSlot>()); }

	SLATE_BEGIN_ARGS(SWrapBox)
		: _PreferredSize(100.0f)
		, _HAlign(HAlign_Left)
		, _InnerSlotPadding(FVector2D::ZeroVector)
		, _UseAllottedSize(false)
		, _Orientation(Orient_Horizontal)
	{
	}
	SLATE_SLOT_ARGUMENT(FSlot, Slots)
	/** The length at which the line wraps, unless UseAllottedSize. */
	SLATE_ATTRIBUTE(float, PreferredSize)
	SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
	SLATE_ARGUMENT(FVector2D, InnerSlotPadding)
	SLATE_ARGUMENT(bool, UseAllottedSize)
	SLATE_ARGUMENT(EOrientation, Orientation)
	SLATE_END_ARGS()

	SWrapBox();
	void Construct(const FArguments& InArgs);
	virtual FChildren* GetChildren() override { return &Slots; }

	/** Adds a slot at the end when the statement ends: `Box->AddSlot().Padding(2)[ ... ];`. */
	FScopedWidgetSlotArguments AddSlot() { return FScopedWidgetSlotArguments(std::make_unique<FSlot>(), Slots, INDEX_NONE); }
	FScopedWidgetSlotArguments InsertSlot(int32 Index) { return FScopedWidgetSlotArguments(std::make_unique<FSlot>(), Slots, Index); }
	int32 RemoveSlot(const TSharedRef<SWidget>& SlotWidget) { return Slots.Remove(SlotWidget); }
	void ClearChildren() { Slots.Empty(); }
	int32 NumSlots() const { return Slots.Num(); }
	void SetInnerSlotPadding(FVector2D InInnerSlotPadding) { InnerSlotPadding = InInnerSlotPadding; }
	void SetWrapSize(TAttribute<float> InWrapSize) { PreferredSize.Assign(InWrapSize); }
	void SetUseAllottedSize(bool bInUseAllottedSize) { bUseAllottedSize = bInUseAllottedSize; }
	void SetOrientation(EOrientation InOrientation) { Orientation = InOrientation; }
	void SetHorizontalAlignment(TAttribute<EHorizontalAlignment> InHAlignment) { HAlignment = InHAlignment.Get(); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		PreferredSize.Update();
		Slots.HostUpdateSlotAttributes();
	}
	/** The slots in lines that wrap at the preferred size (or the allotted width when UseAllottedSize). */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	virtual void HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context) override;
	float HostGetPreferredSize() const { return PreferredSize.Get(); }
	const FVector2D& HostGetInnerSlotPadding() const { return InnerSlotPadding; }
	bool HostGetUseAllottedSize() const { return bUseAllottedSize; }
	EOrientation HostGetOrientation() const { return Orientation; }
#endif

private:
	TPanelChildren<FSlot> Slots;
	HostSlate::TCachedAttribute<float> PreferredSize{100.0f};
	EHorizontalAlignment HAlignment = HAlign_Left;
	FVector2D InnerSlotPadding;
	bool bUseAllottedSize = false;
	EOrientation Orientation = Orient_Horizontal;
};
