#include "TestSupport.h"

#include "Ids.h"
#include "Persistence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace tvsim::test
{
std::string ModelsDir()
{
	return TVSIM_DEFAULT_MODELS_DIR;
}

std::optional<std::string> ModelBytes(const std::string& Name)
{
	return ReadWholeFile(ModelsDir() + "/" + Name);
}

ServerOptions LiveServer::Defaults()
{
	ServerOptions Options;
	Options.TimeScale = 0.01;
	Options.AllowControl = true;
	Options.Quiet = true;
	Options.Threads = 24;
	return Options;
}

LiveServer::LiveServer(ServerOptions Options) : Server_(std::make_unique<SimServer>(std::move(Options)))
{
	Port_ = Server_->Start();
	if (Port_ <= 0)
	{
		ADD_FAILURE() << "the simulator could not bind a port";
	}
}

LiveServer::~LiveServer()
{
	Server_->Stop();
}

namespace
{
Reply ToReply(const httplib::Result& Result)
{
	Reply Out;
	if (!Result)
	{
		return Out;
	}
	Out.Status = Result->status;
	Out.Body = Result->body;
	Out.Headers = Result->headers;
	Out.Json = nlohmann::json::parse(Out.Body, nullptr, false);
	return Out;
}

httplib::Headers AuthHeaders(const std::string& Key)
{
	httplib::Headers Headers;
	if (!Key.empty())
	{
		Headers.emplace("Authorization", "Bearer " + Key);
	}
	Headers.emplace("User-Agent", "tarvoline-unreal/0.1.0");
	Headers.emplace("Accept", "application/json");
	return Headers;
}
} // namespace

Reply LiveServer::Get(const std::string& Path, const std::string& Key)
{
	httplib::Client Client("127.0.0.1", Port_);
	Client.set_read_timeout(std::chrono::seconds(20));
	return ToReply(Client.Get(Path.c_str(), AuthHeaders(Key)));
}

Reply LiveServer::PostRaw(const std::string& Path, const std::string& Body, const std::string& ContentType, const std::string& Key)
{
	httplib::Client Client("127.0.0.1", Port_);
	Client.set_read_timeout(std::chrono::seconds(20));
	return ToReply(Client.Post(Path.c_str(), AuthHeaders(Key), Body, ContentType.c_str()));
}

Reply LiveServer::PostJson(const std::string& Path, const nlohmann::json& Body, const std::string& Key)
{
	return PostRaw(Path, Body.dump(), "application/json", Key);
}

std::string PluginMultipartBody(const std::string& Boundary, const std::string& Filename, const std::string& Bytes)
{
	return "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" + Filename +
		   "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + Bytes + "\r\n--" + Boundary + "--\r\n";
}

Reply LiveServer::Upload(const std::string& Filename, const std::string& Bytes, const std::string& Key)
{
	std::string Boundary = "----tarvoline" + RandomHex(16);
	std::transform(Boundary.begin(), Boundary.end(), Boundary.begin(), [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
	Boundary.replace(0, 13, "----tarvoline");
	return PostRaw("/v1/assets", PluginMultipartBody(Boundary, Filename, Bytes), "multipart/form-data; boundary=" + Boundary, Key);
}

Reply LiveServer::Control(const std::string& Path, const nlohmann::json& Body)
{
	httplib::Client Client("127.0.0.1", Port_);
	if (Path.rfind("GET ", 0) == 0)
	{
		return ToReply(Client.Get(Path.substr(4).c_str()));
	}
	if (Path.rfind("DELETE ", 0) == 0)
	{
		return ToReply(Client.Delete(Path.substr(7).c_str()));
	}
	return ToReply(Client.Post(Path.c_str(), Body.dump(), "application/json"));
}

Reply LiveServer::FetchUrl(const std::string& Url)
{
	const std::string Prefix = BaseUrl();
	if (Url.rfind(Prefix, 0) != 0)
	{
		ADD_FAILURE() << "an output URL that is not this server's: " << Url;
		return {};
	}
	httplib::Client Client("127.0.0.1", Port_);
	Client.set_read_timeout(std::chrono::seconds(20));
	return ToReply(Client.Get(Url.substr(Prefix.size()).c_str()));
}

nlohmann::json LiveServer::UploadAndRig(const std::string& Filename, const std::string& Bytes, const std::string& Key)
{
	const Reply Created = Upload(Filename, Bytes, Key);
	EXPECT_EQ(Created.Status, 200) << Created.Body;
	const std::string Id = Created.Json.value("id", "");
	nlohmann::json Last = Created.Json;
	WaitUntil([&] {
		Last = Get("/v1/assets/" + Id, Key).Json;
		const std::string Status = Last.value("status", "");
		return Status != "pending" && Status != "processing";
	});
	return Last;
}

nlohmann::json LiveServer::WaitForJob(const std::string& Id, const std::string& Key)
{
	nlohmann::json Last;
	WaitUntil([&] {
		Last = Get("/v1/jobs/" + Id, Key).Json;
		const std::string Status = Last.is_object() ? Last.value("status", "") : "";
		return Status != "queued" && Status != "running";
	});
	return Last;
}

bool WaitUntil(const std::function<bool()>& Done, std::chrono::milliseconds Limit)
{
	const auto End = std::chrono::steady_clock::now() + Limit;
	while (!Done())
	{
		if (std::chrono::steady_clock::now() > End)
		{
			return false;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(5));
	}
	return true;
}

std::string Base64Decode(const std::string& Text)
{
	static const std::string Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::string Out;
	unsigned Buffer = 0;
	int Bits = 0;
	for (const char C : Text)
	{
		if (C == '=')
		{
			break;
		}
		const auto Index = Alphabet.find(C);
		if (Index == std::string::npos)
		{
			continue;
		}
		Buffer = (Buffer << 6) | static_cast<unsigned>(Index);
		Bits += 6;
		if (Bits >= 8)
		{
			Bits -= 8;
			Out += static_cast<char>((Buffer >> Bits) & 0xff);
		}
	}
	return Out;
}

TempDir::TempDir() : Path((std::filesystem::temp_directory_path() / ("tvsim-test-" + RandomHex(6))).string())
{
	std::filesystem::create_directories(Path);
}

TempDir::~TempDir()
{
	std::error_code Ignored;
	std::filesystem::remove_all(Path, Ignored);
}
} // namespace tvsim::test
