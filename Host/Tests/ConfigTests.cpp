// Tests of the settings cache and the stand-in's project start-up: settings reach the disk without disturbing what
// else the file holds, survive a new process, and are written as the engine writes them (through a temporary file in
// Saved/ in an attended editor, in place when unattended, with the process's default permissions).
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformProcess.h"
#include "HostEngine.h"
#include "HostTestSupport.h"
#include "Misc/App.h"
#include "Misc/CommandLine.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
using HostTest::FTempDir;
using HostTest::Utf8;

FString ReadText(const FString& Filename)
{
	FString Text;
	FFileHelper::LoadFileToString(Text, *Filename);
	return Text;
}

void WriteText(const FString& Filename, const FString& Text)
{
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Text, *Filename, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM));
}

/** The names in a directory, to find temporary files left behind. */
std::vector<std::string> DirectoryEntries(const FString& Dir)
{
	std::vector<std::string> Names;
	IFileManager::Get().IterateDirectory(*Dir,
		[&Names](const TCHAR* Path, bool)
		{
			Names.push_back(Utf8(FPaths::GetCleanFilename(Path)));
			return true;
		});
	return Names;
}

/** Limits the size of files this process may write, so that writing fails as on a full disk. */
class FFileSizeLimit
{
public:
	explicit FFileSizeLimit(rlim_t MaxBytes)
	{
		getrlimit(RLIMIT_FSIZE, &Saved);
		OldHandler = std::signal(SIGXFSZ, SIG_IGN);
		rlimit Limited = Saved;
		Limited.rlim_cur = MaxBytes;
		setrlimit(RLIMIT_FSIZE, &Limited);
	}
	~FFileSizeLimit()
	{
		setrlimit(RLIMIT_FSIZE, &Saved);
		std::signal(SIGXFSZ, OldHandler);
	}

private:
	rlimit Saved{};
	void (*OldHandler)(int) = nullptr;
};

const TCHAR* const HandWrittenIni =
	TEXT("; Settings kept by hand\n"
		 "[/Script/UnrealEd.EditorLoadingSavingSettings]\n"
		 "bMonitorContentDirectories=True\n"
		 "# keep this comment\n"
		 "AutoReimportDirectorySettings=(SourceDirectory=\"/Game/\",Wildcards=((Wildcard=\"*.fbx\")))\n"
		 "\n"
		 "[Tarvoline]\r\n"
		 "Other=kept as it was\r\n"
		 "ApiKey=old-key\r\n"
		 "\n"
		 "[Last]\n"
		 "A=1\n");

constexpr const char* ChildEnvironmentVariable = "HOST_TEST_CONFIG_CHILD_PROJECT";
} // namespace

TEST(ConfigFile, ChangesOneKeyAndKeepsTheRest)
{
	FTempDir Temp;
	const FString Ini = Temp.Path + TEXT("Settings.ini");
	WriteText(Ini, HandWrittenIni);

	FConfigCacheIni Config;
	FString Value = TEXT("untouched");
	ASSERT_TRUE(Config.GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Value, Ini));
	EXPECT_EQ(Utf8(Value), "old-key");
	Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("new key"), Ini);
	Config.SetString(TEXT("Tarvoline"), TEXT("Added"), TEXT("x"), Ini);
	Config.Flush(false, Ini);

	const std::string Written = Utf8(ReadText(Ini));
	EXPECT_EQ(Written, "; Settings kept by hand\n"
					   "\n"
					   "[/Script/UnrealEd.EditorLoadingSavingSettings]\n"
					   "bMonitorContentDirectories=True\n"
					   "# keep this comment\n"
					   "AutoReimportDirectorySettings=(SourceDirectory=\"/Game/\",Wildcards=((Wildcard=\"*.fbx\")))\n"
					   "\n"
					   "[Tarvoline]\n"
					   "Other=kept as it was\n"
					   "ApiKey=new key\n"
					   "Added=x\n"
					   "\n"
					   "[Last]\n"
					   "A=1\n");

	// A cache that starts from the disk sees the same; sections and keys ignore case as FName and FString keys do.
	FConfigCacheIni Fresh;
	EXPECT_EQ(Utf8(Fresh.GetStr(TEXT("tarvoline"), TEXT("apikey"), Ini)), "new key");
	EXPECT_EQ(Utf8(Fresh.GetStr(
				  TEXT("/Script/UnrealEd.EditorLoadingSavingSettings"), TEXT("AutoReimportDirectorySettings"), Ini)),
		"(SourceDirectory=\"/Game/\",Wildcards=((Wildcard=\"*.fbx\")))");
	bool bMonitor = false;
	EXPECT_TRUE(Fresh.GetBool(
		TEXT("/Script/UnrealEd.EditorLoadingSavingSettings"), TEXT("bMonitorContentDirectories"), bMonitor, Ini));
	EXPECT_TRUE(bMonitor);
	int32 A = 0;
	EXPECT_TRUE(Fresh.GetInt(TEXT("Last"), TEXT("A"), A, Ini));
	EXPECT_EQ(A, 1);
}

