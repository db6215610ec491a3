// Automation tests of the archives that carry large transfers: the upload body read in pieces from the model file,
// sizes past 2 GiB included. What goes on the wire is checked against the local service in TarvolineClientTests.

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "TarvolineDownloadArchive.h"
#include "TarvolineTestHelpers.h"
#include "TarvolineUploadArchive.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineTransferTest
{
TArray<uint8> Bytes(const char* Text)
{
	return TArray<uint8>(reinterpret_cast<const uint8*>(Text), FCStringAnsi::Strlen(Text));
}

/** Reads Length bytes of the archive from Offset. */
TArray<uint8> ReadAt(FArchive& Archive, int64 Offset, int32 Length)
{
	TArray<uint8> Out;
	Out.SetNumZeroed(Length);
	Archive.Seek(Offset);
	Archive.Serialize(Out.GetData(), Length);
	return Out;
}
} // namespace TarvolineTransferTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineUploadArchiveTest, "Tarvoline.Client.UploadArchive",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineUploadArchiveTest::RunTest(const FString&)
{
	using namespace TarvolineTransferTest;
	const FString Dir = TarvolineTest::MakeScratchDir(TEXT("TarvolineTransferTests"));

	// A model just past 2 GiB, written as a sparse file: one byte at its very end, so that the disk holds almost
	// nothing. Every size and position of the body must be counted in 64 bits.
	const FString Large = Dir / TEXT("large.glb");
	const int64 LargeSize = (int64(1) << 31) + 4097;
	{
		FArchive* Writer = IFileManager::Get().CreateFileWriter(*Large);
		if (!TestNotNull(TEXT("large file made"), Writer))
		{
			return false;
		}
		Writer->Seek(LargeSize - 1);
		uint8 Last = 'Z';
		Writer->Serialize(&Last, 1);
		TestTrue(TEXT("large file written"), Writer->Close());
		delete Writer;
	}
	{
		FTarvolineUploadArchive Body(Large, Bytes("head|"), Bytes("|tail"));
		TestTrue(TEXT("large file opened"), Body.IsOpen());
		TestEqual(TEXT("body size past 2 GiB"), Body.TotalSize(), LargeSize + 10);
		// Across the head into the file, and across the file's last byte into the closing line.
		TestTrue(TEXT("head then file"), ReadAt(Body, 2, 5) == TArray<uint8>({'a', 'd', '|', 0, 0}));
		TestTrue(TEXT("file end then tail"), ReadAt(Body, LargeSize + 3, 4) == TArray<uint8>({0, 'Z', '|', 't'}));
		TestEqual(TEXT("position after the read"), Body.Tell(), LargeSize + 7);
		TestFalse(TEXT("no error reading inside the body"), Body.IsError());
		// Reading past the end is an error, never a read out of bounds.
		uint8 Past[8];
		Body.Seek(Body.TotalSize() - 2);
		Body.Serialize(Past, 8);
		TestTrue(TEXT("a read past the end fails"), Body.IsError());
		TestFalse(TEXT("and Close says so"), Body.Close());
	}
	IFileManager::Get().Delete(*Large);

	// A file that shrank after it was opened: the body it sends is not the model, and the archive says so.
	const FString Shrinking = Dir / TEXT("shrinking.fbx");
	FFileHelper::SaveStringToFile(TEXT("0123456789"), *Shrinking);
	{
		FTarvolineUploadArchive Body(Shrinking, Bytes("h"), Bytes("t"));
		TestEqual(TEXT("body size"), Body.TotalSize(), int64(12));
		FFileHelper::SaveStringToFile(TEXT("01"), *Shrinking);
		ReadAt(Body, 0, 12);
		TestTrue(TEXT("a short read is an error"), Body.IsError());
	}

	// Neither a missing file nor a folder can be sent.
	TestFalse(TEXT("missing file"), FTarvolineUploadArchive(Dir / TEXT("absent.fbx"), Bytes("h"), Bytes("t")).IsOpen());
	TestFalse(TEXT("a folder"), FTarvolineUploadArchive(Dir, Bytes("h"), Bytes("t")).IsOpen());
	IFileManager::Get().DeleteDirectory(*Dir, false, true);
	return true;
}

#endif
