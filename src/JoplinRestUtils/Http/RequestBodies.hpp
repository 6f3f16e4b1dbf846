#pragma once
// The bodies of file uploads: multipart/form-data with the file part "data"
// first and the field "props" after it, or, without a file, a form body.
#include <string>
#include <string_view>
#include <vector>

#include "Platform/Http/HttpClient.hpp"

namespace JoplinRestUtils {

// ASCII letters, digits and "-", made anew for every request.
std::string MakeMultipartBoundary();

// The body parts; the file's bytes are streamed when the request is sent.
// `props` is left out when `hasProps` is false.
std::vector<Platform::HttpBodyPart> MultipartBody(std::string_view boundary,
                                                  const std::string& filePath, bool hasProps,
                                                  std::string_view props);

// "props=" and the text percent-encoded as UTF-8 (letters, digits, "-", "." and
// "_" kept; every other byte as "%" and two upper-case hexadecimal digits).
std::string FormBody(std::string_view props);

}  // namespace JoplinRestUtils
