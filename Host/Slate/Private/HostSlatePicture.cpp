// Pictures of widget trees: layout with the system's fonts and drawing with Cairo and Pango.
#include "HostSlatePicture.h"
#include "HostSlatePaint.h"

#if HOST_SLATE_WITH_PICTURES

#include "Containers/StringConv.h"
#include "Layout/Children.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Images/SImage.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SComboBox.h"
#include "Widgets/Input/SHostEditableTextBox.h"
#include "Widgets/Input/SHyperlink.h"
#include "Widgets/Layout/SSeparator.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SWindow.h"
#include "Widgets/Text/STextBlock.h"
#include <algorithm>
#include <cairo.h>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <string>

namespace HostSlate
{
namespace
{
/** The editor's dark colours, close enough to judge a layout by. */
namespace Palette
{
const FLinearColor Background(0.141f, 0.141f, 0.141f);
const FLinearColor Panel(0.169f, 0.169f, 0.169f);
const FLinearColor Button(0.22f, 0.22f, 0.22f);
const FLinearColor Primary(0.0f, 0.44f, 0.88f);
const FLinearColor Input(0.059f, 0.059f, 0.059f);
const FLinearColor Outline(0.3f, 0.3f, 0.3f);
const FLinearColor Foreground(0.75f, 0.75f, 0.75f);
const FLinearColor Subdued(0.5f, 0.5f, 0.5f);
const FLinearColor Link(0.18f, 0.58f, 1.0f);
const FLinearColor Fill(0.15f, 0.73f, 1.0f);
const FLinearColor White(1.0f, 1.0f, 1.0f);
} // namespace Palette

std::string Utf8(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

/** A Pango layout of Text in Font, wrapped at WrapWidth when above 0. */
PangoLayout* MakeLayout(cairo_t* Cairo, const FString& Text, const FSlateFontInfo& Font, float WrapWidth)
{
	PangoLayout* Layout = pango_cairo_create_layout(Cairo);
	PangoFontDescription* Description = pango_font_description_new();
	pango_font_description_set_family(Description, "Sans");
	const FString Typeface = Font.TypefaceFontName.ToString();
	pango_font_description_set_weight(Description, Typeface.Contains(TEXT("Bold")) ? PANGO_WEIGHT_BOLD
			: (Typeface.Contains(TEXT("Light")) ? PANGO_WEIGHT_LIGHT : PANGO_WEIGHT_NORMAL));
	if (Typeface.Contains(TEXT("Italic")))
	{
		pango_font_description_set_style(Description, PANGO_STYLE_ITALIC);
	}
	pango_font_description_set_absolute_size(Description, FontPixelSize(Font) * PANGO_SCALE);
	pango_layout_set_font_description(Layout, Description);
	pango_font_description_free(Description);
	const std::string Bytes = Utf8(Text);
	pango_layout_set_text(Layout, Bytes.c_str(), (int)Bytes.size());
	if (WrapWidth > 0.0f)
	{
		pango_layout_set_width(Layout, (int)(WrapWidth * PANGO_SCALE));
		pango_layout_set_wrap(Layout, PANGO_WRAP_WORD_CHAR);
	}
	return Layout;
}

/** A surface for measuring only. */
struct FMeasureSurface
{
	FMeasureSurface()
		: Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1))
		, Cairo(cairo_create(Surface))
	{
	}
	~FMeasureSurface()
	{
		cairo_destroy(Cairo);
		cairo_surface_destroy(Surface);
	}
	cairo_surface_t* Surface;
	cairo_t* Cairo;
};

FMeasureSurface* MeasureSurface = nullptr;

/** Hands back what the font libraries keep for the life of the process, so that leak checkers see a clean exit. */
void ReleaseFontLibraries()
{
	delete MeasureSurface;
	MeasureSurface = nullptr;
	pango_cairo_font_map_set_default(nullptr);
	cairo_debug_reset_static_data();
	FcFini();
}

/** Starts the font libraries' use by this process, once. */
void UseFontLibraries()
{
	if (!MeasureSurface)
	{
		MeasureSurface = new FMeasureSurface();
		std::atexit(&ReleaseFontLibraries);
	}
}

FVector2D MeasureWithPango(const FString& Text, const FSlateFontInfo& Font, float WrapWidth)
{
	UseFontLibraries();
	PangoLayout* Layout = MakeLayout(MeasureSurface->Cairo, Text.IsEmpty() ? FString(TEXT(" ")) : Text, Font, WrapWidth);
	PangoRectangle Logical;
	pango_layout_get_pixel_extents(Layout, nullptr, &Logical);
	g_object_unref(Layout);
	return FVector2D(Text.IsEmpty() ? 0.0 : (double)Logical.width, (double)Logical.height);
}

/** Draws widgets in the editor's style, each over its parent. */
class FPainter
{
public:
	explicit FPainter(cairo_t* InCairo)
		: Cairo(InCairo)
	{
	}

