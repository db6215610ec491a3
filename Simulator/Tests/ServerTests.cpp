#include "TestSupport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <set>
#include <thread>

using namespace tvsim;
using namespace tvsim::test;
using nlohmann::json;

namespace
{
// A rigged character of the given family, ready for motions.
std::string ReadyCharacter(LiveServer& Sim, const std::string& MeshFile, const std::string& Key = "tv_demo_key")
{
	const auto Bytes = ModelBytes(MeshFile);
	if (!Bytes)
	{
		ADD_FAILURE() << MeshFile << " is not in " << ModelsDir();
		return "";
	}
	const json Character = Sim.UploadAndRig(MeshFile, *Bytes, Key);
	EXPECT_EQ(Character.value("status", ""), "ready") << Character.dump();
	return Character.value("id", "");
}

int Credits(LiveServer& Sim, const std::string& Key = "tv_demo_key")
{
	return Sim.Get("/v1/auth/me", Key).Json.value("credits", -1);
}

bool HasModels()
{
	return ModelBytes("quadruped_mesh.fbx") && ModelBytes("quadruped_anim.fbx");
}
} // namespace

TEST(Server, KeysAreCheckedOnEveryApiCall)
{
	LiveServer Sim;
	const std::pair<std::string, std::string> Refused[] = {
		{"", "Missing API key"},
		{"tv_nobody", "Invalid API key."},
		{"sk_demo_key", "tv_"},
	};
	for (const char* Path : {"/v1/auth/me", "/v1/assets", "/v1/assets/0123456789abcdef", "/v1/jobs/0123456789abcdef"})
	{
		for (const auto& [Key, Words] : Refused)
		{
			const Reply R = Sim.Get(Path, Key);
			EXPECT_EQ(R.Status, 401) << Path << " " << Key;
			ASSERT_TRUE(R.Json.is_object()) << R.Body;
			EXPECT_NE(R.Json.value("detail", "").find(Words), std::string::npos) << R.Body;
		}
	}
	httplib::Client Client("127.0.0.1", Sim.Port());
	EXPECT_EQ(Client.Get("/v1/auth/me", {{"Authorization", "Basic dHZfZGVtb19rZXk="}})->status, 401);

	const Reply Me = Sim.Get("/v1/auth/me");
	EXPECT_EQ(Me.Status, 200);
	EXPECT_EQ(Me.Json, (json{{"email", "demo@tarvoline.test"}, {"credits", 1000}}));
	EXPECT_EQ(Sim.Get("/v1/auth/me", "tv_poor_key").Json.value("credits", -1), 1);

	// Unknown paths and methods answer JSON too.
	EXPECT_EQ(Sim.Get("/v1/nothing").Status, 404);
	EXPECT_EQ(Sim.PostJson("/v1/auth/me", json::object()).Status, 405);
	EXPECT_TRUE(Sim.Get("/v1/nothing").Json.contains("detail"));
}

TEST(Server, ControlPrefixIsHiddenUnlessAllowed)
{
	ServerOptions Options = LiveServer::Defaults();
	Options.AllowControl = false;
	LiveServer Sim(Options);
	for (const char* Path : {"/_sim/reset", "/_sim/faults", "/_sim/time"})
	{
		EXPECT_EQ(Sim.Control(Path, {{"kind", "drop"}}).Status, 404) << Path;
	}
	EXPECT_EQ(Sim.Control("GET /_sim/requests").Status, 404);
	// The fault above was not taken.
	EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 200);
}

namespace
{
// Connects a plain TCP socket; 0 on success, else the errno of the failure.
int ConnectError(const char* Address, int Port)
{
	const int Socket = ::socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in Target{};
	Target.sin_family = AF_INET;
	Target.sin_port = htons(static_cast<uint16_t>(Port));
	::inet_pton(AF_INET, Address, &Target.sin_addr);
	const int Result = ::connect(Socket, reinterpret_cast<sockaddr*>(&Target), sizeof Target) == 0 ? 0 : errno;
	::close(Socket);
	return Result;
}
} // namespace

TEST(Server, ListensOnLoopbackOnly)
{
	LiveServer Sim;
	EXPECT_EQ(ConnectError("127.0.0.1", Sim.Port()), 0);
	// Another address of this machine, even one on the loopback network, finds nothing listening.
	EXPECT_EQ(ConnectError("127.0.0.2", Sim.Port()), ECONNREFUSED);
}

