// Slots, children lists, the shared empty widget and the box panels' construction.
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Layout/Children.h"
#include "SlotBase.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/SNullWidget.h"

namespace
{
/** The empty widget: no children, never a parent. */
class SNullWidgetContent : public SWidget
{
public:
	SNullWidgetContent()
		: NoChildren(this)
	{
		HostSetType(FName(TEXT("SNullWidget")));
	}
	virtual FChildren* GetChildren() override { return &NoChildren; }

private:
	FNoChildren NoChildren;
};
} // namespace

TSharedRef<SWidget> SNullWidget::NullWidget = MakeShared<SNullWidgetContent>();

FSlotBase::FSlotBase()
	: Widget(SNullWidget::NullWidget)
{
}

FSlotBase::FSlotBase(const TSharedRef<SWidget>& InWidget)
	: Widget(InWidget)
{
}

FSlotBase::~FSlotBase()
{
	DetachWidget();
}

void FSlotBase::SetOwner(const FChildren& InChildren)
{
	OwnerWidget = &InChildren.GetOwner();
	if (Widget != SNullWidget::NullWidget)
	{
		Widget->HostSetParent(OwnerWidget);
	}
}

void FSlotBase::AttachWidget(const TSharedRef<SWidget>& InWidget)
{
	DetachWidget();
	Widget = InWidget;
	if (OwnerWidget && Widget != SNullWidget::NullWidget)
	{
		Widget->HostSetParent(OwnerWidget);
	}
}

const TSharedPtr<SWidget> FSlotBase::DetachWidget()
{
	if (Widget == SNullWidget::NullWidget)
	{
		return TSharedPtr<SWidget>();
	}
	TSharedRef<SWidget> Detached = Widget;
	if (Detached->HostGetParentRaw() == OwnerWidget)
	{
		Detached->HostSetParent(nullptr);
	}
	Widget = SNullWidget::NullWidget;
	return Detached;
}

TSharedRef<SWidget> FNoChildren::GetChildAt(int32 /*Index*/)
{
	checkNoEntry();
}

TSharedRef<const SWidget> FNoChildren::GetChildAt(int32 /*Index*/) const
{
	checkNoEntry();
}

const FSlotBase& FNoChildren::GetSlotAt(int32 /*ChildIndex*/) const
{
	checkNoEntry();
}

TSharedRef<SWidget> FHostOneChildSlot::GetChildAt(int32 Index)
{
	check(Index == 0);
	return GetWidget();
}

TSharedRef<const SWidget> FHostOneChildSlot::GetChildAt(int32 Index) const
{
	check(Index == 0);
	return GetWidget();
}

const FSlotBase& FHostOneChildSlot::GetSlotAt(int32 Index) const
{
	check(Index == 0);
	return *this;
}

void SHorizontalBox::Construct(const FArguments& InArgs)
{
	// Slots are move-only; the engine moves them out of the arguments the same way.
	Children.AddSlots(MoveTemp(const_cast<TArray<FSlot::FSlotArguments>&>(InArgs._Slots)));
}

void SVerticalBox::Construct(const FArguments& InArgs)
{
	Children.AddSlots(MoveTemp(const_cast<TArray<FSlot::FSlotArguments>&>(InArgs._Slots)));
}
