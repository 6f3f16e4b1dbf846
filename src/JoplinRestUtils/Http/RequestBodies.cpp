#include "JoplinRestUtils/Http/RequestBodies.hpp"

#include <random>
#include "Platform/Text/Ascii.hpp"

#include "JoplinRestUtils/Http/MediaTypes.hpp"
#include "JoplinRestUtils/Http/PercentEncoding.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"

namespace JoplinRestUtils {

std::string MakeMultipartBoundary() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<size_t> pick(0, sizeof kChars - 2);
  std::string boundary = "-------Quillpost-";
  for (int i = 0; i < 24; ++i)
    boundary += kChars[pick(random)];
  return boundary;
}

namespace {

// The file name inside `filename="..."`: the characters that would end the
// quoted string or the header line are percent-encoded (as browsers do), and
// so is a backslash at the end, which some parsers read as escaping the quote.
std::string HeaderFileName(std::string_view name) {
  std::string encoded;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '"') {
      encoded += "%22";
    } else if (c == '\r') {
      encoded += "%0D";
    } else if (c == '\n') {
      encoded += "%0A";
    } else if (c == '\\' && i + 1 == name.size()) {
      encoded += "%5C";
    } else {
      encoded += c;
    }
  }
  return encoded;
}

}  // namespace

std::vector<Platform::HttpBodyPart> MultipartBody(std::string_view boundary,
                                                  const std::string& filePath, bool hasProps,
                                                  std::string_view props) {
  const std::string delimiter = "--" + std::string(boundary);
  const std::string fileName = Kestrel::CommonLib::DisplayFileName(filePath);
  std::string head = delimiter + "\r\n";
  head += "Content-Disposition: form-data; name=\"data\"; filename=\"" + HeaderFileName(fileName) +
          "\"\r\n";
  head += "Content-Type: " + MediaTypeForFileName(fileName) + "\r\n\r\n";
  std::string tail = "\r\n";
  if (hasProps) {
    tail += delimiter + "\r\n";
    tail += "Content-Disposition: form-data; name=\"props\"\r\n\r\n";
    tail += std::string(props) + "\r\n";
  }
  tail += delimiter + "--\r\n";
  return {Platform::HttpBodyPart::OfText(std::move(head)), Platform::HttpBodyPart::OfFile(filePath),
          Platform::HttpBodyPart::OfText(std::move(tail))};
}

std::string FormBody(std::string_view props) {
  return "props=" + PercentEncode(props, [](char c) {
           return Platform::IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_';
         });
}

}  // namespace JoplinRestUtils