	void Draw(SWidget& Widget, float Alpha, const FLinearColor& Foreground)
	{
		// Collapsed and hidden widgets are not drawn, nor anything inside them.
		if (!Widget.GetVisibility().IsVisible() || Widget.HostGetLayoutSerial() == 0)
		{
			return;
		}
		const float WidgetAlpha = Alpha * Widget.GetRenderOpacity() * (Widget.IsEnabled() ? 1.0f : 0.4f);
		const FLinearColor ChildForeground = DrawSelf(Widget, WidgetAlpha, Foreground);
		FChildren* Children = Widget.GetChildren();
		for (int32 Index = 0; Children && Index < Children->Num(); ++Index)
		{
			TSharedRef<SWidget> Child = Children->GetChildAt(Index);
			if (Child->HostGetParentRaw() == &Widget)
			{
				Draw(Child.Get(), WidgetAlpha, ChildForeground);
			}
		}
	}

private:
	/** Draws the widget's own look; returns the foreground colour its content takes. */
	FLinearColor DrawSelf(SWidget& Widget, float Alpha, const FLinearColor& Foreground)
	{
		const FGeometry& Box = Widget.HostGetGeometry();
		if (SHyperlink* Link = dynamic_cast<SHyperlink*>(&Widget))
		{
			(void)Link;
			SetColor(Palette::Link, Alpha);
			cairo_rectangle(Cairo, Box.AbsolutePosition.X, Box.AbsolutePosition.Y + Box.Size.Y - 1.0, Box.Size.X, 1.0);
			cairo_fill(Cairo);
			return Palette::Link;
		}
		if (SButton* Button = dynamic_cast<SButton*>(&Widget))
		{
			const bool bPrimary = Button->HostGetButtonStyle() && Button->HostGetButtonStyle()->HostStyleName == FName(TEXT("PrimaryButton"));
			RoundedBox(Box, bPrimary ? Palette::Primary : Palette::Button, Alpha);
			return bPrimary ? Palette::White : Foreground;
		}
		if (SHostEditableTextBox* TextBox = dynamic_cast<SHostEditableTextBox*>(&Widget))
		{
			DrawTextBox(*TextBox, Box, Alpha, Foreground);
			return Foreground;
		}
		if (dynamic_cast<IHostComboBox*>(&Widget) != nullptr)
		{
			RoundedBox(Box, Palette::Button, Alpha);
			const double ArrowX = Box.AbsolutePosition.X + Box.Size.X - 13.0;
			const double ArrowY = Box.AbsolutePosition.Y + Box.Size.Y / 2.0 - 2.0;
			SetColor(Foreground, Alpha);
			cairo_move_to(Cairo, ArrowX, ArrowY);
			cairo_line_to(Cairo, ArrowX + 8.0, ArrowY);
			cairo_line_to(Cairo, ArrowX + 4.0, ArrowY + 5.0);
			cairo_close_path(Cairo);
			cairo_fill(Cairo);
			return Foreground;
		}
		if (SProgressBar* Bar = dynamic_cast<SProgressBar*>(&Widget))
		{
			RoundedBox(Box, Palette::Input, Alpha);
			const TOptional<float>& Percent = Bar->HostGetPercent();
			const double Fraction = Percent.IsSet() ? std::clamp((double)Percent.GetValue(), 0.0, 1.0) : 0.3;
			const double Start = Percent.IsSet() ? 0.0 : 0.35 * Box.Size.X;
			FGeometry Filled(Box.AbsolutePosition + FVector2D(Start, 0.0), FVector2D(Box.Size.X * Fraction, Box.Size.Y));
			RoundedBox(Filled, Palette::Fill, Alpha);
			return Foreground;
		}
		if (SSeparator* Separator = dynamic_cast<SSeparator*>(&Widget))
		{
			SetColor(Palette::Outline, Alpha);
			const double Thickness = std::max(1.0f, Separator->HostGetThickness());
			if (Separator->HostGetOrientation() == Orient_Horizontal)
			{
				cairo_rectangle(Cairo, Box.AbsolutePosition.X, Box.AbsolutePosition.Y + (Box.Size.Y - Thickness) / 2.0, Box.Size.X, Thickness);
			}
			else
			{
				cairo_rectangle(Cairo, Box.AbsolutePosition.X + (Box.Size.X - Thickness) / 2.0, Box.AbsolutePosition.Y, Thickness, Box.Size.Y);
			}
			cairo_fill(Cairo);
			return Foreground;
		}
		if (STextBlock* Text = dynamic_cast<STextBlock*>(&Widget))
		{
			const FMargin Margin = Text->HostGetMargin();
			const bool bWraps = Text->HostGetAutoWrapText() || Text->HostGetWrapTextAt() > 0.0f;
			float Wrap = bWraps ? (float)(Box.Size.X - Margin.Left - Margin.Right) : 0.0f;
			if (Text->HostGetWrapTextAt() > 0.0f)
			{
				Wrap = std::min(Wrap, Text->HostGetWrapTextAt());
			}
			DrawText(Text->GetText().ToString(), Text->HostGetFont(), Resolve(Text->HostGetColorAndOpacity(), Foreground), Alpha,
				Box.AbsolutePosition + FVector2D(Margin.Left, Margin.Top), Wrap, Text->HostGetJustification(),
				Box.Size.X - Margin.Left - Margin.Right);
			return Foreground;
		}
		if (SImage* Image = dynamic_cast<SImage*>(&Widget))
		{
			RoundedBox(Box, Resolve(Image->HostGetColorAndOpacity(), Palette::Subdued), Alpha * 0.6f);
			return Foreground;
		}
		if (dynamic_cast<SDockTab*>(&Widget) != nullptr || dynamic_cast<SWindow*>(&Widget) != nullptr)
		{
			return Foreground;
		}
		if (SBorder* Border = dynamic_cast<SBorder*>(&Widget))
		{
			const FSlateBrush* Brush = Border->HostGetBorderImage();
			if (Brush && Brush->DrawAs != ESlateBrushDrawType::NoDrawType && Brush->HostStyleName != FName(TEXT("NoBorder")))
			{
				RoundedBox(Box, Palette::Panel, Alpha);
			}
		}
		return Foreground;
	}

