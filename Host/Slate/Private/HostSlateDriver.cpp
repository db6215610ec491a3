// The test driver: finding widgets, reading what the last paint found, and acting as a person would.
#include "HostSlateDriver.h"
#include "HostSlatePaint.h"
#include "Internationalization/Text.h"
#include "Layout/Children.h"
#include "Widgets/Input/SHostEditableTextBox.h"
#include "Widgets/Text/STextBlock.h"

namespace
{
bool HasKey(const TOptional<FText>& Text, const FString& Key)
{
	if (!Text.IsSet())
	{
		return false;
	}
	const TOptional<FString> TextKey = FTextInspector::GetKey(Text.GetValue());
	return TextKey.IsSet() && TextKey.GetValue().Equals(Key, ESearchCase::CaseSensitive);
}

bool HasDisplay(const TOptional<FText>& Text, const FString& Display)
{
	return Text.IsSet() && Text.GetValue().ToString().Equals(Display, ESearchCase::CaseSensitive);
}

bool Visit(SWidget& Widget, const TFunction<bool(SWidget&)>& Visitor)
{
	if (!Visitor(Widget))
	{
		return false;
	}
	FChildren* Children = Widget.GetChildren();
	if (!Children)
	{
		return true;
	}
	for (int32 Index = 0; Index < Children->Num(); ++Index)
	{
		TSharedRef<SWidget> Child = Children->GetChildAt(Index);
		if (Child->HostGetParentRaw() == &Widget && !Visit(Child.Get(), Visitor))
		{
			return false;
		}
	}
	return true;
}
} // namespace

FHostSlateDriver::FHostSlateDriver(const TSharedRef<SWidget>& InRoot)
	: Root(InRoot)
{
}

void FHostSlateDriver::Paint(float DeltaTime) const
{
	HostSlate::PaintPass(Root, DeltaTime);
}

void FHostSlateDriver::PaintIfWanted() const
{
	if (bPaintBeforeEachStep)
	{
		Paint();
	}
}

void FHostSlateDriver::ForEachWidget(const TFunction<bool(SWidget&)>& Visitor) const
{
	Visit(Root.Get(), Visitor);
}

TArray<TSharedRef<SWidget>> FHostSlateDriver::FindAllByKey(const FString& TextKey) const
{
	PaintIfWanted();
	TArray<TSharedRef<SWidget>> Found;
	ForEachWidget(
		[&Found, &TextKey](SWidget& Widget)
		{
			if (HasKey(Widget.HostGetShownText(), TextKey) || HasKey(Widget.HostGetHintText(), TextKey))
			{
				Found.Add(Widget.AsShared());
			}
			return true;
		});
	return Found;
}

TSharedPtr<SWidget> FHostSlateDriver::FindByKey(const FString& TextKey) const
{
	TArray<TSharedRef<SWidget>> Found = FindAllByKey(TextKey);
	return Found.Num() > 0 ? TSharedPtr<SWidget>(Found[0]) : TSharedPtr<SWidget>();
}

TSharedPtr<SWidget> FHostSlateDriver::FindByText(const FString& DisplayText) const
{
	PaintIfWanted();
	TSharedPtr<SWidget> Found;
	ForEachWidget(
		[&Found, &DisplayText](SWidget& Widget)
		{
			if (HasDisplay(Widget.HostGetShownText(), DisplayText) || HasDisplay(Widget.HostGetHintText(), DisplayText))
			{
				Found = Widget.AsShared();
				return false;
			}
			return true;
		});
	return Found;
}

TSharedPtr<SWidget> FHostSlateDriver::FindByTag(FName Tag) const
{
	TSharedPtr<SWidget> Found;
	ForEachWidget(
		[&Found, Tag](SWidget& Widget)
		{
			bool bMatch = Widget.GetTag() == Tag;
			for (const TSharedRef<FTagMetaData>& Item : Widget.GetAllMetaData<FTagMetaData>())
			{
				bMatch = bMatch || Item->Tag == Tag;
			}
			if (bMatch)
			{
				Found = Widget.AsShared();
				return false;
			}
			return true;
		});
	return Found;
}

