#include "JoplinRestUtils/Http/RequestUrl.hpp"

#include <gtest/gtest.h>

namespace JoplinRestUtils {
namespace {

TEST(RequestUrlTest, BaseUrlNormalisation) {
  EXPECT_EQ(NormaliseBaseUrl("  http://localhost:41184/ \t"), "http://localhost:41184");
  EXPECT_EQ(NormaliseBaseUrl("localhost"), "http://localhost");
  EXPECT_EQ(NormaliseBaseUrl(""), "");
  EXPECT_EQ(NormaliseBaseUrl("   "), "");
  EXPECT_EQ(NormaliseBaseUrl("http://[::1]:41184"), "http://[::1]:41184");
  EXPECT_EQ(NormaliseBaseUrl("HTTP://h/api//"), "HTTP://h/api/");
  EXPECT_EQ(NormaliseBaseUrl("file:///tmp/x"), "file:///tmp/x");
  EXPECT_EQ(NormaliseBaseUrl("urn:x"), "urn:x");
}

TEST(RequestUrlTest, UnparsableBaseUrlsThrow) {
  for (const char* url : {"localhost:41184", "127.0.0.1:41184", "http:/x", "http://", "http://:80",
                          "http://h:port"}) {
    EXPECT_THROW(NormaliseBaseUrl(url), EInvalidUrl) << url;
  }
  try {
    NormaliseBaseUrl("localhost:41184");
  } catch (const EInvalidUrl& error) {
    EXPECT_STREQ(error.KindName(), "EInvalidUrl");
    EXPECT_NE(std::string(error.what()).find("\"localhost:41184\""), std::string::npos);
  }
}

TEST(RequestUrlTest, JoinsBaseAndResource) {
  EXPECT_EQ(JoinRequestUrl("http://h", "/notes?token=T"), "http://h/notes?token=T");
  EXPECT_EQ(JoinRequestUrl("http://h", "notes?token=T"), "http://h/notes?token=T");
  EXPECT_EQ(JoinRequestUrl("http://h/", "//notes"), "http://h/notes");
  EXPECT_EQ(JoinRequestUrl("http://h", "?token=T"), "http://h?token=T");
  EXPECT_EQ(JoinRequestUrl("", "notes?token=T"), "notes?token=T");
}

TEST(RequestUrlTest, RequestUrlNormalisation) {
  std::string url;
  EXPECT_TRUE(NormaliseRequestUrl("HTTP://h:80/a b/é?x=a b", url));
  EXPECT_EQ(url, "http://h/a%20b/%C3%A9?x=a b");
  EXPECT_TRUE(NormaliseRequestUrl("https://h:443/x", url));
  EXPECT_EQ(url, "https://h/x");
  EXPECT_TRUE(NormaliseRequestUrl("http://h:41184/x", url));
  EXPECT_EQ(url, "http://h:41184/x");
  url = "unchanged";
  EXPECT_FALSE(NormaliseRequestUrl("notes?token=T", url));
  EXPECT_FALSE(NormaliseRequestUrl("http:///x", url));
  EXPECT_EQ(url, "unchanged");
}

}  // namespace
}  // namespace JoplinRestUtils