	void DrawTextBox(SHostEditableTextBox& TextBox, const FGeometry& Box, float Alpha, const FLinearColor& Foreground)
	{
		RoundedBox(Box, Palette::Input, Alpha);
		SetColor(TextBox.HasError() ? FLinearColor(0.9f, 0.3f, 0.3f) : Palette::Outline, Alpha);
		cairo_set_line_width(Cairo, 1.0);
		cairo_rectangle(Cairo, Box.AbsolutePosition.X + 0.5, Box.AbsolutePosition.Y + 0.5, Box.Size.X - 1.0, Box.Size.Y - 1.0);
		cairo_stroke(Cairo);

		const FMargin Padding = TextBox.GetChildren()->GetSlotAt(0).HostGetPadding();
		const FString Drawn = TextBox.HostGetDrawnText();
		const bool bHint = Drawn.IsEmpty();
		const float Wrap = TextBox.HostIsMultiLine() && TextBox.HostGetAutoWrapText() ? (float)(Box.Size.X - Padding.Left - Padding.Right) : 0.0f;
		cairo_save(Cairo);
		cairo_rectangle(Cairo, Box.AbsolutePosition.X, Box.AbsolutePosition.Y, Box.Size.X, Box.Size.Y);
		cairo_clip(Cairo);
		DrawText(bHint ? TextBox.GetHintText().ToString() : Drawn, TextBox.HostGetFont(), bHint ? Palette::Subdued : Foreground, Alpha,
			Box.AbsolutePosition + FVector2D(Padding.Left, Padding.Top), Wrap, ETextJustify::Left, Box.Size.X);
		cairo_restore(Cairo);
	}

