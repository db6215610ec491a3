// Stand-in for the engine's Misc/ConfigCacheIni.h: the settings cache behind GConfig, holding ini files by name.
// Each file is read on first use, changed in memory, and written back (whole, atomically, readable by the user only)
// by Flush or when the cache is destroyed.
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
class FConfigCacheIni
{
public:
	FConfigCacheIni();
	/** Writes the files with unsaved changes, as the engine does when the cache goes. */
	~FConfigCacheIni();
	FConfigCacheIni(const FConfigCacheIni&) = delete;
	FConfigCacheIni& operator=(const FConfigCacheIni&) = delete;

	/** False, with Value untouched, when the file, section or key is missing. A repeated key gives its first value. */
	bool GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename);
	/** The value, or "" when missing. */
	FString GetStr(const TCHAR* Section, const TCHAR* Key, const FString& Filename);
	/** True/Yes/On (any case) or a non-zero number read as true. */
	bool GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename);
	bool GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename);
	bool GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename);
	bool GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename);
	/** Every value of a repeated key, in file order; returns their number (Value is replaced). */
	int32 GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value, const FString& Filename);
	/** The section's lines as "Key=Value"; false when the section is missing. */
	bool GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename);
	/** The names of the file's sections, in file order. */
	bool GetSectionNames(const FString& Filename, TArray<FString>& OutSectionNames);

	/** Sets the first value of the key (adding it at the end of its section, and the section, when missing). */
	void SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename);
	void SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename);
	void SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename);
	void SetFloat(const TCHAR* Section, const TCHAR* Key, float Value, const FString& Filename);
	void SetDouble(const TCHAR* Section, const TCHAR* Key, double Value, const FString& Filename);
	/** Replaces every value of the key with these (none removes the key). */
	void SetArray(const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename);

	/** Removes every value of the key; true when there was one. The file is written by the next Flush. */
	bool RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename);
	/** Removes the whole section and writes the file at once (deleting it when nothing is left); true if it existed. */
	bool EmptySection(const TCHAR* Section, const FString& Filename);
	bool DoesSectionExist(const TCHAR* Section, const FString& Filename);

	/** Writes the changed files (Filename, or all for ""); bRemoveFromCache then forgets them so the next use re-reads.
	 */
	void Flush(bool bRemoveFromCache, const FString& Filename = TEXT(""));
	/** True when the file is held in memory. */
	bool IsFileLoaded(const FString& Filename);

	/** The key under which a file is cached: its full, normalised path. */
	static FString NormalizeConfigIniPath(const FString& NonNormalizedPath);

private:
	struct FImpl;
	FImpl* Impl;
};
