// Crash safety of the stand-in's whole-file writes, which the plug-in's downloads and the stored key go through: a
// process killed in the middle of a write, and a disk that fills up, leave the file that was there before whole.
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HostTestSupport.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDevice.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using HostTest::FTempDir;
using HostTest::Utf8;

/** Swallows the warnings that failing writes log, so the test output stays readable. */
class FQuietLog final : public FOutputDevice
{
public:
	FQuietLog() { GLog->AddOutputDevice(this); }
	~FQuietLog() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR*, ELogVerbosity::Type, const FName&) override { ++Lines; }
	int Lines = 0;
};

TArray<uint8> Filled(int32 Size, uint8 Value)
{
	TArray<uint8> Data;
	Data.SetNumUninitialized(Size);
	std::memset(Data.GetData(), Value, static_cast<size_t>(Size));
	return Data;
}

/** Which single byte value fills the file; -1 when the file is missing, has another size or mixes values. */
int WholeFileValue(const FString& File, int32 ExpectedSize)
{
	TArray<uint8> Data;
	if (!FFileHelper::LoadFileToArray(Data, *File) || Data.Num() != ExpectedSize || ExpectedSize == 0)
	{
		return -1;
	}
	for (const uint8 Byte : Data)
	{
		if (Byte != Data[0])
		{
			return -1;
		}
	}
	return Data[0];
}

/**
 * Runs Writer in a child process, which loops writing until it is killed; SIGKILL lands DelayMs after the child said
 * it is about to write for the first time.
 */
void KillWriterAfter(int DelayMs, const std::function<void(int Round)>& Writer)
{
	int Pipe[2];
	ASSERT_EQ(pipe(Pipe), 0);
	const pid_t Child = fork();
	ASSERT_GE(Child, 0);
	if (Child == 0)
	{
		close(Pipe[0]);
		const char Ready = 'r';
		(void)!write(Pipe[1], &Ready, 1);
		for (int Round = 0;; ++Round)
		{
			Writer(Round);
		}
	}
	close(Pipe[1]);
	char Ready = 0;
	ASSERT_EQ(read(Pipe[0], &Ready, 1), 1);
	close(Pipe[0]);
	std::this_thread::sleep_for(std::chrono::milliseconds(DelayMs));
	kill(Child, SIGKILL);
	int Status = 0;
	ASSERT_EQ(waitpid(Child, &Status, 0), Child);
	EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL);
}

/** A small tmpfs mounted for one test; unmounted (with everything in it) when the test ends. */
class FSmallDisk
{
public:
	FSmallDisk(const FString& Dir, const char* Size)
	{
		Path = Dir;
		IFileManager::Get().MakeDirectory(*Path, true);
		const std::string Options = std::string("size=") + Size;
		bMounted = mount("tmpfs", Utf8(Path).c_str(), "tmpfs", 0, Options.c_str()) == 0;
	}
	~FSmallDisk()
	{
		if (bMounted)
		{
			umount2(Utf8(Path).c_str(), MNT_DETACH);
		}
	}
	FString Path;
	bool bMounted = false;
};

/** Fills the disk holding Dir with one file until a write fails. */
void FillUp(const FString& Dir)
{
	const std::string Filler = Utf8(Dir / TEXT("filler"));
	std::FILE* File = std::fopen(Filler.c_str(), "wb");
	ASSERT_NE(File, nullptr);
	const std::vector<char> Block(4096, 'f');
	while (std::fwrite(Block.data(), 1, Block.size(), File) == Block.size() && std::fflush(File) == 0)
	{
	}
	std::fclose(File);
}
} // namespace