TEST(Server, CharacterMovesFromPendingThroughProcessingToReady)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	// Slow time, moved on by hand, so each status is seen however busy the machine is:
	// pending for 100 s, processing for the next 300 s.
	ServerOptions Options = LiveServer::Defaults();
	Options.TimeScale = 100.0;
	LiveServer Sim(Options);
	const std::string Name = "R\xC3\xBC" "de \"Rex\".fbx";
	const Reply Created = Sim.Upload(Name, *ModelBytes("quadruped_mesh.fbx"));
	ASSERT_EQ(Created.Status, 200) << Created.Body;
	EXPECT_EQ(Created.Json.value("status", ""), "pending");
	EXPECT_EQ(Created.Json.value("filename", ""), Name);
	const std::string Id = Created.Json.value("id", "");
	EXPECT_EQ(Id.size(), 16u);
	EXPECT_EQ(Id.find_first_not_of("0123456789abcdef"), std::string::npos);

	EXPECT_EQ(Sim.Get("/v1/assets/" + Id).Json.value("status", ""), "pending");
	Sim.Control("/_sim/time", {{"advanceSeconds", 150}});
	const json Processing = Sim.Get("/v1/assets/" + Id).Json;
	EXPECT_EQ(Processing.value("status", ""), "processing");
	EXPECT_FALSE(Processing.contains("family"));
	EXPECT_EQ(Sim.PostJson("/v1/plan", {{"prompt", "jump"}, {"assetId", Id}}).Status, 409);
	Sim.Control("/_sim/time", {{"advanceSeconds", 300}});
	const json Ready = Sim.Get("/v1/assets/" + Id).Json;
	EXPECT_EQ(Ready.value("status", ""), "ready");
	EXPECT_EQ(Ready.value("family", ""), "quadruped");
	EXPECT_EQ(Ready.value("filename", ""), Name);

	const Reply List = Sim.Get("/v1/assets");
	ASSERT_TRUE(List.Json.is_array());
	ASSERT_EQ(List.Json.size(), 1u);
	EXPECT_EQ(List.Json[0], Ready);
	// Characters belong to their account.
	EXPECT_EQ(Sim.Get("/v1/assets", "tv_poor_key").Json, json::array());
	EXPECT_EQ(Sim.Get("/v1/assets/" + Id, "tv_poor_key").Status, 404);
}

TEST(Server, UploadsThatAreNotModelsEndFailedWithASentence)
{
	LiveServer Sim;
	for (const auto& [Name, Bytes] : {std::pair<std::string, std::string>{"notes.txt", "hello"}, {"empty.fbx", ""},
			 {"broken.glb", "glTF\x02\0\0\0garbage"}})
	{
		const json Character = Sim.UploadAndRig(Name, Bytes);
		EXPECT_EQ(Character.value("status", ""), "failed") << Name;
		EXPECT_FALSE(Character.value("error", "").empty()) << Name;
		EXPECT_FALSE(Character.contains("family")) << Name;
	}
}

TEST(Server, UploadBodiesAreJudgedWithoutCrashing)
{
	ServerOptions Options = LiveServer::Defaults();
	Options.MaxUploadBytes = 1000;
	LiveServer Sim(Options);
	const std::string Type = "multipart/form-data; boundary=b";

	// Malformed bodies: 400 with a sentence.
	for (const std::string& Body : {std::string("junk"), std::string("--b\r\nContent-Disposition: form-data; name=\"file\"\r\n\r\nx"),
			 std::string("--b\r\nNoColon\r\n\r\nx\r\n--b--"), std::string()})
	{
		const Reply R = Sim.PostRaw("/v1/assets", Body, Type);
		EXPECT_EQ(R.Status, 400) << Body;
		EXPECT_TRUE(R.Json.value("detail", "").size() > 5) << R.Body;
	}
	EXPECT_EQ(Sim.PostRaw("/v1/assets", "x", "application/octet-stream").Status, 400);
	EXPECT_EQ(Sim.PostRaw("/v1/assets", "x", "multipart/form-data").Status, 400);

	// Well formed but without a "file" part: 422 with a list of problems.
	const Reply NoFile = Sim.PostRaw("/v1/assets", "--b\r\nContent-Disposition: form-data; name=\"other\"\r\n\r\nx\r\n--b--\r\n", Type);
	EXPECT_EQ(NoFile.Status, 422);
	EXPECT_TRUE(NoFile.Json["detail"].is_array());

	// Over the limit: 413, whether caught from the declared length or from the file itself.
	EXPECT_EQ(Sim.Upload("big.fbx", std::string(1001, 'x')).Status, 413);
	const Reply Huge = Sim.Upload("huge.fbx", std::string(3 * 1024 * 1024, 'x'));
	EXPECT_EQ(Huge.Status, 413);
	EXPECT_TRUE(Huge.Json.contains("detail")) << Huge.Body;
	EXPECT_EQ(Sim.Upload("fits.fbx", std::string(900, 'x')).Status, 200);
	EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 200);
}