	void DrawText(const FString& Text, const FSlateFontInfo& Font, const FLinearColor& Color, float Alpha, const FVector2D& Position,
		float WrapWidth, ETextJustify::Type Justification, double AvailableWidth)
	{
		if (Text.IsEmpty())
		{
			return;
		}
		PangoLayout* Layout = MakeLayout(Cairo, Text, Font, WrapWidth);
		if (Justification != ETextJustify::Left && Justification != ETextJustify::InvariantLeft)
		{
			pango_layout_set_width(Layout, (int)(AvailableWidth * PANGO_SCALE));
			pango_layout_set_alignment(Layout, Justification == ETextJustify::Center ? PANGO_ALIGN_CENTER : PANGO_ALIGN_RIGHT);
		}
		SetColor(Color, Alpha);
		cairo_move_to(Cairo, Position.X, Position.Y);
		pango_cairo_show_layout(Cairo, Layout);
		g_object_unref(Layout);
	}

	FLinearColor Resolve(const FSlateColor& Color, const FLinearColor& Foreground) const
	{
		switch (Color.GetColorUseRule())
		{
			case ESlateColorStylingMode::UseColor_Specified:
				return Color.GetSpecifiedColor();
			case ESlateColorStylingMode::UseColor_Foreground_Subdued:
				return Palette::Subdued;
			default:
				return Foreground;
		}
	}

	void SetColor(const FLinearColor& Color, float Alpha)
	{
		cairo_set_source_rgba(Cairo, Color.R, Color.G, Color.B, Color.A * Alpha);
	}

	void RoundedBox(const FGeometry& Box, const FLinearColor& Color, float Alpha)
	{
		const double Radius = std::min(4.0, std::min(Box.Size.X, Box.Size.Y) / 2.0);
		const double X = Box.AbsolutePosition.X;
		const double Y = Box.AbsolutePosition.Y;
		const double W = Box.Size.X;
		const double H = Box.Size.Y;
		if (W <= 0.0 || H <= 0.0)
		{
			return;
		}
		cairo_new_sub_path(Cairo);
		cairo_arc(Cairo, X + W - Radius, Y + Radius, Radius, -G_PI / 2.0, 0.0);
		cairo_arc(Cairo, X + W - Radius, Y + H - Radius, Radius, 0.0, G_PI / 2.0);
		cairo_arc(Cairo, X + Radius, Y + H - Radius, Radius, G_PI / 2.0, G_PI);
		cairo_arc(Cairo, X + Radius, Y + Radius, Radius, G_PI, 3.0 * G_PI / 2.0);
		cairo_close_path(Cairo);
		SetColor(Color, Alpha);
		cairo_fill(Cairo);
	}

