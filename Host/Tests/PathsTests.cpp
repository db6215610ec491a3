// Tests of path handling with the engine's rules, and of the platform layer around it: the process's directories,
// the environment, the clock and URL launching (recorded, never opened).
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "HostEngine.h"
#include "HostTestSupport.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
using HostTest::Utf8;

std::string Collapsed(const TCHAR* Path)
{
	FString Text(Path);
	return FPaths::CollapseRelativeDirectories(Text) ? Utf8(Text) : "<refused: " + Utf8(Text) + ">";
}
} // namespace

TEST(Paths, SplitsFileNames)
{
	for (const TCHAR* Path : {TEXT("C:/Models/fox.fbx"), TEXT("C:\\Models\\fox.fbx"), TEXT("C:/Models\\fox.fbx")})
	{
		SCOPED_TRACE(Utf8(Path));
		EXPECT_EQ(Utf8(FPaths::GetCleanFilename(Path)), "fox.fbx");
		EXPECT_EQ(Utf8(FPaths::GetBaseFilename(Path)), "fox");
		EXPECT_EQ(Utf8(FPaths::GetExtension(Path)), "fbx");
		EXPECT_EQ(Utf8(FPaths::GetExtension(Path, true)), ".fbx");
	}
	EXPECT_EQ(Utf8(FPaths::GetPath(TEXT("C:/Models/fox.fbx"))), "C:/Models");
	EXPECT_EQ(Utf8(FPaths::GetPath(TEXT("C:\\Models\\fox.fbx"))), "C:\\Models");
	EXPECT_EQ(Utf8(FPaths::GetPath(TEXT("fox.fbx"))), "");
	EXPECT_EQ(Utf8(FPaths::GetCleanFilename(TEXT("fox.fbx"))), "fox.fbx");
	EXPECT_EQ(Utf8(FPaths::GetBaseFilename(TEXT("a.tar.gz"))), "a.tar");
	EXPECT_EQ(Utf8(FPaths::GetExtension(TEXT("a.tar.gz"))), "gz");
	EXPECT_EQ(Utf8(FPaths::GetBaseFilename(TEXT("/models/a.tar.gz"), false)), "/models/a.tar");

	// A dot in a directory name is no extension.
	EXPECT_EQ(Utf8(FPaths::GetExtension(TEXT("/work.v2/readme"))), "");
	EXPECT_EQ(Utf8(FPaths::GetBaseFilename(TEXT("/work.v2/readme"), false)), "/work.v2/readme");
	EXPECT_EQ(Utf8(FPaths::ChangeExtension(TEXT("/work.v2/readme"), TEXT("md"))), "/work.v2/readme");
	EXPECT_EQ(Utf8(FPaths::SetExtension(TEXT("/work.v2/readme"), TEXT("md"))), "/work.v2/readme.md");
	EXPECT_EQ(Utf8(FPaths::ChangeExtension(TEXT("Saved/fox.fbx"), TEXT(".glb"))), "Saved/fox.glb");

	EXPECT_EQ(Utf8(FPaths::GetCleanFilename(TEXT("/models/"))), "");
	EXPECT_EQ(Utf8(FPaths::GetPathLeaf(TEXT("/models/rigged//"))), "rigged");
}

TEST(Paths, CombinesAndNormalises)
{
	EXPECT_EQ(Utf8(FPaths::Combine(TEXT("/project/Saved"), FString(TEXT("Tarvoline")), TEXT("fox_1234.fbx"))),
		"/project/Saved/Tarvoline/fox_1234.fbx");
	EXPECT_EQ(Utf8(FPaths::Combine(TEXT("/project/Saved/"), TEXT("x"))), "/project/Saved/x");
	EXPECT_EQ(Utf8(FPaths::Combine(TEXT(""), TEXT("x"))), "x");

	FString Windows = TEXT("C:\\Models\\Rigs\\");
	FPaths::NormalizeFilename(Windows);
	EXPECT_EQ(Utf8(Windows), "C:/Models/Rigs/");
	FPaths::NormalizeDirectoryName(Windows);
	EXPECT_EQ(Utf8(Windows), "C:/Models/Rigs");
	FString Drive = TEXT("C:/");
	FPaths::NormalizeDirectoryName(Drive);
	EXPECT_EQ(Utf8(Drive), "C:/");

	EXPECT_EQ(Collapsed(TEXT("/a/b/../c")), "/a/c");
	EXPECT_EQ(Collapsed(TEXT("a/./b/./")), "a/b/");
	EXPECT_EQ(Collapsed(TEXT("a/b/..")), "a");
	EXPECT_EQ(Collapsed(TEXT("/a/b/c/../../d/e/..")), "/a/d");
	EXPECT_EQ(Collapsed(TEXT("C:/a/../b")), "C:/b");
	EXPECT_EQ(Collapsed(TEXT("../a")), "<refused: ../a>");
	EXPECT_EQ(Collapsed(TEXT("/a/../../b")), "<refused: /a/../../b>");
	EXPECT_EQ(Collapsed(TEXT("C:/..")), "<refused: C:/..>");

	EXPECT_TRUE(FPaths::IsRelative(TEXT("Saved/x")));
	EXPECT_TRUE(FPaths::IsRelative(TEXT("../x")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("/x")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("\\x")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("C:/x")));

	EXPECT_EQ(Utf8(FPaths::MakeValidFileName(TEXT("a:b/c?\"d\".fbx"))), "abcd.fbx");
	EXPECT_EQ(Utf8(FPaths::MakeValidFileName(TEXT("a:b|c.fbx"), '_')), "a_b_c.fbx");
}

