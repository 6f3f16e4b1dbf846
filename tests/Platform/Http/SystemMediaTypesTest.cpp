#include "Platform/Http/SystemMediaTypes.hpp"

#include <gtest/gtest.h>

namespace Platform {
namespace {

// From Debian's media-types package, which the set-up installs.
TEST(SystemMediaTypesTest, LooksUpOneExtension) {
  EXPECT_EQ(SystemMediaType("odt"), "application/vnd.oasis.opendocument.text");
  EXPECT_EQ(SystemMediaType("epub"), "application/epub+zip");
  EXPECT_EQ(SystemMediaType("ODT"), "");  // extensions are looked up as given
  EXPECT_EQ(SystemMediaType("no-such-extension"), "");
  EXPECT_EQ(SystemMediaType(""), "");
  EXPECT_EQ(SystemMediaType("application/epub+zip"), "");  // a type is no extension
}

}  // namespace
}  // namespace Platform