TEST(ConfigFile, AwkwardValuesRoundTrip)
{
	FTempDir Temp;
	const FString Ini = Temp.Path + TEXT("Config/Nested/Awkward.ini");
	const std::vector<FString> Values = {
		TEXT("  leading and trailing spaces  "),
		TEXT("a=b=c"),
		TEXT("say \"hi\" twice"),
		TEXT("\"starts with a quote"),
		TEXT("ends with a quote\""),
		TEXT("\"fully quoted\""),
		TEXT("semi;colon # and hash"),
		TEXT("Grüße, 日本, 🦊"),
		TEXT("back\\slash \\n not a newline"),
		TEXT("tab\tinside"),
		TEXT("line\nbreak and\r\nmore"),
		TEXT("[not a section]"),
		TEXT(""),
	};
	{
		FConfigCacheIni Config;
		for (int32 Index = 0; Index < (int32)Values.size(); ++Index)
		{
			Config.SetString(TEXT("Awkward"), *FString::Printf(TEXT("Key%d"), Index), *Values[Index], Ini);
		}
		Config.Flush(false, Ini);
	}
	FConfigCacheIni Fresh;
	for (int32 Index = 0; Index < (int32)Values.size(); ++Index)
	{
		FString Value;
		EXPECT_TRUE(Fresh.GetString(TEXT("Awkward"), *FString::Printf(TEXT("Key%d"), Index), Value, Ini)) << Index;
		EXPECT_TRUE(Value.Equals(Values[Index])) << Index << ": " << Utf8(Value);
	}
	// Every value stays on its own line, so the file has one line per key plus the section's.
	TArray<FString> Lines;
	ASSERT_TRUE(FFileHelper::LoadFileToStringArray(Lines, *Ini));
	EXPECT_EQ(Lines.Num(), (int32)Values.size() + 1);
}

