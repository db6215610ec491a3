// The application's style set: answers every name with a stored default and remembers the names asked for.
#include "Styling/AppStyle.h"
#include "Styling/CoreStyle.h"
#include "Styling/ISlateStyle.h"
#include "Textures/SlateIcon.h"
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace
{
class FHostSlateStyleSet : public ISlateStyle
{
public:
	FHostSlateStyleSet()
		: SetName(TEXT("EditorStyle"))
	{
	}

	virtual const FName& GetStyleSetName() const override { return SetName; }

	virtual float GetFloat(const FName PropertyName, const ANSICHAR* Specifier, float DefaultValue) const override
	{
		Remember(Join(PropertyName, Specifier));
		return DefaultValue;
	}

	virtual FVector2D GetVector(const FName PropertyName, const ANSICHAR* Specifier, FVector2D DefaultValue) const override
	{
		Remember(Join(PropertyName, Specifier));
		return DefaultValue;
	}

	virtual const FLinearColor& GetColor(const FName PropertyName, const ANSICHAR* Specifier) const override
	{
		const FName Name = Join(PropertyName, Specifier);
		std::lock_guard<std::mutex> Guard(Lock);
		RememberLocked(Name);
		auto Found = Colors.find(Name.GetComparisonIndex());
		if (Found == Colors.end())
		{
			Found = Colors.emplace(Name.GetComparisonIndex(), FLinearColor::White).first;
		}
		return Found->second;
	}

	virtual const FSlateColor GetSlateColor(const FName PropertyName, const ANSICHAR* Specifier) const override
	{
		const FName Name = Join(PropertyName, Specifier);
		Remember(Name);
		// Named foreground colours follow the widget's foreground; anything else is a plain colour.
		const FString Spelling = Name.ToString();
		if (Spelling.Contains(TEXT("Subdued")))
		{
			return FSlateColor::UseSubduedForeground();
		}
		if (Spelling.Contains(TEXT("Foreground")))
		{
			return FSlateColor::UseForeground();
		}
		return FSlateColor(FLinearColor::White);
	}

	virtual const FMargin& GetMargin(const FName PropertyName, const ANSICHAR* Specifier) const override
	{
		const FName Name = Join(PropertyName, Specifier);
		std::lock_guard<std::mutex> Guard(Lock);
		RememberLocked(Name);
		auto Found = Margins.find(Name.GetComparisonIndex());
		if (Found == Margins.end())
		{
			Found = Margins.emplace(Name.GetComparisonIndex(), FMargin()).first;
		}
		return Found->second;
	}

	virtual const FSlateBrush* GetBrush(const FName PropertyName, const ANSICHAR* Specifier) const override
	{
		const FName Name = Join(PropertyName, Specifier);
		std::lock_guard<std::mutex> Guard(Lock);
		RememberLocked(Name);
		return FindOrAddBrushLocked(Name);
	}

	virtual const FSlateBrush* GetOptionalBrush(
		const FName PropertyName, const ANSICHAR* Specifier, const FSlateBrush* const DefaultBrush) const override
	{
		(void)DefaultBrush;
		return GetBrush(PropertyName, Specifier);
	}

	virtual const FSlateBrush* GetDefaultBrush() const override
	{
		std::lock_guard<std::mutex> Guard(Lock);
		return FindOrAddBrushLocked(FName(TEXT("Default")));
	}

	virtual FSlateFontInfo GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier) const override
	{
		const FName Name = Join(PropertyName, Specifier);
		Remember(Name);
		// The editor's named fonts are its default font in a typeface and size; the name tells both closely enough.
		const FString Spelling = Name.ToString();
		FName Typeface(TEXT("Regular"));
		if (Spelling.Contains(TEXT("Bold")))
		{
			Typeface = FName(TEXT("Bold"));
		}
		else if (Spelling.Contains(TEXT("Italic")))
		{
			Typeface = FName(TEXT("Italic"));
		}
		float Size = (float)FCoreStyle::RegularTextSize;
		if (Spelling.Contains(TEXT("Small")))
		{
			Size = (float)FCoreStyle::SmallTextSize;
		}
		else if (Spelling.Contains(TEXT("Large")) || Spelling.Contains(TEXT("Title")) || Spelling.Contains(TEXT("Heading")))
		{
			Size = 14.0f;
		}
		FSlateFontInfo Font(Typeface, Size);
		Font.HostStyleName = Name;
		return Font;
	}

	virtual TArray<FName> HostGetRequestedNames() const override
	{
		std::lock_guard<std::mutex> Guard(Lock);
		return Requested;
	}

protected:
	virtual const FSlateWidgetStyle& HostFindOrAddWidgetStyle(
		FName TypeName, FName StyleName, TFunction<FSlateWidgetStyle*()> Make) const override
	{
		std::lock_guard<std::mutex> Guard(Lock);
		RememberLocked(StyleName);
		const std::pair<uint32, uint32> Key(TypeName.GetComparisonIndex(), StyleName.GetComparisonIndex());
		auto Found = WidgetStyles.find(Key);
		if (Found == WidgetStyles.end())
		{
			std::unique_ptr<FSlateWidgetStyle> Made(Make());
			Made->HostStyleName = StyleName;
			Found = WidgetStyles.emplace(Key, MoveTemp(Made)).first;
		}
		return *Found->second;
	}

private:
	void Remember(FName Name) const
	{
		std::lock_guard<std::mutex> Guard(Lock);
		RememberLocked(Name);
	}
	void RememberLocked(FName Name) const { Requested.AddUnique(Name); }

	const FSlateBrush* FindOrAddBrushLocked(FName Name) const
	{
		auto Found = Brushes.find(Name.GetComparisonIndex());
		if (Found == Brushes.end())
		{
			std::unique_ptr<FSlateBrush> Brush = std::make_unique<FSlateBrush>();
			Brush->SetResourceName(Name);
			Brush->HostStyleName = Name;
			Found = Brushes.emplace(Name.GetComparisonIndex(), MoveTemp(Brush)).first;
		}
		return Found->second.get();
	}

	FName SetName;
	mutable std::mutex Lock;
	mutable TArray<FName> Requested;
	mutable std::map<uint32, std::unique_ptr<FSlateBrush>> Brushes;
	mutable std::map<uint32, FLinearColor> Colors;
	mutable std::map<uint32, FMargin> Margins;
	mutable std::map<std::pair<uint32, uint32>, std::unique_ptr<FSlateWidgetStyle>> WidgetStyles;
};