	cairo_t* Cairo;
};
} // namespace

bool CanMakePictures()
{
	return true;
}

FTextMeasurer GetFontMeasurer()
{
	return &MeasureWithPango;
}

bool SavePicture(const TSharedRef<SWidget>& Root, const FString& PngPath, float Width, float Height, FString* OutError)
{
	UseFontLibraries();
	PaintPass(Root);
	const FVector2D Size = LayoutPass(Root, Width, Height, GetFontMeasurer());
	const int PixelWidth = std::max(1, (int)std::ceil(Size.X));
	const int PixelHeight = std::max(1, (int)std::ceil(Size.Y));
	cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, PixelWidth, PixelHeight);
	cairo_t* Cairo = cairo_create(Surface);
	cairo_set_source_rgb(Cairo, Palette::Background.R, Palette::Background.G, Palette::Background.B);
	cairo_paint(Cairo);
	FPainter(Cairo).Draw(Root.Get(), 1.0f, Palette::Foreground);
	cairo_destroy(Cairo);
	const cairo_status_t Status = cairo_surface_write_to_png(Surface, Utf8(PngPath).c_str());
	cairo_surface_destroy(Surface);
	if (Status != CAIRO_STATUS_SUCCESS)
	{
		if (OutError)
		{
			*OutError = FString::Printf(TEXT("Could not write %s: %s"), *PngPath, UTF8_TO_TCHAR(cairo_status_to_string(Status)));
		}
		return false;
	}
	return true;
}

bool ReadPicture(const FString& PngPath, FPicture& OutPicture, FString* OutError)
{
	cairo_surface_t* Surface = cairo_image_surface_create_from_png(Utf8(PngPath).c_str());
	const cairo_status_t Status = cairo_surface_status(Surface);
	if (Status != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy(Surface);
		if (OutError)
		{
			*OutError = FString::Printf(TEXT("Could not read %s: %s"), *PngPath, UTF8_TO_TCHAR(cairo_status_to_string(Status)));
		}
		return false;
	}
	cairo_surface_flush(Surface);
	OutPicture.Width = cairo_image_surface_get_width(Surface);
	OutPicture.Height = cairo_image_surface_get_height(Surface);
	const int Stride = cairo_image_surface_get_stride(Surface);
	const unsigned char* Data = cairo_image_surface_get_data(Surface);
	OutPicture.Pixels.Reset();
	OutPicture.Pixels.Reserve(OutPicture.Width * OutPicture.Height);
	for (int32 Y = 0; Y < OutPicture.Height; ++Y)
	{
		const uint32* Row = reinterpret_cast<const uint32*>(Data + (size_t)Y * (size_t)Stride);
		for (int32 X = 0; X < OutPicture.Width; ++X)
		{
			OutPicture.Pixels.Add(Row[X]);
		}
	}
	cairo_surface_destroy(Surface);
	return true;
}
} // namespace HostSlate

#else

namespace HostSlate
{
bool CanMakePictures()
{
	return false;
}

FTextMeasurer GetFontMeasurer()
{
	return &ApproximateTextSize;
}

bool SavePicture(const TSharedRef<SWidget>& /*Root*/, const FString& /*PngPath*/, float /*Width*/, float /*Height*/, FString* OutError)
{
	if (OutError)
	{
		*OutError = TEXT("This build has no Cairo and Pango, so it cannot make pictures.");
	}
	return false;
}

bool ReadPicture(const FString& /*PngPath*/, FPicture& /*OutPicture*/, FString* OutError)
{
	if (OutError)
	{
		*OutError = TEXT("This build has no Cairo and Pango, so it cannot read pictures.");
	}
	return false;
}
} // namespace HostSlate

#endif

int32 HostSlate::FPicture::CountColours() const
{
	TSet<uint32> Colours;
	for (const uint32 Pixel : Pixels)
	{
		Colours.Add(Pixel);
	}
	return Colours.Num();
}
