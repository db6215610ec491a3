// End-to-end tests of the check commandlet. Each test runs `HostEditor-Cmd <project> -run=TarvolineCheck ...` in a
// process of its own, as a developer runs it, in a fresh copy of the sample project (under a directory whose name
// holds a blank) and against a local service of its own. The service runs at time scale 0, so a rig or job is done at
// its first poll and a whole road costs the commandlet's own pauses (3.0 s before the rig poll, 2.5 s before the job
// poll) and little more. The CHECK lines are compared whole and in order, from "LogTarvolineCheck: " on; the
// service's request log tells what reached it.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <nlohmann/json.hpp>
#include <strings.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace
{
const fs::path SourceDir = TARVOLINE_SOURCE_DIR;
const fs::path ModelsDir = SourceDir / "TestData" / "Models";
const std::string LinePrefix = "LogTarvolineCheck: ";
const std::string UsageLine =
	"LogTarvolineCheck: Error: usage: -run=TarvolineCheck -Key=tv_... -Model=<file> -Prompt=\"...\" [-Family=quadruped]";
const std::string MissingClipSentence = "The FBX was imported but no animation clip was found in it.";

std::string ReadFile(const fs::path& Path)
{
	std::ifstream In(Path, std::ios::binary);
	std::ostringstream Bytes;
	Bytes << In.rdbuf();
	return Bytes.str();
}

// ---- the local service ----------------------------------------------------------------------------------------

struct FHttpAnswer
{
	int Status = 0;
	std::string Body;
};

std::string DecodeChunked(const std::string& Body)
{
	std::string Out;
	size_t At = 0;
	while (At < Body.size())
	{
		const size_t LineEnd = Body.find("\r\n", At);
		if (LineEnd == std::string::npos)
		{
			break;
		}
		const size_t Size = std::stoul(Body.substr(At, LineEnd - At), nullptr, 16);
		if (Size == 0)
		{
			break;
		}
		Out += Body.substr(LineEnd + 2, Size);
		At = LineEnd + 2 + Size + 2;
	}
	return Out;
}

/** One exchange with the service on loopback; "Connection: close", so the answer ends with the stream. */
FHttpAnswer Http(int Port, const std::string& Method, const std::string& Target, const std::string& Body = "")
{
	FHttpAnswer Answer;
	const int Socket = socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in Address{};
	Address.sin_family = AF_INET;
	Address.sin_port = htons(static_cast<uint16_t>(Port));
	Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	if (Socket < 0 || connect(Socket, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address)) != 0)
	{
		if (Socket >= 0)
		{
			close(Socket);
		}
		return Answer;
	}
	std::string Request = Method + " " + Target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(Port) +
		"\r\nConnection: close\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(Body.size()) +
		"\r\n\r\n" + Body;
	for (size_t Sent = 0; Sent < Request.size();)
	{
		const ssize_t Count = send(Socket, Request.data() + Sent, Request.size() - Sent, MSG_NOSIGNAL);
		if (Count <= 0)
		{
			close(Socket);
			return Answer;
		}
		Sent += static_cast<size_t>(Count);
	}
	std::string Raw;
	char Buffer[65536];
	for (ssize_t Count; (Count = recv(Socket, Buffer, sizeof(Buffer), 0)) > 0;)
	{
		Raw.append(Buffer, static_cast<size_t>(Count));
	}
	close(Socket);

	const size_t HeadEnd = Raw.find("\r\n\r\n");
	if (Raw.rfind("HTTP/1.", 0) != 0 || HeadEnd == std::string::npos)
	{
		return Answer;
	}
	Answer.Status = std::atoi(Raw.c_str() + Raw.find(' ') + 1);
	std::string Head = Raw.substr(0, HeadEnd);
	for (char& Char : Head)
	{
		Char = static_cast<char>(std::tolower(static_cast<unsigned char>(Char)));
	}
	Answer.Body = Raw.substr(HeadEnd + 4);
	if (Head.find("transfer-encoding: chunked") != std::string::npos)
	{
		Answer.Body = DecodeChunked(Answer.Body);
	}
	return Answer;
}

std::string DecodeBase64(const std::string& Text)
{
	std::string Bytes;
	unsigned Bits = 0;
	int BitCount = 0;
	for (const char Char : Text)
	{
		const char* const Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
		const char* const Found = Char != '\0' ? std::strchr(Alphabet, Char) : nullptr;
		if (Found == nullptr)
		{
			continue;
		}
		Bits = (Bits << 6) | static_cast<unsigned>(Found - Alphabet);
		BitCount += 6;
		if (BitCount >= 8)
		{
			BitCount -= 8;
			Bytes += static_cast<char>((Bits >> BitCount) & 0xFF);
		}
	}
	return Bytes;
}

/** One API request as the service recorded it. */
struct FRecorded
{
	std::string Method;
	std::string Path;
	int Status = 0;
	/** When the service received it, in seconds of the wall clock. */
	double Time = 0.0;
	std::string Authorization;
	std::string Body;

	std::string Line() const { return Method + " " + Path; }
};

/** The local service, started on a free port for one test and stopped with it. */
class FSimulator
{
public:
	~FSimulator() { Stop(); }

