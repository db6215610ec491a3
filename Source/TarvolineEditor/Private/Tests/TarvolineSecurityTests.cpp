// Security properties of the plug-in: the API key goes to the API only (never into a log line, an error sentence, or
// a request to an output file's link), and names that come from the service (job ids, character file names, prompts)
// cannot move a download out of Saved/Tarvoline or an asset out of /Game/Tarvoline/Animations.

#include "Animation/AnimSequence.h"
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/OutputDevice.h"
#include "Misc/Paths.h"
#include "TarvolineApi.h"
#include "TarvolineImport.h"
#include "TarvolineTestHelpers.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineSecurityTest
{
using namespace TarvolineTest;
using TarvolineUiTest::UploadRiggedCharacterStep;

const TCHAR* const SecretKey = TEXT("tv_leakcheck_5e1f0c9ab7");

/** Keeps every line logged while it lives, whatever its category or verbosity. */
class FLogCapture final : public FOutputDevice
{
public:
	FLogCapture() { GLog->AddOutputDevice(this); }
	virtual ~FLogCapture() override { GLog->RemoveOutputDevice(this); }
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName& Category) override
	{
		Lines.Add(Category.ToString() + TEXT(": ") + V);
	}
	TArray<FString> Lines;
};

/** Enqueues reading the account with Key, under Fault when given, from the service at Api when one is given. */
TSharedRef<TOutcome<FNothing>> AccountStep(
	FAutomationTestBase* Test, const FString& Key, const FString& Fault, const FString& Api = FString())
{
	return CallStep<FNothing>(
		Test, TEXT("the account with ") + Api + Fault,
		[Key, Api](const TSharedRef<TOutcome<FNothing>>& Outcome)
		{
			const auto Counted = [Outcome](const FTarvolineAccount&)
			{
				++Outcome->Successes;
			};
			WithApiUrl(Api.IsEmpty() ? FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API")) : Api,
				[Key, Counted, Outcome]()
				{
					TarvolineApi::FetchAccount(Key, Counted, OnFailure(Outcome));
				});
		},
		Fault);
}

