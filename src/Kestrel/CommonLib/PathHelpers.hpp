#pragma once
// Path routines on the system's path grammar (Platform/PathRules: "/" on
// Linux, "\" and drives on Windows): joining parts, resolving a path against
// a base directory, and the name, extension and directory parts.
#include <initializer_list>
#include <string>
#include <string_view>

#include "Platform/Console/Error.hpp"

namespace Kestrel::CommonLib {

// A path that holds characters no path may hold, or that resolves to nothing.
class EInvalidPath : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EInvalidPath"; }
};

// Joins the parts with "/" where the text so far does not end with one.
std::string JoinPath(std::initializer_list<std::string_view> parts, bool trailingDelimiter);

// The absolute, lexically normalised form of `path` ("." and ".." resolved,
// repeated "/" collapsed, a final "/" kept); throws EInvalidPath for a blank
// path or one with control characters, '"', '<', '>' or '|'.
std::string FullPath(std::string_view path);

// The same without any check, for a path that named an existing file.
std::string AbsolutePath(std::string_view path);

// A rooted path ("/...") comes back unchanged; otherwise the full path of the
// path alone (empty base) or of base joined with path. Throws EInvalidPath for
// invalid characters ("?" and "*" included) in the path, or in a used base.
std::string CombinePath(std::string_view path, std::string_view baseDir);

// The part after the last "/" (the whole path when it has none).
std::string_view ExtractFileName(std::string_view path);
// From the last "." of the file name on, dot included; empty without one.
std::string_view ExtractFileExt(std::string_view path);
// The file name as text for people and for the server: the bytes of the name
// decoded from the locale's character set (undecodable bytes become U+FFFD).
std::string DisplayFileName(std::string_view path);
// The file name without its extension.
std::string_view ExtractFileBaseName(std::string_view path);
// Up to, not including, the last "/"; "/" for a file in the root.
std::string_view ExtractFileDir(std::string_view path);
// The path lies strictly under the folder (both absolute, alike resolved);
// nothing lies under an empty folder.
bool LiesUnder(std::string_view path, std::string_view folder);

}  // namespace Kestrel::CommonLib
