// The settings cache. Each ini file is held as its sections and lines in file order (comments kept), read on first
// use and written whole on Flush, as the engine writes it: in an attended editor to a temporary file in the project's
// Saved directory that is then moved over the file (deleting it first), otherwise (-unattended) in place; either way
// with the process's default permissions and no sync.
#include "Misc/ConfigCacheIni.h"

#include "Containers/StringConv.h"
#include "HAL/FileManager.h"
#include "HostCorePrivate.h"
#include "Logging/LogMacros.h"
#include "Misc/App.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

DEFINE_LOG_CATEGORY_STATIC(LogConfig, Log, All);

namespace
{
/** One line of a section: a key and its value, or a comment (or other text) kept as it was. */
struct FConfigLine
{
	bool bIsEntry = false;
	FString Key;
	FString Value;
};

struct FConfigSection
{
	FString Name;
	std::vector<FConfigLine> Lines;

	bool HasEntries() const
	{
		for (const FConfigLine& Line : Lines)
		{
			if (Line.bIsEntry)
			{
				return true;
			}
		}
		return false;
	}
	FConfigLine* FindFirst(const FString& Key)
	{
		for (FConfigLine& Line : Lines)
		{
			if (Line.bIsEntry && Line.Key.Equals(Key, ESearchCase::IgnoreCase))
			{
				return &Line;
			}
		}
		return nullptr;
	}
	int32 RemoveAll(const FString& Key)
	{
		const SIZE_T Before = Lines.size();
		std::erase_if(Lines,
			[&Key](const FConfigLine& Line)
			{
				return Line.bIsEntry && Line.Key.Equals(Key, ESearchCase::IgnoreCase);
			});
		return (int32)(Before - Lines.size());
	}
	/** Adds an entry after the section's last entry, so that comments ending the section stay at its end. */
	void AddEntry(const FString& Key, const FString& Value)
	{
		SIZE_T Insert = Lines.size();
		for (SIZE_T Index = Lines.size(); Index > 0; --Index)
		{
			if (Lines[Index - 1].bIsEntry)
			{
				Insert = Index;
				break;
			}
		}
		Lines.insert(Lines.begin() + (std::ptrdiff_t)Insert, FConfigLine{true, Key, Value});
	}
};

/** A value as it is read: surrounding whitespace goes; a quoted value loses its quotes and its escapes are applied. */
FString ParseValue(const FString& RawValue)
{
	FString Value = RawValue.TrimStartAndEnd();
	if (Value.IsEmpty() || Value[0] != '"')
	{
		return Value;
	}
	FString Result;
	const TCHAR* It = *Value + 1;
	while (*It != 0 && *It != '"')
	{
		if (*It != '\\')
		{
			Result.AppendChar(*It++);
			continue;
		}
		++It;
		if (*It == 0)
		{
			break;
		}
		if (*It == '\\' || *It == '"')
		{
			Result.AppendChar(*It++);
		}
		else if (*It == 'n')
		{
			Result.AppendChar('\n');
			++It;
		}
		else if (*It == 'u' && FChar::IsHexDigit(It[1]) && FChar::IsHexDigit(It[2]) && FChar::IsHexDigit(It[3]) &&
				 FChar::IsHexDigit(It[4]))
		{
			Result.AppendChar((TCHAR)FCString::Strtoui64(FString(4, It + 1).HostStorage().c_str(), nullptr, 16));
			It += 5;
		}
		else if (FChar::IsHexDigit(It[0]) && FChar::IsHexDigit(It[1]))
		{
			Result.AppendChar((TCHAR)FCString::Strtoui64(FString(2, It).HostStorage().c_str(), nullptr, 16));
			It += 2;
		}
		else
		{
			Result.AppendChar(*It++);
		}
	}
	return Result;
}

/** Whether a line starting with Character is an array command ("+Key=", ".Key=", "-Key=", "!Key="). */
bool IsArrayCommand(TCHAR Character)
{
	return Character == '+' || Character == '-' || Character == '.' || Character == '!';
}

/**
 * A key as it is written. A key that starts with an array command's character (it was read from "++Key=" and the
 * like), a comment's or a section's would read back as something else, so it gets the plain-add command "." before it.
 */
FString ExportKey(const FString& Key)
{
	const TCHAR First = Key.IsEmpty() ? 0 : Key[0];
	const bool bMisread = IsArrayCommand(First) || First == ';' || First == '#' || First == '[';
	return bMisread ? TEXT(".") + Key : Key;
}

/** A value as it is written: as it is, unless reading it back would change it; then quoted, with escapes. */
FString ExportValue(const FString& Value)
{
	bool bQuote = !Value.IsEmpty() &&
				  (FChar::IsWhitespace(Value[0]) || FChar::IsWhitespace(Value[Value.Len() - 1]) || Value[0] == '"');
	for (TCHAR Character : Value)
	{
		bQuote = bQuote || (Character < 0x20 && Character != '\t');
	}
	if (!bQuote)
	{
		return Value;
	}
	FString Result(TEXT("\""));
	for (TCHAR Character : Value)
	{
		if (Character == '\\' || Character == '"')
		{
			Result.AppendChar('\\');
			Result.AppendChar(Character);
		}
		else if (Character == '\n')
		{
			Result += TEXT("\\n");
		}
		else if (Character < 0x20)
		{
			Result += FString::Printf(TEXT("\\u%04X"), (uint32)Character);
		}
		else
		{
			Result.AppendChar(Character);
		}
	}
	Result.AppendChar('"');
	return Result;
}
} // namespace