FHostSlateStyleSet& GetAppStyleSet()
{
	// Never destroyed: styles are referenced by widgets that may outlive static destruction order.
	static FHostSlateStyleSet* Set = new FHostSlateStyleSet();
	return *Set;
}
} // namespace

FName ISlateStyle::Join(FName First, const ANSICHAR* Second)
{
	if (Second == nullptr || *Second == 0)
	{
		return First;
	}
	return FName(First.ToString() + TEXT(".") + FString(Second));
}

const ISlateStyle& FAppStyle::Get()
{
	return GetAppStyleSet();
}

const FName FAppStyle::GetAppStyleSetName()
{
	return GetAppStyleSet().GetStyleSetName();
}

const ISlateStyle& FCoreStyle::Get()
{
	return GetAppStyleSet();
}

FSlateFontInfo FCoreStyle::GetDefaultFontStyle(
	const FName InTypefaceFontName, const float InSize, const FFontOutlineSettings& InOutlineSettings)
{
	return FSlateFontInfo(InTypefaceFontName, InSize, InOutlineSettings);
}

FSlateIcon::FSlateIcon()
	: bIsSet(false)
{
}

FSlateIcon::FSlateIcon(const FName InStyleSetName, const FName InStyleName)
	: StyleSetName(InStyleSetName)
	, StyleName(InStyleName)
	, SmallStyleName(FName(InStyleName.ToString() + TEXT(".Small")))
	, bIsSet(true)
{
}

FSlateIcon::FSlateIcon(const FName InStyleSetName, const FName InStyleName, const FName InSmallStyleName)
	: StyleSetName(InStyleSetName)
	, StyleName(InStyleName)
	, SmallStyleName(InSmallStyleName)
	, bIsSet(true)
{
}

const ISlateStyle* FSlateIcon::GetStyleSet() const
{
	return bIsSet && StyleSetName == FAppStyle::GetAppStyleSetName() ? &FAppStyle::Get() : nullptr;
}

const FSlateBrush* FSlateIcon::GetIcon() const
{
	const ISlateStyle* Set = GetStyleSet();
	return Set ? Set->GetBrush(StyleName) : nullptr;
}

const FSlateBrush* FSlateIcon::GetSmallIcon() const
{
	const ISlateStyle* Set = GetStyleSet();
	return Set ? Set->GetBrush(SmallStyleName) : nullptr;
}
