#include "JoplinRestUtils/Http/MediaTypes.hpp"

#include <utility>
#include "Platform/Text/Ascii.hpp"

#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Http/SystemMediaTypes.hpp"

namespace JoplinRestUtils {
namespace {

// Where an extension is listed twice, the first entry wins.
constexpr std::pair<std::string_view, std::string_view> kMediaTypes[] = {
    {"png", "image/png"},
    {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},
    {"jpe", "image/jpeg"},
    {"gif", "image/gif"},
    {"bmp", "image/bmp"},
    {"svg", "image/svg+xml"},
    {"webp", "image/webp"},
    {"tif", "image/tiff"},
    {"tiff", "image/tiff"},
    {"ico", "image/x-icon"},
    {"pdf", "application/pdf"},
    {"txt", "text/plain"},
    {"text", "text/plain"},
    {"log", "text/plain"},
    {"conf", "text/plain"},
    {"htm", "text/html"},
    {"html", "text/html"},
    {"json", "application/json"},
    {"zip", "application/zip"},
    {"mp3", "audio/mpeg"},
    {"wav", "audio/x-wav"},
    {"doc", "application/msword"},
    {"css", "text/css"},
    {"csv", "text/csv"},
    {"xml", "text/xml"},
    {"md", "text/markdown"},
    {"js", "application/javascript"},
    {"mp4", "video/mp4"},
    {"ogg", "audio/ogg"},
    {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
    {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
    {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
    {"xls", "application/vnd.ms-excel"},
    {"ppt", "application/vnd.ms-powerpoint"},
    {"rtf", "application/rtf"},
    {"gz", "application/gzip"},
    {"tar", "application/x-tar"},
    {"7z", "application/x-7z-compressed"},
};

std::string LowerExtension(std::string_view fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos)
    return {};
  return Platform::AsciiLowerCase(Kestrel::CommonLib::TrimText(fileName.substr(dot + 1)));
}

}  // namespace

std::string MediaTypeForFileName(std::string_view fileName) {
  const std::string extension = LowerExtension(fileName);
  if (extension.empty())
    return "application/octet-stream";
  for (const auto& [known, type] : kMediaTypes) {
    if (known == extension)
      return std::string(type);
  }
  std::string system = Platform::SystemMediaType(extension);
  return system.empty() ? "application/octet-stream" : system;
}

}  // namespace JoplinRestUtils
