// The local service's upload reader: a Content-Type line, then the body it announces.
#pragma once

#include "FuzzCheck.h"

#include "Multipart.h"

#include <string>
#include <string_view>

namespace TarvolineFuzz::Multipart
{
inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	const std::string_view Input(reinterpret_cast<const char*>(Data), Size);
	const size_t LineEnd = Input.find('\n');
	const std::string_view ContentType = Input.substr(0, LineEnd);
	const std::string_view Body = LineEnd == std::string_view::npos ? std::string_view() : Input.substr(LineEnd + 1);

	tvsim::ParseDispositionParams(ContentType);
	const std::optional<std::string> Boundary = tvsim::BoundaryFromContentType(ContentType);
	if (Boundary)
	{
		TARVOLINE_FUZZ_CHECK(!Boundary->empty() && Boundary->size() <= 70, "a boundary has 1 to 70 characters");
	}
	// A boundary taken from the header when it has one, otherwise a fixed one, so that bodies are reached either way.
	const std::string Used = Boundary ? *Boundary : std::string("XyZ");
	const tvsim::MultipartBody Parsed = tvsim::ParseMultipart(Body, Used);
	if (!Parsed.Ok())
	{
		return;
	}
	TARVOLINE_FUZZ_CHECK(!Parsed.Parts.empty(), "a well-formed body has a part");
	size_t DataTotal = 0;
	for (const tvsim::MultipartPart& Part : Parsed.Parts)
	{
		// Content is a piece of the body between delimiters, so it never holds a delimiter itself.
		TARVOLINE_FUZZ_CHECK(Part.Data.find("\r\n--" + Used) == std::string::npos, "a part's content holds no delimiter");
		TARVOLINE_FUZZ_CHECK(Body.find(Part.Data) != std::string_view::npos, "a part's content comes from the body");
		DataTotal += Part.Data.size();
		TARVOLINE_FUZZ_CHECK(Parsed.Find(Part.Name) != nullptr, "every part can be found by its name");
	}
	TARVOLINE_FUZZ_CHECK(DataTotal <= Body.size(), "parts are no larger than the body");
}
} // namespace TarvolineFuzz::Multipart
