// Stands in for the engine's Widgets/SWidget.h: the base of every widget. The headless UI keeps the engine's tree
// (each widget knows its children and its parent) and evaluates bound attributes in a paint pass as the engine's
// pre-pass does; see HostSlatePaint.h.
#pragma once

#include "Containers/Array.h"
#include "CoreMinimal.h"
#include "Input/Reply.h"
#include "Layout/Geometry.h"
#include "Layout/Margin.h"
#include "Layout/Visibility.h"
#include "Math/Vector2D.h"
#include "Misc/Attribute.h"
#include "Types/ISlateMetaData.h"
#include "Types/SlateEnums.h"

class FChildren;
class FSlotBase;
struct FSlateBaseNamedArgs;

namespace HostSlate
{
struct FLayoutContext;

/**
 * A widget's attribute as the engine's TSlateAttribute keeps it: the binding plus the value read at the last paint
 * pass (or the fixed value given). Reading never calls the getter; Update() does.
 */
template <typename ObjectType>
class TCachedAttribute
{
public:
	TCachedAttribute()
		: Cached()
		, Default()
	{
	}
	explicit TCachedAttribute(const ObjectType& InDefault)
		: Cached(InDefault)
		, Default(InDefault)
	{
	}

	/** Takes a new attribute: a fixed value is cached at once, a binding is read at the next paint pass. */
	void Assign(const TAttribute<ObjectType>& InAttribute)
	{
		Attribute = InAttribute;
		if (!Attribute.IsBound())
		{
			Cached = Attribute.IsSet() ? Attribute.Get() : Default;
		}
	}
	/** Reads the binding; nothing for a fixed value. */
	void Update()
	{
		if (Attribute.IsBound())
		{
			Cached = Attribute.Get();
		}
	}
	const ObjectType& Get() const { return Cached; }
	bool IsBound() const { return Attribute.IsBound(); }
	bool IsSet() const { return Attribute.IsSet(); }
	const TAttribute<ObjectType>& GetAttribute() const { return Attribute; }

private:
	TAttribute<ObjectType> Attribute;
	ObjectType Cached;
	ObjectType Default;
};
} // namespace HostSlate

class SWidget : public TSharedFromThis<SWidget>
{
public:
	virtual ~SWidget();
	SWidget(const SWidget&) = delete;
	SWidget& operator=(const SWidget&) = delete;

	/** Applies the arguments every widget takes (visibility, enabled, tooltip, tag, metadata); SNew calls it. */
	void SWidgetConstruct(const FSlateBaseNamedArgs& Args);

	/** The widget's children; an empty list for leaves. */
	virtual FChildren* GetChildren() = 0;
	virtual FChildren* GetAllChildren() { return GetChildren(); }

	/** Visibility as found by the last paint pass (or as set, when not bound). */
	EVisibility GetVisibility() const { return Visibility.Get(); }
	virtual void SetVisibility(TAttribute<EVisibility> InVisibility);
	/** This widget's own enabled state as found by the last paint pass; ancestors are not considered. */
	virtual bool IsEnabled() const { return EnabledState.Get(); }
	void SetEnabled(TAttribute<bool> InEnabledState);
	virtual void SetToolTipText(const TAttribute<FText>& InToolTipText);
	void SetToolTipText(const FText& InToolTipText);
	virtual bool IsInteractable() const { return false; }
	virtual bool SupportsKeyboardFocus() const { return false; }
	bool HasKeyboardFocus() const { return false; }
	bool HasAnyUserFocus() const { return false; }
	bool IsHovered() const { return false; }
	bool IsDirectlyHovered() const { return false; }

	/** The tag given with .Tag(), or none. */
	FName GetTag() const { return Tag; }
	void SetTag(FName InTag) { Tag = InTag; }
	/** The widget's class name as written in SNew ("SButton"). */
	FName GetType() const { return TypeName; }
	FString GetTypeAsString() const { return TypeName.ToString(); }
	FString ToString() const;

	/** The widget whose slot holds this one; null for a root or a widget in no slot. */
	TSharedPtr<SWidget> GetParentWidget() const;
	bool IsParentValid() const { return ParentWidget != nullptr; }

	template <typename MetaDataType>
	TSharedPtr<MetaDataType> GetMetaData() const
	{
		for (const TSharedRef<ISlateMetaData>& Item : MetaData)
		{
			if (Item->IsOfType<MetaDataType>())
			{
				return StaticCastSharedRef<MetaDataType>(Item);
			}
		}
		return TSharedPtr<MetaDataType>();
	}
	template <typename MetaDataType>
	TArray<TSharedRef<MetaDataType>> GetAllMetaData() const
	{
		TArray<TSharedRef<MetaDataType>> Found;
		for (const TSharedRef<ISlateMetaData>& Item : MetaData)
		{
			if (Item->IsOfType<MetaDataType>())
			{
				Found.Add(StaticCastSharedRef<MetaDataType>(Item));
			}
		}
		return Found;
	}
	template <typename MetaDataType>
	void AddMetadata(const TSharedRef<MetaDataType>& AddMe)
	{
		MetaData.Add(AddMe);
	}

