// Stand-in for the engine's Misc/FileHelper.h: whole-file reads and writes. Writes go to the target in place, as the
// engine's do: a crash or a full disk part-way leaves a truncated file, and a failed write damages the old one.
#pragma once

#include "Containers/Array.h"
#include "Containers/StringView.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "HAL/FileManager.h"

struct FFileHelper
{
	enum class EHashOptions
	{
		None = 0,
		/** Check the file against a stored hash (no hashes exist here, so nothing is checked). */
		EnableVerify = 1 << 0,
		ErrorMissingHash = 1 << 1,
	};

	enum class EEncodingOptions
	{
		/** Plain bytes when every character is ASCII, else UTF-16 little-endian with a byte-order mark. */
		AutoDetect,
		/** One byte per character; characters above 0xFF become '?'. */
		ForceAnsi,
		/** UTF-16 little-endian with a byte-order mark. */
		ForceUnicode,
		/** UTF-8 with a byte-order mark. */
		ForceUTF8,
		ForceUTF8WithoutBOM,
	};

	/** Replaces Result with the file's bytes (sized once, from the file's size). Flags: EFileRead. */
	static bool LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags = 0);
	/** Reads text: UTF-8 with or without a byte-order mark, or UTF-16 (either byte order) with one. */
	static bool LoadFileToString(
		FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags = EHashOptions::None, uint32 ReadFlags = 0);
	/** Reads text and splits it into lines (LF or CR LF; the empty piece after a final line break is not a line). */
	static bool LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename);
	/** Decodes bytes as LoadFileToString does. */
	static void BufferToString(FString& Result, const uint8* Buffer, int32 Size);

	/** Writes the bytes in place, replacing an existing file and creating missing directories. Flags: EFileWrite. */
	static bool SaveArrayToFile(TArrayView<const uint8> Array, const TCHAR* Filename,
		IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
	/** Writes text in the given encoding (an empty text gives an empty file). */
	static bool SaveStringToFile(FStringView String, const TCHAR* Filename,
		EEncodingOptions EncodingOptions = EEncodingOptions::AutoDetect,
		IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
	/** Writes each line followed by a line terminator. */
	static bool SaveStringArrayToFile(const TArray<FString>& Lines, const TCHAR* Filename,
		EEncodingOptions EncodingOptions = EEncodingOptions::AutoDetect,
		IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
};
