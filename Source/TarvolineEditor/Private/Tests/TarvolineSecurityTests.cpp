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

/** What the calls of the test reported: success count, and every failure sentence. */
struct FReports
{
	int32 Answers = 0;
	TArray<FString> Sentences;
	FString CharacterId;
	FString JobId;
	FString DownloadUrl;
};

TarvolineApi::FOnError Failure(const TSharedRef<FReports>& Reports)
{
	return [Reports](const FString& Message, int32)
	{
		Reports->Sentences.Add(Message);
		++Reports->Answers;
	};
}

/** Enqueues Start, then a wait until one more answer has arrived. */
void CallStep(
	FAutomationTestBase* Test, const TSharedRef<FReports>& Reports, const FString& What, TFunction<void()> Start)
{
	const TSharedRef<int32> Before = MakeShared<int32>(0);
	Then(
		[Reports, Before, Start]()
		{
			*Before = Reports->Answers;
			Start();
		});
	WaitUntil(Test, What,
		[Reports, Before]()
		{
			return Reports->Answers > *Before;
		});
}

/** Whether a path, once "." and ".." are worked out, lies inside Folder. */
bool StaysInside(const FString& Path, const FString& Folder)
{
	FString Collapsed = Path;
	FPaths::NormalizeFilename(Collapsed);
	if (!FPaths::CollapseRelativeDirectories(Collapsed))
	{
		return false;
	}
	FString Root = Folder;
	FPaths::NormalizeDirectoryName(Root);
	return Collapsed.StartsWith(Root + TEXT("/")) && !Collapsed.Contains(TEXT(".."));
}
} // namespace TarvolineSecurityTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineSecurityKeyNeverLeavesTest, "Tarvoline.Security.KeyNeverLeaves",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineSecurityKeyNeverLeavesTest::RunTest(const FString&)
{
	using namespace TarvolineSecurityTest;
	const TSharedRef<FReports> Reports = MakeShared<FReports>();
	const TSharedRef<FLogCapture> Capture = MakeShared<FLogCapture>();
	const FString Scratch = MakeScratchDir(TEXT("KeyNeverLeaves"));

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	ControlStep(this, TEXT("POST"), TEXT("/_sim/time"), TEXT("{\"timeScale\": 0}"));
	ControlStep(this, TEXT("POST"), TEXT("/_sim/accounts"),
		FString::Printf(TEXT("{\"key\": \"%s\", \"email\": \"leak@tarvoline.test\", \"credits\": 100}"), SecretKey));

	// The whole road with the key, then the same key through every kind of failure.
	CallStep(this, Reports, TEXT("upload"),
		[Reports]()
		{
			TarvolineApi::UploadModel(
				SecretKey, TestModelFile(TEXT("humanoid_mesh.fbx")),
				[Reports](const FTarvolineCharacter& Character)
				{
					Reports->CharacterId = Character.Id;
					++Reports->Answers;
				},
				Failure(Reports));
		});
	CallStep(this, Reports, TEXT("generate"),
		[Reports]()
		{
			TarvolineApi::Generate(
				SecretKey, TEXT("a person waves"), Reports->CharacterId,
				[Reports](const FTarvolineJob& Job)
				{
					Reports->JobId = Job.Id;
					++Reports->Answers;
				},
				Failure(Reports));
		});
	CallStep(this, Reports, TEXT("job"),
		[Reports]()
		{
			TarvolineApi::FetchJob(
				SecretKey, Reports->JobId,
				[Reports](const FTarvolineJob& Job)
				{
					Reports->DownloadUrl = Job.Outputs.Num() > 0 ? Job.Outputs[0].Url : FString();
					++Reports->Answers;
				},
				Failure(Reports));
		});
	CallStep(this, Reports, TEXT("download"),
		[Reports, Scratch]()
		{
			TarvolineApi::DownloadFile(
				Reports->DownloadUrl, Scratch / TEXT("motion.fbx"),
				[Reports]()
				{
					++Reports->Answers;
				},
				Failure(Reports));
		});
	const TArray<FString> Faults = {
		TEXT("{\"kind\": \"status\", \"status\": 401}"),
		TEXT("{\"kind\": \"html\", \"status\": 500}"),
		TEXT("{\"kind\": \"malformed\"}"),
		TEXT("{\"kind\": \"drop\", \"count\": -1}"),
	};
	for (const FString& Fault : Faults)
	{
		FaultStep(this, Fault);
		CallStep(this, Reports, Fault,
			[Reports]()
			{
				TarvolineApi::FetchAccount(
					SecretKey,
					[Reports](const FTarvolineAccount&)
					{
						++Reports->Answers;
					},
					Failure(Reports));
			});
		ControlStep(this, TEXT("DELETE"), TEXT("/_sim/faults"));
	}
	// A key the service refuses, with its own sentence, and no service at all.
	CallStep(this, Reports, TEXT("refused key"),
		[Reports]()
		{
			TarvolineApi::FetchAccount(
				FString(SecretKey) + TEXT("x"),
				[Reports](const FTarvolineAccount&)
				{
					++Reports->Answers;
				},
				Failure(Reports));
		});
	CallStep(this, Reports, TEXT("no service"),
		[Reports]()
		{
			const FString SavedApi = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), TEXT("http://127.0.0.1:1"));
			TarvolineApi::FetchAccount(
				SecretKey,
				[Reports](const FTarvolineAccount&)
				{
					++Reports->Answers;
				},
				Failure(Reports));
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *SavedApi);
		});
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 403, \"path\": \"/downloads/\"}"));
	CallStep(this, Reports, TEXT("refused download"),
		[Reports, Scratch]()
		{
			TarvolineApi::DownloadFile(
				Reports->DownloadUrl, Scratch / TEXT("again.fbx"),
				[Reports]()
				{
					++Reports->Answers;
				},
				Failure(Reports));
		});
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/"));
	Then(
		[this, Reports, Capture, Recorded, Scratch]()
		{
			TestFalse(TEXT("the road reached a download link"), Reports->DownloadUrl.IsEmpty());
			TestEqual(TEXT("failure sentences"), Reports->Sentences.Num(), 7);
			for (const FString& Sentence : Reports->Sentences)
			{
				TestFalse(FString::Printf(TEXT("key in the sentence \"%s\""), *Sentence),
					Sentence.Contains(TEXT("leakcheck")));
			}
			for (const FString& Line : Capture->Lines)
			{
				TestFalse(FString::Printf(TEXT("key in the log line \"%s\""), *Line), Line.Contains(TEXT("leakcheck")));
			}
			int32 Downloads = 0;
			int32 KeyedCalls = 0;
			for (const FRecordedRequest& Request : *Recorded)
			{
				bool bCarriesKey =
					Request.Path.Contains(TEXT("leakcheck")) || Request.Query.Contains(TEXT("leakcheck"));
				for (const TPair<FString, FString>& Header : Request.Headers)
				{
					bCarriesKey = bCarriesKey || Header.Value.Contains(TEXT("leakcheck"));
				}
				if (Request.Path.StartsWith(TEXT("/downloads/")))
				{
					++Downloads;
					TestFalse(TEXT("the key went to a download link"), bCarriesKey);
					TestEqual(
						TEXT("no Authorization to a download link"), Request.CountHeader(TEXT("Authorization")), 0);
				}
				else
				{
					KeyedCalls += bCarriesKey ? 1 : 0;
					TestFalse(TEXT("the key in an API path or query"),
						Request.Path.Contains(TEXT("leakcheck")) || Request.Query.Contains(TEXT("leakcheck")));
				}
			}
			TestEqual(TEXT("download requests recorded"), Downloads, 2);
			TestTrue(TEXT("the key did reach the API"), KeyedCalls >= 3);
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
	const FString Refusal = TEXT("The service sent a job id that cannot name a file, so nothing was downloaded.");
	const FString Downloads = FPaths::ProjectSavedDir() / TEXT("Tarvoline");

	// Job ids: only plain id characters name a file; anything that could climb or change folder is refused.
	const TArray<FString> UnsafeIds = {TEXT("../../x"), TEXT(".."), TEXT("..\\..\\x"), TEXT("a/b"), TEXT("/etc"),
		TEXT("C:evil"), TEXT(".hidden"), TEXT("a b"), TEXT(""), TEXT("\u00e9t\u00e9"), TEXT("ab\ncd")};
	for (const FString& Id : UnsafeIds)
	{
		FString FileName = TEXT("left over");
		FString Error;
		TestFalse(
			FString::Printf(TEXT("id \"%s\" refused"), *Id), MakeDownloadFileName(TEXT("walks"), Id, FileName, Error));
		TestEqual(FString::Printf(TEXT("id \"%s\" sentence"), *Id), Error, Refusal);
		TestTrue(FString::Printf(TEXT("id \"%s\" names nothing"), *Id), FileName.IsEmpty());
	}
	// Only the first eight characters are used: what follows them never reaches the file system.
	struct FSafeId
	{
		const TCHAR* Id;
		const TCHAR* FileName;
	};
	const FSafeId SafeIds[] = {
		{TEXT("3f9a2c71d04e8b65"), TEXT("walks_forward_then_waves_3f9a2c71.fbx")},
		{TEXT("ab"), TEXT("walks_forward_then_waves_ab.fbx")},
		{TEXT("3f9a2c71/../../../x"), TEXT("walks_forward_then_waves_3f9a2c71.fbx")},
		{TEXT("A-b_9"), TEXT("walks_forward_then_waves_A-b_9.fbx")},
	};
	for (const FSafeId& Safe : SafeIds)
	{
		FString FileName;
		FString Error;
		TestTrue(FString::Printf(TEXT("id \"%s\" accepted"), Safe.Id),
			MakeDownloadFileName(TEXT("Walks forward, then waves!"), Safe.Id, FileName, Error));
		TestEqual(FString::Printf(TEXT("id \"%s\" file name"), Safe.Id), FileName, FString(Safe.FileName));
		TestTrue(TEXT("inside Saved/Tarvoline"), StaysInside(Downloads / FileName, Downloads));
	}
	// Prompts that look like paths become plain names.
	for (const TCHAR* Prompt :
		{TEXT("../../../Config/DefaultEngine"), TEXT("..\\..\\x"), TEXT("/etc/passwd"), TEXT("..")})
	{
		FString FileName;
		FString Error;
		TestTrue(TEXT("prompt accepted"), MakeDownloadFileName(Prompt, TEXT("3f9a2c71"), FileName, Error));
		TestTrue(FString::Printf(TEXT("prompt \"%s\" stays in Saved/Tarvoline as %s"), Prompt, *FileName),
			StaysInside(Downloads / FileName, Downloads) && !FileName.Contains(TEXT("/")) &&
				!FileName.Contains(TEXT("\\")));
	}

	// Character file names and prompts name the content folder and the clip: one plain segment under the root.
	const FString AnimationsRoot = TEXT("/Game/Tarvoline/Animations");
	for (const TCHAR* Filename : {TEXT("../../../Engine/Content/fox.fbx"), TEXT("..\\..\\Game\\fox.fbx"),
			 TEXT("/Game/x.fbx"), TEXT(".."), TEXT("a/../../b.glb")})
	{
		const FString Folder = AnimationFolderFor(Filename);
		FString Leaf = Folder;
		TestTrue(FString::Printf(TEXT("\"%s\" gives %s, under the animations folder"), Filename, *Folder),
			Leaf.RemoveFromStart(AnimationsRoot + TEXT("/")) && !Leaf.IsEmpty() && !Leaf.Contains(TEXT("/")) &&
				!Leaf.Contains(TEXT(".")));
	}

	// The real import, with a character name and a clip name that try to climb out.
	const FString Fbx = TestModelFile(TEXT("humanoid_anim.fbx"));
	const FTarvolineImportResult Result =
		ImportAnimationFbx(Fbx, TEXT("../../../Engine/Content/Evil/hero.fbx"), TEXT("../../Config/waves"));
	UAnimSequence* Clip = Result.Clip.Get();
	if (TestNotNull(TEXT("imported clip"), Clip))
	{
		TestTrue(FString::Printf(TEXT("clip %s under the animations folder"), *Clip->GetPathName()),
			Clip->GetPathName().StartsWith(AnimationsRoot + TEXT("/")) && !Clip->GetPathName().Contains(TEXT("..")));
	}
	TestTrue(FString::Printf(TEXT("folder %s under the animations folder"), *Result.FolderPath),
		Result.FolderPath.StartsWith(AnimationsRoot + TEXT("/")) && !Result.FolderPath.Contains(TEXT("..")));
	// Nothing was written next to the project's content or config.
	TestFalse(TEXT("nothing in Engine"), IFileManager::Get().DirectoryExists(*(FPaths::ProjectDir() / TEXT("Engine"))));
	TestFalse(TEXT("nothing in Content/Evil"),
		IFileManager::Get().DirectoryExists(*(FPaths::ProjectContentDir() / TEXT("Evil"))));
	return true;
}

#endif
