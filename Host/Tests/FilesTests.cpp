// Tests of whole-file reads and writes and of the file manager: contents and encodings round-trip, a missing file
// reads as false with a warning, and a write that fails or is refused leaves the existing file as it was.
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HostTestSupport.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDevice.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
using HostTest::FTempDir;
using HostTest::Utf8;

/** Collects warnings and errors written to the log while it lives. */
class FWarningCapture final : public FOutputDevice
{
public:
	FWarningCapture() { GLog->AddOutputDevice(this); }
	~FWarningCapture() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		if ((Verbosity & ELogVerbosity::VerbosityMask) <= ELogVerbosity::Warning)
		{
			Lines.push_back(Utf8(Category.ToString() + TEXT(": ") + V));
		}
	}
	std::vector<std::string> Lines;
};

std::vector<uint8> Bytes(const FString& Filename)
{
	TArray<uint8> Data;
	FFileHelper::LoadFileToArray(Data, *Filename);
	return std::vector<uint8>(Data.begin(), Data.end());
}

std::vector<uint8> Bytes(std::initializer_list<int> Values)
{
	std::vector<uint8> Result;
	for (int Value : Values)
	{
		Result.push_back((uint8)Value);
	}
	return Result;
}

std::vector<std::string> Entries(const FString& Dir)
{
	TArray<FString> Names;
	IFileManager::Get().FindFiles(Names, *(Dir / TEXT("*")), true, true);
	std::vector<std::string> Result;
	for (const FString& Name : Names)
	{
		Result.push_back(Utf8(Name));
	}
	return Result;
}

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
} // namespace

TEST(FileHelper, BytesRoundTripAndReplace)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("New/Dirs/model.bin");
	TArray<uint8> Written;
	for (int32 Index = 0; Index < 70000; ++Index)
	{
		Written.Add((uint8)(Index * 7));
	}
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Written, *File));

	TArray<uint8> Read;
	Read.SetNum(100000);
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Read, *File));
	EXPECT_TRUE(Read == Written);
	EXPECT_EQ(IFileManager::Get().FileSize(*File), 70000);

	// Replacing a file leaves nothing else behind, and an empty array makes an empty file.
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(TArray<uint8>(), *File));
	EXPECT_EQ(IFileManager::Get().FileSize(*File), 0);
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Read, *File));
	EXPECT_EQ(Read.Num(), 0);
	EXPECT_EQ(Entries(FPaths::GetPath(File)), std::vector<std::string>{"model.bin"});
}

TEST(FileHelper, MissingFileReadsAsFalseWithAWarning)
{
	FTempDir Temp;
	const FString Missing = Temp.Path + TEXT("missing.fbx");
	TArray<uint8> Data;
	Data.Add(1);
	{
		FWarningCapture Capture;
		EXPECT_FALSE(FFileHelper::LoadFileToArray(Data, *Missing));
		ASSERT_EQ(Capture.Lines.size(), 1u);
		EXPECT_NE(Capture.Lines[0].find("missing.fbx"), std::string::npos);
	}
	{
		FWarningCapture Capture;
		EXPECT_FALSE(FFileHelper::LoadFileToArray(Data, *Missing, FILEREAD_Silent));
		FString Text;
		EXPECT_FALSE(FFileHelper::LoadFileToString(Text, *Temp.Path, FFileHelper::EHashOptions::None, FILEREAD_Silent));
		EXPECT_TRUE(Capture.Lines.empty());
	}
	EXPECT_EQ(IFileManager::Get().FileSize(*Missing), INDEX_NONE);
	EXPECT_EQ(IFileManager::Get().FileSize(*Temp.Path), INDEX_NONE);
}

