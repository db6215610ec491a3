// Benchmark of the service client: a large model upload and output download through TarvolineApi against the local
// service, beside curl doing the same transfers against the same service in the same run, and the cost of reading a
// list answer beside the JSON library's own parse of the same text.
//
//   client-bench [--size-mb N] [--runs N] [--flat-mb N] [--sim PATH] [--keep]
//
// --flat-mb N repeats the transfers once with a file of N MiB (1024 or more shows it best) and sets the client's peak
// memory beside the first size's: a client that streams needs no more memory for the larger file.
//
// Each client transfer runs in a child process of its own (this program again, with --phase), so that its peak
// resident memory (VmHWM) is that transfer's alone. Throughput is the file size over the time from the client call to
// its callback; curl's is the file size over its own time_total. Runs alternate which side goes first; the best run of
// each side is reported, and the highest peak memory.

#include "BenchSupport.h"
#include "CoreMinimal.h"
#include "Dom/JsonValue.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Misc/FileHelper.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "TarvolineApi.h"
#include "TarvolineRecords.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using Bench::Clock;
using Bench::SecondsSince;
using Bench::StatusKb;

const char* const Key = "tv_demo_key";

/** CPU seconds (user and system) of this process, or of its waited-for children. */
double CpuSeconds(int Who)
{
	rusage Usage{};
	getrusage(Who, &Usage);
	return static_cast<double>(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
		   static_cast<double>(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

/** Ticks the HTTP manager, as the editor's frame does, until Done holds or the time is up. */
bool PumpUntil(const std::function<bool()>& Done, double TimeoutSeconds = 900.0)
{
	const Clock::time_point Start = Clock::now();
	while (!Done())
	{
		if (SecondsSince(Start) > TimeoutSeconds)
		{
			return false;
		}
		// A frame every millisecond: completions are picked up sooner than an editor's frame would, at little cost.
		FHttpModule::Get().GetHttpManager().Tick(0.001f);
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}
	return true;
}

/** Runs a shell command and returns what it printed; nullopt when it could not run or exited non-zero. */
std::optional<std::string> Capture(const std::string& Command)
{
	FILE* Pipe = popen(Command.c_str(), "r");
	if (Pipe == nullptr)
	{
		return std::nullopt;
	}
	std::string Out;
	char Buffer[4096];
	size_t Read = 0;
	while ((Read = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0)
	{
		Out.append(Buffer, Read);
	}
	const int Status = pclose(Pipe);
	if (Status != 0)
	{
		std::fprintf(stderr, "Command failed (%d): %s\n%s", Status, Command.c_str(), Out.c_str());
		return std::nullopt;
	}
	return Out;
}

std::string Quote(const std::string& Text)
{
	std::string Quoted = "'";
	for (const char Char : Text)
	{
		Quoted += Char == '\'' ? std::string("'\\''") : std::string(1, Char);
	}
	return Quoted + "'";
}

// ---- Child phases: one client transfer each, printing "OK <seconds> <peak kB> <start kB> <CPU seconds> [<seconds
// until UploadModel returned>]" ----

int RunUploadPhase(const std::string& Api, const std::string& File)
{
	setenv("TARVOLINE_API", Api.c_str(), 1);
	const long StartKb = StatusKb("VmRSS");
	bool bDone = false;
	std::string Failure;
	const Clock::time_point Start = Clock::now();
	TarvolineApi::UploadModel(
		UTF8_TO_TCHAR(Key), UTF8_TO_TCHAR(File.c_str()),
		[&bDone](const FTarvolineCharacter&)
		{
			bDone = true;
		},
		[&bDone, &Failure](const FString& Message, int32 Status)
		{
			Failure = std::to_string(Status) + " " + Narrow(Message);
			bDone = true;
		});
	const double Prepared = SecondsSince(Start);
	PumpUntil(
		[&bDone]()
		{
			return bDone;
		});
	const double Seconds = SecondsSince(Start);
	if (!Failure.empty())
	{
		std::printf("FAIL %s\n", Failure.c_str());
		return 1;
	}
	std::printf("OK %.6f %ld %ld %.6f %.6f\n", Seconds, StatusKb("VmHWM"), StartKb, CpuSeconds(RUSAGE_SELF), Prepared);
	return 0;
}

int RunDownloadPhase(const std::string& Url, const std::string& Out)
{
	const long StartKb = StatusKb("VmRSS");
	bool bDone = false;
	std::string Failure;
	const Clock::time_point Start = Clock::now();
	TarvolineApi::DownloadFile(
		UTF8_TO_TCHAR(Url.c_str()), UTF8_TO_TCHAR(Out.c_str()),
		[&bDone]()
		{
			bDone = true;
		},
		[&bDone, &Failure](const FString& Message, int32 Status)
		{
			Failure = std::to_string(Status) + " " + Narrow(Message);
			bDone = true;
		});
	PumpUntil(
		[&bDone]()
		{
			return bDone;
		});
	const double Seconds = SecondsSince(Start);
	if (!Failure.empty())
	{
		std::printf("FAIL %s\n", Failure.c_str());
		return 1;
	}
	std::printf("OK %.6f %ld %ld %.6f\n", Seconds, StatusKb("VmHWM"), StartKb, CpuSeconds(RUSAGE_SELF));
	return 0;
}

// ---- The orchestrating run ----

struct FTransfer
{
	double Seconds = 0.0;
	long PeakKb = 0;
	long StartKb = 0;
	double CpuSeconds = 0.0;
	double PrepareSeconds = 0.0;
};

std::optional<FTransfer> ParseChild(const std::optional<std::string>& Out)
{
	FTransfer Result;
	if (!Out || std::sscanf(Out->c_str(), "OK %lf %ld %ld %lf %lf", &Result.Seconds, &Result.PeakKb, &Result.StartKb,
					&Result.CpuSeconds, &Result.PrepareSeconds) < 4)
	{
		std::fprintf(stderr, "Client phase failed: %s\n", Out ? Out->c_str() : "(did not run)");
		return std::nullopt;
	}
	return Result;
}

std::optional<double> ParseCurl(const std::optional<std::string>& Out, int WantStatus)
{
	int Status = 0;
	double Seconds = 0.0;
	if (!Out || std::sscanf(Out->c_str(), "%d %lf", &Status, &Seconds) != 2 || Status != WantStatus)
	{
		std::fprintf(stderr, "curl failed: %s\n", Out ? Out->c_str() : "(did not run)");
		return std::nullopt;
	}
	return Seconds;
}

bool WriteBigFile(const fs::path& Path, uint64_t Bytes)
{
	// Incompressible bytes, so that nothing on the way can make the transfer cheaper than its size.
	std::ofstream Out(Path, std::ios::binary);
	std::vector<uint64_t> Block(1 << 17);
	uint64_t State = 0x9E3779B97F4A7C15ull;
	for (uint64_t Written = 0; Written < Bytes && Out;)
	{
		for (uint64_t& Word : Block)
		{
			State ^= State << 13;
			State ^= State >> 7;
			State ^= State << 17;
			Word = State;
		}
		const uint64_t Chunk = std::min<uint64_t>(Bytes - Written, Block.size() * sizeof(uint64_t));
		Out.write(reinterpret_cast<const char*>(Block.data()), static_cast<std::streamsize>(Chunk));
		Written += Chunk;
	}
	return static_cast<bool>(Out);
}

/** Makes a ready character and a finished job through the client, and returns the job's fbx link. */
std::optional<std::string> PrepareDownloadLink(const std::string& Api)
{
	setenv("TARVOLINE_API", Api.c_str(), 1);
	const FString ApiKey = UTF8_TO_TCHAR(Key);
	std::string Failure;
	bool bDone = false;
	auto OnError = [&bDone, &Failure](const FString& Message, int32 Status)
	{
		Failure = std::to_string(Status) + " " + Narrow(Message);
		bDone = true;
	};
	auto Wait = [&bDone]()
	{
		const bool bAnswered = PumpUntil(
			[&bDone]()
			{
				return bDone;
			},
			60.0);
		bDone = false;
		return bAnswered;
	};

	FTarvolineCharacter Character;
	TarvolineApi::UploadModel(
		ApiKey, UTF8_TO_TCHAR(TARVOLINE_SOURCE_DIR "/TestData/Models/humanoid_mesh.fbx"),
		[&bDone, &Character](const FTarvolineCharacter& Made)
		{
			Character = Made;
			bDone = true;
		},
		OnError);
	FTarvolineJob Job;
	auto OnJob = [&bDone, &Job](const FTarvolineJob& Read)
	{
		Job = Read;
		bDone = true;
	};
	if (Wait() && Failure.empty())
	{
		TarvolineApi::Generate(ApiKey, TEXT("walk"), Character.Id, OnJob, OnError);
	}
	if (Wait() && Failure.empty())
	{
		TarvolineApi::FetchJob(ApiKey, Job.Id, OnJob, OnError);
	}
	if (!Wait() || !Failure.empty() || Job.Outputs.Num() == 0)
	{
		std::fprintf(stderr, "Could not make a job to download: %s (job status %s)\n", Failure.c_str(),
			Narrow(Job.Status).c_str());
		return std::nullopt;
	}
	return Narrow(Job.Outputs[0].Url);
}

/** A list answer like the service's, of at least MinChars characters. */
FString MakeListAnswer(int32 MinChars, int32& OutRecords)
{
	const char* const Families[] = {"humanoid", "quadruped", "bird", "frog"};
	const char* const Statuses[] = {"ready", "processing", "failed", "pending"};
	std::string Text = "[";
	OutRecords = 0;
	while (static_cast<int32>(Text.size()) < MinChars - 1)
	{
		char Record[256];
		std::snprintf(Record, sizeof Record,
			"%s{\"createdAt\":\"2026-12-06T02:%02d:34Z\",\"family\":\"%s\",\"filename\":\"model_%d.fbx\",\"id\":\"%"
			"016" PRIx64 "\",\"sizeBytes\":%d,\"status\":\"%s\"}",
			OutRecords > 0 ? "," : "", OutRecords % 60, Families[OutRecords % 4], OutRecords,
			static_cast<uint64_t>(0x3f9a2c71d04e8b65ull + OutRecords * 7919ull), 15724 + OutRecords,
			Statuses[OutRecords % 4]);
		Text += Record;
		++OutRecords;
	}
	Text += "]";
	return FString(UTF8_TO_TCHAR(Text.c_str()));
}

/** Best average over batches of Count calls of Work, in microseconds. */
double BestMicroseconds(const std::function<void()>& Work, int Count, int Batches)
{
	double Best = 1e30;
	for (int Batch = 0; Batch < Batches; ++Batch)
	{
		const Clock::time_point Start = Clock::now();
		for (int Index = 0; Index < Count; ++Index)
		{
			Work();
		}
		Best = std::min(Best, SecondsSince(Start) * 1e6 / Count);
	}
	return Best;
}

const char* Verdict(bool bMet)
{
	return bMet ? "met" : "MISSED";
}

/** One direction's figures at one file size: the best client run, its highest peak memory, curl's best run. */
struct FSide
{
	std::optional<FTransfer> Client;
	long PeakKb = 0;
	double CurlSeconds = 1e30;
	double CurlCpuSeconds = 0.0;
};

struct FSizeResult
{
	uint64_t Size = 0;
	FSide Up;
	FSide Down;
};

/**
 * Writes a file of SizeMb MiB in WorkDir, starts a service that serves it as every job's output, and times Runs rounds
 * of the client's upload and download beside curl's on that same file. The file and the downloads are removed after.
 */
std::optional<FSizeResult> MeasureTransfers(
	const std::string& Self, const std::string& SimBinary, const fs::path& WorkDir, uint64_t SizeMb, int Runs)
{
	FSizeResult Result;
	Result.Size = SizeMb * 1024 * 1024;
	const fs::path SizeDir = WorkDir / ("size_" + std::to_string(SizeMb));
	const fs::path BigFile = SizeDir / "big_model.bin";
	const fs::path ModelsDir = SizeDir / "models";
	fs::create_directories(ModelsDir);
	std::printf("Writing a %" PRIu64 " MiB file in %s ...\n", SizeMb, SizeDir.c_str());
	std::fflush(stdout);
	if (!WriteBigFile(BigFile, Result.Size))
	{
		std::fprintf(stderr, "Could not write %s.\n", BigFile.c_str());
		return std::nullopt;
	}
	// Every family's output is the big file, so the job's download link serves it.
	for (const char* Family : {"humanoid", "quadruped", "bird", "frog"})
	{
		fs::create_symlink(BigFile, ModelsDir / (std::string(Family) + "_anim.fbx"));
	}

	bool bFailed = false;
	{
		FBenchSimulator Simulator;
		if (!Simulator.Start(SimBinary, SizeDir,
				{"--models", ModelsDir.string(), "--max-upload-bytes", std::to_string(Result.Size + 64 * 1024 * 1024)}))
		{
			std::fprintf(stderr, "Could not start %s.\n", SimBinary.c_str());
			return std::nullopt;
		}
		const std::optional<std::string> Link = PrepareDownloadLink(Simulator.Url);
		if (!Link)
		{
			return std::nullopt;
		}

		const std::string Forget = "curl -s -o /dev/null -X DELETE " + Quote(Simulator.Url + "/_sim/requests");
		const std::string ClientUpload =
			Quote(Self) + " --phase upload --api " + Quote(Simulator.Url) + " --file " + Quote(BigFile.string());
		const std::string ClientDownload = Quote(Self) + " --phase download --url " + Quote(*Link) + " --out " +
										   Quote((SizeDir / "client_download.fbx").string());
		// curl as a user would run it, less the Expect: 100-continue round trip that the client does not make either.
		const std::string CurlUpload = "curl -s -o /dev/null -w '%{http_code} %{time_total}' -H 'Expect:' -H " +
									   Quote(std::string("Authorization: Bearer ") + Key) + " -F " +
									   Quote("file=@" + BigFile.string()) + " " + Quote(Simulator.Url + "/v1/assets");
		const std::string CurlDownload = "curl -s -w '%{http_code} %{time_total}' -o " +
										 Quote((SizeDir / "curl_download.fbx").string()) + " " + Quote(*Link);

		auto RunClient = [&bFailed](const std::string& Command, FSide& Into)
		{
			const std::optional<FTransfer> Run = ParseChild(Capture(Command));
			if (!Run)
			{
				bFailed = true;
				return;
			}
			Into.PeakKb = std::max(Into.PeakKb, Run->PeakKb);
			Into.Client = (!Into.Client || Run->Seconds < Into.Client->Seconds) ? Run : Into.Client;
		};
		auto RunCurl = [&bFailed](const std::string& Command, FSide& Into)
		{
			const double CpuBefore = CpuSeconds(RUSAGE_CHILDREN);
			const std::optional<double> Seconds = ParseCurl(Capture(Command), 200);
			if (!Seconds)
			{
				bFailed = true;
				return;
			}
			if (*Seconds < Into.CurlSeconds)
			{
				Into.CurlSeconds = *Seconds;
				Into.CurlCpuSeconds = CpuSeconds(RUSAGE_CHILDREN) - CpuBefore;
			}
		};
		for (int Run = 0; Run < Runs && !bFailed; ++Run)
		{
			std::printf("Run %d of %d ...\n", Run + 1, Runs);
			std::fflush(stdout);
			// The recorded upload bodies are dropped after each upload, so the service's memory stays flat.
			for (int Side = 0; Side < 2 && !bFailed; ++Side)
			{
				if ((Side == 0) == (Run % 2 == 0))
				{
					RunClient(ClientUpload, Result.Up);
					Capture(Forget);
					RunClient(ClientDownload, Result.Down);
				}
				else
				{
					RunCurl(CurlUpload, Result.Up);
					Capture(Forget);
					RunCurl(CurlDownload, Result.Down);
				}
			}
		}
		if (!bFailed && (fs::file_size(SizeDir / "client_download.fbx") != Result.Size ||
							fs::file_size(SizeDir / "curl_download.fbx") != Result.Size))
		{
			std::fprintf(stderr, "A download did not write the whole file.\n");
			bFailed = true;
		}
	}
	std::error_code Ignored;
	fs::remove(BigFile, Ignored);
	fs::remove(SizeDir / "client_download.fbx", Ignored);
	fs::remove(SizeDir / "curl_download.fbx", Ignored);
	if (bFailed)
	{
		return std::nullopt;
	}
	return Result;
}

/** Peak resident memory of the client over the file's size: a flat client stays far under the file. */
constexpr double MemoryTarget = 0.25;
/** The client's throughput over curl's on the same file. */
constexpr double ThroughputTarget = 0.9;
/** How much more peak memory a larger file may cost before it counts as growth: allocator noise, not the file. */
constexpr long FlatToleranceKb = 8 * 1024;

void PrintSizeResult(const FSizeResult& Result, int Runs)
{
	const double Mb = static_cast<double>(Result.Size) / (1024.0 * 1024.0);
	std::printf("\nTransfers of %.0f MiB with tarvoline-sim on 127.0.0.1, best of %d runs each\n", Mb, Runs);
	std::printf("%-9s %8s %8s %13s %13s %17s %14s\n", "", "client", "curl", "client/curl", "CPU s", "client peak RSS",
		"start RSS");
	std::printf(
		"%-9s %8s %8s %13s %13s %17s %14s\n", "", "MiB/s", "MiB/s", "(>= 0.90)", "client/curl", "/ file size", "");
	for (const bool bUpload : {true, false})
	{
		const FSide& Side = bUpload ? Result.Up : Result.Down;
		const double Ratio = Side.CurlSeconds / Side.Client->Seconds;
		const double Memory = Side.PeakKb * 1024.0 / static_cast<double>(Result.Size);
		char Cpu[32];
		std::snprintf(Cpu, sizeof Cpu, "%.2f/%.2f", Side.Client->CpuSeconds, Side.CurlCpuSeconds);
		std::printf("%-9s %8.1f %8.1f %6.2f %-6s %13s %7.3fx %-6s %6.0f MiB   (peak %.1f MiB)\n",
			bUpload ? "upload" : "download", Mb / Side.Client->Seconds, Mb / Side.CurlSeconds, Ratio,
			Verdict(Ratio >= ThroughputTarget), Cpu, Memory, Verdict(Memory < MemoryTarget),
			Side.Client->StartKb / 1024.0, Side.PeakKb / 1024.0);
	}
	std::printf("Peak RSS target: under %.2fx the file size both ways. Of the best client upload's %.2f s, %.2f s went "
				"to preparing the request before UploadModel returned.\n",
		MemoryTarget, Result.Up.Client->Seconds, Result.Up.Client->PrepareSeconds);
}

int Orchestrate(
	const std::string& Self, const std::string& SimBinary, uint64_t SizeMb, int Runs, uint64_t FlatMb, bool bKeep)
{
	char Template[] = "/tmp/tarvoline-bench-XXXXXX";
	if (mkdtemp(Template) == nullptr)
	{
		std::fprintf(stderr, "Could not make a scratch directory.\n");
		return 2;
	}
	const fs::path WorkDir(Template);
	const uint64_t Size = SizeMb * 1024 * 1024;
	double Load[3] = {0.0, 0.0, 0.0};
	if (getloadavg(Load, 3) == 3)
	{
		std::printf("Load average before the run: %.2f %.2f %.2f\n", Load[0], Load[1], Load[2]);
	}

	int Result = 0;
	const std::optional<FSizeResult> Main = MeasureTransfers(Self, SimBinary, WorkDir, SizeMb, Runs);
	if (!Main)
	{
		Result = 1;
	}
	else
	{
		PrintSizeResult(*Main, Runs);
	}

	if (Result == 0 && FlatMb > 0)
	{
		// The same transfers with a much larger file, once: a client that streams needs no more memory for it.
		const std::optional<FSizeResult> Large = MeasureTransfers(Self, SimBinary, WorkDir, FlatMb, 1);
		if (!Large)
		{
			Result = 1;
		}
		else
		{
			PrintSizeResult(*Large, 1);
			std::printf("\nMemory against file size (client peak RSS, MiB):\n");
			std::printf("%-9s %12s %12s %10s\n", "", (std::to_string(SizeMb) + " MiB").c_str(),
				(std::to_string(FlatMb) + " MiB").c_str(), "growth");
			for (const bool bUpload : {true, false})
			{
				const long Small = (bUpload ? Main->Up : Main->Down).PeakKb;
				const long Big = (bUpload ? Large->Up : Large->Down).PeakKb;
				std::printf("%-9s %12.1f %12.1f %+9.1f %s\n", bUpload ? "upload" : "download", Small / 1024.0,
					Big / 1024.0, (Big - Small) / 1024.0, Verdict(Big - Small <= FlatToleranceKb));
			}
			std::printf("Flat: the larger file may cost at most %ld MiB more peak memory.\n", FlatToleranceKb / 1024);
		}
	}
	if (getloadavg(Load, 3) == 3)
	{
		std::printf("Load average after the run: %.2f %.2f %.2f\n", Load[0], Load[1], Load[2]);
	}

	if (Result == 0)
	{
		// How much of a download is the file write alone: the engine's file helper beside a plain write of the same
		// bytes that leaves them in the page cache, as curl's -o does.
		TArray<uint8> Bytes;
		Bytes.SetNumUninitialized(static_cast<int32>(Size));
		std::memset(Bytes.GetData(), 0x5A, Bytes.Num());
		const fs::path Target = WorkDir / "write_test.bin";
		const Clock::time_point HelperStart = Clock::now();
		const bool bWritten = FFileHelper::SaveArrayToFile(Bytes, UTF8_TO_TCHAR(Target.c_str()));
		const double HelperSeconds = SecondsSince(HelperStart);
		fs::remove(Target);
		const Clock::time_point PlainStart = Clock::now();
		{
			std::ofstream Plain(Target, std::ios::binary);
			Plain.write(reinterpret_cast<const char*>(Bytes.GetData()), Bytes.Num());
		}
		const double PlainSeconds = SecondsSince(PlainStart);
		fs::remove(Target);
		std::printf("Writing the %" PRIu64
					" MiB file alone: %.2f s with FFileHelper::SaveArrayToFile%s, %.2f s with a plain write.\n",
			SizeMb, HelperSeconds, bWritten ? "" : " (failed)", PlainSeconds);
	}

	if (Result == 0)
	{
		int32 Records = 0;
		const FString Answer = MakeListAnswer(10000, Records);
		int32 Read = 0;
		const double ClientUs = BestMicroseconds(
			[&Answer, &Read]()
			{
				// What the client does with a list answer's text: parse it, then read the records.
				TSharedPtr<FJsonValue> Value;
				FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Answer), Value);
				Read = TarvolineApi::ReadCharacterList(Value).Num();
			},
			500, 9);
		const double ParseUs = BestMicroseconds(
			[&Answer]()
			{
				TSharedPtr<FJsonValue> Value;
				FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Answer), Value);
			},
			500, 9);
		const double Ratio = ClientUs / ParseUs;
		std::printf(
			"\nList answer of %d characters (%d records, %d read): client read %.1f us, JSON parse alone %.1f us, "
			"ratio %.2f %s (target at most 2.0)\n",
			Answer.Len(), Records, Read, ClientUs, ParseUs, Ratio, Verdict(Ratio <= 2.0));
	}

	if (bKeep)
	{
		std::printf("Kept %s\n", WorkDir.c_str());
	}
	else
	{
		std::error_code Ignored;
		fs::remove_all(WorkDir, Ignored);
	}
	return Result;
}
} // namespace