	void SetRenderOpacity(float InOpacity) { RenderOpacity = InOpacity; }
	float GetRenderOpacity() const { return RenderOpacity; }
	void SetClipping(EWidgetClipping InClipping) { Clipping = InClipping; }
	EWidgetClipping GetClipping() const { return Clipping; }
	void SetCursor(const TAttribute<TOptional<EMouseCursor::Type>>& InCursor) { Cursor = InCursor; }
	void ForceVolatile(bool bForce) { bForceVolatile = bForce; }
	/** Repainting is implicit in the headless UI: every paint pass reads every attribute again. */
	void Invalidate(EInvalidateWidgetReason /*InvalidateReason*/) {}

	/** Runs the paint pass over this widget's tree, as if it were a window's content. */
	void SlatePrepass(float InLayoutScaleMultiplier = 1.0f);
	/** The size the widget asks for, from its last layout; zero until a layout pass ran. */
	const FVector2D& GetDesiredSize() const { return DesiredSize; }

	// --- Stand-in only: the paint pass, the test driver and picture output read these. ---

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Evaluates this widget's own bound attributes except Visibility, and those of its slots. */
	virtual void HostUpdateAttributes() {}
	/** The text this widget itself shows (a text block's text, a text box's contents); unset for others. */
	virtual TOptional<FText> HostGetShownText() const { return TOptional<FText>(); }
	/** A text box's hint text; unset for others. */
	virtual TOptional<FText> HostGetHintText() const { return TOptional<FText>(); }
	/** The tooltip text as last evaluated. */
	const FText& HostGetToolTipText() const { return ToolTipText.Get(); }
	/** Whether the last paint pass that reached this widget found it and all its ancestors enabled. */
	bool HostWasEnabledInLastPass() const { return bEnabledInLastPass; }
	/** The serial number of the last paint pass that evaluated this widget's attributes; 0 when none did. */
	uint64 HostGetLastPassSerial() const { return LastPassSerial; }
	/** The paint pass step for this widget and its subtree: visibility first, nothing more when collapsed. */
	void HostPrepass(bool bParentEnabled, uint64 PassSerial, double CurrentTime, float DeltaTime);
	/** The widget as a parent pointer, without ownership; null for a root. */
	SWidget* HostGetParentRaw() const { return ParentWidget; }
	void HostSetParent(SWidget* InParent) { ParentWidget = InParent; }
	void HostSetType(FName InTypeName) { TypeName = InTypeName; }
	void HostSetDesiredSize(const FVector2D& InSize) { DesiredSize = InSize; }
	/** The rectangle the last layout pass placed this widget in (see HostSlateLayout.h). */
	const FGeometry& HostGetGeometry() const { return Geometry; }
	/** The serial number of the last layout pass that placed this widget; 0 when none did. */
	uint64 HostGetLayoutSerial() const { return LayoutSerial; }
	/** Layout: the size this widget wants when it may be at most MaxWidth wide. By default the largest of its
	 *  shown children's, padding included (one child, or children drawn over each other). */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context);
	/** Layout: takes Allotted as this widget's rectangle and places the shown children in it. By default each child
	 *  goes in the whole rectangle, by its slot's padding and alignment. */
	virtual void HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context);
	FVector2D HostComputeDesiredSize(float LayoutScaleMultiplier) const { return ComputeDesiredSize(LayoutScaleMultiplier); }
#endif

protected:
	SWidget();

	/** Called by the paint pass for widgets that are drawn (neither collapsed nor hidden). */
	virtual void Tick(const FGeometry& /*AllottedGeometry*/, const double /*InCurrentTime*/, const float /*InDeltaTime*/) {}
	virtual FVector2D ComputeDesiredSize(float /*LayoutScaleMultiplier*/) const { return FVector2D::ZeroVector; }

private:
	// Private, as the engine keeps its attributes: widgets read them through GetVisibility(), IsEnabled() and the
	// tooltip setters.
	HostSlate::TCachedAttribute<EVisibility> Visibility{EVisibility::Visible};
	HostSlate::TCachedAttribute<bool> EnabledState{true};
	HostSlate::TCachedAttribute<FText> ToolTipText;
	FName Tag;
	FName TypeName;
	TArray<TSharedRef<ISlateMetaData>> MetaData;
	SWidget* ParentWidget = nullptr;
	float RenderOpacity = 1.0f;
	EWidgetClipping Clipping = EWidgetClipping::Inherit;
	TAttribute<TOptional<EMouseCursor::Type>> Cursor;
	bool bForceVolatile = false;
	bool bEnabledInLastPass = true;
	uint64 LastPassSerial = 0;
	FVector2D DesiredSize;
	FGeometry Geometry;
	uint64 LayoutSerial = 0;

protected:
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Records the rectangle a layout pass gave this widget; overrides of HostArrange call it first. */
	void HostSetGeometry(const FGeometry& InGeometry, const HostSlate::FLayoutContext& Context);
#endif
};