TEST(Server, PlanPricesThePromptForTheCharactersFamily)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	LiveServer Sim;
	const std::string Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");
	const Reply Plan = Sim.PostJson("/v1/plan", {{"prompt", "a fox jumps"}, {"assetId", Dog}});
	ASSERT_EQ(Plan.Status, 200) << Plan.Body;
	EXPECT_EQ(Plan.Json["script"]["segments"], (json::array({{{"primitive", "quad_jump"}, {"seconds", 1.4}}})));
	EXPECT_EQ(Plan.Json.value("cost", 0), 3);
	EXPECT_EQ(Plan.Json.value("balance", 0), 1000);
	EXPECT_EQ(Plan.Json.value("affordable", false), true);
	EXPECT_TRUE(Plan.Json["notes"].is_array());
	EXPECT_EQ(Credits(Sim), 1000); // planning is free

	// The client's pretty-printed body (tabs and CR LF) reads the same.
	const Reply Pretty = Sim.PostRaw("/v1/plan", "{\r\n\t\"prompt\": \"trots\",\r\n\t\"assetId\": \"" + Dog + "\"\r\n}", "application/json");
	EXPECT_EQ(Pretty.Json["script"]["segments"][0].value("primitive", ""), "quad_trot_forward");

	// Refusals: validation (422 with a list), unknown character (404).
	for (const json& Body : {json{{"assetId", Dog}}, json{{"prompt", 5}, {"assetId", Dog}}, json{{"prompt", "  "}, {"assetId", Dog}}})
	{
		const Reply R = Sim.PostJson("/v1/plan", Body);
		EXPECT_EQ(R.Status, 422) << Body.dump();
		EXPECT_TRUE(R.Json["detail"].is_array()) << R.Body;
	}
	EXPECT_EQ(Sim.PostRaw("/v1/plan", "{not json", "application/json").Status, 422);
	EXPECT_EQ(Sim.PostJson("/v1/plan", {{"prompt", "jump"}, {"assetId", ""}}).Status, 404);
	EXPECT_EQ(Sim.PostJson("/v1/plan", {{"prompt", "jump"}, {"assetId", Dog}}, "tv_poor_key").Status, 404);
}