class FConfigFile
{
public:
	std::vector<FConfigLine> Preamble;
	std::vector<FConfigSection> Sections;
	/** Changed since it was read or written. */
	bool bDirty = false;
	/** It exists but could not be read: writing would destroy what it holds, so it is never written. */
	bool bUnreadable = false;

	FConfigSection* FindSection(const FString& Name)
	{
		for (FConfigSection& Section : Sections)
		{
			if (Section.Name.Equals(Name, ESearchCase::IgnoreCase))
			{
				return &Section;
			}
		}
		return nullptr;
	}
	FConfigSection& FindOrAddSection(const FString& Name)
	{
		if (FConfigSection* Existing = FindSection(Name))
		{
			return *Existing;
		}
		Sections.push_back(FConfigSection{Name, {}});
		return Sections.back();
	}

	void Parse(const FString& Text)
	{
		TArray<FString> Lines;
		Text.ParseIntoArray(Lines, TEXT("\n"), false);
		FConfigSection* Current = nullptr;
		for (FString& RawLine : Lines)
		{
			RawLine.RemoveFromEnd(TEXT("\r"), ESearchCase::CaseSensitive);
			const FString Line = RawLine.TrimStartAndEnd();
			if (Line.IsEmpty())
			{
				continue;
			}
			std::vector<FConfigLine>& Into = Current ? Current->Lines : Preamble;
			if (Line[0] == ';' || Line[0] == '#')
			{
				Into.push_back(FConfigLine{false, FString(), Line});
				continue;
			}
			if (Line[0] == '[' && Line[Line.Len() - 1] == ']')
			{
				Current = &FindOrAddSection(Line.Mid(1, Line.Len() - 2));
				continue;
			}
			int32 Equals = INDEX_NONE;
			if (Current == nullptr || !Line.FindChar('=', Equals))
			{
				// Not a setting; kept as it is so that writing the file back does not lose it.
				Into.push_back(FConfigLine{false, FString(), Line});
				continue;
			}
			FString Key = Line.Left(Equals).TrimStartAndEnd();
			const FString Value = ParseValue(Line.Mid(Equals + 1));
			const TCHAR Command = Key.IsEmpty() ? 0 : Key[0];
			if (IsArrayCommand(Command))
			{
				// "+ Key=" names Key, as "Key =" does: a blank after the command is not part of the name.
				Key.RightChopInline(1);
				Key.TrimStartInline();
			}
			if (Key.IsEmpty())
			{
				// "=value" or "+=value" names no key: not a setting, so kept as written like any other such line.
				Into.push_back(FConfigLine{false, FString(), Line});
				continue;
			}
			// Array commands: "+" adds a value not yet there, "." adds, "-" removes one, "!" clears the key.
			if (Command == '!')
			{
				Current->RemoveAll(Key);
			}
			else if (Command == '-')
			{
				std::erase_if(Current->Lines,
					[&](const FConfigLine& Entry)
					{
						return Entry.bIsEntry && Entry.Key.Equals(Key, ESearchCase::IgnoreCase) &&
							   Entry.Value.Equals(Value);
					});
			}
			else if (Command == '+')
			{
				bool bPresent = false;
				for (const FConfigLine& Entry : Current->Lines)
				{
					bPresent = bPresent || (Entry.bIsEntry && Entry.Key.Equals(Key, ESearchCase::IgnoreCase) &&
											   Entry.Value.Equals(Value));
				}
				if (!bPresent)
				{
					Current->Lines.push_back(FConfigLine{true, Key, Value});
				}
			}
			else
			{
				Current->Lines.push_back(FConfigLine{true, Key, Value});
			}
		}
	}

