#!/bin/sh
# Part of TarvolineEditorShapedCompile: fails when a plug-in source, read as an editor build reads it (its #if
# branches decided, WITH_TARVOLINE_HOST undefined), names anything of the stand-in's own (a Host* header, function,
# namespace or member). The engine-named headers hide their Host* members from such a compile, but a Host*-named
# header is still found on the include path, and a name inside a template nobody instantiates compiles anyway.
#   FindHostNames.sh <plug-in folder> <compiler> <compiler arguments...> <source>
set -eu
root=$1
shift
# Directives only: #include and #if are followed, macros are not expanded into the text, so what remains of the
# plug-in's own lines is exactly what its author wrote for an editor build.
"$@" -E -fdirectives-only | awk -v root="$root" '
	/^# [0-9]+ "/ {
		line = $2 - 1
		file = $3
		gsub(/"/, "", file)
		mine = index(file, root) == 1
		next
	}
	{
		line++
		if (!mine) {
			next
		}
		# Code only: string and character literals, and comments, are left out.
		text = $0
		if (comment) {
			end = index(text, "*/")
			if (!end) {
				next
			}
			text = substr(text, end + 2)
			comment = 0
		}
		gsub(/"([^"\\]|\\.)*"/, "\"\"", text)
		gsub(/\x27([^\x27\\]|\\.)*\x27/, "0", text)
		gsub(/\/\*([^*]|\*+[^*\/])*\*+\//, " ", text)
		start = index(text, "/*")
		if (start) {
			text = substr(text, 1, start - 1)
			comment = 1
		}
		sub(/\/\/.*/, "", text)
		if (match(text, /(^|[^A-Za-z0-9_])S?Host[A-Z][A-Za-z0-9_]*/)) {
			name = substr(text, RSTART, RLENGTH)
			sub(/^[^A-Za-z]/, "", name)
			printf "%s:%d: error: \"%s\" is the stand-in'"'"'s own; an editor build has no such name (guard it with WITH_TARVOLINE_HOST)\n", file, line, name
			found = 1
		}
	}
	END { exit found ? 1 : 0 }'