/** What MakeDownloadFileName made of a prompt and a job id: the file name or the refusal, in one line. */
FString NameFor(const FString& Prompt, const FString& Id)
{
	FString FileName = TEXT("left over");
	FString Error;
	const bool bNamed = MakeDownloadFileName(Prompt, Id, FileName, Error);
	return FString::Printf(TEXT("%s \"%s\" \"%s\""), bNamed ? TEXT("named") : TEXT("refused"), *FileName, *Error);
}
} // namespace TarvolineSecurityTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineSecurityKeyNeverLeavesTest, "Tarvoline.Security.KeyNeverLeaves",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineSecurityKeyNeverLeavesTest::RunTest(const FString&)
{
	using namespace TarvolineSecurityTest;
	const TSharedRef<FLogCapture> Capture = MakeShared<FLogCapture>();
	const FString Scratch = MakeScratchDir(TEXT("KeyNeverLeaves"));
	SimResetStep(this);
	SimTimeScaleStep(this, 0.0);
	SimAccountStep(this, SecretKey, TEXT("leak@tarvoline.test"), 100);

	// The whole road with the key, then the same key through every kind of failure.
	const TSharedRef<FString> CharacterId =
		UploadRiggedCharacterStep(this, SecretKey, TestModelFile(TEXT("humanoid_mesh.fbx")));
	const TSharedRef<FString> Url = MakeShared<FString>();
	const TSharedRef<TOutcome<FNothing>> Download = CallStep<FNothing>(this, TEXT("the road"),
		[CharacterId, Url, Scratch](const TSharedRef<TOutcome<FNothing>>& Outcome)
		{
			TarvolineApi::Generate(
				SecretKey, TEXT("a person waves"), *CharacterId,
				[Outcome, Url, Scratch](const FTarvolineJob& Made)
				{
					TarvolineApi::FetchJob(
						SecretKey, Made.Id,
						[Outcome, Url, Scratch](const FTarvolineJob& Job)
						{
							*Url = Job.Outputs.Num() > 0 ? Job.Outputs[0].Url : FString();
							TarvolineApi::DownloadFile(
								*Url, Scratch / TEXT("motion.fbx"), OnDone(Outcome), OnFailure(Outcome));
						},
						OnFailure(Outcome));
				},
				OnFailure(Outcome));
		});
	TArray<TSharedRef<TOutcome<FNothing>>> Refusals;
	for (const TCHAR* Fault :
		{TEXT("{\"kind\": \"status\", \"status\": 401}"), TEXT("{\"kind\": \"html\", \"status\": 500}"),
			TEXT("{\"kind\": \"malformed\"}"), TEXT("{\"kind\": \"drop\", \"count\": -1}")})
	{
		Refusals.Add(AccountStep(this, SecretKey, Fault));
	}
	// A key the service refuses, with its own sentence, no service at all, and a refused download link.
	Refusals.Add(AccountStep(this, FString(SecretKey) + TEXT("x"), FString()));
	Refusals.Add(AccountStep(this, SecretKey, FString(), TEXT("http://127.0.0.1:1")));
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 403, \"path\": \"/downloads/\"}"));
	Refusals.Add(CallStep<FNothing>(this, TEXT("the refused download"),
		[Url, Scratch](const TSharedRef<TOutcome<FNothing>>& Outcome)
		{
			TarvolineApi::DownloadFile(*Url, Scratch / TEXT("again.fbx"), OnDone(Outcome), OnFailure(Outcome));
		}));
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/"));
	Then(
		[this, Capture, Recorded, Download, Refusals, Scratch]()
		{
			// Everything the key must stay out of: log lines, sentences, API addresses, all of a download request.
			TArray<FString> Exposed = Capture->Lines;
			int32 Failed = 0;
			for (const TSharedRef<TOutcome<FNothing>>& Refusal : Refusals)
			{
				Failed += Refusal->Failed() ? 1 : 0;
				Exposed.Add(Refusal->Message);
			}
			int32 Downloads = 0;
			for (const FRecordedRequest& Request : *Recorded)
			{
				const bool bDownload = Request.Path.StartsWith(TEXT("/downloads/"));
				FString Seen = Request.Method + TEXT(" ") + Request.Path + TEXT("?") + Request.Query;
				for (const TPair<FString, FString>& Header : Request.Headers)
				{
					Seen += bDownload ? TEXT(" ") + Header.Key + TEXT(": ") + Header.Value : FString();
				}
				Downloads += bDownload ? 1 : 0;
				Exposed.Add(Seen);
			}
			// A download link gets no Authorization at all, not even one without the key.
			const TArray<FString> Leaks = Exposed.FilterByPredicate(
				[](const FString& Text)
				{
					return Text.Contains(TEXT("leakcheck")) || Text.Contains(TEXT("Authorization:"));
				});
			// The road's success means the key did reach the API, in a header (an address would be a leak).
			TestEqual(TEXT("the road, refusals and download links"),
				*FString::Printf(
					TEXT("downloaded %d, refused %d, download requests %d"), Download->Successes, Failed, Downloads),
				TEXT("downloaded 1, refused 7, download requests 2"));
			TestEqual(TEXT("where the key went"), *FString::Join(Leaks, TEXT(" | ")), TEXT(""));
			IFileManager::Get().DeleteDirectory(*Scratch, false, true);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineSecurityServiceNamesTest,
	"Tarvoline.Security.ServiceNamesStayInTheirFolders",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineSecurityServiceNamesTest::RunTest(const FString&)
{
	using namespace TarvolineSecurityTest;
	// Job ids: only plain id characters name a file; anything that could climb or change folder is refused.
	const FString Refused =
		TEXT("refused \"\" \"The service sent a job id that cannot name a file, so nothing was downloaded.\"");
	for (const TCHAR* Id : {TEXT("../../x"), TEXT(".."), TEXT("..\\..\\x"), TEXT("a/b"), TEXT("/etc"), TEXT("C:evil"),
			 TEXT(".hidden"), TEXT("a b"), TEXT(""), TEXT("\u00e9t\u00e9"), TEXT("ab\ncd")})
	{
		TestEqual(*FString::Printf(TEXT("id \"%s\""), Id), *NameFor(TEXT("walks"), Id), *Refused);
	}
	// Only the first eight characters of an id are used, and prompts that look like paths become plain names.
	const TCHAR* const Walks = TEXT("Walks forward, then waves!");
	const TCHAR* const Named[][3] = {
		{Walks, TEXT("3f9a2c71d04e8b65"), TEXT("walks_forward_then_waves_3f9a2c71.fbx")},
		{Walks, TEXT("ab"), TEXT("walks_forward_then_waves_ab.fbx")},
		{Walks, TEXT("3f9a2c71/../../../x"), TEXT("walks_forward_then_waves_3f9a2c71.fbx")},
		{Walks, TEXT("A-b_9"), TEXT("walks_forward_then_waves_A-b_9.fbx")},
		{TEXT("../../../Config/DefaultEngine"), TEXT("3f9a2c71"), TEXT("config_defaultengine_3f9a2c71.fbx")},
		{TEXT("..\\..\\x"), TEXT("3f9a2c71"), TEXT("x_3f9a2c71.fbx")},
		{TEXT("/etc/passwd"), TEXT("3f9a2c71"), TEXT("etc_passwd_3f9a2c71.fbx")},
		{TEXT(".."), TEXT("3f9a2c71"), TEXT("animation_3f9a2c71.fbx")},
	};
	for (const auto& Case : Named)
	{
		TestEqual(*FString::Printf(TEXT("\"%s\", id \"%s\""), Case[0], Case[1]), *NameFor(Case[0], Case[1]),
			*FString::Printf(TEXT("named \"%s\" \"\""), Case[2]));
	}
	// Character file names and prompts name the content folder and the clip: one plain segment under the root.
	const FString Root = TEXT("/Game/Tarvoline/Animations/");
	for (const TCHAR* Filename : {TEXT("../../../Engine/Content/fox.fbx"), TEXT("..\\..\\Game\\fox.fbx"),
			 TEXT("/Game/x.fbx"), TEXT(".."), TEXT("a/../../b.glb")})
	{
		const FString Folder = AnimationFolderFor(Filename);
		FString Leaf = Folder;
		TestTrue(FString::Printf(TEXT("\"%s\" gives %s"), Filename, *Folder),
			Leaf.RemoveFromStart(Root) && !Leaf.IsEmpty() && !Leaf.Contains(TEXT("/")) && !Leaf.Contains(TEXT("\\")) &&
				!Leaf.Contains(TEXT(".")) && !Leaf.Contains(TEXT(":")));
	}
	// The real import, with a character name and a clip name that try to climb out.
	const FTarvolineImportResult Result = ImportAnimationFbx(TestModelFile(TEXT("humanoid_anim.fbx")),
		TEXT("../../../Engine/Content/Evil/hero.fbx"), TEXT("../../Config/waves"));
	const FString ClipPath = Result.Clip.IsValid() ? Result.Clip->GetPathName() : TEXT("no clip");
	for (const FString& Path : {ClipPath, Result.FolderPath})
	{
		TestTrue(Path + TEXT(" under ") + Root, Path.StartsWith(Root) && !Path.Contains(TEXT("..")));
	}
	// Nothing was written next to the project's content or config.
	TestFalse(TEXT("nothing in Engine"), IFileManager::Get().DirectoryExists(*(FPaths::ProjectDir() / TEXT("Engine"))));
	TestFalse(TEXT("nothing in Content/Evil"),
		IFileManager::Get().DirectoryExists(*(FPaths::ProjectContentDir() / TEXT("Evil"))));
	return true;
}

#endif