	FString Write() const
	{
		FString Text;
		for (const FConfigLine& Line : Preamble)
		{
			Text += Line.Value;
			Text += TEXT("\n");
		}
		for (const FConfigSection& Section : Sections)
		{
			if (Section.Lines.empty())
			{
				continue;
			}
			if (!Text.IsEmpty())
			{
				Text += TEXT("\n");
			}
			Text += TEXT("[") + Section.Name + TEXT("]\n");
			for (const FConfigLine& Line : Section.Lines)
			{
				Text += Line.bIsEntry ? ExportKey(Line.Key) + TEXT("=") + ExportValue(Line.Value) : Line.Value;
				Text += TEXT("\n");
			}
		}
		return Text;
	}
};

struct FConfigCacheIni::FImpl
{
	std::recursive_mutex Lock;
	std::map<std::u16string, std::unique_ptr<FConfigFile>> Files;

	FConfigFile* Find(const FString& Filename, bool bLoad)
	{
		if (Filename.IsEmpty())
		{
			return nullptr;
		}
		const FString Normalized = NormalizeConfigIniPath(Filename);
		auto Found = Files.find(Normalized.HostStorage());
		if (Found != Files.end())
		{
			return Found->second.get();
		}
		if (!bLoad)
		{
			return nullptr;
		}
		std::unique_ptr<FConfigFile> File = std::make_unique<FConfigFile>();
		IFileManager& FileManager = IFileManager::Get();
		if (FileManager.FileExists(*Normalized))
		{
			FString Text;
			if (FFileHelper::LoadFileToString(Text, *Normalized, FFileHelper::EHashOptions::None, FILEREAD_Silent))
			{
				File->Parse(Text);
			}
			else
			{
				File->bUnreadable = true;
				UE_LOG(LogConfig, Warning, TEXT("Could not read %s; it will not be written either."), *Normalized);
			}
		}
		else if (FileManager.DirectoryExists(*Normalized))
		{
			File->bUnreadable = true;
		}
		FConfigFile* Result = File.get();
		Files.emplace(Normalized.HostStorage(), MoveTemp(File));
		return Result;
	}

	void WriteIfDirty(const std::u16string& Name, FConfigFile& File)
	{
		if (!File.bDirty || File.bUnreadable)
		{
			return;
		}
		FString Filename;
		Filename.HostStorage() = Name;
		const FString Text = File.Write();
		const std::string Utf8 = HostConv::ToUtf8(*Text, Text.Len());
		const TArrayView<const uint8> Bytes(reinterpret_cast<const uint8*>(Utf8.data()), (int32)Utf8.size());
		bool bWritten = false;
		if (!FApp::IsGame() && !FApp::IsUnattended())
		{
			const FString Temporary = FPaths::CreateTempFilename(
				*FPaths::ProjectSavedDir(), *FPaths::GetBaseFilename(Filename).Left(32));
			bWritten = FFileHelper::SaveArrayToFile(Bytes, *Temporary);
			if (bWritten && !IFileManager::Get().Move(*Filename, *Temporary))
			{
				IFileManager::Get().Delete(*Temporary);
				bWritten = false;
			}
		}
		else
		{
			bWritten = FFileHelper::SaveArrayToFile(Bytes, *Filename);
		}
		if (bWritten)
		{
			File.bDirty = false;
		}
		else
		{
			UE_LOG(LogConfig, Warning, TEXT("Could not write %s."), *Filename);
		}
	}
};

FConfigCacheIni::FConfigCacheIni()
	: Impl(new FImpl())
{
}

FConfigCacheIni::~FConfigCacheIni()
{
	Flush(true);
	delete Impl;
}

FString FConfigCacheIni::NormalizeConfigIniPath(const FString& NonNormalizedPath)
{
	return FPaths::ConvertRelativePathToFull(NonNormalizedPath);
}

bool FConfigCacheIni::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	FConfigSection* Found = File ? File->FindSection(FString(Section)) : nullptr;
	const FConfigLine* Line = Found ? Found->FindFirst(FString(Key)) : nullptr;
	if (Line == nullptr)
	{
		return false;
	}
	Value = Line->Value;
	return true;
}

FString FConfigCacheIni::GetStr(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	FString Value;
	GetString(Section, Key, Value, Filename);
	return Value;
}

bool FConfigCacheIni::GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::ToBool(*Text);
	return true;
}

bool FConfigCacheIni::GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atoi(*Text);
	return true;
}

bool FConfigCacheIni::GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atof(*Text);
	return true;
}

bool FConfigCacheIni::GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atod(*Text);
	return true;
}

