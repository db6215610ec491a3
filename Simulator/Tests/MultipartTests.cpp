#include "Multipart.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace tvsim;

namespace
{
const std::string PluginBoundary = "----tarvoline0123456789ABCDEF0123456789ABCDEF";
}

TEST(Multipart, BoundaryIsReadQuotedOrNot)
{
	EXPECT_EQ(BoundaryFromContentType("multipart/form-data; boundary=" + PluginBoundary), PluginBoundary);
	EXPECT_EQ(BoundaryFromContentType("Multipart/Form-Data;BOUNDARY=\"a b:c\""), "a b:c");
	EXPECT_EQ(BoundaryFromContentType("multipart/form-data; charset=utf-8; boundary=xyz"), "xyz");
	// Refused: not form-data, no boundary, empty, too long (over 70), a character outside the set.
	EXPECT_FALSE(BoundaryFromContentType("application/json"));
	EXPECT_FALSE(BoundaryFromContentType("multipart/mixed; boundary=xyz"));
	EXPECT_FALSE(BoundaryFromContentType("multipart/form-data"));
	EXPECT_FALSE(BoundaryFromContentType("multipart/form-data; boundary="));
	EXPECT_FALSE(BoundaryFromContentType("multipart/form-data; boundary=" + std::string(71, 'a')));
	EXPECT_FALSE(BoundaryFromContentType("multipart/form-data; boundary=a\"b;"));
}

TEST(Multipart, ReadsThePluginsUploadByteForByte)
{
	// A quote sent raw and non-ASCII UTF-8 in the file name, binary content holding CR LF, dashes
	// and a near-miss of the delimiter.
	const std::string Name = "F\xC3\xBC" "chs \"Rot\" \xE7\x8B\x90.fbx";
	std::string Data = "Kaydara FBX Binary  \0\x1a\0\r\n--" + PluginBoundary.substr(0, 20) + "\r\n\r\n--";
	Data += std::string("\0\xff\x00\x10", 4);
	const auto Body = ParseMultipart(test::PluginMultipartBody(PluginBoundary, Name, Data), PluginBoundary);
	ASSERT_TRUE(Body.Ok()) << Body.Error;
	ASSERT_EQ(Body.Parts.size(), 1u);
	const auto* File = Body.Find("file");
	ASSERT_NE(File, nullptr);
	EXPECT_EQ(File->Filename, Name);
	EXPECT_EQ(File->ContentType, "application/octet-stream");
	EXPECT_EQ(File->Data, Data);

	const auto Empty = ParseMultipart(test::PluginMultipartBody(PluginBoundary, "fox.fbx", ""), PluginBoundary);
	ASSERT_TRUE(Empty.Ok()) << Empty.Error;
	EXPECT_EQ(Empty.Parts[0].Data, "");
	EXPECT_EQ(Empty.Parts[0].Filename, "fox.fbx");
}

TEST(Multipart, ReadsWhatBrowsersAndCurlSend)
{
	// A browser form: a text field before the file, a preamble-less body, an epilogue after the end.
	const std::string B = "----WebKitFormBoundary7MA4YWxkTrZu0gW";
	const std::string Browser = "--" + B +
								"\r\nContent-Disposition: form-data; name=\"note\"\r\n\r\nhello\r\n--" + B +
								"\r\nContent-Disposition: form-data; name=\"file\"; filename=\"a%22b.glb\"\r\n"
								"Content-Type: model/gltf-binary\r\n\r\nglTF\r\n--" + B + "--\r\nepilogue";
	auto Body = ParseMultipart(Browser, B);
	ASSERT_TRUE(Body.Ok()) << Body.Error;
	ASSERT_EQ(Body.Parts.size(), 2u);
	EXPECT_EQ(Body.Parts[0].Name, "note");
	EXPECT_FALSE(Body.Parts[0].Filename);
	EXPECT_EQ(Body.Find("file")->Filename, "a%22b.glb");
	EXPECT_EQ(Body.Find("file")->Data, "glTF");

	// curl escapes a quote as \" and may add transport padding after a delimiter; RFC 5987 names win.
	const std::string Curl = "preamble\r\n--xyz  \r\nContent-Disposition: form-data; name=\"file\"; filename=\"a\\\"b.fbx\"\r\n\r\n1\r\n--xyz--";
	Body = ParseMultipart(Curl, "xyz");
	ASSERT_TRUE(Body.Ok()) << Body.Error;
	EXPECT_EQ(Body.Parts[0].Filename, "a\"b.fbx");
	const auto Params = ParseDispositionParams("form-data; name=file; filename=\"x.fbx\"; filename*=UTF-8''%E2%82%AC.fbx");
	ASSERT_TRUE(Params);
	EXPECT_EQ(Params->back().second, "\xE2\x82\xAC.fbx");
}

TEST(Multipart, RefusesMalformedBodies)
{
	const std::string Head = "--b\r\nContent-Disposition: form-data; name=\"file\"; filename=\"x\"\r\n\r\n";
	const std::pair<const char*, std::string> Cases[] = {
		{"no boundary at all", "hello"},
		{"no closing delimiter", Head + "data"},
		{"closing without CR LF before it", Head + "data--b--"},
		{"no blank line after the headers", "--b\r\nContent-Disposition: form-data; name=\"file\"\r\n--b--"},
		{"a header line without a colon", "--b\r\nContent-Disposition form-data\r\n\r\nx\r\n--b--"},
		{"no Content-Disposition", "--b\r\nContent-Type: text/plain\r\n\r\nx\r\n--b--"},
		{"an unclosed quote", "--b\r\nContent-Disposition: form-data; name=\"file\r\n\r\nx\r\n--b--"},
		{"no part", "--b--\r\n"},
		{"garbage after a delimiter", "--bX\r\n\r\n\r\n--b--"},
	};
	for (const auto& [What, Text] : Cases)
	{
		const auto Body = ParseMultipart(Text, "b");
		EXPECT_FALSE(Body.Ok()) << What;
		EXPECT_FALSE(Body.Error.empty()) << What;
	}
}

TEST(Multipart, CutOrDamagedBodiesNeverCrashTheParser)
{
	const std::string Good = test::PluginMultipartBody(PluginBoundary, "x\"y.fbx", std::string(300, '\r'));
	for (std::size_t Length = 0; Length < Good.size(); ++Length)
	{
		const auto Body = ParseMultipart(std::string_view(Good).substr(0, Length), PluginBoundary);
		// Only a body cut inside the trailing CR LF of its closing line is still whole.
		if (Length < Good.size() - 2)
		{
			EXPECT_FALSE(Body.Ok()) << "cut at " << Length;
		}
	}
	std::mt19937 Random(7);
	for (int Round = 0; Round < 2000; ++Round)
	{
		std::string Damaged = Good;
		for (int Flip = 0; Flip < 3; ++Flip)
		{
			Damaged[Random() % Damaged.size()] = static_cast<char>(Random() % 256);
		}
		(void)ParseMultipart(Damaged, PluginBoundary);
		(void)ParseDispositionParams(Damaged);
	}
}