TEST(Server, JobRunsThroughItsStagesAndItsFbxDownloads)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	LiveServer Sim;
	const std::string Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");
	// Time ten times slower than the service's, stepped by hand: the shortest stage lasts 5 s
	// of the simulated clock and each step moves it 2.5 s, so every stage is seen.
	Sim.Control("/_sim/time", {{"timeScale", 10}});

	const Reply Created = Sim.PostJson("/v1/generate", {{"prompt", "trots forward"}, {"assetId", Dog}, {"formats", {"fbx"}}});
	ASSERT_EQ(Created.Status, 200) << Created.Body;
	const json& Job = Created.Json;
	EXPECT_EQ(Job.value("status", ""), "queued");
	EXPECT_EQ(Job.value("stage", ""), "queued");
	EXPECT_EQ(Job.value("prompt", ""), "trots forward");
	EXPECT_EQ(Job.value("assetId", ""), Dog);
	EXPECT_EQ(Job.value("progress", -1.0), 0.0);
	EXPECT_EQ(Credits(Sim), 1000 - Job.value("creditsCost", 0));
	const std::string Id = Job.value("id", "");

	std::vector<std::string> Stages;
	std::vector<std::string> Statuses;
	double LastProgress = 0.0;
	json Last;
	for (int Step = 0; Step < 200; ++Step)
	{
		Last = Sim.Get("/v1/jobs/" + Id).Json;
		const std::string Status = Last.value("status", "");
		if (Statuses.empty() || Statuses.back() != Status)
		{
			Statuses.push_back(Status);
		}
		if (Status != "queued" && Status != "running")
		{
			break;
		}
		const std::string Stage = Last.value("stage", "");
		if (Stages.empty() || Stages.back() != Stage)
		{
			Stages.push_back(Stage);
		}
		EXPECT_GE(Last.value("progress", -1.0), LastProgress);
		EXPECT_LT(Last.value("progress", 2.0), 1.0);
		LastProgress = Last.value("progress", 0.0);
		Sim.Control("/_sim/time", {{"advanceSeconds", 2.5}});
	}
	EXPECT_EQ(Statuses, (std::vector<std::string>{"queued", "running", "succeeded"}));
	EXPECT_EQ(Stages, (std::vector<std::string>{"queued", "starting", "preparing", "warming", "generating", "retargeting", "exporting"}));
	EXPECT_GT(LastProgress, 0.5);

	EXPECT_EQ(Last.value("status", ""), "succeeded");
	EXPECT_EQ(Last.value("progress", 0.0), 1.0);
	EXPECT_GT(Last.value("durationSeconds", 0.0), 0.5);
	EXPECT_EQ(Last.value("creditsCost", 0), Job.value("creditsCost", -1));
	EXPECT_FALSE(Last.value("creditsRefunded", true));
	EXPECT_FALSE(Last.contains("fallbackFrom"));
	ASSERT_EQ(Last["outputs"].size(), 1u);
	EXPECT_EQ(Last["outputs"][0].value("kind", ""), "fbx");

	// The link works without a key and serves the quadruped's animated model.
	const Reply File = Sim.FetchUrl(Last["outputs"][0].value("url", ""));
	ASSERT_EQ(File.Status, 200) << File.Body;
	EXPECT_EQ(File.Body, *ModelBytes("quadruped_anim.fbx"));
	Assimp::Importer Importer;
	const aiScene* Scene = Importer.ReadFileFromMemory(File.Body.data(), File.Body.size(), 0, "fbx");
	ASSERT_NE(Scene, nullptr);
	EXPECT_GE(Scene->mNumAnimations, 1u);
	ASSERT_GE(Scene->mNumMeshes, 1u);
	EXPECT_GT(Scene->mMeshes[0]->mNumBones, 1u);
}

TEST(Server, DownloadLinksAreSignedAndExpire)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	ServerOptions Options = LiveServer::Defaults();
	Options.TimeScale = 0.0;
	LiveServer Sim(Options);
	const std::string Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");
	const std::string Id = Sim.PostJson("/v1/generate", {{"prompt", "sits"}, {"assetId", Dog}}).Json.value("id", "");
	const std::string Url = Sim.WaitForJob(Id)["outputs"][0].value("url", "");
	ASSERT_EQ(Sim.FetchUrl(Url).Status, 200);

	const auto Token = Url.find("token=") + 6;
	std::string Tampered = Url;
	Tampered[Token] = Tampered[Token] == 'a' ? 'b' : 'a';
	EXPECT_EQ(Sim.FetchUrl(Tampered).Status, 403);
	EXPECT_EQ(Sim.FetchUrl(Url.substr(0, Url.find('?'))).Status, 403);
	std::string OtherFile = Url;
	OtherFile.replace(OtherFile.find("motion.fbx"), 10, "motion.glb");
	EXPECT_EQ(Sim.FetchUrl(OtherFile).Status, 403);
	std::string LaterExpiry = Url;
	LaterExpiry.insert(LaterExpiry.find("expires=") + 8, "9");
	EXPECT_EQ(Sim.FetchUrl(LaterExpiry).Status, 403);

	// Two hours on, the link has expired; a fresh read of the job gives a working one.
	Sim.Control("/_sim/time", {{"advanceSeconds", 7200}});
	const Reply Expired = Sim.FetchUrl(Url);
	EXPECT_EQ(Expired.Status, 403);
	EXPECT_NE(Expired.Json.value("detail", "").find("expired"), std::string::npos);
	EXPECT_EQ(Sim.FetchUrl(Sim.Get("/v1/jobs/" + Id).Json["outputs"][0].value("url", "")).Status, 200);
}