int32 FConfigCacheIni::GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	Value.Empty();
	FConfigFile* File = Impl->Find(Filename, true);
	FConfigSection* Found = File ? File->FindSection(FString(Section)) : nullptr;
	if (Found)
	{
		const FString KeyName(Key);
		for (const FConfigLine& Line : Found->Lines)
		{
			if (Line.bIsEntry && Line.Key.Equals(KeyName, ESearchCase::IgnoreCase))
			{
				Value.Add(Line.Value);
			}
		}
	}
	return Value.Num();
}

bool FConfigCacheIni::GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	Result.Empty();
	FConfigFile* File = Impl->Find(Filename, true);
	FConfigSection* Found = File ? File->FindSection(FString(Section)) : nullptr;
	if (Found == nullptr)
	{
		return false;
	}
	for (const FConfigLine& Line : Found->Lines)
	{
		if (Line.bIsEntry)
		{
			Result.Add(Line.Key + TEXT("=") + Line.Value);
		}
	}
	return true;
}

bool FConfigCacheIni::GetSectionNames(const FString& Filename, TArray<FString>& OutSectionNames)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	if (File == nullptr)
	{
		return false;
	}
	for (const FConfigSection& Section : File->Sections)
	{
		OutSectionNames.Add(Section.Name);
	}
	return true;
}

void FConfigCacheIni::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	if (File == nullptr)
	{
		return;
	}
	FConfigSection& Found = File->FindOrAddSection(FString(Section));
	const FString NewValue(Value ? Value : TEXT(""));
	if (FConfigLine* Line = Found.FindFirst(FString(Key)))
	{
		if (!Line->Value.Equals(NewValue))
		{
			Line->Value = NewValue;
			File->bDirty = true;
		}
		return;
	}
	Found.AddEntry(FString(Key), NewValue);
	File->bDirty = true;
}

void FConfigCacheIni::SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename)
{
	SetString(Section, Key, Value ? TEXT("True") : TEXT("False"), Filename);
}

void FConfigCacheIni::SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%i"), Value), Filename);
}

void FConfigCacheIni::SetFloat(const TCHAR* Section, const TCHAR* Key, float Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%f"), Value), Filename);
}

void FConfigCacheIni::SetDouble(const TCHAR* Section, const TCHAR* Key, double Value, const FString& Filename)
{
	SetString(Section, Key, *FString::Printf(TEXT("%f"), Value), Filename);
}

void FConfigCacheIni::SetArray(
	const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	if (File == nullptr)
	{
		return;
	}
	FConfigSection& Found = File->FindOrAddSection(FString(Section));
	const FString KeyName(Key);
	Found.RemoveAll(KeyName);
	for (const FString& Item : Value)
	{
		Found.AddEntry(KeyName, Item);
	}
	File->bDirty = true;
}

bool FConfigCacheIni::RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	FConfigSection* Found = File ? File->FindSection(FString(Section)) : nullptr;
	if (Found == nullptr || Found->RemoveAll(FString(Key)) == 0)
	{
		return false;
	}
	File->bDirty = true;
	return true;
}

bool FConfigCacheIni::EmptySection(const TCHAR* Section, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	FConfigSection* Found = File ? File->FindSection(FString(Section)) : nullptr;
	if (Found == nullptr)
	{
		return false;
	}
	File->Sections.erase(File->Sections.begin() + (Found - File->Sections.data()));
	const FString Normalized = NormalizeConfigIniPath(Filename);
	if (File->Sections.empty() && File->Preamble.empty())
	{
		// Nothing left: the file goes, as in the engine.
		if (!File->bUnreadable)
		{
			IFileManager::Get().Delete(*Normalized);
			File->bDirty = false;
		}
	}
	else
	{
		File->bDirty = true;
		Impl->WriteIfDirty(Normalized.HostStorage(), *File);
	}
	return true;
}

bool FConfigCacheIni::DoesSectionExist(const TCHAR* Section, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	FConfigFile* File = Impl->Find(Filename, true);
	return File != nullptr && File->FindSection(FString(Section)) != nullptr;
}

void FConfigCacheIni::Flush(bool bRemoveFromCache, const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	for (auto It = Impl->Files.begin(); It != Impl->Files.end();)
	{
		FString Name;
		Name.HostStorage() = It->first;
		if (!Filename.IsEmpty() && !Name.Equals(NormalizeConfigIniPath(Filename)))
		{
			++It;
			continue;
		}
		Impl->WriteIfDirty(It->first, *It->second);
		// A file that could not be written stays, so that its changes are not lost.
		if (bRemoveFromCache && !It->second->bDirty)
		{
			It = Impl->Files.erase(It);
		}
		else
		{
			++It;
		}
	}
}

bool FConfigCacheIni::IsFileLoaded(const FString& Filename)
{
	std::lock_guard<std::recursive_mutex> Guard(Impl->Lock);
	return Impl->Find(Filename, false) != nullptr;
}
