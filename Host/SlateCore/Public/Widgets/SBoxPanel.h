// Stands in for the engine's Widgets/SBoxPanel.h: the vertical and horizontal boxes and their slots.
#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Layout/Children.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SPanel.h"

class SBoxPanel : public SPanel
{
public:
	/** A box slot: padding and alignment, and a size rule along the box (auto, or stretch by a coefficient). */
	template <typename SlotType>
	class TSlot : public TBasicLayoutWidgetSlot<SlotType>
	{
	public:
		TSlot()
			: TBasicLayoutWidgetSlot<SlotType>(HAlign_Fill, VAlign_Fill)
		{
		}

		/** Sizes the widget to its wish along the box. */
		void SetSizeToAuto() { SizeRule = EHostSlotSizeRule::Auto; }
		/** Shares the room left by auto slots among stretching slots in proportion to their coefficients. */
		void SetSizeToStretch(TAttribute<float> StretchCoefficient)
		{
			SizeRule = EHostSlotSizeRule::Stretch;
			SizeValue.Assign(StretchCoefficient);
		}
		void SetMaxSize(TAttribute<float> InMaxSize) { MaxSize.Assign(InMaxSize); }
		float GetMaxSize() const { return MaxSize.Get(); }
		/** The engine's query for the rule: true for auto. */
		bool IsAutoSize() const { return SizeRule == EHostSlotSizeRule::Auto; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		virtual void HostUpdateAttributes() override
		{
			TBasicLayoutWidgetSlot<SlotType>::HostUpdateAttributes();
			SizeValue.Update();
			MaxSize.Update();
		}
		virtual EHostSlotSizeRule::Type HostGetSizeRule() const override { return SizeRule; }
		virtual float HostGetSizeValue() const override { return SizeValue.Get(); }
		virtual float HostGetMaxSize() const override { return MaxSize.Get(); }
#endif

	private:
		/** A slot given neither AutoHeight nor FillHeight stretches with coefficient 1. */
		EHostSlotSizeRule::Type SizeRule = EHostSlotSizeRule::Stretch;
		HostSlate::TCachedAttribute<float> SizeValue{1.0f};
		HostSlate::TCachedAttribute<float> MaxSize{0.0f};
	};

	virtual FChildren* GetChildren() override { return &HostGetBoxChildren(); }
	int32 NumSlots() const { return const_cast<SBoxPanel*>(this)->HostGetBoxChildren().Num(); }
	/** Drops every slot. */
	void ClearChildren() { HostGetBoxChildren().Empty(); }
	/** Removes the slot holding that widget; its index, or INDEX_NONE. */
	int32 RemoveSlot(const TSharedRef<SWidget>& SlotWidget) { return HostGetBoxChildren().Remove(SlotWidget); }
	EOrientation GetOrientation() const { return Orientation; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override { HostGetBoxChildren().HostUpdateSlotAttributes(); }
	/** Auto slots get what their widgets want along the box, stretching slots share the rest by coefficient. */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	virtual void HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context) override;
#endif

protected:
	explicit SBoxPanel(EOrientation InOrientation)
		: Orientation(InOrientation)
	{
	}
	virtual FHostPanelChildrenBase& HostGetBoxChildren() = 0;

private:
	EOrientation Orientation;
};

class SHorizontalBox : public SBoxPanel
{
public:
	class FSlot : public SBoxPanel::TSlot<FSlot>
	{
	public:
		struct FSlotArguments : public SBoxPanel::TSlot<FSlot>::FSlotArguments
		{
			using SBoxPanel::TSlot<FSlot>::FSlotArguments::FSlotArguments;

			/** Width as the widget wishes. */
			FSlotArguments& AutoWidth()
			{
				GetSlot()->SetSizeToAuto();
				return *this;
			}
			/** A share of the room left, in proportion to the coefficient. */
			FSlotArguments& FillWidth(TAttribute<float> StretchCoefficient)
			{
				GetSlot()->SetSizeToStretch(MoveTemp(StretchCoefficient));
				return *this;
			}
			FSlotArguments& MaxWidth(TAttribute<float> InMaxWidth)
			{
				GetSlot()->SetMaxSize(MoveTemp(InMaxWidth));
				return *this;
			}
		};

