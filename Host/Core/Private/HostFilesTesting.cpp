// Small memory disks for tests: a tmpfs of a given size, optionally remounted read-only.
#include "HostFilesTesting.h"
#include "Containers/StringConv.h"
#include "HAL/FileManager.h"
#include "Misc/Paths.h"
#include <cstdio>
#include <string>
#include <sys/mount.h>
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