TEST(FileHelper, TextEncodings)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("text.txt");
	const FString Ascii = TEXT("plain text\n");
	const FString Wide = TEXT("Grüße 🦊");

	ASSERT_TRUE(FFileHelper::SaveStringToFile(Ascii, *File));
	EXPECT_EQ(Bytes(File), std::vector<uint8>(Ascii.begin(), Ascii.end()));

	// Once a character is not ASCII, AutoDetect writes UTF-16 with a byte-order mark.
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Wide, *File));
	EXPECT_EQ(
		Bytes(File), Bytes({0xFF, 0xFE, 'G', 0, 'r', 0, 0xFC, 0, 0xDF, 0, 'e', 0, ' ', 0, 0x3E, 0xD8, 0x8A, 0xDD}));
	FString Read;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Read, *File));
	EXPECT_TRUE(Read.Equals(Wide));

	ASSERT_TRUE(FFileHelper::SaveStringToFile(Wide, *File, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM));
	EXPECT_EQ(Bytes(File), Bytes({'G', 'r', 0xC3, 0xBC, 0xC3, 0x9F, 'e', ' ', 0xF0, 0x9F, 0xA6, 0x8A}));
	ASSERT_TRUE(FFileHelper::LoadFileToString(Read, *File));
	EXPECT_TRUE(Read.Equals(Wide));

	ASSERT_TRUE(FFileHelper::SaveStringToFile(Wide, *File, FFileHelper::EEncodingOptions::ForceUTF8));
	EXPECT_EQ(Bytes(File)[0], 0xEF);
	ASSERT_TRUE(FFileHelper::LoadFileToString(Read, *File));
	EXPECT_TRUE(Read.Equals(Wide));

	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("one\r\ntwo\n\nfour\n"), *File));
	TArray<FString> Lines;
	ASSERT_TRUE(FFileHelper::LoadFileToStringArray(Lines, *File));
	EXPECT_EQ(Utf8(FString::Join(Lines, TEXT("|"))), "one|two||four");
}

TEST(FileHelper, LargeFileLoadsIntoOneAllocation)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("large.bin");
	const int64 Size = 512ll * 1024 * 1024 + 3;
	{
		// A sparse file: only the marked bytes take space on disk.
		const int Descriptor = open(TCHAR_TO_UTF8(*File), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		ASSERT_GE(Descriptor, 0);
		ASSERT_EQ(ftruncate(Descriptor, Size), 0);
		const uint8 Marks[3] = {0x11, 0x22, 0x33};
		ASSERT_EQ(pwrite(Descriptor, &Marks[0], 1, 0), 1);
		ASSERT_EQ(pwrite(Descriptor, &Marks[1], 1, Size / 2), 1);
		ASSERT_EQ(pwrite(Descriptor, &Marks[2], 1, Size - 1), 1);
		close(Descriptor);
	}
	TArray<uint8> Data;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Data, *File));
	ASSERT_EQ((int64)Data.Num(), Size);
	// Sized from the file's length up front: no growth, no slack.
	EXPECT_EQ(Data.Max(), Data.Num());
	EXPECT_EQ(Data[0], 0x11);
	EXPECT_EQ(Data[(int32)(Size / 2)], 0x22);
	EXPECT_EQ(Data[(int32)(Size - 1)], 0x33);
	EXPECT_EQ(Data[1], 0);
}

TEST(FileHelper, WritesInPlaceAsTheEngineDoes)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("model.fbx");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("the old content"), *File));

	// A write that fails part-way has already emptied the file and left what it wrote (no temporary file, as in the
	// engine), and says so with an Error of the file manager unless it is silent.
	TArray<uint8> Big;
	Big.Init('x', 256 * 1024);
	{
		FWarningCapture Capture;
		FFileSizeLimit Limit(16 * 1024);
		EXPECT_FALSE(FFileHelper::SaveArrayToFile(Big, *File));
		ASSERT_EQ(Capture.Lines.size(), 1u);
		EXPECT_EQ(Capture.Lines[0].rfind("LogFileManager: Error writing to file: ", 0), 0u) << Capture.Lines[0];
	}
	EXPECT_EQ(IFileManager::Get().FileSize(*File), 16 * 1024);
	EXPECT_EQ(Entries(Temp.Path), std::vector<std::string>{"model.fbx"});
	{
		FWarningCapture Capture;
		FFileSizeLimit Limit(1024);
		EXPECT_FALSE(FFileHelper::SaveArrayToFile(Big, *File, &IFileManager::Get(), FILEWRITE_Silent));
		EXPECT_TRUE(Capture.Lines.empty());
	}
	EXPECT_EQ(IFileManager::Get().FileSize(*File), 1024);

	// A new file gets the process's default permissions: 0664 less the umask.
	const mode_t Mask = umask(022);
	umask(Mask);
	const FString Fresh = Temp.Path + TEXT("fresh.bin");
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Big, *Fresh));
	struct stat Info;
	ASSERT_EQ(stat(TCHAR_TO_UTF8(*Fresh), &Info), 0);
	EXPECT_EQ(Info.st_mode & 0777, 0664u & ~(unsigned)Mask);
}

