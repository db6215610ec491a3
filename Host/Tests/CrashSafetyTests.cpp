// What a crash or a full disk does to the stand-in's whole-file writes: the same as to the engine's, which write the
// target in place. A writer killed mid-write leaves a torn file and a full disk a file cut short, so a caller that
// needs a whole file must make sure of it itself (the plug-in's downloads do, and Tarvoline.Client.Download* tests
// prove it against these writes). Were the stand-in kinder here, those tests would prove nothing.
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HostFilesTesting.h"
#include "HostTestSupport.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDevice.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>

#include <cstring>

namespace
{
using HostTest::FTempDir;

/** Counts the lines that failing writes log, so the test output stays readable. */
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
	if (!FFileHelper::LoadFileToArray(Data, *File, FILEREAD_Silent) || Data.Num() != ExpectedSize || ExpectedSize == 0)
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
} // namespace

TEST(CrashSafety, AWriterKilledMidWriteTearsTheFileAsTheEngineDoes)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("Saved/Tarvoline/walks_3f9a2c71.fbx");
	constexpr int32 Size = 32 * 1024 * 1024;
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Filled(Size, 'A'), *File));
	// Made before the child starts, so that it spends its time writing.
	const TArray<uint8> Even = Filled(Size, 'B');
	const TArray<uint8> Odd = Filled(Size, 'C');

	// The child spends nearly all its time inside a write, so most kills land there; one torn file is enough to show
	// that nothing here turns a write in place into a safe one.
	int Torn = 0;
	for (const int DelayMs : {1, 3, 7, 15, 30, 60})
	{
		ASSERT_TRUE(HostFilesTesting::KillWriterAfter(DelayMs,
			[&File, &Even, &Odd](int32 Round)
			{
				FFileHelper::SaveArrayToFile(Round % 2 == 0 ? Even : Odd, *File);
			}));
		Torn += WholeFileValue(File, Size) == -1 ? 1 : 0;
	}
	EXPECT_GT(Torn, 0) << "every kill left a whole file: the writes are not in place";
	// No temporary file either.
	TArray<FString> Names;
	IFileManager::Get().FindFiles(Names, *(FPaths::GetPath(File) / TEXT("*")), true, true);
	EXPECT_EQ(Names.Num(), 1);
}

TEST(CrashSafety, AFullDiskCutsTheFileShortAsTheEngineDoes)
{
	FTempDir Temp;
	const FString Disk = Temp.Path + TEXT("disk");
	if (!HostFilesTesting::MountSmallDisk(Disk, 256))
	{
		GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
	}
	const FString File = Disk / TEXT("walks_3f9a2c71.fbx");
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Filled(64 * 1024, 'A'), *File));
	HostFilesTesting::FillDisk(Disk);

	{
		FQuietLog Quiet;
		// Larger than the old file, whose room the write gets back when it empties it.
		EXPECT_FALSE(FFileHelper::SaveArrayToFile(Filled(128 * 1024, 'B'), *File));
		EXPECT_GT(Quiet.Lines, 0);
	}
	// The old file was emptied before the new bytes ran out of room: what was there is gone, and the new file is cut
	// short.
	EXPECT_NE(WholeFileValue(File, 64 * 1024), 'A');
	EXPECT_LT(IFileManager::Get().FileSize(*File), 128 * 1024);
	HostFilesTesting::UnmountSmallDisk(Disk);
}
