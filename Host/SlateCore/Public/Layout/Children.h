// Stands in for the engine's Layout/Children.h: the lists of slots a widget keeps its children in.
#pragma once

#include "CoreMinimal.h"
#include "SlotBase.h"
#include <memory>
#include <vector>

class SWidget;

/** A widget's children, in order. */
class FChildren
{
public:
	explicit FChildren(SWidget* InOwner)
		: Owner(InOwner)
	{
	}
	virtual ~FChildren() = default;
	FChildren(const FChildren&) = delete;
	FChildren& operator=(const FChildren&) = delete;

	virtual int32 Num() const = 0;
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) = 0;
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const = 0;
	/** The slot holding the child at that index. */
	virtual const FSlotBase& GetSlotAt(int32 ChildIndex) const = 0;

	SWidget& GetOwner() const { return *Owner; }

	template <typename Predicate>
	void ForEachWidget(Predicate&& Pred)
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			Pred(GetChildAt(Index).Get());
		}
	}

private:
	SWidget* Owner;
};

/** The children of a widget that has none. */
class FNoChildren : public FChildren
{
public:
	using FChildren::FChildren;
	virtual int32 Num() const override { return 0; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const override;
	virtual const FSlotBase& GetSlotAt(int32 ChildIndex) const override;
};

/** Stand-in only: what every panel's children list offers, whatever its slot kind. */
class FHostPanelChildrenBase : public FChildren
{
public:
	using FChildren::FChildren;
	virtual void RemoveAt(int32 Index) = 0;
	virtual void Empty() = 0;
	/** Removes the slot holding that widget; its index, or INDEX_NONE. */
	virtual int32 Remove(const TSharedRef<SWidget>& SlotWidget)
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			if (GetChildAt(Index) == SlotWidget)
			{
				RemoveAt(Index);
				return Index;
			}
		}
		return INDEX_NONE;
	}
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Evaluates every slot's bound attributes. */
	void HostUpdateSlotAttributes()
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			const_cast<FSlotBase&>(GetSlotAt(Index)).HostUpdateAttributes();
		}
	}
#endif
};

/** The children of a panel: any number of slots of one kind. */
template <typename SlotType>
class TPanelChildren : public FHostPanelChildrenBase
{
public:
	using FHostPanelChildrenBase::FHostPanelChildrenBase;

	virtual int32 Num() const override { return (int32)Slots.size(); }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override { return Slots[CheckIndex(Index)]->GetWidget(); }
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const override
	{
		return Slots[CheckIndex(Index)]->GetWidget();
	}
	virtual const FSlotBase& GetSlotAt(int32 Index) const override { return *Slots[CheckIndex(Index)]; }

	/** Adds a slot at the end; returns its index. */
	int32 AddSlot(typename SlotType::FSlotArguments&& SlotArgument)
	{
		return InsertSlot(MoveTemp(SlotArgument), INDEX_NONE);
	}
	void AddSlots(TArray<typename SlotType::FSlotArguments> SlotArguments)
	{
		for (typename SlotType::FSlotArguments& Arguments : SlotArguments)
		{
			AddSlot(MoveTemp(Arguments));
		}
	}
	/** Inserts a slot before Index (INDEX_NONE: at the end); returns its index. */
	int32 InsertSlot(typename SlotType::FSlotArguments&& SlotArgument, int32 Index)
	{
		std::unique_ptr<SlotType> NewSlot = SlotArgument.StealSlot();
		check(NewSlot != nullptr);
		NewSlot->Construct(*this, MoveTemp(SlotArgument));
		if (Index == INDEX_NONE || Index >= Num())
		{
			Slots.push_back(MoveTemp(NewSlot));
			return Num() - 1;
		}
		check(Index >= 0);
		Slots.insert(Slots.begin() + Index, MoveTemp(NewSlot));
		return Index;
	}
	virtual void RemoveAt(int32 Index) override
	{
		// The slot leaves the list before it dies, so handlers reached from its widget see a consistent list.
		std::unique_ptr<SlotType> Removed = MoveTemp(Slots[CheckIndex(Index)]);
		Slots.erase(Slots.begin() + Index);
	}
	virtual void Empty() override
	{
		std::vector<std::unique_ptr<SlotType>> Removed;
		Removed.swap(Slots);
	}
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	SlotType& operator[](int32 Index) { return *Slots[CheckIndex(Index)]; }
	const SlotType& operator[](int32 Index) const { return *Slots[CheckIndex(Index)]; }

	/** A slot's arguments that add the slot to this list when the statement that made them ends. */
	struct FScopedWidgetSlotArguments final : public SlotType::FSlotArguments
	{
		FScopedWidgetSlotArguments(std::unique_ptr<SlotType> InSlot, TPanelChildren<SlotType>& InChildren, int32 InIndex)
			: SlotType::FSlotArguments(MoveTemp(InSlot))
			, Children(InChildren)
			, Index(InIndex)
		{
		}
		FScopedWidgetSlotArguments(FScopedWidgetSlotArguments&&) = default;
		~FScopedWidgetSlotArguments()
		{
			if (this->GetSlot() != nullptr)
			{
				Children.InsertSlot(MoveTemp(static_cast<typename SlotType::FSlotArguments&>(*this)), Index);
			}
		}

	private:
		TPanelChildren<SlotType>& Children;
		int32 Index;
	};

private:
	int32 CheckIndex(int32 Index) const
	{
		check(Index >= 0 && Index < Num());
		return Index;
	}

	std::vector<std::unique_ptr<SlotType>> Slots;
};
