#include "Multipart.h"

#include <algorithm>
#include <cctype>

namespace tvsim
{
namespace
{
std::string Lower(std::string_view Text)
{
	std::string Out(Text);
	std::transform(Out.begin(), Out.end(), Out.begin(), [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
	return Out;
}

std::string_view Trim(std::string_view Text)
{
	while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t'))
	{
		Text.remove_prefix(1);
	}
	while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t'))
	{
		Text.remove_suffix(1);
	}
	return Text;
}

int HexValue(char C)
{
	if (C >= '0' && C <= '9')
	{
		return C - '0';
	}
	if (C >= 'a' && C <= 'f')
	{
		return C - 'a' + 10;
	}
	if (C >= 'A' && C <= 'F')
	{
		return C - 'A' + 10;
	}
	return -1;
}

// RFC 5987 ext-value: charset'language'percent-encoded. Only UTF-8 and ASCII are meaningful here.
std::optional<std::string> DecodeExtValue(std::string_view Value)
{
	const auto First = Value.find('\'');
	if (First == std::string_view::npos)
	{
		return std::nullopt;
	}
	const auto Second = Value.find('\'', First + 1);
	if (Second == std::string_view::npos)
	{
		return std::nullopt;
	}
	std::string Out;
	for (std::size_t I = Second + 1; I < Value.size(); ++I)
	{
		if (Value[I] == '%')
		{
			if (I + 2 >= Value.size())
			{
				return std::nullopt;
			}
			const int High = HexValue(Value[I + 1]);
			const int Low = HexValue(Value[I + 2]);
			if (High < 0 || Low < 0)
			{
				return std::nullopt;
			}
			Out += static_cast<char>(High * 16 + Low);
			I += 2;
		}
		else
		{
			Out += Value[I];
		}
	}
	return Out;
}

bool IsBoundaryChar(char C)
{
	// RFC 2046 bchars, which include the space (not as the last character).
	return std::isalnum(static_cast<unsigned char>(C)) || std::string_view("'()+_,-./:=? ").find(C) != std::string_view::npos;
}
} // namespace

const MultipartPart* MultipartBody::Find(std::string_view Name) const
{
	for (const auto& Part : Parts)
	{
		if (Part.Name == Name)
		{
			return &Part;
		}
	}
	return nullptr;
}

std::optional<std::vector<std::pair<std::string, std::string>>> ParseDispositionParams(std::string_view Value)
{
	std::vector<std::pair<std::string, std::string>> Params;
	std::size_t I = Value.find(';');
	if (I == std::string_view::npos)
	{
		return Params;
	}
	while (I < Value.size())
	{
		// Skip separators and blanks before the parameter name.
		while (I < Value.size() && (Value[I] == ';' || Value[I] == ' ' || Value[I] == '\t'))
		{
			++I;
		}
		if (I >= Value.size())
		{
			break;
		}
		const std::size_t NameStart = I;
		while (I < Value.size() && Value[I] != '=' && Value[I] != ';')
		{
			++I;
		}
		const std::string Name = Lower(Trim(Value.substr(NameStart, I - NameStart)));
		if (I >= Value.size() || Value[I] == ';')
		{
			// A parameter without a value: keep its name so callers can see it.
			Params.emplace_back(Name, "");
			continue;
		}
		++I; // '='
		while (I < Value.size() && (Value[I] == ' ' || Value[I] == '\t'))
		{
			++I;
		}
		std::string Text;
		if (I < Value.size() && Value[I] == '"')
		{
			++I;
			bool Closed = false;
			while (I < Value.size())
			{
				const char C = Value[I];
				if (C == '\\' && I + 1 < Value.size() && (Value[I + 1] == '"' || Value[I + 1] == '\\'))
				{
					Text += Value[I + 1];
					I += 2;
					continue;
				}
				if (C == '"')
				{
					// Only a quote followed by the end or by ';' closes the value; any other
					// quote belongs to the value (clients send file names unescaped).
					std::size_t J = I + 1;
					while (J < Value.size() && (Value[J] == ' ' || Value[J] == '\t'))
					{
						++J;
					}
					if (J >= Value.size() || Value[J] == ';')
					{
						I = J;
						Closed = true;
						break;
					}
				}
				Text += C;
				++I;
			}
			if (!Closed)
			{
				return std::nullopt;
			}
		}
		else
		{
			const std::size_t Start = I;
			while (I < Value.size() && Value[I] != ';')
			{
				++I;
			}
			Text = std::string(Trim(Value.substr(Start, I - Start)));
		}
		if (!Name.empty() && Name.back() == '*')
		{
			if (auto Decoded = DecodeExtValue(Text))
			{
				Text = *Decoded;
			}
		}
		Params.emplace_back(Name, std::move(Text));
	}
	return Params;
}

std::optional<std::string> BoundaryFromContentType(std::string_view ContentType)
{
	const auto Semicolon = ContentType.find(';');
	const std::string Type = Lower(Trim(ContentType.substr(0, Semicolon)));
	if (Type != "multipart/form-data" || Semicolon == std::string_view::npos)
	{
		return std::nullopt;
	}
	auto Params = ParseDispositionParams(ContentType);
	if (!Params)
	{
		return std::nullopt;
	}
	for (const auto& [Name, Value] : *Params)
	{
		if (Name == "boundary")
		{
			if (Value.empty() || Value.size() > 70 || Value.back() == ' ' ||
				!std::all_of(Value.begin(), Value.end(), IsBoundaryChar))
			{
				return std::nullopt;
			}
			return Value;
		}
	}
	return std::nullopt;
}

MultipartBody ParseMultipart(std::string_view Body, std::string_view Boundary)
{
	MultipartBody Result;
	if (Boundary.empty())
	{
		Result.Error = "The multipart boundary is empty.";
		return Result;
	}
	const std::string Dash = "--" + std::string(Boundary);
	const std::string Delimiter = "\r\n" + Dash;

	// The first delimiter may open the body or follow a preamble line.
	std::size_t Pos;
	if (Body.substr(0, Dash.size()) == Dash)
	{
		Pos = Dash.size();
	}
	else
	{
		const auto Found = Body.find(Delimiter);
		if (Found == std::string_view::npos)
		{
			Result.Error = "The multipart body does not contain its boundary.";
			return Result;
		}
		Pos = Found + Delimiter.size();
	}

	while (true)
	{
		// Just after a delimiter: "--" closes the body, otherwise padding and CRLF open a part.
		if (Body.substr(Pos, 2) == "--")
		{
			break;
		}
		while (Pos < Body.size() && (Body[Pos] == ' ' || Body[Pos] == '\t'))
		{
			++Pos;
		}
		if (Body.substr(Pos, 2) != "\r\n")
		{
			Result.Error = "A multipart boundary is not followed by a line break.";
			return Result;
		}
		Pos += 2;

		const auto HeaderEnd = Body.find("\r\n\r\n", Pos);
		const bool NoHeaders = Body.substr(Pos, 2) == "\r\n";
		if (HeaderEnd == std::string_view::npos && !NoHeaders)
		{
			Result.Error = "A multipart part has no blank line after its headers.";
			return Result;
		}

		MultipartPart Part;
		const std::size_t ContentStart = NoHeaders ? Pos + 2 : HeaderEnd + 4;
		if (!NoHeaders)
		{
			std::string_view HeaderBlock = Body.substr(Pos, HeaderEnd - Pos);
			while (!HeaderBlock.empty())
			{
				const auto LineEnd = HeaderBlock.find("\r\n");
				const std::string_view Line = HeaderBlock.substr(0, LineEnd);
				HeaderBlock = LineEnd == std::string_view::npos ? std::string_view() : HeaderBlock.substr(LineEnd + 2);
				const auto Colon = Line.find(':');
				if (Colon == std::string_view::npos || Colon == 0)
				{
					Result.Error = "A multipart part has a header line without a name and a colon.";
					return Result;
				}
				Part.Headers.emplace_back(Lower(Trim(Line.substr(0, Colon))), std::string(Trim(Line.substr(Colon + 1))));
			}
		}

		const auto Next = Body.find(Delimiter, ContentStart);
		if (Next == std::string_view::npos)
		{
			Result.Error = "The multipart body ends before its closing boundary.";
			return Result;
		}
		Part.Data = std::string(Body.substr(ContentStart, Next - ContentStart));

		bool HasDisposition = false;
		for (const auto& [Name, Value] : Part.Headers)
		{
			if (Name == "content-type")
			{
				Part.ContentType = Value;
			}
			else if (Name == "content-disposition")
			{
				if (Lower(Trim(Value.substr(0, Value.find(';')))) != "form-data")
				{
					Result.Error = "A multipart part is not form-data.";
					return Result;
				}
				auto Params = ParseDispositionParams(Value);
				if (!Params)
				{
					Result.Error = "A multipart part's Content-Disposition has an unclosed quote.";
					return Result;
				}
				HasDisposition = true;
				std::optional<std::string> Extended;
				for (auto& [ParamName, ParamValue] : *Params)
				{
					if (ParamName == "name")
					{
						Part.Name = ParamValue;
					}
					else if (ParamName == "filename")
					{
						Part.Filename = ParamValue;
					}
					else if (ParamName == "filename*")
					{
						Extended = ParamValue;
					}
				}
				if (Extended)
				{
					Part.Filename = Extended;
				}
			}
		}
		if (!HasDisposition)
		{
			Result.Error = "A multipart part has no Content-Disposition header.";
			return Result;
		}
		Result.Parts.push_back(std::move(Part));
		Pos = Next + Delimiter.size();
	}

	if (Result.Parts.empty())
	{
		Result.Error = "The multipart body holds no part.";
	}
	return Result;
}
} // namespace tvsim