TEST(Server, CreditsAreChargedOnceRefusedWhenShortAndRefundedOnFailure)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	ServerOptions Options = LiveServer::Defaults();
	Options.TimeScale = 0.0;
	LiveServer Sim(Options);

	// The poor key cannot pay for any motion.
	const std::string Poor = ReadyCharacter(Sim, "frog_mesh.fbx", "tv_poor_key");
	const Reply Short = Sim.PostJson("/v1/generate", {{"prompt", "hop"}, {"assetId", Poor}}, "tv_poor_key");
	EXPECT_EQ(Short.Status, 402);
	EXPECT_FALSE(Short.Json.value("detail", "").empty());
	EXPECT_FALSE(Sim.PostJson("/v1/plan", {{"prompt", "hop"}, {"assetId", Poor}}, "tv_poor_key").Json.value("affordable", true));
	EXPECT_EQ(Credits(Sim, "tv_poor_key"), 1);

	// A failed job gives its credits back, once. Slow time down so the charge can be seen first.
	const std::string Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");
	Sim.Control("/_sim/time", {{"timeScale", 100}});
	Sim.Control("/_sim/next", {{"job", {{"fail", "The motion model ran out of memory."}, {"failStage", "retargeting"}}}});
	const Reply Created = Sim.PostJson("/v1/generate", {{"prompt", "jumps"}, {"assetId", Dog}});
	const std::string Id = Created.Json.value("id", "");
	EXPECT_EQ(Credits(Sim), 1000 - Created.Json.value("creditsCost", 0));
	EXPECT_EQ(Sim.Get("/v1/jobs/" + Id).Json.value("status", ""), "queued");
	Sim.Control("/_sim/time", {{"advanceSeconds", 100000}});
	const json Failed = Sim.Get("/v1/jobs/" + Id).Json;
	EXPECT_EQ(Failed.value("status", ""), "failed");
	EXPECT_EQ(Failed.value("stage", ""), "retargeting");
	EXPECT_EQ(Failed.value("error", ""), "The motion model ran out of memory.");
	EXPECT_TRUE(Failed.value("creditsRefunded", false));
	EXPECT_EQ(Credits(Sim), 1000);
	EXPECT_EQ(Sim.Get("/v1/jobs/" + Id).Json.value("creditsRefunded", false), true);
	EXPECT_EQ(Credits(Sim), 1000);
}

TEST(Server, ConcurrentGeneratesNeverLoseOrDoubleCredits)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	LiveServer Sim;
	const std::string Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");
	const int Start = 100;
	Sim.Control("/_sim/accounts", {{"key", "tv_demo_key"}, {"credits", Start}});
	const int Cost = Sim.PostJson("/v1/plan", {{"prompt", "trots"}, {"assetId", Dog}}).Json.value("cost", 0); // 4
	ASSERT_GT(Cost, 1);

	std::atomic<int> Accepted{0};
	std::atomic<int> Refused{0};
	std::atomic<int> Other{0};
	std::vector<std::thread> Threads;
	for (int T = 0; T < 8; ++T)
	{
		Threads.emplace_back([&] {
			for (int I = 0; I < 5; ++I)
			{
				const int Status = Sim.PostJson("/v1/generate", {{"prompt", "trots"}, {"assetId", Dog}}).Status;
				(Status == 200 ? Accepted : Status == 402 ? Refused : Other)++;
			}
		});
	}
	for (auto& T : Threads)
	{
		T.join();
	}
	EXPECT_EQ(Other.load(), 0);
	EXPECT_EQ(Accepted.load(), Start / Cost);
	EXPECT_EQ(Accepted + Refused, 40);
	EXPECT_EQ(Credits(Sim), Start - Accepted * Cost);
	EXPECT_GE(Credits(Sim), 0);
}

