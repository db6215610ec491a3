// Stands in for the engine's Textures/SlateIcon.h: an icon named by style set and style name.
#pragma once

#include "CoreTypes.h"
#include "UObject/NameTypes.h"

struct FSlateBrush;
class ISlateStyle;

class FSlateIcon
{
public:
	/** No icon. */
	FSlateIcon();
	FSlateIcon(const FName InStyleSetName, const FName InStyleName);
	FSlateIcon(const FName InStyleSetName, const FName InStyleName, const FName InSmallStyleName);

	bool IsSet() const { return bIsSet; }
	const FName& GetStyleSetName() const { return StyleSetName; }
	const FName& GetStyleName() const { return StyleName; }
	const FName& GetSmallStyleName() const { return SmallStyleName; }
	/** The icon's brush from its style set; null when the icon is not set. */
	const FSlateBrush* GetIcon() const;
	const FSlateBrush* GetSmallIcon() const;
	/** The style set, when it is the application's; null otherwise. */
	const ISlateStyle* GetStyleSet() const;

	bool operator==(const FSlateIcon& Other) const
	{
		return bIsSet == Other.bIsSet && StyleSetName == Other.StyleSetName && StyleName == Other.StyleName &&
			SmallStyleName == Other.SmallStyleName;
	}
	bool operator!=(const FSlateIcon& Other) const { return !(*this == Other); }

private:
	FName StyleSetName;
	FName StyleName;
	FName SmallStyleName;
	bool bIsSet;
};