TEST(ConfigFile, MissingValuesAndRemovedKeys)
{
	FTempDir Temp;
	const FString Ini = Temp.Path + TEXT("Settings.ini");
	WriteText(Ini, HandWrittenIni);

	FConfigCacheIni Config;
	FString Value = TEXT("untouched");
	EXPECT_FALSE(Config.GetString(TEXT("Tarvoline"), TEXT("Missing"), Value, Ini));
	EXPECT_FALSE(Config.GetString(TEXT("NoSuchSection"), TEXT("ApiKey"), Value, Ini));
	EXPECT_FALSE(Config.GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Value, Temp.Path + TEXT("NoSuchFile.ini")));
	EXPECT_EQ(Utf8(Value), "untouched");
	EXPECT_FALSE(FPaths::FileExists(Temp.Path + TEXT("NoSuchFile.ini")));

	EXPECT_TRUE(Config.RemoveKey(TEXT("Tarvoline"), TEXT("ApiKey"), Ini));
	EXPECT_FALSE(Config.RemoveKey(TEXT("Tarvoline"), TEXT("ApiKey"), Ini));
	EXPECT_FALSE(Config.RemoveKey(TEXT("NoSuchSection"), TEXT("ApiKey"), Ini));
	EXPECT_FALSE(Config.GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Value, Ini));
	// Removing changes memory only; Flush writes it.
	EXPECT_NE(Utf8(ReadText(Ini)).find("ApiKey=old-key"), std::string::npos);
	Config.Flush(false, Ini);
	const std::string Written = Utf8(ReadText(Ini));
	EXPECT_EQ(Written.find("ApiKey"), std::string::npos);
	EXPECT_NE(Written.find("Other=kept as it was"), std::string::npos);

	// Setting a value equal to the stored one leaves the file clean: the next Flush writes nothing.
	Config.SetString(TEXT("Tarvoline"), TEXT("Other"), TEXT("kept as it was"), Ini);
	WriteText(Ini, TEXT("[Changed]\nBy=someone else\n"));
	Config.Flush(false, Ini);
	EXPECT_EQ(Utf8(ReadText(Ini)), "[Changed]\nBy=someone else\n");

	// EmptySection writes at once; the file goes when nothing is left in it.
	FConfigCacheIni Other;
	const FString Small = Temp.Path + TEXT("Small.ini");
	WriteText(Small, TEXT("[One]\nA=1\n[Two]\nB=2\n"));
	EXPECT_TRUE(Other.EmptySection(TEXT("One"), Small));
	EXPECT_FALSE(Other.DoesSectionExist(TEXT("One"), Small));
	EXPECT_EQ(Utf8(ReadText(Small)), "[Two]\nB=2\n");
	EXPECT_TRUE(Other.EmptySection(TEXT("Two"), Small));
	EXPECT_FALSE(FPaths::FileExists(Small));
	EXPECT_FALSE(Other.EmptySection(TEXT("Two"), Small));
}

TEST(ConfigFile, RepeatedKeysAreArrays)
{
	FTempDir Temp;
	const FString Ini = Temp.Path + TEXT("Arrays.ini");
	WriteText(Ini, TEXT("[Recent]\nFile=a.fbx\n+File=b.fbx\n+File=a.fbx\n.File=a.fbx\n-File=b.fbx\nOther=1\n"));
	FConfigCacheIni Config;
	TArray<FString> Files;
	EXPECT_EQ(Config.GetArray(TEXT("Recent"), TEXT("File"), Files, Ini), 2);
	EXPECT_EQ(Utf8(FString::Join(Files, TEXT(","))), "a.fbx,a.fbx");
	EXPECT_EQ(Utf8(Config.GetStr(TEXT("Recent"), TEXT("File"), Ini)), "a.fbx");

	Config.SetArray(TEXT("Recent"), TEXT("File"), {TEXT("c.fbx"), TEXT("d.fbx")}, Ini);
	Config.Flush(true, Ini);
	EXPECT_FALSE(Config.IsFileLoaded(Ini));
	EXPECT_EQ(Utf8(ReadText(Ini)), "[Recent]\nOther=1\nFile=c.fbx\nFile=d.fbx\n");
	EXPECT_EQ(Config.GetArray(TEXT("Recent"), TEXT("File"), Files, Ini), 2);
}

/** Sets the command line for a scope, so that a test can run as an unattended editor. */
class FScopedCommandLine
{
public:
	explicit FScopedCommandLine(const TCHAR* CommandLine)
		: Saved(FCommandLine::Get())
	{
		FCommandLine::Set(CommandLine);
	}
	~FScopedCommandLine() { FCommandLine::Set(*Saved); }

private:
	FString Saved;
};