TEST(Paths, FullPathsStartFromTheBaseDirectory)
{
	const FString Base(FPlatformProcess::BaseDir());
	ASSERT_TRUE(Base.EndsWith(TEXT("/")));
	EXPECT_EQ(Utf8(Base + FPaths::GetCleanFilename(FPlatformProcess::ExecutablePath())),
		Utf8(FPlatformProcess::ExecutablePath()));
	EXPECT_EQ(Utf8(FPaths::ConvertRelativePathToFull(TEXT("Models/../fox.fbx"))), Utf8(Base + TEXT("fox.fbx")));
	EXPECT_EQ(Utf8(FPaths::ConvertRelativePathToFull(TEXT("/data\\models/./fox.fbx"))), "/data/models/fox.fbx");
	EXPECT_EQ(Utf8(FPaths::ConvertRelativePathToFull(TEXT("/base/dir"), TEXT("../fox.fbx"))), "/base/fox.fbx");

	EXPECT_TRUE(FPaths::IsSamePath(TEXT("/a/b/../c/"), TEXT("/a//c")));
	EXPECT_FALSE(FPaths::IsSamePath(TEXT("/a/C"), TEXT("/a/c")));

	FString Relative = TEXT("/project/Content/Models/fox.fbx");
	ASSERT_TRUE(FPaths::MakePathRelativeTo(Relative, TEXT("/project/Saved/")));
	EXPECT_EQ(Utf8(Relative), "../Content/Models/fox.fbx");
}

TEST(Paths, ExistenceOfFilesAndDirectories)
{
	char Template[] = "/tmp/HostPathsTest-XXXXXX";
	ASSERT_NE(mkdtemp(Template), nullptr);
	const FString Dir = FString(UTF8_TO_TCHAR(Template)) + TEXT("/");
	const FString File = Dir + TEXT("model.fbx");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("x"), *File));

	EXPECT_TRUE(FPaths::FileExists(File));
	EXPECT_FALSE(FPaths::FileExists(Dir));
	EXPECT_FALSE(FPaths::FileExists(Dir + TEXT("missing.fbx")));
	EXPECT_TRUE(FPaths::DirectoryExists(Dir));
	EXPECT_FALSE(FPaths::DirectoryExists(File));

	const FString Temp = FPaths::CreateTempFilename(*Dir, TEXT("upload-"), TEXT(".bin"));
	EXPECT_TRUE(FPaths::GetCleanFilename(Temp).StartsWith(TEXT("upload-")));
	EXPECT_TRUE(Temp.EndsWith(TEXT(".bin")));
	EXPECT_FALSE(FPaths::FileExists(Temp));
	IFileManager::Get().DeleteDirectory(*Dir, true, true);
}

TEST(Platform, EnvironmentVariables)
{
	FPlatformMisc::SetEnvironmentVar(TEXT("HOST_TEST_VARIABLE"), TEXT("värde 1"));
	EXPECT_EQ(Utf8(FPlatformMisc::GetEnvironmentVariable(TEXT("HOST_TEST_VARIABLE"))), "värde 1");
	setenv("HOST_TEST_VARIABLE", "", 1);
	EXPECT_TRUE(FPlatformMisc::GetEnvironmentVariable(TEXT("HOST_TEST_VARIABLE")).IsEmpty());
	FPlatformMisc::SetEnvironmentVar(TEXT("HOST_TEST_VARIABLE"), TEXT(""));
	EXPECT_EQ(std::getenv("HOST_TEST_VARIABLE"), nullptr);
	EXPECT_TRUE(FPlatformMisc::GetEnvironmentVariable(TEXT("HOST_TEST_VARIABLE")).IsEmpty());
	EXPECT_GE(FPlatformMisc::NumberOfCores(), 1);
}

TEST(Platform, ClockOnlyMovesForward)
{
	double Previous = FPlatformTime::Seconds();
	for (int32 Index = 0; Index < 1000; ++Index)
	{
		const double Now = FPlatformTime::Seconds();
		ASSERT_GE(Now, Previous);
		Previous = Now;
	}
	const double BeforeSleep = FPlatformTime::Seconds();
	FPlatformProcess::Sleep(0.01f);
	EXPECT_GT(FPlatformTime::Seconds(), BeforeSleep);
	TCHAR Stamp[32];
	EXPECT_EQ(FCString::Strlen(FPlatformTime::StrTimestamp(Stamp, 32)), 17);
}

TEST(Platform, LaunchedUrlsAreRecordedNotOpened)
{
	unsetenv("HOST_LAUNCH_URLS");
	HostEngine::ClearLaunchedUrls();
	FString Error = TEXT("stale");
	FPlatformProcess::LaunchURL(TEXT("https://example.invalid/account?x=1"), nullptr, &Error);
	FPlatformProcess::LaunchURL(TEXT("https://example.invalid/docs"), TEXT(""), nullptr);
	EXPECT_TRUE(Error.IsEmpty());
	const TArray<FString> Urls = HostEngine::GetLaunchedUrls();
	ASSERT_EQ(Urls.Num(), 2);
	EXPECT_EQ(Utf8(Urls[0]), "https://example.invalid/account?x=1");
	EXPECT_EQ(Utf8(Urls[1]), "https://example.invalid/docs");
	HostEngine::ClearLaunchedUrls();
	EXPECT_EQ(HostEngine::GetLaunchedUrls().Num(), 0);
}
