#pragma once

#include "SimServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace tvsim::test
{
// A TestData/Models file, or an empty optional when it is not there.
std::optional<std::string> ModelBytes(const std::string& Name);
std::string ModelsDir();

struct Reply
{
	int Status = 0; // 0: no answer (connection dropped or failed)
	std::string Body;
	httplib::Headers Headers;
	nlohmann::json Json; // discarded when the body is not JSON
};

// The server class running in this process on a free loopback port, with a small client.
class LiveServer
{
public:
	explicit LiveServer(ServerOptions Options = Defaults());
	~LiveServer();

	static ServerOptions Defaults();

	int Port() const { return Port_; }
	std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(Port_); }
	SimServer& Server() { return *Server_; }

	Reply Get(const std::string& Path, const std::string& Key = "tv_demo_key");
	Reply PostJson(const std::string& Path, const nlohmann::json& Body, const std::string& Key = "tv_demo_key");
	Reply PostRaw(const std::string& Path, const std::string& Body, const std::string& ContentType,
		const std::string& Key = "tv_demo_key");
	// The upload exactly as the plug-in builds it: one "file" part, boundary "----tarvoline" + 32 hex.
	Reply Upload(const std::string& Filename, const std::string& Bytes, const std::string& Key = "tv_demo_key");
	Reply Control(const std::string& Path, const nlohmann::json& Body = nlohmann::json::object());
	Reply FetchUrl(const std::string& Url);

	// Uploads and waits until the character leaves pending/processing; returns its last record.
	nlohmann::json UploadAndRig(const std::string& Filename, const std::string& Bytes, const std::string& Key = "tv_demo_key");
	// Polls a job until it is neither queued nor running; returns its last record.
	nlohmann::json WaitForJob(const std::string& Id, const std::string& Key = "tv_demo_key");

private:
	std::unique_ptr<SimServer> Server_;
	int Port_ = -1;
};

std::string PluginMultipartBody(const std::string& Boundary, const std::string& Filename, const std::string& Bytes);

// Calls Done every few milliseconds until it holds or the limit passes; false on timeout.
bool WaitUntil(const std::function<bool()>& Done, std::chrono::milliseconds Limit = std::chrono::seconds(10));

std::string Base64Decode(const std::string& Text);

// A scratch directory removed at the end of the test.
struct TempDir
{
	std::string Path;
	TempDir();
	~TempDir();
};
} // namespace tvsim::test