unsigned DefaultMode()
{
	const mode_t Mask = umask(022);
	umask(Mask);
	return 0664u & ~(unsigned)Mask;
}

unsigned ModeOf(const FString& File)
{
	struct stat Info;
	return stat(TCHAR_TO_UTF8(*File), &Info) == 0 ? (unsigned)(Info.st_mode & 07777) : 0u;
}

TEST(ConfigFile, WrittenWithTheProcessDefaultPermissions)
{
	// The key's file is as private as the engine makes it: not at all beyond the umask.
	FTempDir Temp;
	HostEngine::SetProjectDir(Temp.Path);
	const FString Ini = Temp.Path + TEXT("Saved/Config/LinuxEditor/EditorSettings.ini");
	FConfigCacheIni Config;
	Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("secret"), Ini);
	Config.Flush(false, Ini);
	EXPECT_EQ(ModeOf(Ini), DefaultMode());

	// An attended editor writes a new file in Saved/ and moves it over the old one, so a private file does not stay
	// private; unattended, the file is written in place and keeps its permissions.
	const FString Private = Temp.Path + TEXT("Private.ini");
	WriteText(Private, TEXT("[A]\nB=1\n"));
	chmod(TCHAR_TO_UTF8(*Private), 0600);
	Config.SetString(TEXT("A"), TEXT("B"), TEXT("2"), Private);
	Config.Flush(false, Private);
	EXPECT_EQ(ModeOf(Private), DefaultMode());
	{
		FScopedCommandLine Unattended(TEXT("-unattended"));
		ASSERT_TRUE(FApp::IsUnattended());
		chmod(TCHAR_TO_UTF8(*Private), 0600);
		Config.SetString(TEXT("A"), TEXT("B"), TEXT("3"), Private);
		Config.Flush(false, Private);
		EXPECT_EQ(ModeOf(Private), 0600u);
	}
	FConfigCacheIni Fresh;
	EXPECT_EQ(Utf8(Fresh.GetStr(TEXT("A"), TEXT("B"), Private)), "3");

	// Nothing is left beside the files, nor in Saved/ where the attended writes went through.
	EXPECT_EQ(DirectoryEntries(FPaths::GetPath(Ini)), std::vector<std::string>{"EditorSettings.ini"});
	for (const std::string& Name : DirectoryEntries(Temp.Path + TEXT("Saved")))
	{
		EXPECT_FALSE(Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".tmp") == 0) << Name;
	}
}

TEST(ConfigFile, FailedWritesAsTheEngineFailsThem)
{
	FTempDir Temp;
	HostEngine::SetProjectDir(Temp.Path);
	const FString Ini = Temp.Path + TEXT("Settings.ini");
	WriteText(Ini, HandWrittenIni);
	const FString Before = ReadText(Ini);

	FConfigCacheIni Config;
	Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), *FString::ChrN(64 * 1024, 'k'), Ini);
	{
		// Attended: the temporary file in Saved/ cannot be written whole, so the file is not touched; the torn
		// temporary file stays behind, as the engine leaves it.
		FFileSizeLimit Limit(4096);
		Config.Flush(false, Ini);
	}
	EXPECT_TRUE(ReadText(Ini).Equals(Before));
	std::vector<std::string> Left;
	for (const std::string& Name : DirectoryEntries(Temp.Path + TEXT("Saved")))
	{
		if (Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".tmp") == 0)
		{
			Left.push_back(Name);
		}
	}
	EXPECT_EQ(Left.size(), 1u);

	// The change was not lost: the next Flush writes it.
	Config.Flush(false, Ini);
	FConfigCacheIni Fresh;
	EXPECT_EQ(Fresh.GetStr(TEXT("Tarvoline"), TEXT("ApiKey"), Ini).Len(), 64 * 1024);
	EXPECT_EQ(Utf8(Fresh.GetStr(TEXT("Tarvoline"), TEXT("Other"), Ini)), "kept as it was");

	{
		// Unattended, the file is written in place: a write that fails part-way leaves it cut short.
		FScopedCommandLine Unattended(TEXT("-unattended"));
		Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), *FString::ChrN(64 * 1024, 'n'), Ini);
		FFileSizeLimit Limit(4096);
		Config.Flush(false, Ini);
	}
	EXPECT_EQ(IFileManager::Get().FileSize(*Ini), 4096);

	// A directory where the file should be is never replaced.
	const FString Blocked = Temp.Path + TEXT("Blocked.ini");
	ASSERT_TRUE(IFileManager::Get().MakeDirectory(*Blocked));
	Config.SetString(TEXT("A"), TEXT("B"), TEXT("C"), Blocked);
	Config.Flush(false, Blocked);
	EXPECT_TRUE(FPaths::DirectoryExists(Blocked));
}