int main(int Argc, char** Argv)
{
	std::string Phase;
	std::string Api;
	std::string File;
	std::string Url;
	std::string Out;
	std::string SimBinary = TARVOLINE_SIM_PATH;
	uint64_t SizeMb = 256;
	uint64_t FlatMb = 0;
	int Runs = 3;
	bool bKeep = false;
	for (int Index = 1; Index < Argc; ++Index)
	{
		const std::string Arg = Argv[Index];
		const bool bHasValue = Index + 1 < Argc;
		if (Arg == "--phase" && bHasValue)
		{
			Phase = Argv[++Index];
		}
		else if (Arg == "--api" && bHasValue)
		{
			Api = Argv[++Index];
		}
		else if (Arg == "--file" && bHasValue)
		{
			File = Argv[++Index];
		}
		else if (Arg == "--url" && bHasValue)
		{
			Url = Argv[++Index];
		}
		else if (Arg == "--out" && bHasValue)
		{
			Out = Argv[++Index];
		}
		else if (Arg == "--sim" && bHasValue)
		{
			SimBinary = Argv[++Index];
		}
		else if (Arg == "--size-mb" && bHasValue)
		{
			SizeMb = std::strtoull(Argv[++Index], nullptr, 10);
		}
		else if (Arg == "--flat-mb" && bHasValue)
		{
			FlatMb = std::strtoull(Argv[++Index], nullptr, 10);
		}
		else if (Arg == "--runs" && bHasValue)
		{
			Runs = std::max(1, std::atoi(Argv[++Index]));
		}
		else if (Arg == "--keep")
		{
			bKeep = true;
		}
		else
		{
			std::fprintf(stderr, "usage: client-bench [--size-mb N] [--runs N] [--flat-mb N] [--sim PATH] [--keep]\n");
			return 2;
		}
	}

	if (Phase == "upload")
	{
		return RunUploadPhase(Api, File);
	}
	if (Phase == "download")
	{
		return RunDownloadPhase(Url, Out);
	}
	const std::string Self = fs::canonical("/proc/self/exe").string();
	return Orchestrate(Self, SimBinary, SizeMb, Runs, FlatMb, bKeep);
}
