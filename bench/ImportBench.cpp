// Times ImportAnimationFbx on the largest committed test model beside assimp's own read of the same file, in the
// same run, and prints the ratio (target: at most 1.5). Each import is a first import into a folder of its own
// (mesh, skeleton, physics asset and clip, saved to disk); a later, clip-only import is timed as well.
//
//   ImportBench [iterations]
#include "CoreMinimal.h"
#include "HostEngine.h"
#include "TarvolineImport.h"
#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
double Median(std::vector<double> Values)
{
	std::sort(Values.begin(), Values.end());
	return Values[Values.size() / 2];
}

double Millis(std::chrono::steady_clock::time_point Start)
{
	return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
}

std::filesystem::path LargestModel()
{
	std::filesystem::path Largest;
	uintmax_t LargestSize = 0;
	for (const auto& Entry :
		std::filesystem::directory_iterator(std::filesystem::path(TARVOLINE_SOURCE_DIR) / "TestData" / "Models"))
	{
		if (Entry.path().extension() == ".fbx" && Entry.file_size() > LargestSize)
		{
			Largest = Entry.path();
			LargestSize = Entry.file_size();
		}
	}
	return Largest;
}

double TimeAssimpRead(const std::string& File)
{
	const auto Start = std::chrono::steady_clock::now();
	Assimp::Importer Importer;
	const aiScene* Scene = Importer.ReadFile(File, 0);
	const double Elapsed = Millis(Start);
	if (!Scene)
	{
		std::fprintf(stderr, "assimp cannot read %s\n", File.c_str());
		std::exit(2);
	}
	return Elapsed;
}

double TimeImport(const FString& File, const FString& Character, const TCHAR* Sentence, bool& bOk)
{
	const auto Start = std::chrono::steady_clock::now();
	const FTarvolineImportResult Result = ImportAnimationFbx(File, Character, Sentence);
	const double Elapsed = Millis(Start);
	bOk = bOk && Result.Clip.IsValid() && Result.Mesh.IsValid();
	return Elapsed;
}
} // namespace

int main(int Argc, char** Argv)
{
	const int Iterations = Argc > 1 ? std::max(3, std::atoi(Argv[1])) : 25;
	char Template[] = "/tmp/import-bench-XXXXXX";
	const std::string ProjectDir = mkdtemp(Template);
	HostEngine::SetProjectDir(FString(ProjectDir.c_str()));
	const std::filesystem::path Model = LargestModel();
	const std::string File = Model.string();
	const FString FbxFile(File.c_str());
	std::printf("model: %s (%ju bytes), %d iterations\n", Model.filename().c_str(),
		(uintmax_t)std::filesystem::file_size(Model), Iterations);

	// Warm both paths (library set-up, file cache) before measuring.
	bool bOk = true;
	TimeAssimpRead(File);
	TimeImport(FbxFile, TEXT("Warm up.fbx"), TEXT("first motion"), bOk);

	std::vector<double> Reads;
	std::vector<double> FirstImports;
	std::vector<double> LaterImports;
	for (int Index = 0; Index < Iterations; ++Index)
	{
		Reads.push_back(TimeAssimpRead(File));
		const FString Character = FString::Printf(TEXT("Bench %d.fbx"), Index);
		FirstImports.push_back(TimeImport(FbxFile, Character, TEXT("Walk forward"), bOk));
		LaterImports.push_back(TimeImport(FbxFile, TEXT("Warm up.fbx"), TEXT("Walk again"), bOk));
	}
	const double Read = Median(Reads);
	const double First = Median(FirstImports);
	const double Later = Median(LaterImports);
	std::printf("assimp ReadFile:                     %8.3f ms (median)\n", Read);
	std::printf("ImportAnimationFbx, first import:    %8.3f ms (median)  ratio %.2fx\n", First, First / Read);
	std::printf("ImportAnimationFbx, clip-only import: %7.3f ms (median)  ratio %.2fx\n", Later, Later / Read);
	std::printf("target: first import at most 1.50x -> %s\n", First / Read <= 1.5 ? "met" : "NOT met");

	std::error_code Error;
	std::filesystem::remove_all(ProjectDir, Error);
	if (!bOk)
	{
		std::fprintf(stderr, "an import did not produce a mesh and a clip\n");
		return 1;
	}
	return 0;
}