		void SetAutoWidth() { SetSizeToAuto(); }
		void SetFillWidth(TAttribute<float> StretchCoefficient) { SetSizeToStretch(MoveTemp(StretchCoefficient)); }
		void SetMaxWidth(TAttribute<float> InMaxWidth) { SetMaxSize(MoveTemp(InMaxWidth)); }
	};

	using FScopedWidgetSlotArguments = TPanelChildren<FSlot>::FScopedWidgetSlotArguments;

	static FSlot::FSlotArguments Slot() { return FSlot::FSlotArguments(std::make_unique<FSlot>()); }

	SLATE_BEGIN_ARGS(SHorizontalBox) {}
	SLATE_SLOT_ARGUMENT(SHorizontalBox::FSlot, Slots)
	SLATE_END_ARGS()

	SHorizontalBox()
		: SBoxPanel(Orient_Horizontal)
		, Children(this)
	{
	}

	void Construct(const FArguments& InArgs);

	/** Adds a slot at the end when the statement ends: `Box->AddSlot().AutoWidth()[ ... ];`. */
	FScopedWidgetSlotArguments AddSlot() { return InsertSlot(INDEX_NONE); }
	FScopedWidgetSlotArguments InsertSlot(int32 Index = INDEX_NONE)
	{
		return FScopedWidgetSlotArguments(std::make_unique<FSlot>(), Children, Index);
	}
	FSlot& GetSlot(int32 SlotIndex) { return Children[SlotIndex]; }
	const FSlot& GetSlot(int32 SlotIndex) const { return Children[SlotIndex]; }

protected:
	virtual FHostPanelChildrenBase& HostGetBoxChildren() override { return Children; }

private:
	TPanelChildren<FSlot> Children;
};

class SVerticalBox : public SBoxPanel
{
public:
	class FSlot : public SBoxPanel::TSlot<FSlot>
	{
	public:
		struct FSlotArguments : public SBoxPanel::TSlot<FSlot>::FSlotArguments
		{
			using SBoxPanel::TSlot<FSlot>::FSlotArguments::FSlotArguments;

			/** Height as the widget wishes. */
			FSlotArguments& AutoHeight()
			{
				GetSlot()->SetSizeToAuto();
				return *this;
			}
			/** A share of the room left, in proportion to the coefficient. */
			FSlotArguments& FillHeight(TAttribute<float> StretchCoefficient)
			{
				GetSlot()->SetSizeToStretch(MoveTemp(StretchCoefficient));
				return *this;
			}
			FSlotArguments& MaxHeight(TAttribute<float> InMaxHeight)
			{
				GetSlot()->SetMaxSize(MoveTemp(InMaxHeight));
				return *this;
			}
		};

		void SetAutoHeight() { SetSizeToAuto(); }
		void SetFillHeight(TAttribute<float> StretchCoefficient) { SetSizeToStretch(MoveTemp(StretchCoefficient)); }
		void SetMaxHeight(TAttribute<float> InMaxHeight) { SetMaxSize(MoveTemp(InMaxHeight)); }
	};

	using FScopedWidgetSlotArguments = TPanelChildren<FSlot>::FScopedWidgetSlotArguments;

	static FSlot::FSlotArguments Slot() { return FSlot::FSlotArguments(std::make_unique<FSlot>()); }

	SLATE_BEGIN_ARGS(SVerticalBox) {}
	SLATE_SLOT_ARGUMENT(SVerticalBox::FSlot, Slots)
	SLATE_END_ARGS()

	SVerticalBox()
		: SBoxPanel(Orient_Vertical)
		, Children(this)
	{
	}

	void Construct(const FArguments& InArgs);

	/** Adds a slot at the end when the statement ends: `Box->AddSlot().AutoHeight()[ ... ];`. */
	FScopedWidgetSlotArguments AddSlot() { return InsertSlot(INDEX_NONE); }
	FScopedWidgetSlotArguments InsertSlot(int32 Index = INDEX_NONE)
	{
		return FScopedWidgetSlotArguments(std::make_unique<FSlot>(), Children, Index);
	}
	FSlot& GetSlot(int32 SlotIndex) { return Children[SlotIndex]; }
	const FSlot& GetSlot(int32 SlotIndex) const { return Children[SlotIndex]; }

protected:
	virtual FHostPanelChildrenBase& HostGetBoxChildren() override { return Children; }

private:
	TPanelChildren<FSlot> Children;
};