	bool Start(const fs::path& WorkDir)
	{
		const fs::path PortFile = WorkDir / "sim.port";
		LogFile = WorkDir / "sim.log";
		const std::string DataDir = (WorkDir / "sim-data").string();
		Pid = fork();
		if (Pid == 0)
		{
			execl(TARVOLINE_SIM, TARVOLINE_SIM, "--port", "0", "--port-file", PortFile.c_str(), "--data", DataDir.c_str(),
				"--time-scale", "0", "--allow-control", "--log-file", LogFile.c_str(), static_cast<char*>(nullptr));
			_exit(127);
		}
		// Start-up takes milliseconds; the long bound only keeps a broken service from hanging the test.
		for (int Attempt = 0; Pid > 0 && Attempt < 3000; ++Attempt)
		{
			std::ifstream In(PortFile);
			if (In >> Port && Port > 0)
			{
				return true;
			}
			int Status = 0;
			if (waitpid(Pid, &Status, WNOHANG) == Pid)
			{
				Pid = -1;
				break;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
		}
		return false;
	}

	void Stop()
	{
		if (Pid > 0)
		{
			kill(Pid, SIGTERM);
			int Status = 0;
			waitpid(Pid, &Status, 0);
			Pid = -1;
		}
	}

	std::string Url() const { return "http://127.0.0.1:" + std::to_string(Port); }

	/** A control request ("/_sim/..."); anything but a 2xx fails the test. */
	nlohmann::json Control(const std::string& Method, const std::string& Path, const std::string& Body = "")
	{
		const FHttpAnswer Answer = Http(Port, Method, Path, Body);
		EXPECT_TRUE(Answer.Status >= 200 && Answer.Status < 300)
			<< Method << " " << Path << " " << Body << " answered " << Answer.Status << ": " << Answer.Body;
		return nlohmann::json::parse(Answer.Body, nullptr, false);
	}

	std::vector<FRecorded> Requests()
	{
		std::vector<FRecorded> Recorded;
		const nlohmann::json Answer = Control("GET", "/_sim/requests");
		if (!Answer.is_object() || !Answer.contains("requests"))
		{
			return Recorded;
		}
		for (const nlohmann::json& Entry : Answer["requests"])
		{
			FRecorded& Request = Recorded.emplace_back();
			Request.Method = Entry.value("method", "");
			Request.Path = Entry.value("path", "");
			Request.Status = Entry.value("status", 0);
			Request.Time = Entry.value("time", 0.0);
			Request.Body = DecodeBase64(Entry.value("bodyBase64", ""));
			for (const nlohmann::json& Header : Entry.value("headerList", nlohmann::json::array()))
			{
				if (Header.size() == 2 && strcasecmp(Header[0].get<std::string>().c_str(), "Authorization") == 0)
				{
					Request.Authorization = Header[1].get<std::string>();
				}
			}
		}
		return Recorded;
	}

	fs::path LogFile;

private:
	pid_t Pid = -1;
	int Port = 0;
};

// ---- the commandlet --------------------------------------------------------------------------------------------

struct FRun
{
	int ExitCode = -1;
	/** Everything the process wrote, standard output and error interleaved as they came. */
	std::string Output;
	/** The commandlet's own lines, from "LogTarvolineCheck: " on. */
	std::vector<std::string> CheckLines;
};

/** ClockScale > 0 runs the commandlet's clock that many times as fast as the wall clock. */
FRun RunEditorCmd(const fs::path& ProjectFile, const std::vector<std::string>& Switches, const std::string& ApiUrl,
	const fs::path& OutputFile, double ClockScale = 0.0)
{
	FRun Run;
	const pid_t Pid = fork();
	if (Pid == 0)
	{
		setenv("TARVOLINE_API", ApiUrl.c_str(), 1);
		if (ClockScale > 0.0)
		{
			setenv("TARVOLINE_HOST_CLOCK_SCALE", std::to_string(ClockScale).c_str(), 1);
		}
		const int Out = open(OutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		dup2(Out, STDOUT_FILENO);
		dup2(Out, STDERR_FILENO);
		std::vector<std::string> Args = {TARVOLINE_EDITOR_CMD, ProjectFile.string(), "-run=TarvolineCheck"};
		Args.insert(Args.end(), Switches.begin(), Switches.end());
		std::vector<char*> Argv;
		for (std::string& Arg : Args)
		{
			Argv.push_back(Arg.data());
		}
		Argv.push_back(nullptr);
		execv(TARVOLINE_EDITOR_CMD, Argv.data());
		_exit(127);
	}
	int Status = 0;
	waitpid(Pid, &Status, 0);
	Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
	Run.Output = ReadFile(OutputFile);
	std::istringstream Lines(Run.Output);
	for (std::string Line; std::getline(Lines, Line);)
	{
		const size_t At = Line.find(LinePrefix);
		if (At != std::string::npos)
		{
			Run.CheckLines.push_back(Line.substr(At));
		}
	}
	return Run;
}

// ---- expected lines --------------------------------------------------------------------------------------------

/** One expected line: its exact text, or a pattern where the line holds a figure that depends on timing. */
struct FLine
{
	std::string Text;
	bool bPattern = false;
};

FLine Display(const std::string& Message)
{
	return {LinePrefix + "Display: " + Message, false};
}

/** Escapes every character that means something in a pattern. */
std::string Lit(const std::string& Text)
{
	static const std::regex Special(R"([.^$|()\[\]{}*+?\\])");
	return std::regex_replace(Text, Special, R"(\$&)");
}

/** Pattern is already a regular expression; use Lit() for its literal parts. */
FLine DisplayLike(const std::string& Pattern)
{
	return {Lit(LinePrefix + "Display: ") + Pattern, true};
}

/** A rig or job line: the seconds figure is whatever the wait took. */
FLine DisplayWithSeconds(const std::string& Before, const std::string& After)
{
	return DisplayLike(Lit(Before) + "[0-9]+" + Lit(After));
}

void ExpectLines(const FRun& Run, const std::vector<FLine>& Expected)
{
	bool bMatch = Run.CheckLines.size() == Expected.size();
	for (size_t Index = 0; bMatch && Index < Expected.size(); ++Index)
	{
		const std::string& Actual = Run.CheckLines[Index];
		bMatch = Expected[Index].bPattern ? std::regex_match(Actual, std::regex(Expected[Index].Text))
										  : Actual == Expected[Index].Text;
	}
	if (!bMatch)
	{
		std::ostringstream Report;
		Report << "expected lines:\n";
		for (const FLine& Line : Expected)
		{
			Report << (Line.bPattern ? "  ~ " : "    ") << Line.Text << "|\n";
		}
		Report << "actual lines:\n";
		for (const std::string& Line : Run.CheckLines)
		{
			Report << "    " << Line << "|\n";
		}
		Report << "whole output:\n" << Run.Output;
		ADD_FAILURE() << Report.str();
	}
}

std::vector<std::string> Lines(const std::vector<FRecorded>& Requests)
{
	std::vector<std::string> Out;
	for (const FRecorded& Request : Requests)
	{
		Out.push_back(Request.Line());
	}
	return Out;
}

/** The id at the end of the first recorded path that starts with Prefix ("/v1/assets/", "/v1/jobs/"). */
std::string IdAfter(const std::vector<FRecorded>& Requests, const std::string& Prefix)
{
	for (const FRecorded& Request : Requests)
	{
		if (Request.Path.rfind(Prefix, 0) == 0 && Request.Path.size() > Prefix.size())
		{
			return Request.Path.substr(Prefix.size());
		}
	}
	return "";
}

const FRecorded* Find(const std::vector<FRecorded>& Requests, const std::string& Method, const std::string& Path)
{
	for (const FRecorded& Request : Requests)
	{
		if (Request.Method == Method && Request.Path == Path)
		{
			return &Request;
		}
	}
	return nullptr;
}

// ---- the fixture -----------------------------------------------------------------------------------------------

class CheckCommandlet : public testing::Test
{
protected:
	void SetUp() override
	{
		char Template[] = "/tmp/tarvoline-e2e-XXXXXX";
		ASSERT_NE(mkdtemp(Template), nullptr);
		Scratch = Template;
		// Only the project file: a developer's earlier runs leave assets and downloads in the repository's sample.
		ProjectDir = Scratch / "Sample Project";
		fs::create_directories(ProjectDir / "Content");
		fs::copy_file(SourceDir / "Samples" / "TarvolineSample" / "TarvolineSample.uproject", ProjectFile());
		ASSERT_TRUE(Simulator.Start(Scratch)) << "the local service did not start; its log:\n" << ReadFile(Simulator.LogFile);
	}

	void TearDown() override
	{
		Simulator.Stop();
		if (HasFailure() || std::getenv("TARVOLINE_KEEP_SCRATCH") != nullptr)
		{
			std::cout << "scratch directory kept: " << Scratch << "\n";
		}
		else
		{
			std::error_code Ignored;
			fs::remove_all(Scratch, Ignored);
		}
	}

	fs::path ProjectFile() const { return ProjectDir / "TarvolineSample.uproject"; }

	FRun Check(const std::vector<std::string>& Switches)
	{
		return RunEditorCmd(
			ProjectFile(), Switches, Simulator.Url(), Scratch / ("run-" + std::to_string(++Runs) + ".log"), ClockScale);
	}

	/** The service form with the seeded key that has plenty of credits. */
	FRun CheckRoad(const fs::path& Model, const std::string& Prompt, const std::vector<std::string>& Extra = {})
	{
		std::vector<std::string> Switches = {"-Key=tv_demo_key", "-Model=" + Model.string(), "-Prompt=" + Prompt};
		Switches.insert(Switches.end(), Extra.begin(), Extra.end());
		return Check(Switches);
	}

	/** Where the road saves a job's FBX: a name from the prompt and the job's id, in the project's Saved/Tarvoline. */
	fs::path DownloadPath(const std::string& PromptName, const std::string& JobId) const
	{
		return ProjectDir / "Saved" / "Tarvoline" / (PromptName + "_" + JobId.substr(0, 8) + ".fbx");
	}

	fs::path AssetFile(const std::string& Folder, const std::string& Asset) const
	{
		return ProjectDir / "Content" / "Tarvoline" / "Animations" / Folder / (Asset + ".uasset");
	}

	/** The first lines of every road that reaches the listing with the demo key on a fresh service. */
	static std::vector<FLine> RoadToListing(const std::string& ModelName, const std::string& Family)
	{
		return {
			Display("CHECK PASS signed in with the key: 1000 credits "),
			Display("CHECK PASS uploaded " + ModelName + " "),
			DisplayWithSeconds("CHECK PASS " + ModelName + " rigged in ", "s as " + Family + "  "),
			Display("CHECK PASS family " + Family + " == " + Family),
			Display("CHECK PASS listed among 1 characters"),
		};
	}

	fs::path Scratch;
	fs::path ProjectDir;
	FSimulator Simulator;
	int Runs = 0;
	/** How much faster than the wall clock the commandlet's clock runs (0: not at all). */
	double ClockScale = 0.0;
};

template <typename T>
std::vector<T> Concat(std::vector<T> First, const std::vector<T>& Second)
{
	First.insert(First.end(), Second.begin(), Second.end());
	return First;
}

// ---- the tests -------------------------------------------------------------------------------------------------

TEST_F(CheckCommandlet, WholeRoadPassesForHumanoid)
{
	const std::string Prompt = "a person walks forward and waves";
	const FRun Run = CheckRoad(ModelsDir / "humanoid_mesh.fbx", Prompt, {"-Family=humanoid"});

	const std::vector<FRecorded> Requests = Simulator.Requests();
	const std::string CharacterId = IdAfter(Requests, "/v1/assets/");
	const std::string JobId = IdAfter(Requests, "/v1/jobs/");
	ASSERT_EQ(JobId.size(), 16u) << Run.Output;
	const fs::path Download = DownloadPath("a_person_walks_forward_and_waves", JobId);
	const std::string Folder = "/Game/Tarvoline/Animations/humanoid_mesh/";
	ExpectLines(Run, Concat(RoadToListing("humanoid_mesh.fbx", "humanoid"),
		{
			Display("CHECK PASS plan 5 credits: walk 2.0 s, wave 2.0 s"),
			DisplayWithSeconds("CHECK PASS job " + JobId + " succeeded in ", "s, 5 credits, 4.0s long "),
			Display("CHECK PASS downloaded " + Download.string() + " (158700 bytes)"),
			Display("CHECK PASS skeletal mesh " + Folder + "humanoid_mesh.humanoid_mesh, 19 bones"),
			Display("CHECK PASS clip " + Folder + "a_person_walks_forward_and_waves.a_person_walks_forward_and_waves 3.00s "),
			Display("CHECK PASS clip plays on the mesh's skeleton"),
			Display("CHECK PASS mesh size 50.0 x 30.0 x 170.0 cm"),
			// The hips rest 95 cm above the feet, as the model was built; the box is the bind pose's.
			DisplayLike(Lit("CHECK INFO hips at rest X=") + "-?0\\.000 Y=-?0\\.000" + Lit(" Z=95.000, mesh box X=-25.000 Y=-19.000 Z=") +
				"-?0\\.000" + Lit(" .. X=25.000 Y=11.000 Z=170.000")),
			Display("CHECK DONE failures=0"),
		}));
	EXPECT_EQ(Run.ExitCode, 0);

	// One poll each for the rig and the job, nothing asked twice, nothing left out.
	EXPECT_EQ(Lines(Requests), (std::vector<std::string>{"GET /v1/auth/me", "POST /v1/assets", "GET /v1/assets/" + CharacterId,
		"GET /v1/assets", "POST /v1/plan", "POST /v1/generate", "GET /v1/jobs/" + JobId,
		"GET /downloads/" + JobId + "/motion.fbx"}));
	for (const char* Path : {"/v1/plan", "/v1/generate"})
	{
		const FRecorded* Request = Find(Requests, "POST", Path);
		ASSERT_NE(Request, nullptr);
		const nlohmann::json Body = nlohmann::json::parse(Request->Body, nullptr, false);
		EXPECT_EQ(Body.value("prompt", ""), Prompt) << Path;
		EXPECT_EQ(Body.value("assetId", ""), CharacterId) << Path;
	}

	EXPECT_EQ(ReadFile(Download), ReadFile(ModelsDir / "humanoid_anim.fbx")) << "the saved FBX is the one the service sent";
	EXPECT_TRUE(fs::exists(AssetFile("humanoid_mesh", "humanoid_mesh")));
	EXPECT_TRUE(fs::exists(AssetFile("humanoid_mesh", "a_person_walks_forward_and_waves")));
}

TEST_F(CheckCommandlet, WholeRoadPassesForQuadrupedWithTheDefaultFamily)
{
	// A model whose file name has a blank and capitals: the upload, the rig line and the content folder use it.
	const fs::path Model = Scratch / "Models" / "Red Fox.fbx";
	fs::create_directories(Model.parent_path());
	fs::copy_file(ModelsDir / "quadruped_mesh.fbx", Model);
	const FRun Run = CheckRoad(Model, "a fox jumps");

	const std::vector<FRecorded> Requests = Simulator.Requests();
	const std::string JobId = IdAfter(Requests, "/v1/jobs/");
	ASSERT_EQ(JobId.size(), 16u) << Run.Output;
	const fs::path Download = DownloadPath("a_fox_jumps", JobId);
	const std::string Folder = "/Game/Tarvoline/Animations/red_fox/";
	// No bone is called Hips, so no rest position is reported.
	ExpectLines(Run, Concat(RoadToListing("Red Fox.fbx", "quadruped"),
		{
			Display("CHECK PASS plan 3 credits: jump 1.4 s"),
			DisplayWithSeconds("CHECK PASS job " + JobId + " succeeded in ", "s, 3 credits, 1.4s long "),
			Display("CHECK PASS downloaded " + Download.string() + " (120284 bytes)"),
			Display("CHECK PASS skeletal mesh " + Folder + "red_fox.red_fox, 14 bones"),
			Display("CHECK PASS clip " + Folder + "a_fox_jumps.a_fox_jumps 2.00s "),
			Display("CHECK PASS clip plays on the mesh's skeleton"),
			Display("CHECK PASS mesh size 30.0 x 100.0 x 60.0 cm"),
			Display("CHECK DONE failures=0"),
		}));
	EXPECT_EQ(Run.ExitCode, 0);
	EXPECT_EQ(ReadFile(Download), ReadFile(ModelsDir / "quadruped_anim.fbx"));
	EXPECT_TRUE(fs::exists(AssetFile("red_fox", "a_fox_jumps")));
}

TEST_F(CheckCommandlet, MissingSwitchesPrintTheUsageAtError)
{
	const FRun Bare = Check({});
	EXPECT_EQ(Bare.CheckLines, std::vector<std::string>{UsageLine}) << Bare.Output;
	EXPECT_EQ(Bare.ExitCode, 2);

	// Any one of key, model and prompt missing is the same mistake.
	const std::string Model = "-Model=" + (ModelsDir / "humanoid_mesh.fbx").string();
	for (const std::vector<std::string>& Switches : std::vector<std::vector<std::string>>{
			 {Model, "-Prompt=a person waves"}, {"-Key=tv_demo_key", "-Prompt=a person waves"}, {"-Key=tv_demo_key", Model}})
	{
		const FRun Run = Check(Switches);
		EXPECT_EQ(Run.CheckLines, std::vector<std::string>{UsageLine}) << Run.Output;
		EXPECT_EQ(Run.ExitCode, 2);
	}
	EXPECT_TRUE(Simulator.Requests().empty());
}

TEST_F(CheckCommandlet, FbxAloneImportsAndInspectsWithoutTheService)
{
	const FRun First = Check({"-Fbx=" + (ModelsDir / "quadruped_anim.fbx").string()});
	const std::string Folder = "/Game/Tarvoline/Animations/quadruped_anim/";
	ExpectLines(First, {
		Display("CHECK PASS skeletal mesh " + Folder + "quadruped_anim.quadruped_anim, 14 bones"),
		Display("CHECK PASS clip " + Folder + "check.check 2.00s "),
		Display("CHECK PASS clip plays on the mesh's skeleton"),
		Display("CHECK PASS mesh size 30.0 x 100.0 x 60.0 cm"),
		Display("CHECK DONE failures=0"),
	});
	EXPECT_EQ(First.ExitCode, 0);
	EXPECT_TRUE(fs::exists(AssetFile("quadruped_anim", "quadruped_anim")));
	EXPECT_TRUE(fs::exists(AssetFile("quadruped_anim", "check")));

	// A second check in the same project finds the mesh from the first and binds a new clip to its skeleton.
	const FRun Second = Check({"-Fbx=" + (ModelsDir / "quadruped_anim.fbx").string()});
	ExpectLines(Second, {
		Display("CHECK PASS skeletal mesh " + Folder + "quadruped_anim.quadruped_anim, 14 bones"),
		DisplayLike(Lit("CHECK PASS clip " + Folder + "check") + "([_0-9]+)" + Lit(".check") + "\\1" + Lit(" 2.00s ")),
		Display("CHECK PASS clip plays on the mesh's skeleton"),
		Display("CHECK PASS mesh size 30.0 x 100.0 x 60.0 cm"),
		Display("CHECK DONE failures=0"),
	});
	EXPECT_EQ(Second.ExitCode, 0);

	EXPECT_TRUE(Simulator.Requests().empty()) << "the import-only form must not talk to the service";
}

TEST_F(CheckCommandlet, FbxWithoutAnimationFailsTheClipCheck)
{
	const FRun Run = Check({"-Fbx=" + (ModelsDir / "humanoid_noanim.fbx").string()});
	ExpectLines(Run, {
		Display("CHECK PASS skeletal mesh /Game/Tarvoline/Animations/humanoid_noanim/humanoid_noanim.humanoid_noanim, 19 bones"),
		Display("CHECK FAIL clip none 0.00s " + MissingClipSentence),
		Display("CHECK DONE failures=1"),
	});
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_TRUE(Simulator.Requests().empty());
}

TEST_F(CheckCommandlet, RefusedKeyStopsAtSignIn)
{
	const FRun Run = Check({"-Key=tv_revoked_key", "-Model=" + (ModelsDir / "humanoid_mesh.fbx").string(), "-Prompt=a person waves"});
	ExpectLines(Run, {Display("CHECK FAIL signed in with the key: -1 credits 401 Invalid API key.")});
	EXPECT_EQ(Run.ExitCode, 1);

	const std::vector<FRecorded> Requests = Simulator.Requests();
	ASSERT_EQ(Lines(Requests), std::vector<std::string>{"GET /v1/auth/me"});
	EXPECT_EQ(Requests[0].Authorization, "Bearer tv_revoked_key");
}

TEST_F(CheckCommandlet, FamilyMismatchFailsItsLineAndTheRoadGoesOn)
{
	// A humanoid checked against the default family.
	const FRun Run = CheckRoad(ModelsDir / "humanoid_mesh.fbx", "a person waves");

	const std::string JobId = IdAfter(Simulator.Requests(), "/v1/jobs/");
	ASSERT_EQ(JobId.size(), 16u) << Run.Output;
	const std::string Folder = "/Game/Tarvoline/Animations/humanoid_mesh/";
	ExpectLines(Run, {
		Display("CHECK PASS signed in with the key: 1000 credits "),
		Display("CHECK PASS uploaded humanoid_mesh.fbx "),
		DisplayWithSeconds("CHECK PASS humanoid_mesh.fbx rigged in ", "s as humanoid  "),
		Display("CHECK FAIL family humanoid == quadruped"),
		Display("CHECK PASS listed among 1 characters"),
		Display("CHECK PASS plan 3 credits: wave 2.0 s"),
		DisplayWithSeconds("CHECK PASS job " + JobId + " succeeded in ", "s, 3 credits, 2.0s long "),
		Display("CHECK PASS downloaded " + DownloadPath("a_person_waves", JobId).string() + " (158700 bytes)"),
		Display("CHECK PASS skeletal mesh " + Folder + "humanoid_mesh.humanoid_mesh, 19 bones"),
		Display("CHECK PASS clip " + Folder + "a_person_waves.a_person_waves 3.00s "),
		Display("CHECK PASS clip plays on the mesh's skeleton"),
		Display("CHECK PASS mesh size 50.0 x 30.0 x 170.0 cm"),
		DisplayLike(Lit("CHECK INFO hips at rest ") + ".*"),
		Display("CHECK DONE failures=1"),
	});
	EXPECT_EQ(Run.ExitCode, 1);
}

TEST_F(CheckCommandlet, RefusedPlanStillSendsGenerateWhoseWaitEndsAtOnce)
{
	const std::string Refusal = "You need 3 credits for that motion and have 1.";
	Simulator.Control("POST", "/_sim/faults",
		nlohmann::json{{"kind", "status"}, {"status", 402}, {"method", "POST"}, {"path", "/v1/plan"}, {"detail", Refusal}}.dump());
	const FRun Run = CheckRoad(ModelsDir / "quadruped_mesh.fbx", "a fox jumps");

	// The plan's failure stays the run's error text, so the generate wait ends before its answer and reports it.
	ExpectLines(Run, Concat(RoadToListing("quadruped_mesh.fbx", "quadruped"),
		{
			Display("CHECK FAIL 402 " + Refusal),
			Display("CHECK FAIL generate: 402 " + Refusal),
		}));
	EXPECT_EQ(Run.ExitCode, 1);

	// The generate request went out all the same (its answer came after the run had ended); nothing followed it.
	const std::vector<FRecorded> Requests = Simulator.Requests();
	const std::string CharacterId = IdAfter(Requests, "/v1/assets/");
	EXPECT_EQ(Lines(Requests), (std::vector<std::string>{"GET /v1/auth/me", "POST /v1/assets", "GET /v1/assets/" + CharacterId,
		"GET /v1/assets", "POST /v1/plan", "POST /v1/generate"}));
	const FRecorded* Generate = Find(Requests, "POST", "/v1/generate");
	ASSERT_NE(Generate, nullptr);
	EXPECT_EQ(Generate->Status, 200);
	EXPECT_FALSE(fs::exists(ProjectDir / "Saved" / "Tarvoline"));
}

TEST_F(CheckCommandlet, FailedRigStopsAfterTheFamilyLine)
{
	const std::string Reason = "That file holds no mesh we can rig.";
	Simulator.Control("POST", "/_sim/next", nlohmann::json{{"rig", {{"fail", Reason}}}}.dump());
	const FRun Run = CheckRoad(ModelsDir / "humanoid_mesh.fbx", "a person waves", {"-Family=humanoid"});

	ExpectLines(Run, {
		Display("CHECK PASS signed in with the key: 1000 credits "),
		Display("CHECK PASS uploaded humanoid_mesh.fbx "),
		// The service names no family for a failed character, which reads as "humanoid"; then its own error, and no
		// request error. The family line still comes before the road stops.
		DisplayWithSeconds("CHECK FAIL humanoid_mesh.fbx rigged in ", "s as humanoid " + Reason + " "),
		Display("CHECK PASS family humanoid == humanoid"),
	});
	EXPECT_EQ(Run.ExitCode, 1);

	const std::vector<FRecorded> Requests = Simulator.Requests();
	EXPECT_EQ(Lines(Requests), (std::vector<std::string>{"GET /v1/auth/me", "POST /v1/assets",
		"GET /v1/assets/" + IdAfter(Requests, "/v1/assets/")}));
}

TEST_F(CheckCommandlet, JobWithoutFbxOutputEndsWithoutADoneLine)
{
	Simulator.Control("POST", "/_sim/next", nlohmann::json{{"job", {{"noFbx", true}}}}.dump());
	const FRun Run = CheckRoad(ModelsDir / "quadruped_mesh.fbx", "a fox jumps");

	const std::vector<FRecorded> Requests = Simulator.Requests();
	const std::string JobId = IdAfter(Requests, "/v1/jobs/");
	ASSERT_EQ(JobId.size(), 16u) << Run.Output;
	// The job itself succeeded; the road ends without a line of its own and without the closing line.
	ExpectLines(Run, Concat(RoadToListing("quadruped_mesh.fbx", "quadruped"),
		{
			Display("CHECK PASS plan 3 credits: jump 1.4 s"),
			DisplayWithSeconds("CHECK PASS job " + JobId + " succeeded in ", "s, 3 credits, 1.4s long "),
		}));
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_EQ(Lines(Requests).back(), "GET /v1/jobs/" + JobId) << "nothing is downloaded";
	EXPECT_FALSE(fs::exists(ProjectDir / "Saved" / "Tarvoline"));
}

TEST_F(CheckCommandlet, FailedDownloadStopsTheRoad)
{
	Simulator.Control("POST", "/_sim/faults",
		nlohmann::json{{"kind", "status"}, {"status", 403}, {"path", "/downloads/"}, {"detail", "That link has expired."}}.dump());
	const FRun Run = CheckRoad(ModelsDir / "quadruped_mesh.fbx", "a fox jumps");

	const std::vector<FRecorded> Requests = Simulator.Requests();
	const std::string JobId = IdAfter(Requests, "/v1/jobs/");
	ASSERT_EQ(JobId.size(), 16u) << Run.Output;
	const fs::path Download = DownloadPath("a_fox_jumps", JobId);
	// No file, so no size: the file manager's -1.
	ExpectLines(Run, Concat(RoadToListing("quadruped_mesh.fbx", "quadruped"),
		{
			Display("CHECK PASS plan 3 credits: jump 1.4 s"),
			DisplayWithSeconds("CHECK PASS job " + JobId + " succeeded in ", "s, 3 credits, 1.4s long "),
			Display("CHECK FAIL downloaded " + Download.string() + " (-1 bytes)"),
		}));
	EXPECT_EQ(Run.ExitCode, 1);
	EXPECT_FALSE(fs::exists(Download));
	ASSERT_FALSE(Requests.empty());
	EXPECT_EQ(Requests.back().Line(), "GET /downloads/" + JobId + "/motion.fbx");
	EXPECT_EQ(Requests.back().Status, 403);
	EXPECT_TRUE(Requests.back().Authorization.empty()) << "the key never goes to a download link";
}
// ---- the road under faults -------------------------------------------------------------------------------------
// One run per fault, each on a fresh service: the step that meets the fault prints the client's exact sentence after
// its status, the road stops or goes on as it should, and the key itself appears in no line the run printed.

const std::string SecretKey = "tv_e2e_secret_4d7c1b";

// ---- the waits ---------------------------------------------------------------------------------------------------

/** When the service received each request of that method whose path starts with Prefix, oldest first. */
std::vector<double> TimesOf(const std::vector<FRecorded>& Requests, const std::string& Method, const std::string& Prefix)
{
	std::vector<double> Times;
	for (const FRecorded& Request : Requests)
	{
		if (Request.Method == Method && Request.Path.rfind(Prefix, 0) == 0)
		{
			Times.push_back(Request.Time);
		}
	}
	return Times;
}

/** Each request came Pause wall seconds after the one before: never sooner, and as a rule not later. */
void ExpectPauses(const std::vector<double>& Times, double Pause, const std::string& What)
{
	ASSERT_GE(Times.size(), 3u) << What;
	std::vector<double> Gaps;
	for (size_t Index = 1; Index < Times.size(); ++Index)
	{
		Gaps.push_back(Times[Index] - Times[Index - 1]);
	}
	std::sort(Gaps.begin(), Gaps.end());
	EXPECT_GE(Gaps.front(), 0.97 * Pause) << What << ": the shortest gap";
	// A loaded machine only makes an answer later, so the median stands for the pause itself.
	EXPECT_LE(Gaps[Gaps.size() / 2], 1.08 * Pause + 0.05) << What << ": the median gap";
}

TEST_F(CheckCommandlet, RigAndJobArePolledAfterTheirPausesWhileTheServiceWorks)
{
	// The commandlet's clock runs 2.5 times as fast, so its 3.0 s and 2.5 s pauses take 1.2 s and 1.0 s; the rig
	// (1.6 s) and the job (3.1 s, waking the motion model first) take several reads each.
	ClockScale = 2.5;
	Simulator.Control("POST", "/_sim/time", R"({"timeScale": 0.4})");
	const FRun Run = CheckRoad(ModelsDir / "quadruped_mesh.fbx", "a fox jumps");
	EXPECT_EQ(Run.ExitCode, 0) << Run.Output;

	const std::vector<FRecorded> Requests = Simulator.Requests();
	std::vector<double> Rig = TimesOf(Requests, "POST", "/v1/assets");
	const std::vector<double> RigReads = TimesOf(Requests, "GET", "/v1/assets/");
	Rig.insert(Rig.end(), RigReads.begin(), RigReads.end());
	ExpectPauses(Rig, 3.0 / ClockScale, "upload and rig reads");
	std::vector<double> Job = TimesOf(Requests, "POST", "/v1/generate");
	const std::vector<double> JobReads = TimesOf(Requests, "GET", "/v1/jobs/");
	Job.insert(Job.end(), JobReads.begin(), JobReads.end());
	ExpectPauses(Job, 2.5 / ClockScale, "generate and job reads");
}

TEST_F(CheckCommandlet, RigWaitGivesUpAfterNineHundredSeconds)
{
	// Fifty times as fast: 900 s of waiting take 18 s. The rig would take more than a month.
	ClockScale = 50.0;
	Simulator.Control("POST", "/_sim/time", R"({"timeScale": 1000000})");
	const FRun Run = CheckRoad(ModelsDir / "quadruped_mesh.fbx", "a fox jumps");

	ExpectLines(Run, {
		Display("CHECK PASS signed in with the key: 1000 credits "),
		Display("CHECK PASS uploaded quadruped_mesh.fbx "),
		// A character still rigging names no family, which reads as "humanoid".
		DisplayLike(Lit("CHECK FAIL quadruped_mesh.fbx rigged in ") + "9[0-9][0-9]" + Lit("s as humanoid  ")),
		Display("CHECK FAIL family humanoid == quadruped"),
	});
	EXPECT_EQ(Run.ExitCode, 1);
	const std::vector<double> Reads = TimesOf(Simulator.Requests(), "GET", "/v1/assets/");
	ASSERT_GE(Reads.size(), 2u);
	EXPECT_LE(Reads.size(), 301u) << "one read per 3 s at most";
	EXPECT_GE((Reads.back() - Reads.front()) * ClockScale, 880.0) << "the reads went on for the whole wait";
}

TEST_F(CheckCommandlet, JobWaitGivesUpAfterNineHundredSeconds)
{
	ClockScale = 50.0;
	Simulator.Control("POST", "/_sim/time", R"({"timeScale": 1000000})");
	FRun Run;
	std::thread Road(
		[this, &Run]()
		{
			Run = CheckRoad(ModelsDir / "quadruped_mesh.fbx", "a fox jumps");
		});
	// Once the rig is being read, the service's clock jumps past it; the job, made later, would take months.
	bool bRigRead = false;
	for (int Attempt = 0; !bRigRead && Attempt < 3000; ++Attempt)
	{
		bRigRead = !TimesOf(Simulator.Requests(), "GET", "/v1/assets/").empty();
		std::this_thread::sleep_for(std::chrono::milliseconds(10));
	}
	EXPECT_TRUE(bRigRead);
	Simulator.Control("POST", "/_sim/time", R"({"advanceSeconds": 100000000})");
	Road.join();

	const std::vector<FRecorded> Requests = Simulator.Requests();
	const std::string JobId = IdAfter(Requests, "/v1/jobs/");
	ASSERT_EQ(JobId.size(), 16u) << Run.Output;
	ASSERT_EQ(Run.CheckLines.size(), 7u) << Run.Output;
	EXPECT_TRUE(std::regex_match(Run.CheckLines[6],
		std::regex(Lit(LinePrefix + "Display: CHECK FAIL job " + JobId + " queued in ") + "9[0-9][0-9]s,.*")))
		<< Run.CheckLines[6];
	EXPECT_EQ(Run.ExitCode, 1);
	const std::vector<double> Reads = TimesOf(Requests, "GET", "/v1/jobs/");
	ASSERT_GE(Reads.size(), 2u);
	EXPECT_LE(Reads.size(), 361u) << "one read per 2.5 s at most";
	EXPECT_GE((Reads.back() - Reads.front()) * ClockScale, 880.0) << "the reads went on for the whole wait";
	EXPECT_TRUE(TimesOf(Requests, "GET", "/downloads/").empty());
}

std::string Unreachable()
{
	return "Could not reach tarvoline.com. Check the internet connection and try again.";
}

std::string Answered(int Status)
{
	return "Tarvoline answered " + std::to_string(Status) + ". Try again, or write to us if it keeps happening.";
}

const std::string Unreadable = "Tarvoline sent an answer we could not read.";

nlohmann::json With(nlohmann::json Fault, const nlohmann::json& More)
{
	Fault.update(More);
	return Fault;
}

struct FFaultCase
{
	std::string What;
	nlohmann::json Fault;
	std::vector<FLine> Lines;
};

class CheckCommandletUnderFaults : public CheckCommandlet
{
protected:
	/** Runs the road for a person waving on a fresh service with Fault armed, as a user whose key is SecretKey. */
	FRun RunWithFault(const nlohmann::json& Fault)
	{
		Simulator.Control("POST", "/_sim/reset");
		Simulator.Control("POST", "/_sim/accounts",
			nlohmann::json{{"key", SecretKey}, {"email", "e2e@tarvoline.test"}, {"credits", 1000}}.dump());
		Simulator.Control("POST", "/_sim/faults", Fault.dump());
		std::error_code Ignored;
		fs::remove_all(ProjectDir / "Saved", Ignored);
		fs::remove_all(ProjectDir / "Content" / "Tarvoline", Ignored);
		const FRun Run = Check({"-Key=" + SecretKey, "-Model=" + (ModelsDir / "humanoid_mesh.fbx").string(),
			"-Prompt=a person waves", "-Family=humanoid"});
		Simulator.Control("DELETE", "/_sim/faults");
		EXPECT_EQ(Run.Output.find(SecretKey), std::string::npos) << "the key was printed:\n" << Run.Output;
		EXPECT_EQ(Run.ExitCode, 1) << Run.Output;
		return Run;
	}

	void RunCases(const std::vector<FFaultCase>& Cases)
	{
		for (const FFaultCase& Case : Cases)
		{
			SCOPED_TRACE(Case.What);
			ExpectLines(RunWithFault(Case.Fault), Case.Lines);
		}
	}

	static std::vector<FLine> UpToListing()
	{
		return {
			Display("CHECK PASS signed in with the key: 1000 credits "),
			Display("CHECK PASS uploaded humanoid_mesh.fbx "),
			DisplayWithSeconds("CHECK PASS humanoid_mesh.fbx rigged in ", "s as humanoid  "),
			Display("CHECK PASS family humanoid == humanoid"),
		};
	}
};

TEST_F(CheckCommandletUnderFaults, SignInAndUpload)
{
	const std::string SignIn = "CHECK FAIL signed in with the key: -1 credits ";
	const std::vector<FLine> SignedIn = {Display("CHECK PASS signed in with the key: 1000 credits ")};
	const nlohmann::json Upload = {{"method", "POST"}, {"path", "/v1/assets"}};
	RunCases({
		{"sign-in 401", {{"kind", "status"}, {"status", 401}},
			{Display(SignIn + "401 That API key was not accepted. Make a new one at tarvoline.com/account.")}},
		{"sign-in 500 with detail", {{"kind", "status"}, {"status", 500}, {"detail", "Down for maintenance."}},
			{Display(SignIn + "500 Down for maintenance.")}},
		{"sign-in malformed", {{"kind", "malformed"}}, {Display(SignIn + "200 " + Unreadable)}},
		{"sign-in dropped", {{"kind", "drop"}, {"count", -1}}, {Display(SignIn + "0 " + Unreachable())}},
		{"upload 413", With({{"kind", "status"}, {"status", 413}}, Upload),
			Concat(SignedIn, {Display("CHECK FAIL uploaded humanoid_mesh.fbx 413 That file is too large to upload.")})},
		{"upload 429 with detail", With({{"kind", "status"}, {"status", 429}, {"detail", "Slow down."}}, Upload),
			Concat(SignedIn, {Display("CHECK FAIL uploaded humanoid_mesh.fbx 429 Slow down.")})},
		{"upload empty", With({{"kind", "empty"}}, Upload),
			Concat(SignedIn, {Display("CHECK FAIL uploaded humanoid_mesh.fbx 200 " + Unreadable)})},
		{"upload dropped", With({{"kind", "drop"}, {"count", -1}}, Upload),
			Concat(SignedIn, {Display("CHECK FAIL uploaded humanoid_mesh.fbx 0 " + Unreachable())})},
	});
}

TEST_F(CheckCommandletUnderFaults, RigListPlanAndGenerate)
{
	RunCases({
		{"rig poll 500", {{"kind", "status"}, {"status", 500}, {"method", "GET"}, {"pathRegex", "^/v1/assets/"}},
			{
				Display("CHECK PASS signed in with the key: 1000 credits "),
				Display("CHECK PASS uploaded humanoid_mesh.fbx "),
				DisplayWithSeconds("CHECK FAIL humanoid_mesh.fbx rigged in ", "s as humanoid  500 " + Answered(500)),
				Display("CHECK PASS family humanoid == humanoid"),
			}},
		// A failed list does not stop the road, but its error text ends the next waits at once.
		{"list HTML page", {{"kind", "html"}, {"status", 503}, {"method", "GET"}, {"pathRegex", "^/v1/assets$"}},
			Concat(UpToListing(),
				{
					Display("CHECK FAIL listed among 0 characters"),
					Display("CHECK FAIL 503 " + Answered(503)),
					Display("CHECK FAIL generate: 503 " + Answered(503)),
				})},
		{"plan truncated", {{"kind", "truncated"}, {"method", "POST"}, {"path", "/v1/plan"}},
			Concat(UpToListing(),
				{
					Display("CHECK PASS listed among 1 characters"),
					Display("CHECK FAIL 200 " + Unreadable),
					Display("CHECK FAIL generate: 200 " + Unreadable),
				})},
		{"generate 402", {{"kind", "status"}, {"status", 402}, {"method", "POST"}, {"path", "/v1/generate"}},
			Concat(UpToListing(),
				{
					Display("CHECK PASS listed among 1 characters"),
					Display("CHECK PASS plan 3 credits: wave 2.0 s"),
					Display("CHECK FAIL generate: 402 Not enough credits for that. Top up at tarvoline.com/credits."),
				})},
	});
}

TEST_F(CheckCommandletUnderFaults, AGenerateWhoseAnswerIsLostIsSentOnce)
{
	// The service makes the job and charges for it, then the connection closes before the answer. The commandlet's
	// earlier requests left a pooled connection: a POST must not be sent again on another one.
	const FRun Run = RunWithFault({{"kind", "dropAfter"}, {"method", "POST"}, {"path", "/v1/generate"}});
	ExpectLines(Run, Concat(UpToListing(),
		{
			Display("CHECK PASS listed among 1 characters"),
			Display("CHECK PASS plan 3 credits: wave 2.0 s"),
			Display("CHECK FAIL generate: 0 " + Unreachable()),
		}));
	int Generates = 0;
	for (const FRecorded& Request : Simulator.Requests())
	{
		Generates += Request.Line() == "POST /v1/generate" ? 1 : 0;
	}
	EXPECT_EQ(Generates, 1);
	EXPECT_EQ(Simulator.Control("GET", "/_sim/state").dump().find("\"credits\":994"), std::string::npos)
		<< "charged twice";
}

TEST_F(CheckCommandletUnderFaults, JobPollAndDownload)
{
	const std::string Saved = (ProjectDir / "Saved" / "Tarvoline").string();
	const std::vector<FLine> UpToJob = Concat(UpToListing(),
		{
			Display("CHECK PASS listed among 1 characters"),
			Display("CHECK PASS plan 3 credits: wave 2.0 s"),
		});
	const FLine JobDone = DisplayLike(Lit("CHECK PASS job ") + "[0-9a-f]{16}" + Lit(" succeeded in ") + "[0-9]+" +
		Lit("s, 3 credits, 2.0s long "));
	RunCases({
		// The job stays as generate answered it: still queued, so there is no output to download.
		{"job poll 503 with detail", {{"kind", "status"}, {"status", 503}, {"detail", "Busy."}, {"method", "GET"}, {"path", "/v1/jobs/"}},
			Concat(UpToJob,
				{DisplayLike(Lit("CHECK FAIL job ") + "[0-9a-f]{16}" + Lit(" queued in ") + "[0-9]+" + Lit("s, 3 credits, ") +
					"[0-9.]+" + Lit("s long "))})},
		{"download dropped", {{"kind", "drop"}, {"count", -1}, {"path", "/downloads/"}},
			Concat(UpToJob,
				{JobDone, DisplayLike(Lit("CHECK FAIL downloaded " + Saved + "/a_person_waves_") + "[0-9a-f]{8}" +
							  Lit(".fbx (-1 bytes)"))})},
		{"download HTML page", {{"kind", "html"}, {"status", 500}, {"path", "/downloads/"}},
			Concat(UpToJob,
				{JobDone, DisplayLike(Lit("CHECK FAIL downloaded " + Saved + "/a_person_waves_") + "[0-9a-f]{8}" +
							  Lit(".fbx (-1 bytes)"))})},
	});
}

TEST_F(CheckCommandletUnderFaults, AJobIdThatIsAPathIsRefused)
{
	// The service answers generate with a finished job whose id climbs out of the download folder: its first eight
	// characters, "/../../e", would have put the file at Saved/e.fbx.
	const std::string Link = Simulator.Url() + "/downloads/0123456789abcdef/motion.fbx";
	const nlohmann::json Job = {{"id", "/../../escaped"}, {"status", "succeeded"}, {"prompt", "a person waves"},
		{"creditsCost", 3}, {"durationSeconds", 2.0}, {"outputs", {{{"kind", "fbx"}, {"url", Link}}}}};
	const FRun Run = RunWithFault({{"kind", "status"}, {"status", 200}, {"method", "POST"}, {"path", "/v1/generate"},
		{"body", Job.dump()}, {"contentType", "application/json"}});
	ExpectLines(Run, Concat(UpToListing(),
		{
			Display("CHECK PASS listed among 1 characters"),
			Display("CHECK PASS plan 3 credits: wave 2.0 s"),
			DisplayWithSeconds("CHECK PASS job /../../escaped succeeded in ", "s, 3 credits, 2.0s long "),
			Display("CHECK FAIL download: The service sent a job id that cannot name a file, so nothing was downloaded."),
		}));
	for (const FRecorded& Request : Simulator.Requests())
	{
		EXPECT_NE(Request.Path.rfind("/downloads/", 0), 0u) << "nothing is downloaded: " << Request.Line();
	}
	EXPECT_FALSE(fs::exists(ProjectDir / "Saved" / "Tarvoline"));
	for (const fs::directory_entry& Entry : fs::recursive_directory_iterator(ProjectDir))
	{
		EXPECT_NE(Entry.path().extension(), ".fbx") << "written: " << Entry.path();
	}
}
} // namespace