// Runs twice: as the test, it writes settings and starts this program again with the variable set; the second run
// (the child) reads them through a new process's GConfig, adds one and shuts down, which must write it.
TEST(ConfigFile, SurvivesARestartOfTheProcess)
{
	const char* ChildProject = std::getenv(ChildEnvironmentVariable);
	if (ChildProject != nullptr)
	{
		HostEngine::SetProjectDir(FString(UTF8_TO_TCHAR(ChildProject)));
		HostEngine::Startup(TEXT("-unattended"));
		FString Key;
		EXPECT_TRUE(GConfig->GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Key, GEditorSettingsIni));
		EXPECT_EQ(Utf8(Key), "key from the first process");
		EXPECT_EQ(Utf8(GConfig->GetStr(TEXT("Elsewhere"), TEXT("Kept"), GEditorSettingsIni)), "yes");
		GConfig->SetString(TEXT("Tarvoline"), TEXT("FromChild"), TEXT("written at shut-down"), GEditorSettingsIni);
		HostEngine::Shutdown();
		return;
	}

	FTempDir Temp;
	HostEngine::SetProjectDir(Temp.Path);
	ASSERT_NE(GConfig, nullptr);
	GConfig->SetString(TEXT("Elsewhere"), TEXT("Kept"), TEXT("yes"), GEditorSettingsIni);
	GConfig->SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("key from the first process"), GEditorSettingsIni);
	GConfig->Flush(false, GEditorSettingsIni);

	std::string Variable = std::string(ChildEnvironmentVariable) + "=" + Utf8(Temp.Path);
	std::vector<char*> Environment;
	for (char** It = environ; *It != nullptr; ++It)
	{
		Environment.push_back(*It);
	}
	Environment.push_back(Variable.data());
	Environment.push_back(nullptr);
	std::string Program = Utf8(FPlatformProcess::ExecutablePath());
	std::string Filter = "--gtest_filter=ConfigFile.SurvivesARestartOfTheProcess";
	char* Argv[] = {Program.data(), Filter.data(), nullptr};
	pid_t Child = 0;
	ASSERT_EQ(posix_spawn(&Child, Program.c_str(), nullptr, nullptr, Argv, Environment.data()), 0);
	int Status = 0;
	ASSERT_EQ(waitpid(Child, &Status, 0), Child);
	ASSERT_TRUE(WIFEXITED(Status));
	EXPECT_EQ(WEXITSTATUS(Status), 0);

	FConfigCacheIni Fresh;
	EXPECT_EQ(Utf8(Fresh.GetStr(TEXT("Tarvoline"), TEXT("FromChild"), GEditorSettingsIni)), "written at shut-down");
	EXPECT_EQ(Utf8(Fresh.GetStr(TEXT("Tarvoline"), TEXT("ApiKey"), GEditorSettingsIni)), "key from the first process");
	HostEngine::Shutdown();
}

