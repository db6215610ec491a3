// Stands in for the engine's Widgets/Input/SComboBox.h: a button face showing the choice, and a drop-down list of
// options read from an array the combo does not own.
//
// As in the engine: the combo keeps a raw pointer to the options array, so the array must outlive the combo and
// changes to it show after RefreshOptions() (which takes effect at the next paint pass); handlers take items by
// value; SetSelectedItem fires OnSelectionChanged (ESelectInfo::Direct) synchronously, and only when the selection
// changes; a user's pick fires it with OnMouseClick, again only for a different item.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Framework/Views/TableViewTypeTraits.h"
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "HostSlateLayout.h"
#endif
#include "Styling/AppStyle.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

enum class EPopupMethod : uint8
{
	CreateNewWindow,
	UseCurrentWindow,
};

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
/** Stand-in only: what the test driver needs of a combo box, whatever its option type. */
class IHostComboBox
{
public:
	virtual ~IHostComboBox() = default;
	/** The options the drop-down list shows (as of the last refresh). */
	virtual int32 HostNumShownOptions() const = 0;
	/** The row widget for a shown option, made by the combo's row generator. */
	virtual TSharedRef<SWidget> HostGenerateShownOption(int32 Index) = 0;
	/** The user picks a shown option. */
	virtual void HostPickShownOption(int32 Index, ESelectInfo::Type SelectInfo) = 0;
	/** The index of the selection among the shown options; INDEX_NONE when nothing (or something not shown) is
	 *  selected. */
	virtual int32 HostGetSelectedShownIndex() const = 0;
	virtual bool HostHasSelection() const = 0;
	/** Whether RefreshOptions was called and the next paint pass has not taken the new options yet. */
	virtual bool HostIsRefreshPending() const = 0;
};
#endif

