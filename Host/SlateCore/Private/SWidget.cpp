// The widget base: common arguments, the parent link, and one widget's step of the paint pass.
#include "Widgets/SWidget.h"
#include "HAL/PlatformTime.h"
#include "HostSlatePaint.h"
#include "Layout/Children.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SNullWidget.h"

SWidget::SWidget() = default;

SWidget::~SWidget() = default;

void SWidget::SWidgetConstruct(const FSlateBaseNamedArgs& Args)
{
	Visibility.Assign(Args._Visibility);
	EnabledState.Assign(Args._IsEnabled);
	ToolTipText.Assign(Args._ToolTipText);
	Cursor = Args._Cursor;
	if (!Args._Tag.IsNone())
	{
		Tag = Args._Tag;
	}
	bForceVolatile = Args._ForceVolatile;
	Clipping = Args._Clipping;
	RenderOpacity = Args._RenderOpacity;
	for (const TSharedRef<ISlateMetaData>& Item : Args.MetaData)
	{
		MetaData.Add(Item);
	}
}

void SWidget::SetVisibility(TAttribute<EVisibility> InVisibility)
{
	Visibility.Assign(InVisibility);
}

void SWidget::SetEnabled(TAttribute<bool> InEnabledState)
{
	EnabledState.Assign(InEnabledState);
}

void SWidget::SetToolTipText(const TAttribute<FText>& InToolTipText)
{
	ToolTipText.Assign(InToolTipText);
}

void SWidget::SetToolTipText(const FText& InToolTipText)
{
	ToolTipText.Assign(TAttribute<FText>(InToolTipText));
}

FString SWidget::ToString() const
{
	return TypeName.IsNone() ? FString(TEXT("SWidget")) : TypeName.ToString();
}

TSharedPtr<SWidget> SWidget::GetParentWidget() const
{
	return ParentWidget ? TSharedPtr<SWidget>(ParentWidget->AsShared()) : TSharedPtr<SWidget>();
}

void SWidget::SlatePrepass(float /*InLayoutScaleMultiplier*/)
{
	HostSlate::PaintPass(AsShared());
}

void SWidget::HostPrepass(bool bParentEnabled, uint64 PassSerial, double CurrentTime, float DeltaTime)
{
	// A getter or Tick may drop the last outside reference to this widget (a rebuilt box); keep it for the step.
	const TSharedRef<SWidget> KeepAlive = AsShared();

	Visibility.Update();
	if (Visibility.Get() == EVisibility::Collapsed)
	{
		return;
	}
	LastPassSerial = PassSerial;
	EnabledState.Update();
	ToolTipText.Update();
	HostUpdateAttributes();
	bEnabledInLastPass = bParentEnabled && EnabledState.Get();
	if (Visibility.Get().IsVisible())
	{
		Tick(FGeometry(FVector2D::ZeroVector, GetDesiredSize()), CurrentTime, DeltaTime);
	}

	FChildren* Children = GetChildren();
	if (!Children)
	{
		return;
	}
	TArray<TSharedRef<SWidget>> Snapshot;
	for (int32 Index = 0; Index < Children->Num(); ++Index)
	{
		Snapshot.Add(Children->GetChildAt(Index));
	}
	for (const TSharedRef<SWidget>& Child : Snapshot)
	{
		// Skip the shared empty widget and children that an earlier step moved out of this widget.
		if (Child->HostGetParentRaw() == this)
		{
			Child->HostPrepass(bEnabledInLastPass, PassSerial, CurrentTime, DeltaTime);
		}
	}
}

namespace HostSlate
{
namespace
{
uint64 PassCounter = 0;
}

void PaintPass(const TSharedRef<SWidget>& Root, float DeltaTime)
{
	bool bParentEnabled = true;
	for (const SWidget* Ancestor = Root->HostGetParentRaw(); Ancestor; Ancestor = Ancestor->HostGetParentRaw())
	{
		bParentEnabled = bParentEnabled && Ancestor->IsEnabled();
	}
	++PassCounter;
	Root->HostPrepass(bParentEnabled, PassCounter, FPlatformTime::Seconds(), DeltaTime);
}

namespace
{
TArray<TSharedRef<SWidget>>& Roots()
{
	// Never destroyed: windows left open at exit must not be torn down during static destruction.
	static TArray<TSharedRef<SWidget>>* List = new TArray<TSharedRef<SWidget>>();
	return *List;
}
} // namespace

void AddRoot(const TSharedRef<SWidget>& Root)
{
	for (const TSharedRef<SWidget>& Existing : Roots())
	{
		if (Existing == Root)
		{
			return;
		}
	}
	Roots().Add(Root);
}

bool RemoveRoot(const SWidget& Root)
{
	return Roots().RemoveAll([&Root](const TSharedRef<SWidget>& Existing) { return &Existing.Get() == &Root; }) > 0;
}

TArray<TSharedRef<SWidget>> GetRoots()
{
	return Roots();
}

void PaintRoots(float DeltaTime)
{
	// A getter may open or close a window; paint the ones that were there when the frame began.
	const TArray<TSharedRef<SWidget>> Snapshot = Roots();
	for (const TSharedRef<SWidget>& Root : Snapshot)
	{
		PaintPass(Root, DeltaTime);
	}
}

uint64 GetPaintPassCount()
{
	return PassCounter;
}

namespace
{
/** Walks from Widget up to Root, calling Step on each; false when Root is not reached or Step says no. */
template <typename StepType>
bool WalkUpTo(const SWidget& Widget, const SWidget& Root, StepType&& Step)
{
	for (const SWidget* Current = &Widget; Current; Current = Current->HostGetParentRaw())
	{
		if (!Step(*Current))
		{
			return false;
		}
		if (Current == &Root)
		{
			return true;
		}
	}
	return false;
}
} // namespace

bool IsShownUnder(const SWidget& Widget, const SWidget& Root)
{
	return WalkUpTo(Widget, Root, [](const SWidget& Current) { return Current.GetVisibility().IsVisible(); });
}

bool IsHitTestableUnder(const SWidget& Widget, const SWidget& Root)
{
	if (!Widget.GetVisibility().IsHitTestVisible())
	{
		return false;
	}
	return WalkUpTo(Widget, Root,
		[&Widget](const SWidget& Current)
		{ return Current.GetVisibility().IsVisible() && (&Current == &Widget || Current.GetVisibility().AreChildrenHitTestVisible()); });
}

bool IsEnabledUnder(const SWidget& Widget, const SWidget& Root)
{
	return WalkUpTo(Widget, Root, [](const SWidget& Current) { return Current.IsEnabled(); });
}
} // namespace HostSlate

#include "Widgets/SWindow.h"

void SWindow::RequestDestroyWindow()
{
	HostSlate::RemoveRoot(*this);
}
