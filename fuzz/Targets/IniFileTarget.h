// The settings file reader and writer: a file as a person might have edited it is read, changed and written back.
// Nothing the person wrote may be lost or change meaning on the way.
#pragma once

#include "FuzzSupport.h"

#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace TarvolineFuzz::IniFile
{
using FSnapshot = std::vector<std::pair<std::u16string, std::vector<std::u16string>>>;

inline const FString& ScratchFile()
{
	static const FString Path = []
	{
		// In memory where there is such a folder: every write is synced to disk, which on a disk would cost most of
		// each run's time.
		std::error_code Error;
		const std::filesystem::path Base =
			std::filesystem::is_directory("/dev/shm", Error) ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
		std::string Folder = (Base / "tarvoline-fuzz-ini-XXXXXX").string();
		if (mkdtemp(Folder.data()) == nullptr)
		{
			std::abort();
		}
		static const std::string Kept = Folder;
		std::atexit([] { std::error_code Ignored; std::filesystem::remove_all(Kept, Ignored); });
		FString Result;
		Result.HostStorage() = HostConv::FromUtf8(Folder.data(), (int32)Folder.size());
		return Result + TEXT("/Fuzz.ini");
	}();
	return Path;
}

/** Every section that holds settings, with its settings as "Key=Value" in order. */
inline FSnapshot Snapshot(FConfigCacheIni& Config, const FString& Path)
{
	FSnapshot Result;
	TArray<FString> Names;
	Config.GetSectionNames(Path, Names);
	for (const FString& Name : Names)
	{
		TArray<FString> Lines;
		Config.GetSection(*Name, Lines, Path);
		if (Lines.Num() == 0)
		{
			continue;
		}
		std::vector<std::u16string> Entries;
		for (const FString& Line : Lines)
		{
			Entries.push_back(Line.HostStorage());
		}
		Result.emplace_back(Name.HostStorage(), std::move(Entries));
	}
	return Result;
}

inline std::string ReadBytes(const FString& Path)
{
	std::string Bytes;
	if (FILE* File = std::fopen(Utf8Of(Path).c_str(), "rb"))
	{
		char Buffer[4096];
		for (size_t Got; (Got = std::fread(Buffer, 1, sizeof(Buffer), File)) > 0;)
		{
			Bytes.append(Buffer, Got);
		}
		std::fclose(File);
	}
	return Bytes;
}

/** The lines the reader cannot take as a section or a setting, as they must come back in the written file. */
inline std::vector<std::u16string> LinesToKeep(const FString& Text)
{
	std::vector<std::u16string> Kept;
	TArray<FString> Lines;
	Text.ParseIntoArray(Lines, TEXT("\n"), false);
	bool bInSection = false;
	for (FString& RawLine : Lines)
	{
		RawLine.RemoveFromEnd(TEXT("\r"), ESearchCase::CaseSensitive);
		const FString Line = RawLine.TrimStartAndEnd();
		if (Line.IsEmpty())
		{
			continue;
		}
		if (Line[0] == '[' && Line[Line.Len() - 1] == ']')
		{
			bInSection = true;
			continue;
		}
		int32 Equals = INDEX_NONE;
		bool bSetting = bInSection && Line[0] != ';' && Line[0] != '#' && Line.FindChar('=', Equals);
		if (bSetting)
		{
			FString Key = Line.Left(Equals).TrimStartAndEnd();
			if (!Key.IsEmpty() && (Key[0] == '+' || Key[0] == '-' || Key[0] == '.' || Key[0] == '!'))
			{
				Key.RightChopInline(1);
				Key.TrimStartInline();
			}
			bSetting = !Key.IsEmpty();
		}
		if (!bSetting)
		{
			Kept.push_back(Line.HostStorage());
		}
	}
	return Kept;
}

inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	const FString& Path = ScratchFile();
	if (FILE* File = std::fopen(Utf8Of(Path).c_str(), "wb"))
	{
		std::fwrite(Data, 1, Size, File);
		std::fclose(File);
	}
	FString Original;
	if (!FFileHelper::LoadFileToString(Original, *Path))
	{
		return;
	}

	FSnapshot First;
	{
		FConfigCacheIni Config;
		Config.SetString(TEXT("FuzzCheck"), TEXT("Touched"), TEXT("1"), Path);
		First = Snapshot(Config, Path);
		Config.Flush(false, Path);
	}
	const std::string Written = ReadBytes(Path);

	FConfigCacheIni Again;
	TARVOLINE_FUZZ_CHECK(Snapshot(Again, Path) == First, "the written file reads back to the same settings");
	Again.SetString(TEXT("FuzzCheck"), TEXT("Touched"), TEXT("2"), Path);
	Again.SetString(TEXT("FuzzCheck"), TEXT("Touched"), TEXT("1"), Path);
	Again.Flush(false, Path);
	TARVOLINE_FUZZ_CHECK(ReadBytes(Path) == Written, "writing an unchanged file again gives the same bytes");

	FString WrittenText;
	WrittenText.HostStorage() = HostConv::FromUtf8(Written.data(), (int32)Written.size());
	const std::vector<std::u16string> Kept = LinesToKeep(WrittenText);
	for (const std::u16string& Line : LinesToKeep(Original))
	{
		TARVOLINE_FUZZ_CHECK(std::find(Kept.begin(), Kept.end(), Line) != Kept.end(), "lines that are not settings are kept");
	}
}
} // namespace TarvolineFuzz::IniFile
