// Small memory disks for tests (a tmpfs of a given size, optionally remounted read-only) and a writer killed mid-write.
#include "HostFilesTesting.h"
#include "Containers/StringConv.h"
#include "HAL/FileManager.h"
#include "Misc/Paths.h"
#include <cstdio>
#include <string>
#include <chrono>
#include <csignal>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
std::string Native(const FString& Dir)
{
	return std::string(TCHAR_TO_UTF8(*Dir));
}
} // namespace

bool HostFilesTesting::MountSmallDisk(const FString& Dir, int32 SizeKiB)
{
	IFileManager::Get().MakeDirectory(*Dir, true);
	const std::string Options = "size=" + std::to_string(SizeKiB) + "k,mode=0755";
	return mount("tmpfs", Native(Dir).c_str(), "tmpfs", 0, Options.c_str()) == 0;
}

bool HostFilesTesting::MakeDiskReadOnly(const FString& Dir)
{
	return mount("tmpfs", Native(Dir).c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void HostFilesTesting::FillDisk(const FString& Dir)
{
	const std::string Filler = Native(Dir / TEXT("filler"));
	std::FILE* File = std::fopen(Filler.c_str(), "wb");
	if (File == nullptr)
	{
		return;
	}
	const std::vector<char> Block(4096, 'f');
	while (std::fwrite(Block.data(), 1, Block.size(), File) == Block.size() && std::fflush(File) == 0)
	{
	}
	std::fclose(File);
}

void HostFilesTesting::UnmountSmallDisk(const FString& Dir)
{
	umount2(Native(Dir).c_str(), MNT_DETACH);
}

bool HostFilesTesting::KillWriterAfter(int32 DelayMs, TFunction<void(int32 Round)> Writer)
{
	int Pipe[2];
	if (pipe(Pipe) != 0)
	{
		return false;
	}
	const pid_t Child = fork();
	if (Child < 0)
	{
		close(Pipe[0]);
		close(Pipe[1]);
		return false;
	}
	if (Child == 0)
	{
		close(Pipe[0]);
		const char Ready = 'r';
		(void)!write(Pipe[1], &Ready, 1);
		for (int32 Round = 0;; ++Round)
		{
			Writer(Round);
		}
	}
	close(Pipe[1]);
	char Ready = 0;
	const bool bStarted = read(Pipe[0], &Ready, 1) == 1;
	close(Pipe[0]);
	if (bStarted)
	{
		std::this_thread::sleep_for(std::chrono::milliseconds(DelayMs));
	}
	kill(Child, SIGKILL);
	int Status = 0;
	return waitpid(Child, &Status, 0) == Child && bStarted && WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL;
}
