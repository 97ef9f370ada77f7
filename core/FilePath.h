#pragma once
// Every rule about file paths, whichever way a file comes in: the command line, the file
// box, the recent list, "Browse..." or a drop. Paths are worked on as wide text and
// converted once, at the end, to the 8-bit path the rest of the program uses. The file
// system is asked through the wide calls, in the "\\?\" form from MAX_PATH on, so that a
// long path behaves like a short one.

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
// Only a short (8.3) name that the system made differs from its long name by a '~'.
bool MayHoldShortName(const WideString& path);

// Text in the ANSI code page.
WideString FromAnsi(const std::string& text);
// False when a character has no equivalent there.
bool ToAnsiExact(const WideString& text, std::string& ansi);

// The file system. Each result is empty when the system cannot give it.
WideString Full(const WideString& path);
WideString Long(const WideString& fullPath);
WideString Short(const WideString& fullPath);
// The full path, and for a short name its long form; the path unchanged on failure.
WideString Normalise(const WideString& path);

// The bridge: an 8-bit path that opens the same file, the path itself when it converts
// without loss, otherwise its short (8.3) form. False when neither exists; ansi then holds
// the path as it converts, question marks and all, for messages.
bool ToAnsiPath(const WideString& path, std::string& ansi);
// The name the recent list keeps for a path: a short path that stands for a name the code
// page cannot hold is kept by its long name, since a freed short name may later name
// another file; any other path as it is.
WideString RememberedName(const std::string& path);

// The 8-bit path of a file named on the command line (quotes already removed): its full,
// long form, through the bridge when that does not convert; a short path given there stays
// as given when its long form does not convert. Empty when no existing file is named.
std::string ChosenFile(const WideString& given);
// The first of the names that is an existing file (not a folder) with an 8-bit path, as
// that path; empty when there is none.
std::string FirstUsableFile(const std::vector<WideString>& names);

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
