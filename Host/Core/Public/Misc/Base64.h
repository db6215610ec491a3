// Stand-in for the engine's Misc/Base64.h: RFC 4648 base64, decoding only (all the plug-in's tests read).
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"

/** Which alphabet a base64 text uses. */
enum class EBase64Mode : uint8
{
	/** "+" and "/" (RFC 4648 table 1). */
	Standard,
	/** "-" and "_" (RFC 4648 table 2). */
	UrlSafe
};

struct FBase64
{
	/**
	 * Decodes Source into OutDest, with or without trailing "=" padding. As the engine does, any character outside the
	 * alphabet (white space included) or an impossible length fails the whole decode.
	 */
	static bool Decode(const FString& Source, TArray<uint8>& OutDest, EBase64Mode Mode = EBase64Mode::Standard);
};