TEST(FileHelper, RefusedWritesKeepTheExistingFile)
{
	FTempDir Temp;
	const FString File = Temp.Path + TEXT("model.fbx");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("the old content"), *File));
	FString Text;
	EXPECT_FALSE(FFileHelper::SaveStringToFile(TEXT("new"), *File, FFileHelper::EEncodingOptions::AutoDetect,
		&IFileManager::Get(), FILEWRITE_NoReplaceExisting | FILEWRITE_Silent));
	chmod(TCHAR_TO_UTF8(*File), 0444);
	EXPECT_FALSE(FFileHelper::SaveStringToFile(
		TEXT("new"), *File, FFileHelper::EEncodingOptions::AutoDetect, &IFileManager::Get(), FILEWRITE_Silent));
	ASSERT_TRUE(FFileHelper::LoadFileToString(Text, *File));
	EXPECT_EQ(Utf8(Text), "the old content");
	// Even if read-only: as the engine does, the file stops being read-only first.
	EXPECT_TRUE(FFileHelper::SaveStringToFile(
		TEXT("new"), *File, FFileHelper::EEncodingOptions::AutoDetect, &IFileManager::Get(), FILEWRITE_EvenIfReadOnly));
	ASSERT_TRUE(FFileHelper::LoadFileToString(Text, *File));
	EXPECT_EQ(Utf8(Text), "new");
	struct stat Info;
	ASSERT_EQ(stat(TCHAR_TO_UTF8(*File), &Info), 0);
	EXPECT_EQ(Info.st_mode & 0777, 0644u);

	// A directory in the way is never replaced; appending adds to the end.
	EXPECT_FALSE(FFileHelper::SaveStringToFile(
		TEXT("x"), *Temp.Path, FFileHelper::EEncodingOptions::AutoDetect, &IFileManager::Get(), FILEWRITE_Silent));
	const FString Log = Temp.Path + TEXT("log.txt");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("one\n"), *Log));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(
		TEXT("two\n"), *Log, FFileHelper::EEncodingOptions::AutoDetect, &IFileManager::Get(), FILEWRITE_Append));
	ASSERT_TRUE(FFileHelper::LoadFileToString(Text, *Log));
	EXPECT_EQ(Utf8(Text), "one\ntwo\n");
}