TSharedPtr<SButton> FHostSlateDriver::ButtonAround(const TSharedPtr<SWidget>& Widget)
{
	for (SWidget* Current = Widget.Get(); Current; Current = Current->HostGetParentRaw())
	{
		if (dynamic_cast<SButton*>(Current) != nullptr)
		{
			return StaticCastSharedRef<SButton>(Current->AsShared());
		}
	}
	return TSharedPtr<SButton>();
}

TSharedPtr<SButton> FHostSlateDriver::FindButton(const FString& TextKey) const
{
	for (const TSharedRef<SWidget>& Widget : FindAllByKey(TextKey))
	{
		if (TSharedPtr<SButton> Button = ButtonAround(Widget))
		{
			return Button;
		}
	}
	return TSharedPtr<SButton>();
}

TSharedPtr<SButton> FHostSlateDriver::FindButtonByText(const FString& DisplayText) const
{
	PaintIfWanted();
	TSharedPtr<SButton> Found;
	ForEachWidget(
		[&Found, &DisplayText](SWidget& Widget)
		{
			if (HasDisplay(Widget.HostGetShownText(), DisplayText))
			{
				Found = ButtonAround(Widget.AsShared());
			}
			return !Found.IsValid();
		});
	return Found;
}

TSharedPtr<SHostEditableTextBox> FHostSlateDriver::FindTextBox(const FString& TextKey) const
{
	for (const TSharedRef<SWidget>& Widget : FindAllByKey(TextKey))
	{
		if (dynamic_cast<SHostEditableTextBox*>(&Widget.Get()) != nullptr)
		{
			return StaticCastSharedRef<SHostEditableTextBox>(Widget);
		}
	}
	return TSharedPtr<SHostEditableTextBox>();
}

FText FHostSlateDriver::FirstTextIn(SWidget& Widget)
{
	FText Found;
	bool bFound = false;
	Visit(Widget,
		[&Found, &bFound](SWidget& Current)
		{
			TOptional<FText> Shown = Current.HostGetShownText();
			if (Shown.IsSet())
			{
				Found = Shown.GetValue();
				bFound = true;
			}
			return !bFound;
		});
	return Found;
}

FText FHostSlateDriver::GetText(const TSharedPtr<SWidget>& Widget) const
{
	if (!Widget.IsValid())
	{
		return FText::GetEmpty();
	}
	PaintIfWanted();
	return FirstTextIn(*Widget);
}

bool FHostSlateDriver::IsVisible(const TSharedPtr<SWidget>& Widget) const
{
	if (!Widget.IsValid())
	{
		return false;
	}
	PaintIfWanted();
	return HostSlate::IsShownUnder(*Widget, Root.Get());
}

bool FHostSlateDriver::IsEnabled(const TSharedPtr<SWidget>& Widget) const
{
	if (!Widget.IsValid())
	{
		return false;
	}
	PaintIfWanted();
	return HostSlate::IsEnabledUnder(*Widget, Root.Get());
}

bool FHostSlateDriver::CanInteract(const TSharedPtr<SWidget>& Widget) const
{
	if (!Widget.IsValid())
	{
		return false;
	}
	PaintIfWanted();
	return HostSlate::IsHitTestableUnder(*Widget, Root.Get()) && HostSlate::IsEnabledUnder(*Widget, Root.Get());
}

IHostComboBox* FHostSlateDriver::AsCombo(SWidget* Widget)
{
	return dynamic_cast<IHostComboBox*>(Widget);
}

TArray<FString> FHostSlateDriver::GetOptionStrings(const TSharedPtr<SWidget>& Combo) const
{
	TArray<FString> Strings;
	IHostComboBox* AsHostCombo = AsCombo(Combo.Get());
	if (!AsHostCombo)
	{
		return Strings;
	}
	PaintIfWanted();
	for (int32 Index = 0; Index < AsHostCombo->HostNumShownOptions(); ++Index)
	{
		TSharedRef<SWidget> Row = AsHostCombo->HostGenerateShownOption(Index);
		HostSlate::PaintPass(Row);
		Strings.Add(FirstTextIn(Row.Get()).ToString());
	}
	return Strings;
}

