// Stands in for the engine's SlotBase.h: a place in a parent widget that holds one child widget.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Margin.h"
#include "Types/SlateEnums.h"
#include "Widgets/SNullWidget.h"
#include <memory>

class FChildren;
class SWidget;

/** How a box slot sizes its widget along the box: to the widget's wish, or a share of the room left. */
namespace EHostSlotSizeRule
{
enum Type
{
	Auto,
	Stretch,
};
}

class FSlotBase
{
public:
	FSlotBase();
	explicit FSlotBase(const TSharedRef<SWidget>& InWidget);
	virtual ~FSlotBase();
	FSlotBase(const FSlotBase&) = delete;
	FSlotBase& operator=(const FSlotBase&) = delete;

	/** The widget in the slot; SNullWidget::NullWidget when empty. */
	const TSharedRef<SWidget>& GetWidget() const { return Widget; }
	/** Puts a widget into the slot, replacing the one there. */
	void AttachWidget(const TSharedRef<SWidget>& InWidget);
	/** Empties the slot and returns the widget it held (null when it held nothing). */
	const TSharedPtr<SWidget> DetachWidget();
	/** The widget that owns the slot. */
	SWidget* GetOwnerWidget() const { return OwnerWidget; }
	/** Makes the slot part of a children list; the widget in it gets that list's owner as parent. */
	void SetOwner(const FChildren& InChildren);

	// --- Stand-in only: the paint pass and picture output read the slot's layout through these. ---

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Evaluates the slot's bound attributes (padding, fill); its panel's attribute update calls it. */
	virtual void HostUpdateAttributes() {}
	virtual FMargin HostGetPadding() const { return FMargin(); }
	virtual EHorizontalAlignment HostGetHAlign() const { return HAlign_Fill; }
	virtual EVerticalAlignment HostGetVAlign() const { return VAlign_Fill; }
	virtual EHostSlotSizeRule::Type HostGetSizeRule() const { return EHostSlotSizeRule::Auto; }
	/** The fill coefficient of a stretching slot. */
	virtual float HostGetSizeValue() const { return 1.0f; }
	/** A size cap along the box; 0 for none. */
	virtual float HostGetMaxSize() const { return 0.0f; }
#endif

private:
	SWidget* OwnerWidget = nullptr;
	TSharedRef<SWidget> Widget;
};

/** A slot of a given kind, with the arguments object its declaration (Slot()[...]) builds. */
template <typename SlotType>
class TSlotBase : public FSlotBase
{
public:
	using FSlotBase::FSlotBase;

	/** The arguments of one slot: they own the new slot until a panel takes it. */
	struct FSlotArguments
	{
		explicit FSlotArguments(std::unique_ptr<SlotType> InSlot)
			: Slot(MoveTemp(InSlot))
		{
		}
		FSlotArguments(FSlotArguments&&) = default;
		FSlotArguments& operator=(FSlotArguments&&) = default;
		virtual ~FSlotArguments() = default;

		/** The widget the slot will hold. */
		typename SlotType::FSlotArguments& operator[](const TSharedRef<SWidget>& InChildWidget)
		{
			ChildWidget = InChildWidget;
			return Me();
		}
		/** Hands out the slot before it is added, as the engine's Expose does. */
		typename SlotType::FSlotArguments& Expose(SlotType*& OutVarToInit)
		{
			OutVarToInit = Slot.get();
			return Me();
		}
		typename SlotType::FSlotArguments& Me() { return static_cast<typename SlotType::FSlotArguments&>(*this); }

		SlotType* GetSlot() const { return Slot.get(); }
		std::unique_ptr<SlotType> StealSlot() { return MoveTemp(Slot); }
		const TSharedPtr<SWidget>& GetAttachedWidget() const { return ChildWidget; }

	private:
		std::unique_ptr<SlotType> Slot;
		TSharedPtr<SWidget> ChildWidget;
	};

	/** Joins a children list and takes the widget the arguments name. */
	void Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs)
	{
		SetOwner(SlotOwner);
		if (InArgs.GetAttachedWidget().IsValid())
		{
			AttachWidget(InArgs.GetAttachedWidget().ToSharedRef());
		}
	}
};