TEST(CrashSafety, AWriterKilledMidWriteLeavesTheOldFileOrTheNewOne)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("Saved/Tarvoline/walks_3f9a2c71.fbx");
	constexpr int32 Size = 32 * 1024 * 1024;
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Filled(Size, 'A'), *File));
	// Made before the child starts, so that it spends its time writing.
	const TArray<uint8> Even = Filled(Size, 'B');
	const TArray<uint8> Odd = Filled(Size, 'C');

	// Kills at many points: before, inside and between writes.
	for (const int DelayMs : {0, 1, 2, 3, 5, 7, 10, 15, 22, 30, 45, 60})
	{
		KillWriterAfter(DelayMs,
			[&File, &Even, &Odd](int Round)
			{
				FFileHelper::SaveArrayToFile(Round % 2 == 0 ? Even : Odd, *File);
			});
		const int Value = WholeFileValue(File, Size);
		EXPECT_TRUE(Value == 'A' || Value == 'B' || Value == 'C')
			<< "killed after " << DelayMs << " ms: the file is torn";
	}
}

TEST(CrashSafety, ASettingsWriterKilledMidWriteLeavesReadableSettings)
{
	FTempDir Temp;
	const FString Ini = Temp.Path + TEXT("Saved/Config/LinuxEditor/EditorSettings.ini");
	{
		FConfigCacheIni Config;
		Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("tv_first_key"), Ini);
		Config.Flush(false, Ini);
	}
	// A long section makes each write take a while, so the kill lands inside one.
	for (const int DelayMs : {0, 2, 5, 11, 23})
	{
		KillWriterAfter(DelayMs,
			[&Ini](int Round)
			{
				FConfigCacheIni Config;
				Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"),
					Round % 2 == 0 ? TEXT("tv_second_key") : TEXT("tv_first_key"), Ini);
				for (int32 Index = 0; Index < 2000; ++Index)
				{
					Config.SetString(TEXT("Recent"), *FString::Printf(TEXT("File%d"), Index),
						*FString::Printf(TEXT("%d-%d"), Round, Index), Ini);
				}
				Config.Flush(false, Ini);
			});
		FConfigCacheIni Reader;
		FString Key;
		ASSERT_TRUE(Reader.GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Key, Ini))
			<< "killed after " << DelayMs << " ms";
		EXPECT_TRUE(Key == TEXT("tv_first_key") || Key == TEXT("tv_second_key")) << Utf8(Key);
	}
}

TEST(CrashSafety, AFullDiskFailsTheWriteAndKeepsWhatWasThere)
{
	FTempDir Temp;
	FSmallDisk Disk(Temp.Path + TEXT("disk"), "256k");
	if (!Disk.bMounted)
	{
		GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
	}
	const FString File = Disk.Path / TEXT("walks_3f9a2c71.fbx");
	const FString Ini = Disk.Path / TEXT("EditorSettings.ini");
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Filled(64 * 1024, 'A'), *File));
	{
		FConfigCacheIni Config;
		Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("tv_kept_key"), Ini);
		Config.Flush(false, Ini);
	}
	FillUp(Disk.Path);

	FQuietLog Quiet;
	EXPECT_FALSE(FFileHelper::SaveArrayToFile(Filled(64 * 1024, 'B'), *File));
	EXPECT_EQ(WholeFileValue(File, 64 * 1024), 'A');
	{
		FConfigCacheIni Config;
		Config.SetString(TEXT("Tarvoline"), TEXT("ApiKey"), TEXT("tv_lost_key"), Ini);
		for (int32 Index = 0; Index < 500; ++Index)
		{
			Config.SetString(TEXT("Recent"), *FString::Printf(TEXT("File%d"), Index),
				TEXT("a long enough value to need a block"), Ini);
		}
		Config.Flush(false, Ini);
	}
	EXPECT_GT(Quiet.Lines, 0);
	FConfigCacheIni Reader;
	FString Key;
	ASSERT_TRUE(Reader.GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Key, Ini));
	EXPECT_EQ(Utf8(Key), "tv_kept_key");

	// Nothing half-written is left beside them.
	std::vector<std::string> Listed;
	for (const std::filesystem::directory_entry& Entry : std::filesystem::directory_iterator(Utf8(Disk.Path)))
	{
		Listed.push_back(Entry.path().filename().string());
	}
	std::sort(Listed.begin(), Listed.end());
	EXPECT_EQ(Listed, (std::vector<std::string>{"EditorSettings.ini", "filler", "walks_3f9a2c71.fbx"}));
}