FString FHostSlateDriver::GetSelectedOptionString(const TSharedPtr<SWidget>& Combo) const
{
	IHostComboBox* AsHostCombo = AsCombo(Combo.Get());
	if (!AsHostCombo)
	{
		return FString();
	}
	const TArray<FString> Strings = GetOptionStrings(Combo);
	const int32 Selected = AsHostCombo->HostGetSelectedShownIndex();
	return Strings.IsValidIndex(Selected) ? Strings[Selected] : FString();
}

bool FHostSlateDriver::Click(const TSharedPtr<SWidget>& Widget) const
{
	TSharedPtr<SButton> Button = ButtonAround(Widget);
	if (!Button.IsValid() || !CanInteract(Button))
	{
		return false;
	}
	Button->SimulateClick();
	return true;
}

bool FHostSlateDriver::Type(const TSharedPtr<SWidget>& TextBox, const FString& Text, bool bCommit) const
{
	SHostEditableTextBox* Box = dynamic_cast<SHostEditableTextBox*>(TextBox.Get());
	if (!Box || !CanInteract(TextBox) || Box->HostIsReadOnly())
	{
		return false;
	}
	return Box->HostUserEdit(FText::FromString(Text),
		bCommit ? TOptional<ETextCommit::Type>(ETextCommit::OnEnter) : TOptional<ETextCommit::Type>());
}

bool FHostSlateDriver::PickByText(const TSharedPtr<SWidget>& Combo, const FString& RowText) const
{
	IHostComboBox* AsHostCombo = AsCombo(Combo.Get());
	if (!AsHostCombo || !CanInteract(Combo))
	{
		return false;
	}
	const TArray<FString> Strings = GetOptionStrings(Combo);
	for (int32 Index = 0; Index < Strings.Num(); ++Index)
	{
		if (Strings[Index].Equals(RowText, ESearchCase::CaseSensitive))
		{
			AsHostCombo->HostPickShownOption(Index, ESelectInfo::OnMouseClick);
			return true;
		}
	}
	return false;
}

FString FHostSlateDriver::Describe() const
{
	PaintIfWanted();
	FString Out;
	TFunction<void(SWidget&, int32)> Describe = [&Out, &Describe](SWidget& Widget, int32 Depth)
	{
		FString Line;
		for (int32 Level = 0; Level < Depth; ++Level)
		{
			Line += TEXT("  ");
		}
		Line += Widget.GetTypeAsString();
		if (!Widget.GetTag().IsNone())
		{
			Line += FString::Printf(TEXT(" #%s"), *Widget.GetTag().ToString());
		}
		const TOptional<FText> Shown = Widget.HostGetShownText();
		if (Shown.IsSet())
		{
			const TOptional<FString> Key = FTextInspector::GetKey(Shown.GetValue());
			Line += FString::Printf(TEXT(" \"%s\""), *Shown.GetValue().ToString());
			if (Key.IsSet())
			{
				Line += FString::Printf(TEXT(" [%s]"), *Key.GetValue());
			}
		}
		Line += FString::Printf(TEXT(" (%s%s)\n"), *Widget.GetVisibility().ToString(), Widget.IsEnabled() ? TEXT("") : TEXT(", disabled"));
		Out += Line;
		FChildren* Children = Widget.GetChildren();
		for (int32 Index = 0; Children && Index < Children->Num(); ++Index)
		{
			TSharedRef<SWidget> Child = Children->GetChildAt(Index);
			if (Child->HostGetParentRaw() == &Widget)
			{
				Describe(Child.Get(), Depth + 1);
			}
		}
	};
	Describe(Root.Get(), 0);
	return Out;
}