TEST(Server, ControlsShapeTheNextRigAndJob)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	ServerOptions Options = LiveServer::Defaults();
	Options.TimeScale = 100.0; // everything would take minutes, unless the controls say otherwise
	LiveServer Sim(Options);

	EXPECT_EQ(Sim.Control("/_sim/time", {{"timeScale", 0}}).Json.value("timeScale", -1.0), 0.0);
	Sim.Control("/_sim/next", {{"rig", {{"family", "bird"}}}});
	const std::string Bird = ReadyCharacter(Sim, "humanoid_mesh.fbx");
	EXPECT_EQ(Sim.Get("/v1/assets/" + Bird).Json.value("family", ""), "bird");

	Sim.Control("/_sim/next", {{"rig", {{"fail", true}}}});
	const json Failed = Sim.UploadAndRig("a.fbx", *ModelBytes("humanoid_mesh.fbx"));
	EXPECT_EQ(Failed.value("status", ""), "failed");
	EXPECT_FALSE(Failed.value("error", "").empty());

	Sim.Control("/_sim/next", {{"job", {{"noFbx", true}}}});
	json Job = Sim.WaitForJob(Sim.PostJson("/v1/generate", {{"prompt", "flies"}, {"assetId", Bird}}).Json.value("id", ""));
	EXPECT_EQ(Job.value("status", ""), "succeeded");
	ASSERT_EQ(Job["outputs"].size(), 1u);
	EXPECT_EQ(Job["outputs"][0].value("kind", ""), "glb");

	// A prompt with no motion in it is made from the preset, and the job says so.
	Job = Sim.WaitForJob(Sim.PostJson("/v1/generate", {{"prompt", "ponders"}, {"assetId", Bird}}).Json.value("id", ""));
	EXPECT_FALSE(Job.value("fallbackFrom", "").empty());
	EXPECT_EQ(Job["script"]["segments"][0].value("primitive", ""), "bird_idle");

	// With time slowed again, advancing the clock finishes a rig.
	Sim.Control("/_sim/time", {{"timeScale", 100}});
	const std::string Id = Sim.Upload("h.fbx", *ModelBytes("humanoid_mesh.fbx")).Json.value("id", "");
	EXPECT_EQ(Sim.Get("/v1/assets/" + Id).Json.value("status", ""), "pending");
	Sim.Control("/_sim/time", {{"advanceSeconds", 1000}});
	EXPECT_EQ(Sim.Get("/v1/assets/" + Id).Json.value("status", ""), "ready");

	// Reset brings back the seeded accounts and forgets characters.
	Sim.Control("/_sim/reset");
	EXPECT_EQ(Sim.Get("/v1/assets").Json, json::array());
	EXPECT_EQ(Credits(Sim), 1000);
}

TEST(Server, FaultsFireOnlyForTheRequestsTheyName)
{
	LiveServer Sim;
	auto Fault = [&](const json& Description) {
		const Reply R = Sim.Control("/_sim/faults", Description);
		ASSERT_EQ(R.Status, 200) << R.Body;
	};

	Fault({{"kind", "status"}, {"status", 503}, {"path", "/v1/auth/me"}, {"detail", "Down for a moment."}});
	EXPECT_EQ(Sim.Get("/v1/assets").Status, 200);
	Reply R = Sim.Get("/v1/auth/me");
	EXPECT_EQ(R.Status, 503);
	EXPECT_EQ(R.Json, (json{{"detail", "Down for a moment."}}));
	EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 200);

	Fault({{"kind", "status"}, {"status", 422}, {"method", "GET"}, {"detail", json::array({{{"loc", {"body"}}, {"msg", "bad"}}})}});
	EXPECT_EQ(Sim.Get("/v1/auth/me").Json["detail"][0].value("msg", ""), "bad");

	Fault({{"kind", "status"}, {"status", 500}});
	R = Sim.Get("/v1/auth/me");
	EXPECT_EQ(R.Status, 500);
	EXPECT_EQ(R.Body, "");

	Fault({{"kind", "status"}, {"status", 429}, {"headers", {{"Retry-After", "30"}}}, {"body", "[1,2]"}});
	R = Sim.Get("/v1/auth/me");
	EXPECT_EQ(R.Status, 429);
	EXPECT_EQ(R.Body, "[1,2]");
	ASSERT_NE(R.Headers.find("Retry-After"), R.Headers.end());
	EXPECT_EQ(R.Headers.find("Retry-After")->second, "30");

	Fault({{"kind", "html"}, {"status", 401}});
	R = Sim.Get("/v1/auth/me");
	EXPECT_EQ(R.Status, 401);
	EXPECT_NE(R.Body.find("<html>"), std::string::npos);

	for (const auto& [Kind, Body] : {std::pair<std::string, std::string>{"empty", ""}, {"number", "42"}})
	{
		Fault({{"kind", Kind}});
		R = Sim.Get("/v1/auth/me");
		EXPECT_EQ(R.Status, 200) << Kind;
		EXPECT_EQ(R.Body, Body) << Kind;
	}
	Fault({{"kind", "empty"}, {"status", 204}});
	EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 204);
	Fault({{"kind", "malformed"}});
	R = Sim.Get("/v1/auth/me");
	EXPECT_EQ(R.Status, 200);
	EXPECT_TRUE(R.Json.is_discarded());

	Fault({{"kind", "truncated"}});
	R = Sim.Get("/v1/auth/me");
	EXPECT_EQ(R.Status, 200);
	EXPECT_EQ(R.Body, json({{"credits", 1000}, {"email", "demo@tarvoline.test"}}).dump().substr(0, R.Body.size()));
	EXPECT_TRUE(R.Json.is_discarded());

	for (const char* Kind : {"drop", "cut"})
	{
		Fault({{"kind", Kind}});
		EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 0) << Kind;
		EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 200) << Kind;
	}
	// An error answer is cut or slowed like any other, with its own body.
	Fault({{"kind", "cut"}, {"path", "/v1/assets/"}});
	EXPECT_EQ(Sim.Get("/v1/assets/0123456789abcdef").Status, 0);
	Fault({{"kind", "slow"}, {"path", "/v1/assets/"}});
	R = Sim.Get("/v1/assets/0123456789abcdef");
	EXPECT_EQ(R.Status, 404);
	EXPECT_EQ(R.Json.value("detail", ""), "No character with that id on this account.");

	Fault({{"kind", "delay"}, {"delayMs", 50}});
	EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 200);

	// The requests log tells which fault each request met.
	const json Log = Sim.Control("GET /_sim/requests?path=/v1/auth/me").Json["requests"];
	std::vector<std::string> Faults;
	for (const auto& Entry : Log)
	{
		if (Entry.contains("fault"))
		{
			Faults.push_back(Entry.value("fault", ""));
		}
	}
	EXPECT_EQ(Faults, (std::vector<std::string>{"status", "status", "status", "status", "html", "empty", "number", "empty",
						  "malformed", "truncated", "drop", "cut", "delay"}));
	EXPECT_EQ(Sim.Control("GET /_sim/faults").Json["faults"], json::array());
	EXPECT_EQ(Sim.Control("/_sim/faults", {{"kind", "bogus"}}).Status, 400);
}

