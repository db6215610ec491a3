// Stand-in only (no engine counterpart): pictures of widget trees. A picture runs a paint pass, lays the tree out with
// the system's fonts and draws it in the editor's dark style into a PNG file, so a layout can be looked at without an
// editor. Password boxes draw their contents masked. Builds without Cairo and Pango cannot make pictures.
#pragma once

#include "CoreMinimal.h"
#include "HostSlateLayout.h"
#include "Widgets/SWidget.h"

namespace HostSlate
{
/** Whether this build can make pictures (it was built with Cairo and Pango). */
bool CanMakePictures();

/** The measurer of the system's fonts; the fixed-pitch approximation in builds without them. */
FTextMeasurer GetFontMeasurer();

/**
 * Draws Root Width pixels wide and Height high (0: as high as its content wants) into a PNG at PngPath. False, with
 * the reason in OutError, when the build cannot make pictures or the file cannot be written.
 */
bool SavePicture(const TSharedRef<SWidget>& Root, const FString& PngPath, float Width, float Height = 0.0f,
	FString* OutError = nullptr);

/** A picture read back from a PNG file: its size and its pixels, row by row, as 0xAARRGGBB. */
struct FPicture
{
	int32 Width = 0;
	int32 Height = 0;
	TArray<uint32> Pixels;

	/** How many different colours the picture holds. */
	int32 CountColours() const;
};

/** Reads a PNG file written by SavePicture (or any PNG). False, with the reason in OutError, when it cannot. */
bool ReadPicture(const FString& PngPath, FPicture& OutPicture, FString* OutError = nullptr);
} // namespace HostSlate
