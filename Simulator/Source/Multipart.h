#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tvsim
{
struct MultipartPart
{
	// Header lines of the part as sent, names lower-cased.
	std::vector<std::pair<std::string, std::string>> Headers;
	std::string Name;
	std::optional<std::string> Filename;
	std::string ContentType;
	std::string Data;
};

struct MultipartBody
{
	std::vector<MultipartPart> Parts;
	// Empty when the body was well formed; otherwise one sentence naming the fault.
	std::string Error;

	bool Ok() const { return Error.empty(); }
	const MultipartPart* Find(std::string_view Name) const;
};

// Reads the boundary from a Content-Type header such as
// `multipart/form-data; boundary=----x` or `multipart/form-data; boundary="a b"`.
// Empty optional when the type is not multipart/form-data or the boundary is missing or invalid.
std::optional<std::string> BoundaryFromContentType(std::string_view ContentType);

// Splits a multipart/form-data body (RFC 2046 / RFC 7578). Tolerates a preamble, an epilogue,
// transport padding after delimiters and a file name holding raw quotes or UTF-8 bytes; refuses
// (Error set) a body without the opening or closing delimiter, a part without the blank line
// after its headers, a header line without a colon, or a part without Content-Disposition.
MultipartBody ParseMultipart(std::string_view Body, std::string_view Boundary);

// The parameters of a Content-Disposition value, for example `form-data; name="file";
// filename="a"b.fbx"`. A quoted value ends at the quote that is followed (after blanks) by ';'
// or the end, so clients that send a quote in the file name unescaped are understood; `\"` and
// `\\` are unescaped; `filename*=UTF-8''...` is percent-decoded. Names are lower-cased.
// Empty optional when a quoted value is not closed.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseDispositionParams(std::string_view Value);
} // namespace tvsim
