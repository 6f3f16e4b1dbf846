#pragma once
// The system's path grammar: which character separates directories, which
// paths are rooted, where a path's file name and directory parts begin, and
// the absolute form of a path worked out from its text alone.
#include <string>
#include <string_view>

namespace Platform {

// The delimiter that joins path parts ("/" on Linux, "\" on Windows).
char PathDelimiter();
// True for a character that ends a directory part before a file name ("/" on
// Linux; "\", "/" and the drive colon on Windows).
bool EndsDirectoryPart(char c);
// True for a text that starts with a drive and a separator ("C:\", "C:/"):
// a path on Windows, where a link may name one; never on Linux, where
// "c:/x" would be a URL scheme.
bool StartsWithDrive(std::string_view text);
// True for a character that the system does not allow in a path: NUL on
// Linux; control characters, the double quote, "<", ">" and "|" on Windows,
// and there "?" and "*" too when `wildcards` is set (a path to resolve).
bool IsForbiddenPathChar(char c, bool wildcards);
// True for a path that needs no base directory ("/..." on Linux; drive, root
// and UNC forms on Windows).
bool IsRootedPath(std::string_view path);
// The length of an extended-length prefix ("\\?\", "\\?\UNC\" on Windows)
// that the path starts with, whose characters are no part of the path proper.
size_t ExtendedPrefixLength(std::string_view path);
// The absolute, lexically normalised form of the path ("." and ".." resolved,
// repeated delimiters collapsed, a final delimiter kept), against the working
// directory, without touching the file system.
std::string AbsolutePath(std::string_view path);
// The directory part of a path whose file name starts at `nameStart`: without
// its final delimiter, except where that delimiter is the root ("/", "C:\").
std::string_view DirectoryPart(std::string_view path, size_t nameStart);

}  // namespace Platform