template <typename OptionType>
class SComboBox : public SCompoundWidget
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	, public IHostComboBox
#endif
{
public:
	typedef TListTypeTraits<OptionType> ListTypeTraits;
	typedef typename TListTypeTraits<OptionType>::NullableType NullableOptionType;
	typedef typename TSlateDelegates<OptionType>::FOnGenerateWidget FOnGenerateWidget;
	typedef typename TSlateDelegates<NullableOptionType>::FOnSelectionChanged FOnSelectionChanged;

	SLATE_BEGIN_ARGS(SComboBox)
		: _Content()
		, _ComboBoxStyle(&FAppStyle::Get().template GetWidgetStyle<FComboBoxStyle>("ComboBox"))
		, _ButtonStyle(nullptr)
		, _ItemStyle(&FAppStyle::Get().template GetWidgetStyle<FTableRowStyle>("ComboBox.Row"))
		, _ContentPadding(_ComboBoxStyle->ContentPadding)
		, _ForegroundColor(FSlateColor::UseStyle())
		, _OptionsSource(nullptr)
		, _InitiallySelectedItem(ListTypeTraits::MakeNullPtr())
		, _MaxListHeight(450.0f)
		, _HasDownArrow(true)
		, _EnableGamepadNavigationMode(false)
		, _IsFocusable(true)
	{
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_STYLE_ARGUMENT(FComboBoxStyle, ComboBoxStyle)
	SLATE_STYLE_ARGUMENT(FButtonStyle, ButtonStyle)
	SLATE_STYLE_ARGUMENT(FTableRowStyle, ItemStyle)
	SLATE_ATTRIBUTE(FMargin, ContentPadding)
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	SLATE_ARGUMENT(const TArray<OptionType>*, OptionsSource)
	SLATE_EVENT(FOnSelectionChanged, OnSelectionChanged)
	SLATE_EVENT(FOnGenerateWidget, OnGenerateWidget)
	SLATE_EVENT(FOnComboBoxOpening, OnComboBoxOpening)
	/** Selected from the start, without firing OnSelectionChanged. */
	SLATE_ARGUMENT(NullableOptionType, InitiallySelectedItem)
	SLATE_ARGUMENT(TOptional<EPopupMethod>, Method)
	SLATE_ARGUMENT(float, MaxListHeight)
	SLATE_ARGUMENT(bool, HasDownArrow)
	SLATE_ARGUMENT(bool, EnableGamepadNavigationMode)
	SLATE_ARGUMENT(bool, IsFocusable)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs)
	{
		ComboBoxStyle = InArgs._ComboBoxStyle;
		ItemStyle = InArgs._ItemStyle;
		ContentPaddingAttribute.Assign(InArgs._ContentPadding);
		OptionsSource = InArgs._OptionsSource;
		OnSelectionChanged = InArgs._OnSelectionChanged;
		OnGenerateWidget = InArgs._OnGenerateWidget;
		OnComboBoxOpening = InArgs._OnComboBoxOpening;
		SelectedItem = InArgs._InitiallySelectedItem;
		ChildSlot[InArgs._Content.Widget];
		TakeOptions();
	}

	/** Shows the options array's current contents from the next paint pass on. */
	void RefreshOptions() { bRefreshPending = true; }
	/** Follows another options array from the next paint pass on. */
	void SetOptionsSource(const TArray<OptionType>* InOptionsSource)
	{
		OptionsSource = InOptionsSource;
		bRefreshPending = true;
	}
	/** Selects the item; fires OnSelectionChanged(Item, Direct) when it differs from the selection. A null item
	 *  clears the selection. */
	void SetSelectedItem(NullableOptionType InSelectedItem)
	{
		if (ListTypeTraits::IsPtrValid(InSelectedItem))
		{
			OnSelectionChangedInternal(InSelectedItem, ESelectInfo::Direct);
		}
		else
		{
			ClearSelection();
		}
	}
	/** Clears the selection; fires OnSelectionChanged(null, Direct) when something was selected. */
	void ClearSelection() { OnSelectionChangedInternal(ListTypeTraits::MakeNullPtr(), ESelectInfo::Direct); }
	NullableOptionType GetSelectedItem() { return SelectedItem; }
	void SetOnSelectionChanged(FOnSelectionChanged InOnSelectionChanged) { OnSelectionChanged = InOnSelectionChanged; }
	void SetIsOpen(bool InIsOpen, const bool bFocusMenu = true)
	{
		(void)bFocusMenu;
		if (InIsOpen && !bIsOpen)
		{
			OnComboBoxOpening.ExecuteIfBound();
		}
		bIsOpen = InIsOpen;
	}
	bool IsOpen() const { return bIsOpen; }
	void SetButtonStyle(const FButtonStyle* InButtonStyle) { (void)InButtonStyle; }
	void SetItemStyle(const FTableRowStyle* InItemStyle) { ItemStyle = InItemStyle; }
	void SetMaxHeight(float InMaxHeight) { (void)InMaxHeight; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		SCompoundWidget::HostUpdateAttributes();
		ContentPaddingAttribute.Update();
		if (bRefreshPending)
		{
			TakeOptions();
		}
	}

	/** The user picks an item from the drop-down list; false (nothing happens) when the list does not show it. */
	bool HostUserPicks(const OptionType& Item, ESelectInfo::Type SelectInfo = ESelectInfo::OnMouseClick)
	{
		for (int32 Index = 0; Index < ShownOptions.Num(); ++Index)
		{
			if (ShownOptions[Index] == Item)
			{
				HostPickShownOption(Index, SelectInfo);
				return true;
			}
		}
		return false;
	}
	/** The options the drop-down list shows (as of the last refresh). */
	const TArray<OptionType>& HostGetShownOptions() const { return ShownOptions; }
	/** The button face: its content, the content padding and the drop-down arrow. */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override
	{
		const FMargin Padding = ContentPaddingAttribute.Get();
		const float Inner = MaxWidth - Padding.Left - Padding.Right - HostArrowWidth;
		const FVector2D Content = SCompoundWidget::HostMeasure(Inner > 0.0f ? Inner : 0.0f, Context);
		return Content + Padding.GetDesiredSize() + FVector2D(HostArrowWidth, 0.0);
	}
	virtual void HostArrange(const FGeometry& Allotted, const HostSlate::FLayoutContext& Context) override
	{
		HostSetGeometry(Allotted, Context);
		const FMargin Padding = ContentPaddingAttribute.Get();
		const FVector2D Position = Allotted.AbsolutePosition + FVector2D(Padding.Left, Padding.Top);
		const FVector2D Size = Allotted.Size - Padding.GetDesiredSize() - FVector2D(HostArrowWidth, 0.0);
		HostSlate::ArrangeSlot(ChildSlot, FGeometry(Position, FVector2D(Size.X > 0 ? Size.X : 0, Size.Y > 0 ? Size.Y : 0)), Context);
	}
	/** The width of the drop-down arrow at the face's right end. */
	static constexpr float HostArrowWidth = 18.0f;

	virtual int32 HostNumShownOptions() const override { return ShownOptions.Num(); }
	virtual TSharedRef<SWidget> HostGenerateShownOption(int32 Index) override
	{
		return OnGenerateWidget.IsBound() ? OnGenerateWidget.Execute(ShownOptions[Index]) : SNullWidget::NullWidget;
	}
	virtual void HostPickShownOption(int32 Index, ESelectInfo::Type SelectInfo) override
	{
		SetIsOpen(true);
		// The list holds the item while the handler runs, whatever the handler does to the options array.
		const OptionType Item = ShownOptions[Index];
		OnSelectionChangedInternal(Item, SelectInfo);
	}
	virtual int32 HostGetSelectedShownIndex() const override
	{
		if (!ListTypeTraits::IsPtrValid(SelectedItem))
		{
			return INDEX_NONE;
		}
		for (int32 Index = 0; Index < ShownOptions.Num(); ++Index)
		{
			if (NullableOptionType(ShownOptions[Index]) == SelectedItem)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	virtual bool HostHasSelection() const override { return ListTypeTraits::IsPtrValid(SelectedItem); }
	virtual bool HostIsRefreshPending() const override { return bRefreshPending; }
#endif

private:
	void TakeOptions()
	{
		bRefreshPending = false;
		ShownOptions.Empty();
		if (OptionsSource)
		{
			for (const OptionType& Option : *OptionsSource)
			{
				ShownOptions.Add(Option);
			}
		}
	}

	void OnSelectionChangedInternal(NullableOptionType ProposedSelection, ESelectInfo::Type SelectInfo)
	{
		// Keyboard navigation only moves the highlight; it does not choose.
		if (SelectInfo == ESelectInfo::OnNavigation)
		{
			return;
		}
		if (!(ProposedSelection == SelectedItem))
		{
			SelectedItem = ProposedSelection;
			OnSelectionChanged.ExecuteIfBound(ProposedSelection, SelectInfo);
		}
		// The list closes even when the user picked the item already chosen.
		bIsOpen = false;
	}

	const FComboBoxStyle* ComboBoxStyle = nullptr;
	const FTableRowStyle* ItemStyle = nullptr;
	HostSlate::TCachedAttribute<FMargin> ContentPaddingAttribute;
	const TArray<OptionType>* OptionsSource = nullptr;
	TArray<OptionType> ShownOptions;
	bool bRefreshPending = false;
	NullableOptionType SelectedItem;
	FOnSelectionChanged OnSelectionChanged;
	FOnGenerateWidget OnGenerateWidget;
	FOnComboBoxOpening OnComboBoxOpening;
	bool bIsOpen = false;
};