TEST(Server, DroppedAfterWorkAndSlowDownloadsStillChangeAndDeliver)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	ServerOptions Options = LiveServer::Defaults();
	Options.TimeScale = 0.0;
	LiveServer Sim(Options);
	const std::string Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");

	// The answer is lost but the job was made and paid for, as with a real network failure.
	Sim.Control("/_sim/faults", {{"kind", "dropAfter"}, {"method", "POST"}, {"path", "/v1/generate"}});
	EXPECT_EQ(Sim.PostJson("/v1/generate", {{"prompt", "jumps"}, {"assetId", Dog}}).Status, 0);
	EXPECT_LT(Credits(Sim), 1000);

	// A plain drop does nothing at all.
	const int Before = Credits(Sim);
	Sim.Control("/_sim/faults", {{"kind", "drop"}, {"path", "/v1/generate"}});
	EXPECT_EQ(Sim.PostJson("/v1/generate", {{"prompt", "jumps"}, {"assetId", Dog}}).Status, 0);
	EXPECT_EQ(Credits(Sim), Before);

	const std::string Id = Sim.PostJson("/v1/generate", {{"prompt", "jumps"}, {"assetId", Dog}}).Json.value("id", "");
	const std::string Url = Sim.WaitForJob(Id)["outputs"][0].value("url", "");
	Sim.Control("/_sim/faults", {{"kind", "slow"}, {"path", "/downloads/"}, {"bytesPerSecond", 4 * 1024 * 1024}});
	const Reply File = Sim.FetchUrl(Url);
	EXPECT_EQ(File.Status, 200);
	EXPECT_EQ(File.Body, *ModelBytes("quadruped_anim.fbx"));
	EXPECT_EQ(Sim.Control("GET /_sim/requests?path=/downloads/").Json["requests"][0].value("fault", ""), "slow");
}

