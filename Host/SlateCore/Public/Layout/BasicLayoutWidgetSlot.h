// Stands in for the engine's Layout/BasicLayoutWidgetSlot.h: slots with padding and horizontal/vertical alignment,
// and the one-child slot of compound widgets.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Layout/Margin.h"
#include "SlotBase.h"
#include "Types/SlateEnums.h"
#include "Widgets/SWidget.h"

/** A slot with padding and alignment. */
template <typename SlotType>
class TBasicLayoutWidgetSlot : public TSlotBase<SlotType>
{
public:
	TBasicLayoutWidgetSlot(EHorizontalAlignment InHAlign = HAlign_Fill, EVerticalAlignment InVAlign = VAlign_Fill)
		: HAlignment(InHAlign)
		, VAlignment(InVAlign)
	{
	}

	struct FSlotArguments : public TSlotBase<SlotType>::FSlotArguments
	{
		using TSlotBase<SlotType>::FSlotArguments::FSlotArguments;

		typename SlotType::FSlotArguments& Padding(TAttribute<FMargin> InPadding)
		{
			this->GetSlot()->SetPadding(MoveTemp(InPadding));
			return this->Me();
		}
		typename SlotType::FSlotArguments& Padding(float Uniform) { return Padding(TAttribute<FMargin>(FMargin(Uniform))); }
		typename SlotType::FSlotArguments& Padding(float Horizontal, float Vertical)
		{
			return Padding(TAttribute<FMargin>(FMargin(Horizontal, Vertical)));
		}
		typename SlotType::FSlotArguments& Padding(float Left, float Top, float Right, float Bottom)
		{
			return Padding(TAttribute<FMargin>(FMargin(Left, Top, Right, Bottom)));
		}
		typename SlotType::FSlotArguments& HAlign(EHorizontalAlignment InHAlignment)
		{
			this->GetSlot()->SetHorizontalAlignment(InHAlignment);
			return this->Me();
		}
		typename SlotType::FSlotArguments& VAlign(EVerticalAlignment InVAlignment)
		{
			this->GetSlot()->SetVerticalAlignment(InVAlignment);
			return this->Me();
		}
	};

	void SetPadding(TAttribute<FMargin> InPadding) { SlotPadding.Assign(InPadding); }
	const FMargin& GetPadding() const { return SlotPadding.Get(); }
	void SetHorizontalAlignment(EHorizontalAlignment Alignment) { HAlignment = Alignment; }
	EHorizontalAlignment GetHorizontalAlignment() const { return HAlignment; }
	void SetVerticalAlignment(EVerticalAlignment Alignment) { VAlignment = Alignment; }
	EVerticalAlignment GetVerticalAlignment() const { return VAlignment; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override { SlotPadding.Update(); }
	virtual FMargin HostGetPadding() const override { return SlotPadding.Get(); }
	virtual EHorizontalAlignment HostGetHAlign() const override { return HAlignment; }
	virtual EVerticalAlignment HostGetVAlign() const override { return VAlignment; }
#endif

private:
	HostSlate::TCachedAttribute<FMargin> SlotPadding;
	EHorizontalAlignment HAlignment;
	EVerticalAlignment VAlignment;
};

/**
 * The one child of a compound widget (its ChildSlot): both the children list and the slot, with padding and
 * alignment, filled with `ChildSlot[ ... ]`.
 */
class FHostOneChildSlot : public FChildren, public FSlotBase
{
public:
	explicit FHostOneChildSlot(SWidget* InOwner)
		: FChildren(InOwner)
	{
		SetOwner(*this);
	}

	virtual int32 Num() const override { return 1; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const override;
	virtual const FSlotBase& GetSlotAt(int32 Index) const override;

	FHostOneChildSlot& operator[](const TSharedRef<SWidget>& InChildWidget)
	{
		AttachWidget(InChildWidget);
		return *this;
	}
	FHostOneChildSlot& Padding(TAttribute<FMargin> InPadding)
	{
		SlotPadding.Assign(InPadding);
		return *this;
	}
	FHostOneChildSlot& Padding(float Uniform) { return Padding(TAttribute<FMargin>(FMargin(Uniform))); }
	FHostOneChildSlot& Padding(float Horizontal, float Vertical)
	{
		return Padding(TAttribute<FMargin>(FMargin(Horizontal, Vertical)));
	}
	FHostOneChildSlot& Padding(float Left, float Top, float Right, float Bottom)
	{
		return Padding(TAttribute<FMargin>(FMargin(Left, Top, Right, Bottom)));
	}
	FHostOneChildSlot& HAlign(EHorizontalAlignment InHAlignment)
	{
		HAlignment = InHAlignment;
		return *this;
	}
	FHostOneChildSlot& VAlign(EVerticalAlignment InVAlignment)
	{
		VAlignment = InVAlignment;
		return *this;
	}
	void SetPadding(TAttribute<FMargin> InPadding) { SlotPadding.Assign(InPadding); }
	const FMargin& GetPadding() const { return SlotPadding.Get(); }
	void SetHorizontalAlignment(EHorizontalAlignment Alignment) { HAlignment = Alignment; }
	void SetVerticalAlignment(EVerticalAlignment Alignment) { VAlignment = Alignment; }
	EHorizontalAlignment GetHorizontalAlignment() const { return HAlignment; }
	EVerticalAlignment GetVerticalAlignment() const { return VAlignment; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override { SlotPadding.Update(); }
	virtual FMargin HostGetPadding() const override { return SlotPadding.Get(); }
	virtual EHorizontalAlignment HostGetHAlign() const override { return HAlignment; }
	virtual EVerticalAlignment HostGetVAlign() const override { return VAlignment; }
#endif

private:
	HostSlate::TCachedAttribute<FMargin> SlotPadding;
	EHorizontalAlignment HAlignment = HAlign_Fill;
	EVerticalAlignment VAlignment = VAlign_Fill;
};

/** The engine's name for a compound widget's child slot type. */
using FCompoundWidgetOneChildSlot = FHostOneChildSlot;