TEST(HostEngine, ProjectDirectoriesAndSettingsFiles)
{
	FTempDir Temp;
	HostEngine::SetProjectFile(Temp.Path + TEXT("Fox/../Fox/Fox.uproject"));
	const FString Project = Temp.Path + TEXT("Fox/");
	EXPECT_EQ(Utf8(FPaths::ProjectDir()), Utf8(Project));
	EXPECT_EQ(Utf8(FPaths::ProjectSavedDir()), Utf8(Project + TEXT("Saved/")));
	EXPECT_EQ(Utf8(FPaths::ProjectContentDir()), Utf8(Project + TEXT("Content/")));
	EXPECT_EQ(Utf8(FPaths::ProjectConfigDir()), Utf8(Project + TEXT("Config/")));
	EXPECT_EQ(Utf8(FPaths::GetProjectFilePath()), Utf8(Project + TEXT("Fox.uproject")));
	EXPECT_EQ(Utf8(FApp::GetProjectName()), "Fox");
	EXPECT_EQ(Utf8(GEditorSettingsIni), Utf8(Project + TEXT("Saved/Config/LinuxEditor/EditorSettings.ini")));
	EXPECT_EQ(
		Utf8(GEditorPerProjectIni), Utf8(Project + TEXT("Saved/Config/LinuxEditor/EditorPerProjectUserSettings.ini")));
	EXPECT_EQ(Utf8(GEngineIni), Utf8(Project + TEXT("Saved/Config/LinuxEditor/Engine.ini")));
	ASSERT_NE(GConfig, nullptr);

	// The command line names the project first, as the editor's does; Shutdown writes what was not flushed.
	HostEngine::Startup(FString::Printf(TEXT("\"%sOther Project/Other.uproject\" -run=Check -unattended"), *Temp.Path));
	EXPECT_TRUE(HostEngine::IsStarted());
	EXPECT_EQ(Utf8(FPaths::ProjectDir()), Utf8(Temp.Path + TEXT("Other Project/")));
	EXPECT_TRUE(FApp::IsUnattended());
	FString Run;
	EXPECT_TRUE(FParse::Value(FCommandLine::Get(), TEXT("-run="), Run));
	EXPECT_EQ(Utf8(Run), "Check");
	GConfig->SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("pending"), GEditorSettingsIni);
	const FString SettingsFile = GEditorSettingsIni;
	HostEngine::Shutdown();
	EXPECT_EQ(GConfig, nullptr);
	EXPECT_FALSE(HostEngine::IsStarted());
	FConfigCacheIni Fresh;
	EXPECT_EQ(Utf8(Fresh.GetStr(TEXT("Tarvoline"), TEXT("ApiKey"), SettingsFile)), "pending");

	// -project= works too, and a directory is enough.
	HostEngine::Startup(FString::Printf(TEXT("-project=\"%sThird\""), *Temp.Path));
	EXPECT_EQ(Utf8(FPaths::ProjectDir()), Utf8(Temp.Path + TEXT("Third/")));
	EXPECT_EQ(Utf8(FApp::GetProjectName()), "Third");
	HostEngine::Shutdown();
}

TEST(HostEngine, DefaultProjectComesFromTheEnvironment)
{
	FTempDir Temp;
	FPlatformMisc::SetEnvironmentVar(TEXT("HOST_PROJECT_DIR"), *(Temp.Path + TEXT("FromEnvironment")));
	EXPECT_EQ(Utf8(HostEngine::GetDefaultProjectDir()), Utf8(Temp.Path + TEXT("FromEnvironment/")));
	FPlatformMisc::SetEnvironmentVar(TEXT("HOST_PROJECT_DIR"), TEXT(""));
	const FString Fallback = HostEngine::GetDefaultProjectDir();
	EXPECT_TRUE(FPaths::GetPathLeaf(Fallback).StartsWith(TEXT("HostProject-")));
	EXPECT_TRUE(Fallback.EndsWith(TEXT("/")));
	EXPECT_FALSE(FPaths::IsRelative(Fallback));
}
