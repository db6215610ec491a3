// The real program, started as the demo and the plug-in's tests start it.

#include "Persistence.h"
#include "TestSupport.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace tvsim::test;

namespace
{
pid_t Spawn(const std::vector<std::string>& Args)
{
	std::vector<char*> Argv;
	for (const auto& A : Args)
	{
		Argv.push_back(const_cast<char*>(A.c_str()));
	}
	Argv.push_back(nullptr);
	pid_t Pid = -1;
	if (posix_spawn(&Pid, Argv[0], nullptr, nullptr, Argv.data(), environ) != 0)
	{
		return -1;
	}
	return Pid;
}

// Exit status, or -1 when the process did not end within the limit (it is then killed).
int WaitForExit(pid_t Pid, std::chrono::milliseconds Limit = std::chrono::seconds(10))
{
	int Status = 0;
	const bool Ended = WaitUntil([&] { return waitpid(Pid, &Status, WNOHANG) == Pid; }, Limit);
	if (!Ended)
	{
		kill(Pid, SIGKILL);
		waitpid(Pid, &Status, 0);
		return -1;
	}
	return WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
}

size_t Collect(char* Data, size_t Size, size_t Count, void* Out)
{
	static_cast<std::string*>(Out)->append(Data, Size * Count);
	return Size * Count;
}

// One GET with libcurl; the status (0 without an answer) and the body.
std::pair<long, std::string> CurlGet(const std::string& Url, const std::string& Key)
{
	CURL* Curl = curl_easy_init();
	std::string Body;
	curl_slist* Headers = curl_slist_append(nullptr, ("Authorization: Bearer " + Key).c_str());
	curl_easy_setopt(Curl, CURLOPT_URL, Url.c_str());
	curl_easy_setopt(Curl, CURLOPT_HTTPHEADER, Headers);
	curl_easy_setopt(Curl, CURLOPT_WRITEFUNCTION, Collect);
	curl_easy_setopt(Curl, CURLOPT_WRITEDATA, &Body);
	curl_easy_setopt(Curl, CURLOPT_TIMEOUT, 10L);
	long Status = 0;
	if (curl_easy_perform(Curl) == CURLE_OK)
	{
		curl_easy_getinfo(Curl, CURLINFO_RESPONSE_CODE, &Status);
	}
	curl_slist_free_all(Headers);
	curl_easy_cleanup(Curl);
	return {Status, Body};
}

// The multipart upload exactly as curl's own form code builds it.
std::pair<long, std::string> CurlUpload(const std::string& Url, const std::string& Key, const std::string& Name, const std::string& Bytes)
{
	CURL* Curl = curl_easy_init();
	std::string Body;
	curl_slist* Headers = curl_slist_append(nullptr, ("Authorization: Bearer " + Key).c_str());
	curl_mime* Mime = curl_mime_init(Curl);
	curl_mimepart* Part = curl_mime_addpart(Mime);
	curl_mime_name(Part, "file");
	curl_mime_filename(Part, Name.c_str());
	curl_mime_data(Part, Bytes.data(), Bytes.size());
	curl_easy_setopt(Curl, CURLOPT_URL, Url.c_str());
	curl_easy_setopt(Curl, CURLOPT_HTTPHEADER, Headers);
	curl_easy_setopt(Curl, CURLOPT_MIMEPOST, Mime);
	curl_easy_setopt(Curl, CURLOPT_WRITEFUNCTION, Collect);
	curl_easy_setopt(Curl, CURLOPT_WRITEDATA, &Body);
	curl_easy_setopt(Curl, CURLOPT_TIMEOUT, 10L);
	long Status = 0;
	if (curl_easy_perform(Curl) == CURLE_OK)
	{
		curl_easy_getinfo(Curl, CURLINFO_RESPONSE_CODE, &Status);
	}
	curl_mime_free(Mime);
	curl_slist_free_all(Headers);
	curl_easy_cleanup(Curl);
	return {Status, Body};
}
} // namespace

TEST(Process, StartsOnAFreePortServesAndStopsCleanlyOnSignals)
{
	for (const int Signal : {SIGTERM, SIGINT})
	{
		TempDir Dir;
		const std::string PortFile = Dir.Path + "/port";
		const pid_t Pid = Spawn({TVSIM_BINARY, "--port", "0", "--port-file", PortFile, "--data", Dir.Path + "/data",
			"--time-scale", "0", "--log-file", Dir.Path + "/log"});
		ASSERT_GT(Pid, 0);
		int Port = 0;
		ASSERT_TRUE(WaitUntil([&] {
			const auto Text = tvsim::ReadWholeFile(PortFile);
			Port = Text ? std::atoi(Text->c_str()) : 0;
			return Port > 0;
		})) << "no port file";
		const std::string Base = "http://127.0.0.1:" + std::to_string(Port);

		const auto [Status, Body] = CurlGet(Base + "/v1/auth/me", "tv_demo_key");
		EXPECT_EQ(Status, 200);
		EXPECT_EQ(nlohmann::json::parse(Body, nullptr, false).value("credits", 0), 1000);

		// curl's own multipart form, with a UTF-8 file name.
		const auto Upload = CurlUpload(Base + "/v1/assets", "tv_demo_key", "\xC3\xA9t\xC3\xA9.fbx", ModelBytes("frog_mesh.fbx").value_or("x"));
		EXPECT_EQ(Upload.first, 200) << Upload.second;
		EXPECT_EQ(nlohmann::json::parse(Upload.second, nullptr, false).value("filename", ""), "\xC3\xA9t\xC3\xA9.fbx");

		// The control prefix is off unless asked for.
		EXPECT_EQ(CurlGet(Base + "/_sim/requests", "").first, 404);

		kill(Pid, Signal);
		EXPECT_EQ(WaitForExit(Pid), 0) << "signal " << Signal;
		EXPECT_TRUE(std::filesystem::exists(Dir.Path + "/data/state.json"));
		const auto Log = tvsim::ReadWholeFile(Dir.Path + "/log").value_or("");
		EXPECT_NE(Log.find("GET /v1/auth/me -> 200"), std::string::npos) << Log;
		EXPECT_NE(Log.find("stopped"), std::string::npos) << Log;
	}
}

TEST(Process, RefusesBadCommandLines)
{
	for (const std::vector<std::string>& Args : {std::vector<std::string>{"--port", "70000"}, {"--time-scale", "-1"},
			 {"--frobnicate"}, {"--port-file"}})
	{
		std::vector<std::string> Full = {TVSIM_BINARY};
		Full.insert(Full.end(), Args.begin(), Args.end());
		const pid_t Pid = Spawn(Full);
		ASSERT_GT(Pid, 0);
		EXPECT_EQ(WaitForExit(Pid), 2) << Args[0];
	}
}