TEST(Server, RequestsAreRecordedByteForByte)
{
	LiveServer Sim;
	const std::string Boundary = "----tarvoline0123456789ABCDEF0123456789ABCDEF";
	const std::string Body = PluginMultipartBody(Boundary, "a\"b \xE2\x82\xAC.fbx", std::string("\0\r\n\xff", 4));
	Sim.PostRaw("/v1/assets?x=1&y=%20", Body, "multipart/form-data; boundary=" + Boundary);
	Sim.PostJson("/v1/plan", {{"prompt", "x"}, {"assetId", "y"}});

	const json All = Sim.Control("GET /_sim/requests").Json["requests"];
	ASSERT_EQ(All.size(), 2u);
	const json& Upload = All[0];
	EXPECT_EQ(Upload.value("method", ""), "POST");
	EXPECT_EQ(Upload.value("path", ""), "/v1/assets");
	EXPECT_EQ(Upload.value("query", ""), "x=1&y=%20");
	EXPECT_EQ(Base64Decode(Upload.value("bodyBase64", "")), Body);
	EXPECT_EQ(Upload.value("bodySize", 0u), Body.size());
	EXPECT_EQ(Upload["headers"].value("Content-Type", ""), "multipart/form-data; boundary=" + Boundary);
	EXPECT_EQ(Upload["headers"].value("Authorization", ""), "Bearer tv_demo_key");
	EXPECT_EQ(Upload["headers"].value("User-Agent", ""), "tarvoline-unreal/0.1.0");
	EXPECT_FALSE(Upload["headers"].contains("REMOTE_ADDR"));
	EXPECT_EQ(Upload.value("status", 0), 200);

	// Filters: since a sequence number, by method, by path prefix.
	const long long First = Upload.value("seq", 0LL);
	EXPECT_EQ(Sim.Control("GET /_sim/requests?since=" + std::to_string(First)).Json["requests"].size(), 1u);
	EXPECT_EQ(Sim.Control("GET /_sim/requests?method=get").Json["requests"].size(), 0u);
	EXPECT_EQ(Sim.Control("GET /_sim/requests?path=/v1/plan").Json["requests"][0].value("method", ""), "POST");
	Sim.Control("DELETE /_sim/requests");
	EXPECT_EQ(Sim.Control("GET /_sim/requests").Json["requests"].size(), 0u);
}

TEST(Server, StateSurvivesARestart)
{
	if (!HasModels())
	{
		GTEST_SKIP() << "test models missing";
	}
	TempDir Data;
	ServerOptions Options = LiveServer::Defaults();
	Options.TimeScale = 0.0;
	Options.DataDir = Data.Path;
	std::string Dog;
	std::string JobId;
	std::string Url;
	int Left = 0;
	{
		LiveServer Sim(Options);
		Dog = ReadyCharacter(Sim, "quadruped_mesh.fbx");
		JobId = Sim.PostJson("/v1/generate", {{"prompt", "trots"}, {"assetId", Dog}}).Json.value("id", "");
		Url = Sim.WaitForJob(JobId)["outputs"][0].value("url", "");
		Left = Credits(Sim);
		EXPECT_LT(Left, 1000);
	}
	LiveServer Again(Options);
	EXPECT_EQ(Credits(Again), Left);
	EXPECT_EQ(Again.Get("/v1/assets/" + Dog).Json.value("family", ""), "quadruped");
	const json Job = Again.Get("/v1/jobs/" + JobId).Json;
	EXPECT_EQ(Job.value("status", ""), "succeeded");
	EXPECT_EQ(Job.value("prompt", ""), "trots");
	// Links made before the restart still work: the signing secret is kept too. The port is
	// new, so only the path and query are reused.
	const std::string PathAndQuery = Url.substr(Url.find("/downloads/"));
	EXPECT_EQ(Again.FetchUrl(Again.BaseUrl() + PathAndQuery).Status, 200);
}

TEST(Server, StopsRightAfterStartingEveryTime)
{
	// A stop that comes before the serving loop runs used to be lost, and the loop then served forever. The rounds
	// run on a thread of their own so that such a hang fails this test instead of stalling the whole run.
	constexpr int Rounds = 200;
	auto Done = std::make_shared<std::atomic<int>>(0);
	auto Bound = std::make_shared<std::atomic<int>>(0);
	std::thread([Done, Bound] {
		for (int Round = 0; Round < Rounds; ++Round)
		{
			SimServer Server(LiveServer::Defaults());
			if (Server.Start() > 0)
			{
				++*Bound;
			}
			Server.Stop();
			++*Done;
		}
	}).detach();
	const bool bFinished = WaitUntil([Done] { return Done->load() == Rounds; }, std::chrono::seconds(30));
	ASSERT_TRUE(bFinished) << "stop hung after " << Done->load() << " of " << Rounds << " rounds";
	EXPECT_EQ(Bound->load(), Rounds);

	// After all those, a server serves as usual.
	LiveServer Sim;
	EXPECT_EQ(Sim.Get("/v1/auth/me").Status, 200);
}
