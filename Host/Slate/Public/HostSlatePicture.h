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
} // namespace HostSlate
