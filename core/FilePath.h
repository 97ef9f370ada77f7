#pragma once
// Every rule about file paths, whichever way a file comes in: the command line, the file
// box, the recent list, "Browse..." or a drop. Paths are wide text from where they come in
// to the call that opens the file. The file system is asked through the wide calls, in the
// "\\?\" form from MAX_PATH on, so that a long path behaves like a short one.

#include "core/WideString.h"

#include <string>
#include <vector>

namespace path {

// Text only.

// Removes one leading and one trailing double quote, each on its own; quotes inside stay.
WideString StripQuotes(const WideString& text);
// The file box's text as a path: blanks (spaces and tabs) around it trimmed, then the quotes
// as on the command line. Explorer's "Copy as path" quotes the path; no file name holds one.
WideString CleanTyped(const WideString& text);
// A full path in the "\\?\" form ("\\?\UNC\server\share\..." for a network path). A path
// already in that form, or one that is not full, is returned as it is.
WideString ToSuper(const WideString& fullPath);
// The path without its "\\?\" prefix: the form the user knows.
WideString FromSuper(const WideString& path);
// The form to hand to the system: the super form from MAX_PATH characters on, where the
// plain calls stop, and the path itself below that.
WideString ForSystemCall(const WideString& fullPath);

// Text in the ANSI code page.
WideString FromAnsi(const std::string& text);

// The file system. Each result is empty when the system cannot give it.
WideString Full(const WideString& path);
WideString Long(const WideString& fullPath);
// The full path in its long form, the name the user knows the file by (short names in it
// replaced); the full path when there is no long form, the path unchanged when there is
// not even that.
WideString Normalise(const WideString& path);

// The file named on the command line (quotes already removed), in its full long form.
// Empty when no existing file is named.
WideString ChosenFile(const WideString& given);
// The first of the names that is an existing file (not a folder), in its full long form;
// empty when there is none.
WideString FirstUsableFile(const std::vector<WideString>& names);

// Several files in one text, as Send To, "Copy as path" and the file box hand them over.
// The names as Windows splits a command line: blanks separate, double quotes group, and a
// backslash escapes a quote only when it stands right before one.
std::vector<WideString> SplitNames(const WideString& text);
// A text whose form as one path (asOnePath, after the way in's own quote rules) names an
// existing file is that file alone and no batch. Otherwise two or more names of which at
// least one is an existing file are a batch: every name in the order given, missing ones
// too, each in its full form. Empty when the text is no batch.
std::vector<WideString> SplitFileList(const WideString& text, const WideString& asOnePath);
// A batch as the file box shows it: each path in double quotes, one blank between.
WideString JoinFileList(const std::vector<WideString>& files);
// Pasted text on one line: each line break becomes one blank.
WideString PastedAsOneLine(const WideString& text);
// The name after the last backslash.
WideString BaseName(const WideString& path);

}  // namespace path

namespace file {

// True when the path names an existing file (not a folder), whatever its length and
// whether or not another program holds it open.
bool Exists(const WideString& path);

}  // namespace file