TEST(FileManager, DirectoriesMovesCopiesAndDeletes)
{
	FTempDir Temp;
	IFileManager& Files = IFileManager::Get();
	const FString Deep = Temp.Path + TEXT("a/b/c");
	EXPECT_FALSE(Files.MakeDirectory(*Deep));
	EXPECT_TRUE(Files.MakeDirectory(*Deep, true));
	EXPECT_TRUE(Files.DirectoryExists(*Deep));
	EXPECT_TRUE(Files.MakeDirectory(*Deep, true));

	const FString Source = Temp.Path + TEXT("source.fbx");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("model"), *Source));
	// The destination comes first.
	const FString Moved = Temp.Path + TEXT("moved/here/model.fbx");
	ASSERT_TRUE(Files.Move(*Moved, *Source));
	EXPECT_FALSE(Files.FileExists(*Source));
	EXPECT_EQ(Files.FileSize(*Moved), 5);

	const FString Copied = Temp.Path + TEXT("copy.fbx");
	EXPECT_EQ(Files.Copy(*Copied, *Moved), (uint32)COPY_OK);
	EXPECT_EQ(Files.Copy(*Copied, *Source), (uint32)COPY_Fail);
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("other"), *Source));
	EXPECT_FALSE(Files.Move(*Copied, *Source, false));
	EXPECT_TRUE(Files.FileExists(*Source));
	EXPECT_EQ(Files.Copy(*Copied, *Source, false), (uint32)COPY_Fail);
	FString Text;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Text, *Copied));
	EXPECT_EQ(Utf8(Text), "model");

	EXPECT_TRUE(Files.Delete(*(Temp.Path + TEXT("never.txt"))));
	EXPECT_FALSE(Files.Delete(*(Temp.Path + TEXT("never.txt")), true));
	chmod(TCHAR_TO_UTF8(*Copied), 0444);
	EXPECT_TRUE(Files.IsReadOnly(*Copied));
	EXPECT_FALSE(Files.Delete(*Copied, false, false, true));
	EXPECT_TRUE(Files.Delete(*Copied, true, true));
	EXPECT_FALSE(Files.FileExists(*Copied));

	EXPECT_FALSE(Files.DeleteDirectory(*(Temp.Path + TEXT("a"))));
	EXPECT_TRUE(Files.DeleteDirectory(*(Temp.Path + TEXT("a")), true, true));
	EXPECT_FALSE(Files.DirectoryExists(*(Temp.Path + TEXT("a"))));
	EXPECT_TRUE(Files.DeleteDirectory(*(Temp.Path + TEXT("a"))));
	EXPECT_FALSE(Files.DeleteDirectory(*(Temp.Path + TEXT("a")), true));
}

TEST(FileManager, FindsFilesByWildcard)
{
	FTempDir Temp;
	IFileManager& Files = IFileManager::Get();
	for (const TCHAR* Name : {TEXT("walk.fbx"), TEXT("Run.FBX"), TEXT("notes.txt"), TEXT("sub/deep.fbx"),
			 TEXT("sub/more/deeper.fbx"), TEXT("sub/readme")})
	{
		ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("x"), *(Temp.Path + Name)));
	}
	TArray<FString> Found;
	Files.FindFiles(Found, *(Temp.Path + TEXT("*.fbx")), true, false);
	EXPECT_EQ(Utf8(FString::Join(Found, TEXT(","))), "Run.FBX,walk.fbx");
	// Found names are added to what the array holds.
	Files.FindFiles(Found, *(Temp.Path + TEXT("*")), false, true);
	EXPECT_EQ(Utf8(FString::Join(Found, TEXT(","))), "Run.FBX,walk.fbx,sub");

	Found.Empty();
	Files.FindFiles(Found, *Temp.Path, TEXT(".txt"));
	EXPECT_EQ(Utf8(FString::Join(Found, TEXT(","))), "notes.txt");
	Found.Empty();
	Files.FindFiles(Found, *(Temp.Path + TEXT("sub")), nullptr);
	EXPECT_EQ(Utf8(FString::Join(Found, TEXT(","))), "deep.fbx,readme");

	Files.FindFilesRecursive(Found, *(Temp.Path + TEXT("sub")), TEXT("*.fbx"), true, false);
	ASSERT_EQ(Found.Num(), 2);
	EXPECT_EQ(Utf8(Found[0]), Utf8(Temp.Path + TEXT("sub/deep.fbx")));
	EXPECT_EQ(Utf8(Found[1]), Utf8(Temp.Path + TEXT("sub/more/deeper.fbx")));

	int32 Visited = 0;
	EXPECT_TRUE(Files.IterateDirectoryRecursively(*Temp.Path,
		[&Visited](const TCHAR*, bool)
		{
			return ++Visited, true;
		}));
	EXPECT_EQ(Visited, 8);
}
